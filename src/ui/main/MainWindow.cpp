#include "MainWindow.h"

#include "ui/common/AppIcons.h"
#include "BuiltCommands.h"
#include "DriveTransferCommands.h"
#include "NavigatorDialog.h"
#include "model/AppContext.h"
#include "app/ChangeRatingModel.h"
#include "app/ShutdownFlow.h"
#include "app/Startup.h"
#include "comm/CommLink.h"
#include "ui/editors/ChangeRatingDialog.h"
#include "ui/editors/NewConfigDialog.h"
#include "ui/editors/StatusListWindow.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/editors/WizardWindow.h"
#include "ui/monitor/AutoDetectDialog.h"
#include "ui/monitor/CommSettingsDialog.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>

namespace Tarvel {

MainWindow::MainWindow(AppContext &ctx, QWidget *parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
    , m_mdi(new QMdiArea(this))
    , m_checks(ctx)
    , m_commands(ctx, *this)
    , m_poll(ctx, *this)
    , m_serialLink(ctx)
{
    setObjectName(QStringLiteral("frmMain"));
    setWindowIcon(AppIcons::application());
    m_mdi->setObjectName(QStringLiteral("mdiArea"));
    m_mdi->setBackground(QColor(0x6d, 0x7b, 0x8a));
    setCentralWidget(m_mdi);
    resize(1024, 720);

    // MDIForm_Load
    m_ctx.trap(QStringLiteral("frmMain, MDIForm_Load"), [&] {
        buildMenus();
        buildToolbar();
        buildStatusBar();
        updateCaption();
        setConnectionPanel(QStringLiteral("Off-Line "), false);
    });
    loadStartMenuCheck();
    connect(&m_ctx.statusList, &StatusList::shownChanged, this, &MainWindow::statusListShownChanged);
    connectCommands();
    connectLink();
    startTimers();
}

MainWindow::~MainWindow()
{
    // The wizard hears the editor; both go with the MDI area, the wizard
    // first.
    delete m_wizard.data();
}

// The commands that are there from the start; the timers and the wizard
// decide the rest.
void MainWindow::connectCommands()
{
    const auto wire = [this](QAction *a, auto command) {
        connect(a, &QAction::triggered, this, [this, command] { (m_commands.*command)(); });
    };
    wire(action(QStringLiteral("mnuNewDetailed")), &MainCommands::newDetailed);
    wire(action(QStringLiteral("mnuNewWizard")), &MainCommands::newWizard);
    wire(action(QStringLiteral("mnuOpenDetailed")), &MainCommands::openConfiguration);
    wire(action(QStringLiteral("mnuSave")), &MainCommands::save);
    wire(action(QStringLiteral("mnuSaveAs")), &MainCommands::saveAs);
    wire(action(QStringLiteral("mnuClose")), &MainCommands::closeConfiguration);
    wire(action(QStringLiteral("mnuDetail")), &MainCommands::viewDetailed);
    wire(action(QStringLiteral("mnuCompare")), &MainCommands::compare);
    wire(action(QStringLiteral("mnuPrintConfig")), &MainCommands::printConfig);
    wire(toolButton(QStringLiteral("NewDetail")), &MainCommands::newDetailed);
    wire(toolButton(QStringLiteral("NewWizard")), &MainCommands::newWizard);
    wire(toolButton(QStringLiteral("Open")), &MainCommands::openConfiguration);
    wire(toolButton(QStringLiteral("Save")), &MainCommands::save);
    wire(toolButton(QStringLiteral("Detail")), &MainCommands::viewDetailed);
    wire(toolButton(QStringLiteral("Wizard")), &MainCommands::newWizard);
    for (const char *name : {"mnuNewDetailed", "mnuNewWizard", "mnuOpenDetailed", "mnuDetail", "New", "NewDetail",
             "NewWizard", "Open", "Detail", "Wizard"})
        setCommandEnabled(QString::fromLatin1(name), true);
}

// The drive link: the connection and auto-detect dialogs, Disconnect, the
// connection panel, and the serial polling behind the poll timer.
void MainWindow::connectLink()
{
    CommLink &link = m_ctx.link();
    connect(&link, &CommLink::panel4Changed, this,
        [this, &link] { setConnectionPanel(link.panel4Text(), link.panel4Connected()); });
    const auto showConnect = [this] {
        m_ctx.trap(
            QStringLiteral("frmMain, mnuConnect_Click"), [&] { showModeless<CommSettingsDialog>(m_commSettings); });
    };
    const auto disconnectLink = [this] {
        m_ctx.trap(QStringLiteral("frmMain, mnuDisconnect_Click"), [&] { m_ctx.link().disconnectLink(); });
    };
    for (const char *name : {"mnuConnect", "Connect"})
        connect(actionOrTool(QString::fromLatin1(name)), &QAction::triggered, this, showConnect);
    for (const char *name : {"mnuAutoDetect", "AutoDetect"})
        connect(actionOrTool(QString::fromLatin1(name)), &QAction::triggered, this, &MainWindow::showAutoDetect);
    for (const char *name : {"mnuDisconnect", "Disconnect"})
        connect(actionOrTool(QString::fromLatin1(name)), &QAction::triggered, this, disconnectLink);
    setLinkMonitor(&m_serialLink);
    m_transfers = new DriveTransferCommands(m_ctx, *this);
}

void MainWindow::showAutoDetect()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuAutoDetect_Click"), [&] { showModeless<AutoDetectDialog>(m_autoDetect); });
}

// One modeless dialog of a kind at a time: a second click brings the open
// one to the front.
template<class Dialog> void MainWindow::showModeless(QPointer<QWidget> &slot)
{
    if (!slot) {
        auto *dialog = new Dialog(m_ctx, this);
        dialog->setAttribute(Qt::WA_DeleteOnClose);
        slot = dialog;
    }
    slot->show();
    slot->raise();
    slot->activateWindow();
}

QAction *MainWindow::actionOrTool(const QString &name) const
{
    QAction *a = action(name);
    return a ? a : toolButton(name);
}

// Both timers run from program start; the first ticks run at once so the
// commands are right before the first second has passed.
void MainWindow::startTimers()
{
    m_tmrMain.setObjectName(QStringLiteral("tmrMain"));
    m_tmrMain.setInterval(1000);
    connect(&m_tmrMain, &QTimer::timeout, this, [this] { m_poll.mainTick(); });
    m_tmrMain2Sec.setObjectName(QStringLiteral("tmrMain2Sec"));
    m_tmrMain2Sec.setInterval(2000);
    connect(&m_tmrMain2Sec, &QTimer::timeout, this, [this] { m_poll.twoSecondTick(); });
    m_poll.mainTick();
    m_poll.twoSecondTick();
    m_tmrMain.start();
    m_tmrMain2Sec.start();
}

void MainWindow::setCommandEnabled(const QString &name, bool enabled)
{
    QAction *a = action(name);
    if (!a)
        a = toolButton(name);
    if (a)
        a->setEnabled(enabled && BuiltCommands::isBuilt(name));
}

void MainWindow::setPanelText(int number, const QString &text)
{
    if (QLabel *label = panel(number); label && label->text() != text)
        label->setText(text);
}

void MainWindow::setConnectedPicture(bool connected)
{
    m_connectionPicture->setPixmap(connected ? AppIcons::connected() : AppIcons::notConnected());
    m_connectionPicture->setProperty("connected", connected);
}

void MainWindow::setPollTimerEnabled(bool enabled)
{
    if (enabled)
        m_tmrMain.start();
    else
        m_tmrMain.stop();
}

void MainWindow::setPoll2SecTimerEnabled(bool enabled)
{
    if (enabled)
        m_tmrMain2Sec.start();
    else
        m_tmrMain2Sec.stop();
}

void MainWindow::setMainCaption(const QString &caption)
{
    setWindowTitle(caption);
}

bool MainWindow::openDocument(const QString &path)
{
    if (m_documentOpener)
        return m_documentOpener(path);
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

// --- child windows --------------------------------------------------------------

TabConfigWindow *MainWindow::editorWindow()
{
    if (!m_editor) {
        m_editor = new TabConfigWindow(m_ctx);
        m_editor->setFieldEvents(&m_checks);
        m_editorSub = m_mdi->addSubWindow(m_editor);
        // Created once: closing only hides it (the editor decides).
        m_editorSub->setAttribute(Qt::WA_DeleteOnClose, false);
        m_editorSub->setWindowIcon(AppIcons::application());
        m_editorSub->resize(820, 600);
        m_editorSub->hide();
    }
    return m_editor;
}

void MainWindow::showDetailedEditor()
{
    TabConfigWindow *editor = editorWindow();
    editor->showEditor();
    m_mdi->setActiveSubWindow(m_editorSub);
}

void MainWindow::hideDetailedEditor()
{
    if (m_editor)
        m_editor->hideEditor();
}

bool MainWindow::commitFocusedField()
{
    return !m_editor || m_editor->commitFocusedField();
}

void MainWindow::newConfigDialog(const QString &mode)
{
    NewConfigDialog dialog(m_ctx, mode, this);
    dialog.model().setShowMode([this](NewConfig::Mode shown) {
        if (shown == NewConfig::Mode::Wizard)
            showWizard();
        else
            showDetailedEditor();
    });
    dialog.exec();
}

WizardWindow *MainWindow::wizard() const
{
    return m_wizard.data();
}

void MainWindow::showWizard()
{
    TabConfigWindow *editor = editorWindow();
    delete m_wizard.data();
    WizardWindow::Hooks hooks;
    hooks.setEntriesEnabled = [this](bool free) { setWizardLock(free); };
    hooks.save = [this] { m_commands.save(); };
    m_wizard = new WizardWindow(m_ctx, *editor, hooks);
    QMdiSubWindow *sub = m_mdi->addSubWindow(m_wizard);
    sub->setWindowIcon(AppIcons::application());
    sub->adjustSize();
    sub->show();
    m_mdi->setActiveSubWindow(sub);
}

// While the wizard runs its configuration cannot be replaced or viewed in
// ordinary mode: New (with its entries, which the navigator also reaches)
// and Detail are locked.
void MainWindow::setWizardLock(bool free)
{
    for (const char *name : {"mnuDetail", "mnuNew", "mnuNewDetailed", "mnuNewWizard", "New", "NewDetail", "NewWizard",
             "Detail", "Schematic", "Wizard"})
        setCommandEnabled(QString::fromLatin1(name), free);
}

QAction *MainWindow::addItem(QMenu *menu, const char *name, const QString &caption, bool built)
{
    QAction *a = menu->addAction(caption);
    a->setObjectName(QString::fromLatin1(name));
    a->setEnabled(built);
    m_actions.insert(a->objectName(), a);
    return a;
}

void MainWindow::buildMenus()
{
    buildFileMenu();
    buildDriveMenu();

    QMenu *view = menuBar()->addMenu(QStringLiteral("&View"));
    view->setObjectName(QStringLiteral("mnuConfig"));
    addItem(view, "mnuDetail", QStringLiteral("Detailed"), false);
    addItem(view, "mnuSchematic", QStringLiteral("Schematic"), false);

    buildUtilitiesMenu();

    QMenu *window = menuBar()->addMenu(QStringLiteral("&Window"));
    window->setObjectName(QStringLiteral("mnuWindow"));
    connect(addItem(window, "mnuCascade", QStringLiteral("Cascade"), true), &QAction::triggered, m_mdi,
        &QMdiArea::cascadeSubWindows);

    QMenu *help = menuBar()->addMenu(QStringLiteral("&Help"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    addItem(help, "mnuContents", QStringLiteral("Contents"), false);
    addItem(help, "mnuIndex", QStringLiteral("Index"), false);
    addItem(help, "mnuSearch", QStringLiteral("Search"), false);
    addItem(help, "mnuAbout", QStringLiteral("About"), false);
}

void MainWindow::buildFileMenu()
{
    QMenu *file = menuBar()->addMenu(QStringLiteral("&File"));
    file->setObjectName(QStringLiteral("mnuFile"));
    QMenu *newMenu = file->addMenu(QStringLiteral("New"));
    newMenu->setObjectName(QStringLiteral("mnuNew"));
    m_actions.insert(QStringLiteral("mnuNew"), newMenu->menuAction());
    addItem(newMenu, "mnuNewDetailed", QStringLiteral("Detailed Configuration"), false);
    addItem(newMenu, "mnuNewWizard", QStringLiteral("Quick Start Configuration"), false);
    addItem(file, "mnuOpenDetailed", QStringLiteral("Open Configuration"), false);
    addItem(file, "mnuSave", QStringLiteral("Save"), false);
    addItem(file, "mnuSaveAs", QStringLiteral("Save As"), false);
    addItem(file, "mnuClose", QStringLiteral("Close Configuration"), false);
    file->addSeparator();
    connect(
        addItem(file, "mnuExit", QStringLiteral("E&xit"), true), &QAction::triggered, this, &MainWindow::exitClicked);
}

void MainWindow::buildDriveMenu()
{
    QMenu *drive = menuBar()->addMenu(QStringLiteral("&Drive"));
    drive->setObjectName(QStringLiteral("mnuComm"));
    addItem(drive, "mnuAutoDetect", QStringLiteral("Auto Detect"), false);
    addItem(drive, "mnuConnect", QStringLiteral("Connect"), false);
    addItem(drive, "mnuDisconnect", QStringLiteral("Disconnect"), false);
    addItem(drive, "mnuUpload", QStringLiteral("Upload"), false);
    addItem(drive, "mnuDownload", QStringLiteral("Download"), false);
    drive->addSeparator();
    // Reads and writes neighbouring registers in one transaction: several
    // times faster on a slow line, with the same values in the end.
    QAction *block = addItem(drive, "mnuBlockTransfer", QStringLiteral("Block Transfers"), true);
    block->setCheckable(true);
    block->setToolTip(QStringLiteral("Transfer neighbouring parameters together in one message."));
}

void MainWindow::buildUtilitiesMenu()
{
    QMenu *util = menuBar()->addMenu(QStringLiteral("&Utilities"));
    util->setObjectName(QStringLiteral("mnuUtilities"));
    addItem(util, "mnuTrend", QStringLiteral("Trend"), false);
    addItem(util, "mnuPID", QStringLiteral("PID Tuning"), false);
    addItem(util, "mnuKeypad", QStringLiteral("Maintenance Keypad"), false);
    QMenu *current = util->addMenu(QStringLiteral("Current Config"));
    current->setObjectName(QStringLiteral("mnuCurrentConfig"));
    m_actions.insert(QStringLiteral("mnuCurrentConfig"), current->menuAction());
    addItem(current, "mnuStats", QStringLiteral("Display Config Information"), false);
    addItem(current, "mnuCompare", QStringLiteral("Compare Current Config -> Defaults"), false);
    addItem(current, "mnuPrintConfig", QStringLiteral("Print Current Config"), false);
    addItem(util, "mnuFaults", QStringLiteral("Display Drive Faults"), false);
    connect(addItem(util, "mnuStatusList", QStringLiteral("Show Status List Viewer"), true), &QAction::triggered, this,
        &MainWindow::showStatusList);
    connect(addItem(util, "mnuUpdate", QStringLiteral("Change Drive Rating"), false), &QAction::triggered, this,
        &MainWindow::changeDriveRating);
    connect(addItem(util, "mnuQuickInfo", QStringLiteral("Open Project Navigator"), true), &QAction::triggered, this,
        &MainWindow::showNavigator);
    QAction *startMenu = addItem(util, "mnuStartMenu", QStringLiteral("Show Project Navigator At Program Start"), true);
    startMenu->setCheckable(true);
    connect(startMenu, &QAction::triggered, this, &MainWindow::startMenuToggled);
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Main"));
    m_toolbar->setObjectName(QStringLiteral("tbrMain"));
    m_toolbar->setMovable(false);
    QStyle *s = style();
    struct Button
    {
        const char *key;
        QStyle::StandardPixmap icon;
        const char *tip;
    };
    // Positions 1..18; a null key is a separator (4, 6, 10, 14, 17).
    const Button buttons[] = {
        {"New", QStyle::SP_FileIcon, "Start a new configuration."},
        {"Open", QStyle::SP_DialogOpenButton, "Loads an existing config file into memory."},
        {"Save", QStyle::SP_DialogSaveButton, "Saves info in memory to file."},
        {nullptr, {}, nullptr},
        {"Trend", QStyle::SP_ComputerIcon, "Trends"},
        {nullptr, {}, nullptr},
        {"Detail", QStyle::SP_FileDialogDetailedView, "Detailed Config"},
        {"Schematic", QStyle::SP_FileDialogContentsView, "Schematic View"},
        {"Wizard", QStyle::SP_FileDialogListView, "Quick Start Configuration"},
        {nullptr, {}, nullptr},
        {"AutoDetect", QStyle::SP_BrowserReload, "Auto Detect Drive"},
        {"Connect", QStyle::SP_DriveNetIcon, "Go Online"},
        {"Disconnect", QStyle::SP_BrowserStop, "Go Offline"},
        {nullptr, {}, nullptr},
        {"Upload", QStyle::SP_ArrowUp, "Upload"},
        {"Download", QStyle::SP_ArrowDown, "Download"},
        {nullptr, {}, nullptr},
        {"Help", QStyle::SP_DialogHelpButton, "F1 for Context Sensitive Help"},
    };
    for (const Button &b : buttons) {
        if (!b.key) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction *a = m_toolbar->addAction(s->standardIcon(b.icon), QString::fromLatin1(b.key));
        a->setObjectName(QString::fromLatin1(b.key));
        a->setToolTip(QString::fromLatin1(b.tip));
        a->setEnabled(false);
        m_tools.insert(a->objectName(), a);
    }
    // New is a drop-down only: "Configuration" and "Quick Start".
    auto *newMenu = new QMenu(this);
    m_tools.insert(QStringLiteral("NewDetail"), newMenu->addAction(QStringLiteral("Configuration")));
    m_tools.insert(QStringLiteral("NewWizard"), newMenu->addAction(QStringLiteral("Quick Start")));
    m_tools.value(QStringLiteral("NewDetail"))->setEnabled(false);
    m_tools.value(QStringLiteral("NewWizard"))->setEnabled(false);
    m_tools.value(QStringLiteral("New"))->setMenu(newMenu);
    if (auto *button = qobject_cast<QToolButton *>(m_toolbar->widgetForAction(m_tools.value(QStringLiteral("New")))))
        button->setPopupMode(QToolButton::InstantPopup);
}

void MainWindow::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("stbMain"));
    bar->setSizeGripEnabled(true);
    for (int i = 1; i <= 4; ++i) {
        auto *label = new QLabel(QStringLiteral(" "), bar);
        label->setObjectName(QStringLiteral("panel%1").arg(i));
        label->setFrameShape(QFrame::StyledPanel);
        label->setFrameShadow(QFrame::Sunken);
        m_panels << label;
    }
    m_panels.at(1)->setText(QStringLiteral("Drive Status - Offline"));
    m_connectionPicture = new QLabel(bar);
    m_connectionPicture->setObjectName(QStringLiteral("panel4Picture"));
    bar->addWidget(m_panels.at(0), 2);
    bar->addWidget(m_panels.at(1), 3);
    bar->addWidget(m_panels.at(2), 1);
    bar->addPermanentWidget(m_connectionPicture);
    bar->addPermanentWidget(m_panels.at(3));
}

QLabel *MainWindow::panel(int number) const
{
    return m_panels.value(number - 1);
}

void MainWindow::updateCaption()
{
    setWindowTitle(QStringLiteral("  Tarvel - Current Config File: ") + m_ctx.state.strConfigName);
}

void MainWindow::setConnectionPanel(const QString &text, bool connected)
{
    panel(4)->setText(text);
    setConnectedPicture(connected);
}

void MainWindow::setMainEnabled(bool enabled)
{
    setEnabled(enabled);
}

void MainWindow::setBusyPointer(bool busy)
{
    if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        while (QApplication::overrideCursor())
            QApplication::restoreOverrideCursor();
}

void MainWindow::loadStartMenuCheck()
{
    if (const std::optional<bool> quick = Startup(m_ctx).readQuickScreen(QStringLiteral("frmMain, MDIForm_Load")))
        action(QStringLiteral("mnuStartMenu"))->setChecked(*quick);
}

void MainWindow::startMenuToggled()
{
    QAction *item = action(QStringLiteral("mnuStartMenu"));
    const bool show = item->isChecked();
    if (!Startup(m_ctx).writeQuickScreen(show, QStringLiteral("frmMain, mnuStartMenu_Click"))) {
        item->setChecked(!show); // the catalogue still holds the old value
        return;
    }
    if (m_navigator)
        m_navigator->setShowAtStart(show);
}

NavigatorDialog *MainWindow::navigator()
{
    if (!m_navigator) {
        m_navigator = new NavigatorDialog(m_ctx, this);
        m_navigator->setCommand(0, action(QStringLiteral("mnuNewDetailed")));
        m_navigator->setCommand(
            4, action(QStringLiteral("mnuOpenDetailed")), [this] { setTag(QStringLiteral("Detailed")); });
        m_navigator->setCommand(2, action(QStringLiteral("mnuNewWizard")));
        m_navigator->setCommand(6, action(QStringLiteral("mnuUpload")));
        connect(m_navigator, &NavigatorDialog::showAtStartChanged, this,
            [this](bool show) { action(QStringLiteral("mnuStartMenu"))->setChecked(show); });
    }
    return m_navigator;
}

void MainWindow::showNavigator()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuQuickInfo_Click"), [&] {
        NavigatorDialog *dialog = navigator();
        // The menu item mirrors QuickScreen; both write paths keep it so.
        dialog->setShowAtStart(action(QStringLiteral("mnuStartMenu"))->isChecked());
        dialog->show();
        dialog->raise();
        dialog->activateWindow();
    });
}

