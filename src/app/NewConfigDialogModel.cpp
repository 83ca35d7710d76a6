#include "NewConfigDialogModel.h"

#include "model/AppContext.h"
#include "ports/FileDialogs.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"

#include <QDir>
#include <QFileInfo>

namespace Tarvel {

NewConfigDialogModel::NewConfigDialogModel(AppContext &ctx, QString tag)
    : m_ctx(ctx)
    , m_tag(std::move(tag))
{ }

void NewConfigDialogModel::load()
{
    m_keptSeries = m_ctx.state.strSeries;
    m_keptModel = m_ctx.state.strModel;
    m_keptRev = m_ctx.state.strRev;
    m_drives = NewConfig(m_ctx).driveList();
    m_driveIndex = m_drives.isEmpty() ? -1 : 0;
    m_folder = m_ctx.paths().configsDir();
}

QStringList NewConfigDialogModel::driveTexts() const
{
    QStringList texts;
    for (const DriveListEntry &d : m_drives)
        texts << d.text;
    return texts;
}

void NewConfigDialogModel::setDriveIndex(int index)
{
    m_driveIndex = index >= 0 && index < m_drives.size() ? index : -1;
}

void NewConfigDialogModel::driveListLeft()
{
    m_ctx.trap(QStringLiteral("frmNewConfigDialog, cmbDrives_LostFocus"), [&] {
        if (m_driveIndex < 0)
            return;
        const DriveListEntry &d = m_drives.at(m_driveIndex);
        m_ctx.state.strSeries = d.seriesCode;
        m_ctx.state.strModel = d.modelCode;
        m_ctx.state.strRev = d.rev;
    });
}

QString NewConfigDialogModel::filePath() const
{
    return QDir(m_folder).filePath(m_name + QStringLiteral(".qxc"));
}

void NewConfigDialogModel::browse()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuOpen_Click"), [&] {
        FileDialogs *dialogs = m_ctx.fileDialogs();
        if (!dialogs)
            return;
        FileDialogRequest request;
        request.mode = FileDialogRequest::Open;
        request.title = QStringLiteral("Browse");
        request.filter = QStringLiteral("config files (*.qxc)|*.qxc");
        request.initialDir = m_folder;
        request.fileMustExist = true;
        const QString path = dialogs->chooseFile(request);
        if (path.isEmpty())
            return;
        const QString file = QFileInfo(path).fileName();
        m_name = file.left(std::max<qsizetype>(0, file.size() - 4));
    });
}

bool NewConfigDialogModel::accept()
{
    m_focus = Focus::None;
    bool started = false;
    m_ctx.trap(QStringLiteral("frmNewConfigDialog, cmdOK_Click"), [&] { started = acceptSteps(); });
    return started;
}

bool NewConfigDialogModel::refuse(const QString &text, Focus focus)
{
    m_ctx.prompter().msgBox(text, Msg::Exclamation, QStringLiteral("Information Needed"));
    m_focus = focus;
    return false;
}

bool NewConfigDialogModel::acceptSteps()
{
    if (m_name.isEmpty())
        return refuse(QStringLiteral("Please enter a configuration name."), Focus::Name);
    const QString path = filePath();
    if (m_driveIndex < 0)
        return refuse(QStringLiteral("Please select a QX Series drive type\rfrom the dropdown box."), Focus::Drives);
    driveListLeft();
    NewConfig newConfig(m_ctx);
    if (!newConfig.confirmReplace(path))
        return false;
    m_ctx.hooks().setMainCaption(QStringLiteral("Tarvel - Current Config File: ") + QFileInfo(path).fileName());
    const std::optional<NewConfig::Mode> mode = NewConfig::modeFromTag(m_tag);
    if (!mode)
        return false;
    newConfig.setShowMode(m_showMode);
    return newConfig.startNewConfig(*mode, m_drives.at(m_driveIndex), path);
}

void NewConfigDialogModel::cancel()
{
    m_ctx.trap(QStringLiteral("frmNewConfigDialog, cmdCancel_Click"), [&] {
        m_ctx.state.strSeries = m_keptSeries;
        m_ctx.state.strModel = m_keptModel;
        m_ctx.state.strRev = m_keptRev;
    });
}

} // namespace Tarvel
