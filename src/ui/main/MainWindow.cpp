#include "MainWindow.h"

#include "BuiltCommands.h"
#include "DriveTransferCommands.h"
#include "MonitorCommands.h"
#include "NavigatorDialog.h"
#include "SafetyCommands.h"
#include "app/ChangeRatingModel.h"
#include "app/ShutdownFlow.h"
#include "app/Startup.h"
#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "schematic/SchematicFile.h"
#include "ui/common/AppIcons.h"
#include "ui/editors/ChangeRatingDialog.h"
#include "ui/editors/NewConfigDialog.h"
#include "ui/editors/StatusListWindow.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/editors/WizardWindow.h"
#include "ui/monitor/AutoDetectDialog.h"
#include "ui/monitor/BusMonitorWindow.h"
#include "ui/monitor/CommSettingsDialog.h"
#include "ui/schematic/SchematicWindow.h"
#include "ui/schematic/TruthTableWindow.h"
#include "ui/pid/PidTrendScreens.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QPushButton>
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
    , m_history(ctx, m_checks)
    , m_commands(ctx, *this)
    , m_poll(ctx, *this)
    , m_serialLink(ctx)
    , m_schematic(ctx)
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
    new SafetyCommands(ctx, *this);
    connectPidTrend();
    connectHelp();
    startTimers();
}

MainWindow::~MainWindow()
{
    // The wizard hears the editor; both go with the MDI area, the wizard
    // first.
    delete m_wizard.data();
    // The PID and trend screens tell the window when they go; they go with
    // the MDI area, after the window's own members.
    delete m_pidTrend;
    m_pidTrend = nullptr;
}

// The commands that are there from the start; the timers and the wizard
// decide the rest.
void MainWindow::connectCommands()
{
    const auto wire = [this](Command c, auto command) { onCommand(c, [this, command] { (m_commands.*command)(); }); };
    wire(Command::NewDetailed, &MainCommands::newDetailed);
    wire(Command::NewWizard, &MainCommands::newWizard);
    wire(Command::Open, &MainCommands::openConfiguration);
    wire(Command::Save, &MainCommands::save);
    wire(Command::SaveAs, &MainCommands::saveAs);
    wire(Command::Close, &MainCommands::closeConfiguration);
    wire(Command::Detail, &MainCommands::viewDetailed);
    wire(Command::Compare, &MainCommands::compare);
    wire(Command::PrintConfig, &MainCommands::printConfig);
    wire(Command::Schematic, &MainCommands::viewSchematic);
    m_commands.setSchematic(&m_schematic);
    for (const Command c : {Command::NewMenu, Command::NewDetailed, Command::NewWizard, Command::Open, Command::Detail})
        setCommandEnabled(c, true);
}

// Every action of a command (menu item and toolbar buttons) runs the slot.
template<class Slot> void MainWindow::onCommand(Command command, Slot slot)
{
    for (QAction *a : commandActions(command))
        connect(a, &QAction::triggered, this, slot);
}

// The drive link: the connection and auto-detect dialogs, Disconnect, the
// connection panel, and the serial polling behind the poll timer.
void MainWindow::connectLink()
{
    CommLink &link = m_ctx.link();
    connect(&link, &CommLink::panel4Changed, this,
        [this, &link] { setConnectionPanel(link.panel4Text(), link.panel4Connected()); });
    onCommand(Command::Connect, [this] { showConnection(); });
    onCommand(Command::AutoDetect, [this] { showAutoDetect(); });
    onCommand(Command::Disconnect,
        [this] { m_ctx.trap(QStringLiteral("frmMain, mnuDisconnect_Click"), [&] { m_ctx.link().disconnectLink(); }); });
    setLinkMonitor(&m_serialLink);
    m_transfers = new DriveTransferCommands(m_ctx, *this);
    m_monitor = new MonitorCommands(m_ctx, *this);
}

void MainWindow::showConnection()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuConnect_Click"), [&] { showModeless<CommSettingsDialog>(m_commSettings); });
}

