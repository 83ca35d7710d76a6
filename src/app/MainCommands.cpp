#include "MainCommands.h"

#include "RecentFiles.h"
#include "ShutdownFlow.h"
#include "base/Logging.h"
#include "base/TextFile.h"
#include "catalogue/DriveLookup.h"
#include "catalogue/ParamLoader.h"
#include "comm/CommLink.h"
#include "files/CompareOperation.h"
#include "files/ConfigFile.h"
#include "files/ConfigReport.h"
#include "model/AppContext.h"
#include "ports/FileDialogs.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "transfer/DriveBackup.h"
#include "schematic/SchematicFile.h"
#include "schematic/SchematicModel.h"

#include <QDir>
#include <QFileInfo>

namespace Tarvel {

namespace {

const QString Extension = QStringLiteral(".qxc");
const QString NoFile = QStringLiteral(" ");

} // namespace

const QString MainCommands::ConfigFilter = QStringLiteral("config files (*.qxc)|*.qxc");

MainCommands::MainCommands(AppContext &ctx, Windows &windows)
    : m_ctx(ctx)
    , m_windows(windows)
{ }

void MainCommands::updateCaption()
{
    m_ctx.hooks().updateCaption();
}

void MainCommands::offerToSave()
{
    if (!ShutdownFlow(m_ctx).hasUnsavedChanges())
        return;
    if (m_ctx.prompter().msgBox(
            QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?"),
            Msg::YesNo | Msg::Question, QStringLiteral("Unsaved Drive Config Data Exists"))
        == Msg::Yes)
        save();
}

void MainCommands::newDetailed()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuNewDetailed_Click"), [&] {
        offerToSave();
        m_windows.newConfigDialog(QStringLiteral("Detailed"));
    });
}

void MainCommands::newWizard()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuNewWizard_Click"), [&] {
        offerToSave();
        m_windows.newConfigDialog(QStringLiteral("Wizard"));
    });
}

bool MainCommands::openConfiguration()
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuOpenDetailed_Click"), [&] { opened = openSteps(); });
    return opened;
}

// Configuration files are chosen in the Configs folder with one filter.
FileDialogRequest MainCommands::configRequest(FileDialogRequest::Mode mode, const QString &title) const
{
    FileDialogRequest request;
    request.mode = mode;
    request.title = title;
    request.filter = ConfigFilter;
    request.initialDir = m_ctx.paths().configsDir();
    return request;
}

bool MainCommands::openSteps()
{
    offerToSave();
    FileDialogs *dialogs = m_ctx.fileDialogs();
    if (!dialogs)
        return false;
    FileDialogRequest request = configRequest(FileDialogRequest::Open, QStringLiteral("Open Configuration"));
    request.fileMustExist = true;
    const QString path = dialogs->chooseFile(request);
    if (path.isEmpty())
        return false;
    return openPath(path);
}

bool MainCommands::openNamedFile(const QString &path)
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuOpenDetailed_Click"), [&] {
        offerToSave();
        opened = openPath(QFileInfo(path).absoluteFilePath());
    });
    return opened;
}

bool MainCommands::openPath(const QString &path)
{
    m_windows.closeSchematic();
    if (!ConfigFile(m_ctx).openFile(path))
        return false;
    m_windows.configurationReplaced();
    noteRecent(path);
    m_ctx.state.strConfigPath = path;
    m_ctx.state.strConfigName = QFileInfo(path).fileName();
    updateCaption();
    m_windows.showDetailedEditor();
    qCInfo(lcApp) << "opened" << path;
    return true;
}

bool MainCommands::save()
{
    bool saved = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuSave_Click"), [&] { saved = saveSteps(); });
    return saved;
}

bool MainCommands::schematicMode() const
{
    return m_schematic && m_ctx.editor.tagNumber() == 3;
}

bool MainCommands::saveSchematicBeside(const QString &configPath)
{
    return SchematicFile(m_ctx, *m_schematic).saveSchematic(SchematicFile::pathFor(configPath), true);
}

// A schematic configuration (Tag 3) writes its drawing settings beside it.
bool MainCommands::saveSteps()
{
    if (!m_windows.commitFocusedField())
        return false;
    if (!m_ctx.state.hasConfigFile())
        return saveAsSteps();
    if (!ConfigFile(m_ctx).saveFile(m_ctx.state.strConfigPath))
        return false;
    if (schematicMode() && !saveSchematicBeside(m_ctx.state.strConfigPath))
        return false;
    noteRecent(m_ctx.state.strConfigPath);
    return true;
}

bool MainCommands::saveAs()
{
    bool saved = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuSaveAs_Click"), [&] {
        if (m_windows.commitFocusedField())
            saved = saveAsSteps();
    });
    return saved;
}

