#include "MainWindow.h"

#include "AppIcons.h"
#include "NavigatorDialog.h"
#include "app/AppContext.h"
#include "app/ShutdownFlow.h"
#include "app/Startup.h"
#include "ui/editors/StatusListWindow.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QStatusBar>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>

namespace Tarvel {

MainWindow::MainWindow(AppContext &ctx, QWidget *parent)
    : QMainWindow(parent)
    , m_ctx(ctx)
    , m_mdi(new QMdiArea(this))
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
}

MainWindow::~MainWindow() = default;

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
    addItem(util, "mnuUpdate", QStringLiteral("Change Drive Rating"), false);
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
    m_connectionPicture->setPixmap(connected ? AppIcons::connected() : AppIcons::notConnected());
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
        if (!ShutdownFlow(m_ctx).confirmQuit(QStringLiteral("Tarvel Closing"), {}))
            return;
        m_closing = true;
        close();
    });
}

void MainWindow::closeEvent(QCloseEvent *event)
{
    if (!m_closing) {
        bool quit = false;
        m_ctx.trap(QStringLiteral("frmMain, MDIForm_QueryUnload"),
            [&] { quit = ShutdownFlow(m_ctx).confirmQuit(QStringLiteral("Closing Tarvel"), {}); });
        if (!quit) {
            event->ignore();
            return;
        }
    }
    m_closing = true;
    if (m_navigator)
        m_navigator->close();
    event->accept();
    QApplication::quit();
}

} // namespace Tarvel
