#include "NewConfig.h"

#include "ConfigFile.h"
#include "base/Logging.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>

namespace Tarvel {

const QString NewConfig::Location = QStringLiteral("frmNewConfigDialog, StartNewConfig");

NewConfig::NewConfig(AppContext &ctx)
    : m_ctx(ctx)
{ }

std::optional<NewConfig::Mode> NewConfig::modeFromTag(const QString &tag)
{
    if (tag == QLatin1String("Detailed"))
        return Mode::Detailed;
    if (tag == QLatin1String("Wizard"))
        return Mode::Wizard;
    if (tag == QLatin1String("Schematic"))
        return Mode::Schematic;
    return std::nullopt;
}

QList<DriveListEntry> NewConfig::driveList()
{
    QList<DriveListEntry> drives;
    m_ctx.trap(QStringLiteral("frmNewConfigDialog, Form_Load"), [&] {
        std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
        RecordSet rs
            = catalogue->query(QStringLiteral("Select * from tblDriveModels order by SeriesCode, ModelCode, Rev"));
        catalogue->release();
        for (; !rs.eof(); rs.moveNext()) {
            const QString rev = rs.field(QStringLiteral("Rev")).toString();
            drives << DriveListEntry {rs.field(QStringLiteral("SeriesCode")).toString(),
                rs.field(QStringLiteral("ModelCode")).toString(), rev,
                rs.field(QStringLiteral("Model")).toString() + QStringLiteral(" rev. ") + rev};
        }
    });
    return drives;
}

std::optional<DriveListEntry> NewConfig::findDrive(
    const QList<DriveListEntry> &drives, const QString &series, const QString &model, const QString &rev)
{
    for (const DriveListEntry &drive : drives) {
        if (drive.seriesCode == series && drive.modelCode == model && drive.rev == rev)
            return drive;
    }
    return std::nullopt;
}

bool NewConfig::confirmReplace(const QString &path)
{
    if (!QFileInfo::exists(path))
        return true;
    const int answer = m_ctx.prompter().msgBox(QStringLiteral("The file ") + path + QStringLiteral(" already exists.")
            + u'\r' + QStringLiteral("Do you want to replace the existing file?"),
        Msg::YesNo | Msg::Question, QStringLiteral("Tarvel"));
    if (answer != Msg::Yes)
        return false;
    const QString schematic = schematicPath(path);
    if (QFileInfo::exists(schematic) && !QFile::remove(schematic))
        qCWarning(lcFiles) << "could not remove" << schematic;
    return true;
}

QString NewConfig::schematicPath(const QString &configPath)
{
    // The extension is the last four characters, whatever they are.
    return configPath.left(std::max<qsizetype>(0, configPath.size() - 4)) + QStringLiteral(".qxs");
}

bool NewConfig::startNewConfig(Mode mode, const DriveListEntry &drive, const QString &path)
{
    bool done = false;
    if (!m_ctx.trap(Location, [&] { done = startSteps(mode, drive, path); }))
        endDisplay(); // the list must not go on saying it prepares
    return done;
}

bool NewConfig::startSteps(Mode mode, const DriveListEntry &drive, const QString &path)
{
    beginDisplay();
    if (!loadDrive(drive)) {
        // The loader has reported why; the previous file stays current.
        endDisplay();
        return false;
    }
    // The path is current before the save so that Save writes there and
    // the caption names the new file.
    m_ctx.state.strConfigPath = path;
    m_ctx.state.strConfigName = QFileInfo(path).fileName();
    applyMode(mode);
    const bool saved = ConfigFile(m_ctx).saveFile(path);
    endDisplay();
    m_ctx.statusList.addLine(QStringLiteral("New File operation completed ") + TextFile::generalDate() + u'.');
    qCDebug(lcFiles) << "new configuration" << drive.text << path << (saved ? "saved" : "not saved");
    return saved;
}

bool NewConfig::loadDrive(const DriveListEntry &drive)
{
    return ParamLoader(m_ctx).loadDrive({drive.seriesCode, drive.modelCode, drive.rev});
}

void NewConfig::applyMode(Mode mode)
{
    if (mode == Mode::Detailed) {
        if (m_showMode)
            m_showMode(mode);
        m_ctx.state.blnConfigChanged = true;
        m_ctx.editor.setTag(QStringLiteral("1"));
    } else if (mode == Mode::Schematic) {
        if (m_showMode)
            m_showMode(mode);
        m_ctx.state.blnConfigChanged = true;
        m_ctx.editor.setTag(QStringLiteral("3"));
    } else {
        m_ctx.editor.setTag(QStringLiteral("2"));
        m_ctx.state.blnConfigChanged = true;
        if (m_showMode)
            m_showMode(mode);
    }
}

void NewConfig::beginDisplay()
{
    StatusList &list = m_ctx.statusList;
    list.setBarVisible(true);
    list.setStatus(QStringLiteral("Preparing for new config"));
    list.addLine(QStringLiteral("New File operation started ") + TextFile::generalDate() + u'.');
}

void NewConfig::endDisplay()
{
    StatusList &list = m_ctx.statusList;
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
}

} // namespace Tarvel
