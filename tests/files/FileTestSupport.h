#pragma once

#include "TestSupport.h"

#include "catalogue/ParamLoader.h"
#include "ports/ShellHooks.h"

#include <QFile>
#include <QTest>

namespace Tarvel::Test {

// A drive of each series {series, model, rev}.
inline const QStringList QX1 {"01", "01", "104"};
inline const QStringList QX2 {"02", "05", "120"};
inline const QStringList QX3 {"03", "06", "104"};

// Loads a drive {series, model, rev} into the detailed editor.
inline bool loadDrive(AppContext &ctx, const QStringList &drive)
{
    return ParamLoader(ctx).getParamData(ctx.editor, QStringLiteral("qryTabParams"), u'\'' + drive[0] + u'\'',
        u'\'' + drive[1] + u'\'', u'\'' + drive[2] + u'\'');
}

// The drive {series, model, rev} the configuration is for.
inline QStringList driveOf(const AppContext &ctx)
{
    return {ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev};
}

inline QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

inline void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

// What a file command asks of the main window, in order.
struct FileCommandHooks : ShellHooks
{
    QStringList calls;
    void setBusyPointer(bool busy) override { calls << QStringLiteral("busy=%1").arg(busy); }
    void setMainCaption(const QString &caption) override { calls << QStringLiteral("caption=") + caption; }
    void updateCaption() override { calls << QStringLiteral("updateCaption"); }
    bool openDocument(const QString &path) override
    {
        calls << "open " + path;
        return false; // a desktop without a viewer for text
    }
};

} // namespace Tarvel::Test
