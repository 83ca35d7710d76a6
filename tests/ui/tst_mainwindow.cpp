// The main window frame, the navigator and the splash window, as a user
// meets them at start.
#include "TestSupport.h"

#include "app/Startup.h"
#include "ui/main/MainWindow.h"
#include "ui/main/NavigatorDialog.h"
#include "ui/main/Shell.h"
#include "ui/main/SplashWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRadioButton>
#include <QToolBar>
#include <QtTest>

using namespace Tarvel;

namespace {

// The shell swaps in real message boxes; tests answer through the script.
struct ScriptedShell
{
    explicit ScriptedShell(Test::TempProgram &program)
        : shell(program.ctx())
    {
        shell.setSplashTickMs(10);
        program.ctx().setPrompter(&program.prompter());
    }
    Shell shell;
};

QStringList menuTexts(QMenu *menu)
{
    QStringList out;
    for (QAction *a : menu->actions())
        if (!a->isSeparator())
            out << a->text();
    return out;
}

} // namespace

class TestMainWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void menusAreComplete();
    void onlyBuiltCommandsAreEnabled();
    void toolbarPositions();
    void captionAndPanels();
    void startShowsNavigatorAndSplash();
    void navigatorGoAndRepeat();
    void splashMaximisesMainOnTheSixthTick();
    void splashKeyPressLeavesMainAlone();
    void statusListOpensAsChildWindow();
    void closeBoxAsksFirst();
};

void TestMainWindow::menusAreComplete()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    MainWindow &w = s.shell.mainWindow();
    QStringList tops;
    for (QAction *a : w.menuBar()->actions())
        tops << a->text();
    QCOMPARE(tops, (QStringList {"&File", "&Drive", "&View", "&Utilities", "&Window", "&Help"}));
    QCOMPARE(
        menuTexts(w.action("mnuNew")->menu()), (QStringList {"Detailed Configuration", "Quick Start Configuration"}));
    QCOMPARE(menuTexts(w.menuBar()->actions().at(1)->menu()),
        (QStringList {"Auto Detect", "Connect", "Disconnect", "Upload", "Download", "Block Transfers"}));
    QCOMPARE(menuTexts(w.action("mnuCurrentConfig")->menu()),
        (QStringList {"Display Config Information", "Compare Current Config -> Defaults", "Print Current Config"}));
    QCOMPARE(menuTexts(w.menuBar()->actions().at(3)->menu()),
        (QStringList {"Trend", "PID Tuning", "Maintenance Keypad", "Current Config", "Display Drive Faults",
            "Show Status List Viewer", "Change Drive Rating", "Open Project Navigator",
            "Show Project Navigator At Program Start"}));
    QCOMPARE(menuTexts(w.menuBar()->actions().at(5)->menu()), (QStringList {"Contents", "Index", "Search", "About"}));
}

void TestMainWindow::onlyBuiltCommandsAreEnabled()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    MainWindow &w = s.shell.mainWindow();
    // At start nothing is loaded: the commands that need a file or a
    // configuration wait for one, those not built stay off for good.
    const QStringList built {"mnuExit", "mnuStatusList", "mnuQuickInfo", "mnuStartMenu", "mnuCascade", "mnuNew",
        "mnuCurrentConfig", "mnuNewDetailed", "mnuNewWizard", "mnuOpenDetailed", "mnuDetail", "mnuAutoDetect",
        "mnuConnect"};
    const QStringList all {"mnuSave", "mnuSaveAs", "mnuClose", "mnuDisconnect", "mnuUpload", "mnuDownload",
        "mnuSchematic", "mnuTrend", "mnuPID", "mnuKeypad", "mnuStats", "mnuCompare", "mnuPrintConfig", "mnuFaults",
        "mnuUpdate", "mnuContents", "mnuIndex", "mnuSearch", "mnuAbout"};
    for (const QString &name : built)
        QVERIFY2(w.action(name) && w.action(name)->isEnabled(), qPrintable(name));
    for (const QString &name : all)
        QVERIFY2(w.action(name) && !w.action(name)->isEnabled(), qPrintable(name));
}

void TestMainWindow::toolbarPositions()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    auto *bar = s.shell.mainWindow().findChild<QToolBar *>("tbrMain");
    QVERIFY(bar);
    QStringList positions;
    for (QAction *a : bar->actions())
        positions << (a->isSeparator() ? QStringLiteral("|") : a->objectName() + "=" + a->toolTip());
    QCOMPARE(positions,
        (QStringList {"New=Start a new configuration.", "Open=Loads an existing config file into memory.",
            "Save=Saves info in memory to file.", "|", "Trend=Trends", "|", "Detail=Detailed Config",
            "Schematic=Schematic View", "Wizard=Quick Start Configuration", "|", "AutoDetect=Auto Detect Drive",
            "Connect=Go Online", "Disconnect=Go Offline", "|", "Upload=Upload", "Download=Download", "|",
            "Help=F1 for Context Sensitive Help"}));
    QCOMPARE(menuTexts(s.shell.mainWindow().toolButton("New")->menu()), (QStringList {"Configuration", "Quick Start"}));
}

void TestMainWindow::captionAndPanels()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    MainWindow &w = s.shell.mainWindow();
    QCOMPARE(w.windowTitle(), QStringLiteral("  Tarvel - Current Config File:  "));
    program.ctx().state.strConfigName = "Pump 3.qxc";
    w.updateCaption();
    QCOMPARE(w.windowTitle(), QStringLiteral("  Tarvel - Current Config File: Pump 3.qxc"));
    QCOMPARE(w.panel(2)->text(), QStringLiteral("Drive Status - Offline"));
    QCOMPARE(w.panel(4)->text(), QStringLiteral("Off-Line "));
}

