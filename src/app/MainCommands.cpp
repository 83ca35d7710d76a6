#include "MainCommands.h"

#include "ShutdownFlow.h"
#include "base/Logging.h"
#include "catalogue/ParamLoader.h"
#include "files/CompareOperation.h"
#include "files/ConfigFile.h"
#include "files/ConfigReport.h"
#include "model/AppContext.h"
#include "ports/FileDialogs.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"

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
    return openPathSteps(path);
}

bool MainCommands::openNamedFile(const QString &path)
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("frmMain, mnuOpenDetailed_Click"), [&] {
        offerToSave();
        opened = openPathSteps(QFileInfo(path).absoluteFilePath());
    });
    return opened;
}

bool MainCommands::openPathSteps(const QString &path)
{
    if (!ConfigFile(m_ctx).openFile(path))
        return false;
    m_ctx.state.strConfigPath = path;
    m_ctx.state.strConfigName = QFileInfo(path).fileName();
    updateCaption();
    // The user opened it to work on it; the schematic view, when it
    // exists, will be the choice of the Tag "Schematic".
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

// A schematic configuration (Tag 3) would also write its drawing settings;
// no window sets that Tag yet, so every configuration saves the same way.
bool MainCommands::saveSteps()
{
    if (!m_windows.commitFocusedField())
        return false;
    if (!m_ctx.state.hasConfigFile())
        return saveAsSteps();
    return ConfigFile(m_ctx).saveFile(m_ctx.state.strConfigPath);
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
    m_ctx.state.strConfigPath = path;
    m_ctx.state.strConfigName = QFileInfo(path).fileName();
    updateCaption();
    return true;
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
