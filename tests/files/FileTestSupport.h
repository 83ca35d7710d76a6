#pragma once

#include "TestSupport.h"

#include "catalogue/ParamLoader.h"

#include <QFile>
#include <QTest>

namespace Tarvel::Test {

// Loads a drive {series, model, rev} into the detailed editor.
inline bool loadDrive(AppContext &ctx, const QStringList &drive)
{
    return ParamLoader(ctx).getParamData(ctx.editor, QStringLiteral("qryTabParams"), u'\'' + drive[0] + u'\'',
        u'\'' + drive[1] + u'\'', u'\'' + drive[2] + u'\'');
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

} // namespace Tarvel::Test