bool MainCommands::saveAsSteps()
{
    FileDialogs *dialogs = m_ctx.fileDialogs();
    if (!dialogs)
        return false;
    if (schematicMode())
        m_ctx.prompter().msgBox(QStringLiteral("This will save two files:\rOne with a .qxc extension which is the "
                                               "parameter list,\rand one with a .qxs extension which contains the "
                                               "Schematic Drawing Settings."),
            Msg::Information, QStringLiteral("Saving Schematic Configuration."));
    FileDialogRequest request = configRequest(FileDialogRequest::Save, QStringLiteral("Save Configuration As"));
    request.confirmOverwrite = true;
    QString path = dialogs->chooseFile(request);
    if (path.isEmpty())
        return false;
    // Desktop dialogs do not all add the extension of the filter; a file
    // without it would not show in the next Open dialog.
    if (!path.endsWith(Extension, Qt::CaseInsensitive))
        path += Extension;
    path = QDir::cleanPath(path);
    if (!ConfigFile(m_ctx).saveFile(path))
        return false;
    noteRecent(path);
    m_ctx.state.strConfigPath = path;
    m_ctx.state.strConfigName = QFileInfo(path).fileName();
    updateCaption();
    return !schematicMode() || saveSchematicBeside(path);
}

void MainCommands::closeConfiguration()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuClose_Click"), [&] {
        if (m_windows.commitFocusedField())
            closeSteps();
    });
}

void MainCommands::closeSteps()
{
    offerToSave();
    m_windows.closeSchematic();
    m_windows.hideDetailedEditor();
    // The editor is never unloaded, so what unloading did is done here:
    // its fields go back to the empty "not used" state and its Tag to "no
    // configuration", so nothing of the closed file can be saved or sent.
    ParamLoader loader(m_ctx);
    loader.clearObjects(m_ctx.editor);
    loader.labels(m_ctx.editor);
    m_ctx.editor.setTag(QStringLiteral("0"));
    m_ctx.editor.setCaption(QStringLiteral("  Detailed Configuration"));
    AppState &s = m_ctx.state;
    s.strSeries = s.strModel = s.strRev = NoFile;
    s.strConfigPath = NoFile;
    // The caption names the file; with none open it must not name the
    // closed one.
    s.strConfigName = NoFile;
    s.blnConfigChanged = false;
    updateCaption();
    m_windows.configurationReplaced();
}

void MainCommands::viewDetailed()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuDetail_Click"), [&] {
        const int tag = m_ctx.editor.tagNumber();
        if (tag == 1 || tag == 3) {
            m_windows.showDetailedEditor();
            m_tag = QStringLiteral("Detailed");
            return;
        }
        openConfiguration();
    });
}

void MainCommands::viewSchematic()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuSchematic_Click"), [&] {
        if (m_ctx.state.hasConfigFile() && m_schematic
            && SchematicFile(m_ctx, *m_schematic).openSchematic(SchematicFile::pathFor(m_ctx.state.strConfigPath), [&] {
                   m_windows.showSchematic();
               }))
            return;
        m_windows.showSchematic();
    });
}

void MainCommands::newSchematic()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuSchematicConfig_Click"), [&] {
        offerToSave();
        m_windows.newConfigDialog(QStringLiteral("Schematic"));
    });
}

bool MainCommands::openSchematic()
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuOpenSchematic_Click"), [&] { opened = openSchematicSteps(); });
    return opened;
}

// The settings file names its configuration by its own name: Pump1.qxs
// goes with Pump1.qxc in the same folder.
bool MainCommands::openSchematicSteps()
{
    offerToSave();
    FileDialogs *dialogs = m_ctx.fileDialogs();
    if (!dialogs || !m_schematic)
        return false;
    FileDialogRequest request;
    request.mode = FileDialogRequest::Open;
    request.title = QStringLiteral("Open Schematic Configuration");
    request.filter = SchematicFile::Filter;
    request.initialDir = m_ctx.paths().configsDir();
    request.fileMustExist = true;
    const QString path = dialogs->chooseFile(request);
    if (path.isEmpty())
        return false;
    const QString config = path.left(path.size() - 4) + Extension;
    m_windows.closeSchematic();
    if (!ConfigFile(m_ctx).openFile(config))
        return false;
    m_ctx.state.strConfigPath = config;
    m_ctx.state.strConfigName = QFileInfo(config).fileName();
    updateCaption();
    return SchematicFile(m_ctx, *m_schematic).openSchematic(path, [&] { m_windows.showSchematic(); });
}

void MainCommands::compare()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuCompare_Click"), [&] {
        if (!m_windows.commitFocusedField())
            return;
        // Shown first, so the user watches the comparison run.
        m_ctx.statusList.show();
        CompareOperation(m_ctx).compare();
    });
}

void MainCommands::printConfig()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuPrintConfig_Click"), [&] {
        if (m_windows.commitFocusedField())
            ConfigReport(m_ctx).configReport();
    });
}

} // namespace Tarvel