void TestMainWindow::startShowsNavigatorAndSplash()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    s.shell.start();
    MainWindow &w = s.shell.mainWindow();
    QVERIFY(w.isVisible());
    QVERIFY(w.navigator()->isVisible());
    QCOMPARE(w.navigator()->windowTitle(), QStringLiteral("  Project Navigator"));
    QVERIFY(w.navigator()->option(NavigatorDialog::CloseOption)->isChecked());
    QVERIFY(w.navigator()->repeatBox()->isChecked());
    QVERIFY(w.action("mnuStartMenu")->isChecked());
    QVERIFY(s.shell.splash());
    if (qEnvironmentVariableIsSet("TARVEL_SCREENSHOT"))
        w.grab().save(qEnvironmentVariable("TARVEL_SCREENSHOT"));
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestMainWindow::navigatorGoAndRepeat()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    MainWindow &w = s.shell.mainWindow();
    w.showNavigator();
    NavigatorDialog *nav = w.navigator();
    // Options whose commands are not available cannot be chosen.
    for (int i : {0, 2, 4})
        QVERIFY(nav->option(i)->isEnabled());
    QVERIFY(!nav->option(6)->isEnabled());
    w.action("mnuNewDetailed")->setEnabled(false);
    QVERIFY(!nav->option(0)->isEnabled());
    QVERIFY(!nav->option(1)->isVisibleTo(nav) && !nav->option(5)->isVisibleTo(nav));
    // Enabling a command enables its option; Go runs it and the navigator stays.
    int triggered = 0;
    // Counted instead of run: the command itself opens a modal dialog.
    disconnect(w.action("mnuNewDetailed"), &QAction::triggered, nullptr, nullptr);
    connect(w.action("mnuNewDetailed"), &QAction::triggered, this, [&] { ++triggered; });
    w.action("mnuNewDetailed")->setEnabled(true);
    QVERIFY(nav->option(0)->isEnabled());
    nav->option(0)->setChecked(true);
    nav->go();
    QCOMPARE(triggered, 1);
    QVERIFY(nav->isVisible());
    // Unchecking the box writes QuickScreen at once and unchecks the menu item.
    nav->repeatBox()->click();
    QVERIFY(!w.action("mnuStartMenu")->isChecked());
    QCOMPARE(Startup(program.ctx()).readQuickScreen(), std::optional<bool>(false));
    // The menu item toggles it back and the box follows.
    w.action("mnuStartMenu")->trigger();
    QCOMPARE(Startup(program.ctx()).readQuickScreen(), std::optional<bool>(true));
    QVERIFY(nav->repeatBox()->isChecked());
    nav->option(NavigatorDialog::CloseOption)->setChecked(true);
    nav->go();
    QVERIFY(!nav->isVisible());
}

void TestMainWindow::splashMaximisesMainOnTheSixthTick()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    s.shell.start();
    QPointer<SplashWindow> splash = s.shell.splash();
    QVERIFY(splash);
    QTRY_VERIFY_WITH_TIMEOUT(!splash, 5000);
    QVERIFY(s.shell.mainWindow().windowState() & Qt::WindowMaximized);
}

void TestMainWindow::splashKeyPressLeavesMainAlone()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    s.shell.setSplashTickMs(60000);
    s.shell.start();
    QPointer<SplashWindow> splash = s.shell.splash();
    QTest::keyClick(splash.data(), Qt::Key_Space);
    QTRY_VERIFY(!splash);
    QVERIFY(!(s.shell.mainWindow().windowState() & Qt::WindowMaximized));
}

void TestMainWindow::statusListOpensAsChildWindow()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    MainWindow &w = s.shell.mainWindow();
    w.show();
    w.action("mnuStatusList")->trigger();
    QVERIFY(program.ctx().statusList.isShown());
    QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
    QMdiSubWindow *sub = w.mdiArea()->subWindowList().first();
    QVERIFY(sub->isVisible());
    QCOMPARE(sub->windowTitle(), QStringLiteral("  Status List"));
    // The close box with lines asks; Cancel keeps the window and its lines.
    program.ctx().statusList.addLine("Compare started.");
    program.prompter().enqueue(Msg::Cancel);
    sub->close();
    QVERIFY(sub->isVisible());
    QCOMPARE(program.ctx().statusList.lines().size(), 1);
    program.prompter().enqueue(Msg::OK);
    sub->close();
    QVERIFY(!sub->isVisible());
    QVERIFY(program.ctx().statusList.lines().isEmpty());
    // A long operation showing the list brings it back.
    program.ctx().statusList.show();
    QVERIFY(sub->isVisible());
}

void TestMainWindow::closeBoxAsksFirst()
{
    Test::TempProgram program;
    ScriptedShell s(program);
    MainWindow &w = s.shell.mainWindow();
    w.show();
    program.prompter().enqueue(Msg::No);
    QVERIFY(!w.close());
    QVERIFY(w.isVisible());
    QCOMPARE(program.prompter().messages().last().title, QStringLiteral("Closing Tarvel"));
    program.prompter().enqueue(Msg::No);
    w.action("mnuExit")->trigger();
    QVERIFY(w.isVisible());
    QCOMPARE(program.prompter().messages().last().title, QStringLiteral("Tarvel Closing"));
    program.prompter().enqueue(Msg::Yes);
    QVERIFY(w.close());
}

QTEST_MAIN(TestMainWindow)
#include "tst_mainwindow.moc"
