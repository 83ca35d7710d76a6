#include "DriveTransferCommands.h"

#include "MainWindow.h"
#include "MonitorCommands.h"
#include "base/Logging.h"
#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "transfer/DownloadOperation.h"
#include "transfer/DriveComparison.h"
#include "transfer/UploadOperation.h"

#include <QAction>
#include <QSettings>

namespace Tarvel {

const QString DriveTransferCommands::BlockTransferKey = QStringLiteral("link/blockTransfer");
const QString DriveTransferCommands::BackupKey = QStringLiteral("download/backup");

DriveTransferCommands::DriveTransferCommands(AppContext &ctx, MainWindow &window)
    : QObject(&window)
    , m_ctx(ctx)
    , m_window(window)
{
    wire(Command::Upload, &DriveTransferCommands::upload);
    wire(Command::Download, &DriveTransferCommands::download);
    const bool block = QSettings().value(BlockTransferKey, false).toBool();
    m_ctx.link().setBlockTransfer(block);
    QAction *option = window.action(Command::BlockTransfer);
    option->setChecked(block);
    connect(option, &QAction::toggled, this, &DriveTransferCommands::setBlockTransfer);
    wire(Command::CompareDrive, &DriveTransferCommands::compareWithDrive);
    QAction *backup = window.action(Command::BackupBeforeDownload);
    backup->setChecked(QSettings().value(BackupKey, true).toBool());
    backup->setToolTip(QStringLiteral("Save the drive's settings to Configs/Backups before a download writes."));
    connect(backup, &QAction::toggled, this, [](bool on) { QSettings().setValue(BackupKey, on); });
}

void DriveTransferCommands::wire(Command command, void (DriveTransferCommands::*slot)())
{
    for (QAction *a : m_window.commandActions(command))
        connect(a, &QAction::triggered, this, slot);
}

void DriveTransferCommands::upload()
{
    // The waits inside process events, so a second click on the toolbar
    // would start a second transfer on the same link.
    if (m_running)
        return;
    m_running = true;
    const UploadOperation::Outcome outcome = UploadOperation(m_ctx, *this).run();
    qCInfo(lcUi) << "upload ended" << int(outcome);
    // The editor holds what the drive held; steps of the previous set are
    // no longer its own.
    using O = UploadOperation::Outcome;
    if (outcome != O::NoLink && outcome != O::Declined && outcome != O::Unsupported)
        m_window.editHistory().clear();
    m_running = false;
}

void DriveTransferCommands::download()
{
    if (m_running)
        return;
    // A value typed into the editor and not yet left has not been checked;
    // it must not reach the drive unchecked.
    if (!m_window.commitFocusedField())
        return;
    m_running = true;
    DownloadOperation operation(m_ctx, *this);
    operation.setBackupBeforeDownload(QSettings().value(BackupKey, true).toBool());
    const DownloadOperation::Outcome outcome = operation.run();
    qCInfo(lcUi) << "download ended" << int(outcome);
    // The read-only refresh changed fields; no step carries that change.
    m_window.editHistory().resync();
    m_running = false;
}

void DriveTransferCommands::compareWithDrive()
{
    if (m_running || !m_window.commitFocusedField())
        return;
    m_running = true;
    const DriveComparison::Outcome outcome = DriveComparison(m_ctx, *this).run();
    qCInfo(lcUi) << "compare with drive ended" << int(outcome);
    m_running = false;
}

void DriveTransferCommands::setBlockTransfer(bool on)
{
    m_ctx.link().setBlockTransfer(on);
    QSettings().setValue(BlockTransferKey, on);
}

void DriveTransferCommands::showAutoDetect()
{
    m_window.showAutoDetect();
}

void DriveTransferCommands::showConfigInfo()
{
    m_window.monitorCommands().showStats();
}

void DriveTransferCommands::saveConfiguration()
{
    m_window.commands().save();
}

void DriveTransferCommands::showDetailedEditor()
{
    m_window.showDetailedEditor();
}

} // namespace Tarvel