namespace Tarvel {

void MainCommands::noteRecent(const QString &path)
{
    // Backups are reached through Restore Last Backup; listed among the
    // recent files they would crowd out the user's own.
    if (!QFileInfo(path).absolutePath().startsWith(DriveBackup::folder(m_ctx.paths())))
        RecentFiles::add(path);
}

bool MainCommands::openRecent(const QString &path)
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuRecent_Click"), [&] {
        if (!QFileInfo(path).isFile()) {
            RecentFiles::remove(path);
            m_ctx.prompter().msgBox(QStringLiteral("Could not find ") + QDir::toNativeSeparators(path)
                    + QStringLiteral(".\rIt has been removed from the list of recent files."),
                Msg::Exclamation, QStringLiteral("File missing"));
            return;
        }
        offerToSave();
        opened = openPath(path);
    });
    return opened;
}

void MainCommands::restoreLastBackup()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuRestoreBackup_Click"), [&] { restoreSteps(); });
}

void MainCommands::restoreSteps()
{
    Prompter &prompter = m_ctx.prompter();
    if (!m_ctx.link().linkOpen()) {
        prompter.msgBox(QStringLiteral("Connect to the drive whose settings you want to restore first."),
            Msg::Information, QStringLiteral("No Connection Present"));
        return;
    }
    if (!DriveLookup(m_ctx).getDrive()) {
        prompter.msgBox(QStringLiteral("Program does not support connected drive model/rev."), Msg::Critical,
            QStringLiteral("Drive not supported"));
        return;
    }
    const AppState &s = m_ctx.state;
    const DriveKey drive {s.strDriveSeriesCode, s.strDriveModelCode, s.strDriveRevCode};
    const QStringList backups = DriveBackup::backupsOf(m_ctx.paths(), drive);
    if (backups.isEmpty()) {
        prompter.msgBox(QStringLiteral("There is no backup of this drive's settings in ")
                + QDir::toNativeSeparators(DriveBackup::folder(m_ctx.paths())) + u'.',
            Msg::Information, QStringLiteral("Restore Last Backup"));
        return;
    }
    QString path = backups.first();
    const int answer
        = prompter.msgBox(QStringLiteral("The newest backup of this drive is ") + QFileInfo(path).fileName()
                + QStringLiteral(", saved ") + TextFile::generalDate(QFileInfo(path).lastModified())
                + QStringLiteral(".\rOpen it? (No lets you choose among all backups of this drive.)"),
            Msg::YesNo | Msg::Question, QStringLiteral("Restore Last Backup"));
    if (answer == Msg::No) {
        FileDialogs *dialogs = m_ctx.fileDialogs();
        if (!dialogs)
            return;
        FileDialogRequest request = configRequest(FileDialogRequest::Open, QStringLiteral("Restore Backup"));
        const QString pattern = drive.series + drive.model + drive.rev + QStringLiteral("-*.qxc");
        request.filter = QStringLiteral("backups of this drive (") + pattern + QStringLiteral(")|") + pattern;
        request.initialDir = DriveBackup::folder(m_ctx.paths());
        request.fileMustExist = true;
        path = dialogs->chooseFile(request);
        if (path.isEmpty())
            return;
    }
    offerToSave();
    if (!ConfigFile(m_ctx).openFile(path))
        return;
    m_windows.configurationReplaced();
    // Opened under no name: a save asks for one instead of changing the
    // backup.
    m_ctx.state.strConfigPath = m_ctx.state.strConfigName = NoFile;
    m_ctx.state.blnConfigChanged = true;
    updateCaption();
    m_windows.showDetailedEditor();
    m_ctx.statusList.addLine(QStringLiteral("Backup opened from ") + path);
    if (prompter.msgBox(QStringLiteral("Write the settings of this backup into the drive now?"),
            Msg::YesNo | Msg::Question, QStringLiteral("Restore Last Backup"))
        == Msg::Yes)
        m_windows.download();
}

bool MainCommands::compareWithFile(QString *otherPath, QVector<ParamDifference> *differences)
{
    bool compared = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuCompareFile_Click"), [&] {
        FileDialogs *dialogs = m_ctx.fileDialogs();
        if (!dialogs || !m_windows.commitFocusedField())
            return;
        FileDialogRequest request = configRequest(FileDialogRequest::Open, QStringLiteral("Compare With File"));
        request.fileMustExist = true;
        const QString path = dialogs->chooseFile(request);
        if (path.isEmpty())
            return;
        QString why;
        const std::optional<ConfigValues> other = ConfigFile::readValues(path, &why);
        std::optional<QVector<ParamDifference>> found;
        if (other)
            found = FileDifferences(m_ctx).compare(FileDifferences::editorValues(m_ctx), *other);
        else
            why += u'.';
        if (other && !found)
            why = QStringLiteral("The file is configured for a drive model that is not curently supported.");
        if (!found) {
            m_ctx.prompter().msgBox(why, Msg::Exclamation, QStringLiteral("Compare With File"));
            return;
        }
        *otherPath = path;
        *differences = *found;
        compared = true;
    });
    return compared;
}

} // namespace Tarvel
