#pragma once

#include "app/Command.h"

#include "ports/TransferWindows.h"

#include <QObject>

class QAction;

namespace Tarvel {

class AppContext;
class MainWindow;

// The Drive menu's Upload and Download (menu items and toolbar buttons)
// and the Block Transfers option, over the core transfer operations. The
// operations reach the main window's dialogs through TransferWindows.
class DriveTransferCommands : public QObject, private TransferWindows
{
    Q_OBJECT
public:
    // The settings key of the Block Transfers option.
    static const QString BlockTransferKey;
    // The settings key of Back Up Before Download (on unless turned off).
    static const QString BackupKey;

    DriveTransferCommands(AppContext &ctx, MainWindow &window);

    // mnuUpload_Click, mnuDownload_Click
    void upload();
    void download();
    void setBlockTransfer(bool on);
    // mnuCompareDrive_Click
    void compareWithDrive();

private:
    void wire(Command command, void (DriveTransferCommands::*slot)());

    // TransferWindows
    void showAutoDetect() override;
    void showConfigInfo() override;
    void saveConfiguration() override;
    void showDetailedEditor() override;

    AppContext &m_ctx;
    MainWindow &m_window;
    bool m_running = false;
};

} // namespace Tarvel
