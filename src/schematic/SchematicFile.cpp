#include "SchematicFile.h"

#include "SchematicModel.h"
#include "base/AtomicTextFile.h"
#include "base/Logging.h"
#include "base/TextFile.h"
#include "files/NewConfig.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <QFile>
#include <QFileInfo>

namespace Tarvel {

const QString SchematicFile::Filter = QStringLiteral("schematic config files (*.qxs)|*.qxs");

SchematicFile::SchematicFile(AppContext &ctx, SchematicModel &model)
    : m_ctx(ctx)
    , m_model(model)
{ }

QString SchematicFile::pathFor(const QString &configPath)
{
    return NewConfig::schematicPath(configPath);
}

bool SchematicFile::saveSchematic(const QString &path, bool announce)
{
    return m_ctx.trap(QStringLiteral("basFunctions, SaveSchematic()"), [&] {
        m_model.load();
        const QStringList lines {u'#' + TextFile::generalDate(),
            QStringLiteral("#WARNING! Changing any contents of this file may result in the confirguration no longer "
                           "being valid and could cause adverse effects if used."),
            QStringLiteral("#Only make changes when instructed to do so from Tech Support personnel."),
            QStringLiteral("#Schematic Configuration Follows."), u'@' + m_ctx.state.strConfigPath};
        AtomicTextFile::writeBytes(path, TextFile::encodeLines(lines) + m_model.stateString().toLatin1());
        qCInfo(lcFiles) << "schematic saved" << path << m_model.stateString();
        if (announce)
            m_ctx.prompter().msgBox(path + QStringLiteral(" has been saved and is ") + u'\r'
                    + QStringLiteral("now your current working schematic configuration."),
                Msg::Information, QStringLiteral("Schematic Config File Saved"));
        m_model.setSchematicChanged(false);
    });
}

bool SchematicFile::openSchematic(const QString &path, const std::function<void()> &show)
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("basFunctions, OpenSchematic()"), [&] {
        if (!QFileInfo(path).isFile())
            return;
        QFile file(path);
        if (!file.open(QIODevice::ReadOnly))
            throw TrappedError(Err::PathFileAccess, file.errorString());
        const QStringList lines = TextFile::decodeLines(file.readAll());
        file.close();
        m_model.load();
        for (const QString &line : lines) {
            if (!line.isEmpty() && line.at(0).isDigit() && line.at(0).unicode() < 128)
                m_model.applyStateString(line);
        }
        if (show)
            show();
        m_ctx.editor.setTag(QStringLiteral("3"));
        opened = true;
    });
    return opened;
}

} // namespace Tarvel