void MainWindow::connectPidTrend()
{
    PidTrendScreens::Shell shell;
    shell.mdi = m_mdi;
    shell.driveStatus = [this] { return panel(2)->text(); };
    shell.showConnectDialog = [this] { action(Command::Connect)->trigger(); };
    shell.setTrendCommandEnabled = [this](bool enabled) { setCommandEnabled(Command::Trend, enabled); };
    m_pidTrend = new PidTrendScreens(m_ctx, shell, this);
    onCommand(Command::Trend, [this] { m_pidTrend->trendCommand(); });
    onCommand(Command::Pid, [this] { m_pidTrend->pidCommand(); });
    if (m_editor)
        m_pidTrend->wireDiagramButton(m_editor);
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

void MainWindow::setCommandEnabled(Command command, bool enabled)
{
    // One trend screen at a time: its command waits while one is open.
    if (command == Command::Trend && m_pidTrend && m_pidTrend->trendOpen())
        enabled = false;
    for (QAction *a : commandActions(command))
        a->setEnabled(enabled && BuiltCommands::isBuilt(command));
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

// The report is the one document shown; when no viewer starts, the user
// learns where it is.
bool MainWindow::openDocument(const QString &path)
{
    const bool opened
        = m_documentOpener ? m_documentOpener(path) : QDesktopServices::openUrl(QUrl::fromLocalFile(path));
    if (!opened)
        m_ctx.prompter().msgBox(
            QStringLiteral("The configuration report was written to:\r") + QDir::toNativeSeparators(path),
            Msg::Information, QStringLiteral("Configuration Report"));
    return opened;
}

// --- child windows --------------------------------------------------------------

TabConfigWindow *MainWindow::editorWindow()
{
    if (!m_editor) {
        m_editor = new TabConfigWindow(m_ctx);
        m_editor->setFieldEvents(&m_history);
        m_editorSub = m_mdi->addSubWindow(m_editor);
        // Created once: closing only hides it (the editor decides).
        m_editorSub->setAttribute(Qt::WA_DeleteOnClose, false);
        m_editorSub->setWindowIcon(AppIcons::application());
        m_editorSub->resize(820, 600);
        m_editorSub->hide();
        for (const char *name : {"cmdMatrix", "cmdTruthMatrix"})
            m_editor->setPictureAction(QString::fromLatin1(name), [this] { showTruthTable(); });
        if (m_pidTrend)
            m_pidTrend->wireDiagramButton(m_editor);
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

void MainWindow::download()
{
    m_transfers->download();
}

void MainWindow::configurationReplaced()
{
    m_history.clear();
}

void MainWindow::newConfigDialog(const QString &mode)
{
    // The schematic of the configuration being replaced goes first, with
    // its own question, while that configuration is still loaded.
    closeSchematic();
    NewConfigDialog dialog(m_ctx, mode, this);
    bool schematic = false;
    dialog.model().setShowMode([this, &schematic](NewConfig::Mode shown) {
        if (shown == NewConfig::Mode::Wizard)
            showWizard();
        else if (shown == NewConfig::Mode::Schematic)
            schematic = true;
        else
            showDetailedEditor();
    });
    dialog.exec();
    m_history.clear();
    // A schematic configuration is saved as Save saves it: both files.
    if (schematic && m_ctx.editor.tagNumber() == 3) {
        showSchematic();
        SchematicFile(m_ctx, m_schematic).saveSchematic(SchematicFile::pathFor(m_ctx.state.strConfigPath), true);
    }
}

// --- schematic windows ------------------------------------------------------------

SchematicWindow *MainWindow::schematicWindow(SchematicPage page) const
{
    return m_schematicWindows[size_t(page)].data();
}

void MainWindow::showSchematic()
{
    m_schematic.load();
    showSchematicPage(m_schematic.twoPage() ? SchematicPage::Control : SchematicPage::Single);
}

void MainWindow::showSchematicPage(SchematicPage page)
{
    QPointer<SchematicWindow> &slot = m_schematicWindows[size_t(page)];
    if (!slot) {
        SchematicWindowHooks hooks;
        hooks.openEditor = [this](int group, int innerTab) {
            TabConfigWindow *editor = editorWindow();
            m_editorSub->hide();
            showDetailedEditor();
            m_ctx.pause(0.125);
            editor->selectGroup(group, innerTab);
        };
        hooks.save = [this] { m_commands.save(); };
        hooks.showPage = [this](SchematicPage other) { showSchematicPage(other); };
        slot = new SchematicWindow(m_ctx, m_schematic, page, hooks);
        QMdiSubWindow *sub = m_mdi->addSubWindow(slot);
        sub->setAttribute(Qt::WA_DeleteOnClose);
        sub->setWindowIcon(AppIcons::application());
        sub->resize(980, 780);
        connect(slot, &QObject::destroyed, this, &MainWindow::schematicPageClosed, Qt::QueuedConnection);
    }
    QMdiSubWindow *sub = qobject_cast<QMdiSubWindow *>(slot->parentWidget());
    sub->show();
    slot->show();
    m_mdi->setActiveSubWindow(sub);
}

// The state lives as long as a page of it is open.
void MainWindow::schematicPageClosed()
{
    for (const QPointer<SchematicWindow> &w : m_schematicWindows)
        if (w)
            return;
    m_schematic.unload();
}

void MainWindow::closeSchematic()
{
    for (QPointer<SchematicWindow> &w : m_schematicWindows) {
        if (!w)
            continue;
        if (auto *sub = qobject_cast<QMdiSubWindow *>(w->parentWidget()))
            sub->close();
        delete w.data();
    }
    m_schematic.unload();
}

// cmdMatrix_Click, cmdTruthMatrix_Click: the four-bit matrix for series 2.
void MainWindow::showTruthTable()
{
    const int bits = m_ctx.state.strSeries.trimmed().toInt() == 2 ? 4 : 3;
    auto *window = new TruthTableWindow(m_ctx, bits);
    QMdiSubWindow *sub = m_mdi->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(AppIcons::application());
    sub->resize(window->size());
    sub->show();
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
    for (const Command c :
        {Command::Detail, Command::NewMenu, Command::NewDetailed, Command::NewWizard, Command::Schematic})
        setCommandEnabled(c, free);
}

// Those always there; the rest wait for the timers and the wizard.
static bool enabledAtStart(Command command)
{
    switch (command) {
    case Command::NewMenu:
    case Command::CurrentConfig:
    case Command::Exit:
    case Command::BlockTransfer:
    case Command::StatusList:
    case Command::QuickInfo:
    case Command::StartMenu:
    case Command::Cascade:
    case Command::BackupBeforeDownload:
    case Command::RecentMenu:
    case Command::BusMonitor:
        return true;
    default:
        return false;
    }
}

void MainWindow::buildMenus()
{
    QHash<QString, QMenu *> menus;
    for (const MenuBarEntry &m : CommandTable::menuBar()) {
        QMenu *menu = menuBar()->addMenu(QString::fromLatin1(m.caption));
        menu->setObjectName(QString::fromLatin1(m.name));
        menus.insert(menu->objectName(), menu);
    }
    // Exit stays last in the File menu: items listed after it go above it.
    QAction *exitSeparator = nullptr;
    for (const MenuEntry &e : CommandTable::menuItems()) {
        QMenu *menu = menus.value(QString::fromLatin1(e.menu));
        const QString name = QString::fromLatin1(e.name);
        const QString caption = QString::fromLatin1(e.caption);
        if (e.command == Command::Exit)
            exitSeparator = menu->addSeparator();
        if (e.command == Command::BlockTransfer || e.command == Command::CompareDrive
            || e.command == Command::BusMonitor)
            menu->addSeparator();
        QAction *before = menu->objectName() == QLatin1String("mnuFile") ? exitSeparator : nullptr;
        QAction *a = nullptr;
        if (e.submenu) {
            auto *sub = new QMenu(caption, menu);
            sub->setObjectName(name);
            menus.insert(name, sub);
            a = sub->menuAction();
            menu->insertMenu(before, sub);
        } else {
            a = new QAction(caption, menu);
            a->setObjectName(name);
            menu->insertAction(before, a);
        }
        if (e.shortcut)
            a->setShortcut(QKeySequence(QString::fromLatin1(e.shortcut)));
        a->setCheckable(e.command == Command::BlockTransfer || e.command == Command::StartMenu
            || e.command == Command::BackupBeforeDownload);
        a->setEnabled(enabledAtStart(e.command));
        m_actions.insert(name, a);
        m_commandActions[size_t(e.command)] << a;
    }
    connectMenus();
}

// The menu items the window runs itself; the others are wired with their
// toolbar buttons.
void MainWindow::connectMenus()
{
    // Reads and writes neighbouring registers in one transaction: several
    // times faster on a slow line, with the same values in the end.
    action(Command::BlockTransfer)
        ->setToolTip(QStringLiteral("Transfer neighbouring parameters together in one message."));
    connect(action(Command::Exit), &QAction::triggered, this, &MainWindow::exitClicked);
    connect(action(Command::Cascade), &QAction::triggered, m_mdi, &QMdiArea::cascadeSubWindows);
    connect(action(Command::StatusList), &QAction::triggered, this, &MainWindow::showStatusList);
    connect(action(Command::Update), &QAction::triggered, this, &MainWindow::changeDriveRating);
    connect(action(Command::QuickInfo), &QAction::triggered, this, &MainWindow::showNavigator);
    connect(action(Command::StartMenu), &QAction::triggered, this, &MainWindow::startMenuToggled);
    connect(action(Command::BusMonitor), &QAction::triggered, this, [this] {
        m_ctx.trap(
            QStringLiteral("frmMain, mnuBusMonitor_Click"), [&] { showModeless<BusMonitorWindow>(m_busMonitor); });
    });
}

static QStyle::StandardPixmap toolIcon(Command command)
{
    switch (command) {
    case Command::NewMenu:
        return QStyle::SP_FileIcon;
    case Command::Open:
        return QStyle::SP_DialogOpenButton;
    case Command::Save:
        return QStyle::SP_DialogSaveButton;
    case Command::Trend:
        return QStyle::SP_ComputerIcon;
    case Command::Detail:
        return QStyle::SP_FileDialogDetailedView;
    case Command::Schematic:
        return QStyle::SP_FileDialogContentsView;
    case Command::NewWizard:
        return QStyle::SP_FileDialogListView;
    case Command::AutoDetect:
        return QStyle::SP_BrowserReload;
    case Command::Connect:
        return QStyle::SP_DriveNetIcon;
    case Command::Disconnect:
        return QStyle::SP_BrowserStop;
    case Command::Upload:
        return QStyle::SP_ArrowUp;
    case Command::Download:
        return QStyle::SP_ArrowDown;
    default:
        return QStyle::SP_DialogHelpButton;
    }
}

void MainWindow::buildToolbar()
{
    m_toolbar = addToolBar(QStringLiteral("Main"));
    m_toolbar->setObjectName(QStringLiteral("tbrMain"));
    m_toolbar->setMovable(false);
    const auto add = [this](const ToolEntry &t, QAction *a) {
        a->setObjectName(QString::fromLatin1(t.key));
        a->setEnabled(false);
        m_tools.insert(a->objectName(), a);
        m_commandActions[size_t(t.command)] << a;
    };
    for (const ToolEntry &t : CommandTable::toolbar()) {
        if (!t.key) {
            m_toolbar->addSeparator();
            continue;
        }
        QAction *a = m_toolbar->addAction(style()->standardIcon(toolIcon(t.command)), QString::fromLatin1(t.key));
        a->setToolTip(QString::fromLatin1(t.tip));
        add(t, a);
    }
    // New is a drop-down only: "Configuration" and "Quick Start".
    auto *newMenu = new QMenu(this);
    for (const ToolEntry &t : CommandTable::newDropDown())
        add(t, newMenu->addAction(QString::fromLatin1(t.tip)));
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
        action(Command::StartMenu)->setChecked(*quick);
}

void MainWindow::startMenuToggled()
{
    QAction *item = action(Command::StartMenu);
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
        const auto run = [](QAction *a) { return [a] { a->trigger(); }; };
        m_navigator->setCommand(0, run(action(Command::NewDetailed)), action(Command::NewDetailed));
        m_navigator->setCommand(
            4,
            [this, open = action(Command::Open)] {
                setTag(QStringLiteral("Detailed"));
                open->trigger();
            },
            action(Command::Open));
        m_navigator->setCommand(2, run(action(Command::NewWizard)), action(Command::NewWizard));
        // Always offered: without a link the command itself offers to
        // connect or to find the drive.
        m_navigator->setCommand(6, [this] { m_transfers->upload(); });
        m_navigator->setCommand(
            1, [this] { m_commands.newSchematic(); }, action(Command::NewDetailed));
        m_navigator->setCommand(
            5,
            [this] {
                if (m_commands.openSchematic())
                    setTag(QStringLiteral("Schematic"));
            },
            action(Command::Open));
        connect(m_navigator, &NavigatorDialog::showAtStartChanged, this,
            [this](bool show) { action(Command::StartMenu)->setChecked(show); });
        connect(m_navigator->diagsButton(), &QPushButton::clicked, this, &MainWindow::showDiags);
    }
    return m_navigator;
}

void MainWindow::showNavigator()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuQuickInfo_Click"), [&] {
        NavigatorDialog *dialog = navigator();
        // The menu item mirrors QuickScreen; both write paths keep it so.
        dialog->setShowAtStart(action(Command::StartMenu)->isChecked());
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

// mnuUpdate_Click: the schematic of the old rating goes first.
void MainWindow::changeDriveRating()
{
    ChangeRatingModel::changeDriveRating(m_ctx, [this] {
        closeSchematic();
        ChangeRatingDialog dialog(m_ctx, this);
        dialog.exec();
    });
    m_history.clear();
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