StatusListWindow *MainWindow::statusListWindow()
{
    if (!m_statusList) {
        m_statusList = new StatusListWindow(m_ctx);
        m_statusListSub = m_mdi->addSubWindow(m_statusList);
        m_statusListSub->setWindowIcon(AppIcons::application());
        m_statusListSub->resize(640, 420);
    }
    return m_statusList;
}

void MainWindow::showStatusList()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuStatusList_Click"), [&] { m_ctx.statusList.show(); });
}

// mnuUpdate_Click. There is no schematic window yet that would have to go
// first.
void MainWindow::changeDriveRating()
{
    ChangeRatingModel::changeDriveRating(m_ctx, [this] {
        ChangeRatingDialog dialog(m_ctx, this);
        dialog.exec();
    });
}

void MainWindow::statusListShownChanged(bool shown)
{
    if (!shown) {
        if (m_statusListSub)
            m_statusListSub->hide();
        return;
    }
    statusListWindow();
    m_statusListSub->show();
    m_statusList->show();
    m_mdi->setActiveSubWindow(m_statusListSub);
    m_statusListSub->raise();
}

void MainWindow::exitClicked()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuExit_Click"), [&] {
        if (!ShutdownFlow(m_ctx).confirmQuit(QStringLiteral("Tarvel Closing"), [this] { m_commands.save(); }))
            return;
        m_closing = true;
        close();
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        bool quit = false;
        m_ctx.trap(QStringLiteral("frmMain, MDIForm_QueryUnload"), [&] {
            quit = ShutdownFlow(m_ctx).confirmQuit(QStringLiteral("Closing Tarvel"), [this] { m_commands.save(); });
        });
        if (!quit) {
            event->ignore();
            return;
        }
    }
    m_closing = true;
    m_tmrMain.stop();
    m_tmrMain2Sec.stop();
    // Ending the program lets go of the drive link.
    m_ctx.link().disconnectLink();
    if (m_navigator)
        m_navigator->close();
    if (m_editor) {
        m_editor->setMainClosing(true);
        m_editorSub->close();
    }
    event->accept();
    QApplication::quit();
}

} // namespace Tarvel
