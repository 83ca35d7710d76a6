// The main window: its command table, navigator, splash, and commands and
// transfers reaching their models.
#include "MainWindowTestSupport.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "app/Command.h"
#include "app/ParameterTableModel.h"
#include "app/RecentFiles.h"
#include "app/Startup.h"
#include "comm/CommLink.h"
#include "comm/PortMap.h"
#include "ui/editors/ParameterTableWindow.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/main/BuiltCommands.h"
#include "ui/main/DriveTransferCommands.h"
#include "ui/main/NavigatorDialog.h"
#include "ui/main/SplashWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QDir>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenuBar>
#include <QRadioButton>
#include <QSettings>
#include <QStandardPaths>
#include <QToolBar>
#include <QtTest>

using namespace Tarvel;

namespace MainWindowTest {

// The main window frame, the navigator and the splash window, as a user
// meets them at start.

namespace {

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
    // The window builds the command table: each item in its menu with its
    // caption and keys, each toolbar position, and only built commands usable.
    void commandsFollowTheTable()
    {
        Test::MainFixture f;
        MainWindow &w = f.w();
        QStringList tops;
        for (QAction *a : w.menuBar()->actions())
            tops << a->menu()->objectName();
        QCOMPARE(tops.size(), qsizetype(CommandTable::menuBar().size()));
        for (const MenuEntry &e : CommandTable::menuItems()) {
            QAction *a = w.action(e.command);
            QVERIFY2(a && a->text() == e.caption, e.name);
            QCOMPARE(a->shortcut(), QKeySequence(QString::fromLatin1(e.shortcut ? e.shortcut : "")));
            const QList<QObject *> in = a->associatedObjects();
            QVERIFY2(std::any_of(in.begin(), in.end(), [&](QObject *o) { return o->objectName() == e.menu; }), e.name);
            if (!BuiltCommands::isBuilt(e.command))
                QVERIFY2(!a->isEnabled(), e.name);
        }
        QList<QAction *> positions = w.findChild<QToolBar *>("tbrMain")->actions();
        QCOMPARE(positions.size(), qsizetype(CommandTable::toolbar().size()));
        for (const ToolEntry &t : CommandTable::toolbar()) {
            QAction *a = positions.takeFirst();
            QCOMPARE(a->isSeparator(), !t.key);
            if (t.key)
                QVERIFY2(a->toolTip() == t.tip && w.commandActions(t.command).contains(a), t.key);
        }
        QCOMPARE(menuTexts(w.toolButton("New")->menu()), (QStringList {"Configuration", "Quick Start"}));
    }

    // Start shows the main window, the navigator and the splash, which
    // maximises the main window on its sixth tick; a key closes it at once
    // and leaves the main window as it is.
    void startShowsNavigatorAndSplash_data()
    {
        QTest::addColumn<bool>("key");
        QTest::newRow("splash runs out") << false;
        QTest::newRow("key pressed") << true;
    }
    void startShowsNavigatorAndSplash()
    {
        QFETCH(bool, key);
        Test::MainFixture f;
        MainWindow &w = f.w();
        w.hide(); // start shows it
        f.shell.setSplashTickMs(key ? 60000 : 10);
        f.shell.start();
        QVERIFY(w.isVisible());
        QVERIFY(w.navigator()->isVisible());
        QVERIFY(w.navigator()->option(NavigatorDialog::CloseOption)->isChecked());
        QVERIFY(w.navigator()->repeatBox()->isChecked());
        QVERIFY(w.action("mnuStartMenu")->isChecked());
        QPointer<SplashWindow> splash = f.shell.splash();
        QVERIFY(splash);
        if (key)
            QTest::keyClick(splash.data(), Qt::Key_Space);
        QTRY_VERIFY_WITH_TIMEOUT(!splash, 5000);
        QCOMPARE(bool(w.windowState() & Qt::WindowMaximized), !key);
        QVERIFY(f.program.errorLogLines().isEmpty());
    }

    void navigatorGoAndRepeat()
    {
        Test::MainFixture f;
        Test::TempProgram &program = f.program;
        MainWindow &w = f.w();
        w.showNavigator();
        NavigatorDialog *nav = w.navigator();
        // Options whose commands are not available cannot be chosen.
        for (int i : {0, 2, 4})
            QVERIFY(nav->option(i)->isEnabled());
        // Upload is offered without a link: the command offers to connect.
        program.prompter().enqueue(Msg::No);
        nav->option(6)->setChecked(true);
        nav->go();
        QCOMPARE(program.prompter().messages().size(), 1);
        QCOMPARE(program.prompter().messages().first().title, QStringLiteral("No Connection Present"));
        w.action("mnuNewDetailed")->setEnabled(false);
        QVERIFY(!nav->option(0)->isEnabled());
        // The new schematic configuration goes with New.
        QVERIFY(nav->option(1)->isVisibleTo(nav) && !nav->option(1)->isEnabled() && nav->option(5)->isEnabled());
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

    void statusListOpensAsChildWindow()
    {
        Test::MainFixture f;
        Test::TempProgram &program = f.program;
        MainWindow &w = f.w();
        w.action("mnuStatusList")->trigger();
        QVERIFY(program.ctx().statusList.isShown());
        QCOMPARE(w.mdiArea()->subWindowList().size(), 1);
        QMdiSubWindow *sub = w.mdiArea()->subWindowList().first();
        QVERIFY(sub->isVisible());
        QCOMPARE(sub->windowTitle(), QStringLiteral("  Status List"));
        // The close box asks the list's question (its answers: tst_model).
        program.ctx().statusList.addLine("Compare started.");
        program.prompter().enqueue(Msg::OK);
        sub->close();
        QCOMPARE(program.prompter().titles(), QStringList {"Are you sure?"});
        QVERIFY(!sub->isVisible());
        // A long operation showing the list brings it back.
        program.ctx().statusList.show();
        QVERIFY(sub->isVisible());
    }

    void closeBoxAsksFirst()
    {
        Test::MainFixture f;
        Test::TempProgram &program = f.program;
        MainWindow &w = f.w();
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
};

} // namespace MainWindowTest

namespace CommandsTest {

// The main window's commands, timers and child windows as a user drives
// them: the new-configuration dialog, Save and Close, the editor hosted
// once, and a whole session from new file to report.

class TestMainWindowCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void init() { QSettings().remove(RecentFiles::SettingsKey); }
    void cleanup() { QSettings().remove(RecentFiles::SettingsKey); }

    void timersRunFromStart()
    {
        Test::MainFixture f;
        QVERIFY(f.w().mainTimer().isActive());
        QCOMPARE(f.w().mainTimer().interval(), 1000);
        QVERIFY(f.w().twoSecondTimer().isActive());
        QCOMPARE(f.w().twoSecondTimer().interval(), 2000);
        // A long operation stops them through the hooks and starts them again.
        ShellHooks &hooks = f.ctx().hooks();
        hooks.setPollTimerEnabled(false);
        hooks.setPoll2SecTimerEnabled(false);
        QVERIFY(!f.w().mainTimer().isActive());
        QVERIFY(!f.w().twoSecondTimer().isActive());
        hooks.setPollTimerEnabled(true);
        hooks.setPoll2SecTimerEnabled(true);
        QVERIFY(f.w().mainTimer().isActive() && f.w().twoSecondTimer().isActive());
        QCOMPARE(f.w().panel(2)->text(), QStringLiteral("Drive Status - Offline"));
        QCOMPARE(f.w().panel(1)->text(), QStringLiteral(" "));
    }

    void editorIsCreatedOnce()
    {
        Test::MainFixture f;
        Test::answerNewConfig(Test::QX2, "Pump1");
        f.w().commands().newDetailed();
        QMdiSubWindow *sub = f.w().editorSubWindow();
        // The close box only hides it; View Detailed brings the same one back.
        sub->close();
        QVERIFY(!sub->isVisible());
        f.w().action("mnuDetail")->trigger();
        QCOMPARE(f.w().editorSubWindow(), sub);
        QVERIFY(sub->isVisible());
    }

    // New file, a value typed into the editor and checked on Tab, undone and
    // redone from the keyboard, Save, Close, Open again (a recent file), the
    // table of all parameters, Compare, the report, and a recent file gone.
    void wholeSession()
    {
        Test::MainFixture f;
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        Test::answerNewConfig(Test::QX2, "Session");
        f.w().toolButton("NewDetail")->trigger();
        QCOMPARE(f.w().windowTitle(), QStringLiteral("  Tarvel - Current Config File: Session.qxc"));
        QVERIFY(f.w().editorSubWindow()->isVisible());
        TabConfigWindow *editor = f.w().editorWindow();
        f.w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&f.w()));
        QLineEdit *box = editor->valueBox(103);
        f.ctx().editor.setFocus(FieldKind::Text, 103);
        QTRY_VERIFY(box->hasFocus());
        QTest::keyClick(box, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(box, "61");
        QTest::keyClick(box, Qt::Key_Tab);
        QVERIFY(!box->hasFocus());
        QCOMPARE(f.ctx().editor.txtP(103).text(), QStringLiteral("61"));
        // The next box has no typing of its own to take back: the keys are
        // the editor's.
        QCOMPARE(f.w().action(Command::Undo)->text(), QStringLiteral("Undo P1.03 10 -> 61"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(f.ctx().editor.txtP(103).text(), QStringLiteral("10"));
        QCOMPARE(f.w().action(Command::Redo)->text(), QStringLiteral("Redo P1.03 10 -> 61"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Z, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(f.ctx().editor.txtP(103).text(), QStringLiteral("61"));

        f.w().pollTimers().mainTick();
        f.w().toolButton("Save")->trigger();
        QVERIFY(Test::readBytes(f.configPath("Session.qxc")).contains("\r\n10361\r\n"));

        f.w().action("mnuClose")->trigger();
        QVERIFY(f.program.prompter().messages().isEmpty()); // nothing unsaved
        QCOMPARE(f.ctx().editor.txtP(103).text(), QString());

        f.dialogs.answer = f.configPath("Session.qxc");
        f.w().toolButton("Open")->trigger();
        QCOMPARE(f.ctx().editor.txtP(103).text(), QStringLiteral("61"));
        QCOMPARE(box->text(), QStringLiteral("61"));
        QCOMPARE(f.w().windowTitle(), QStringLiteral("  Tarvel - Current Config File: Session.qxc"));
        QCOMPARE(RecentFiles::list().value(0), QFileInfo(f.dialogs.answer).absoluteFilePath());

        // View > All Parameters over the same fields: only P1.03 differs.
        f.w().action(Command::AllParameters)->trigger();
        auto *table = f.w().findChild<ParameterTableWindow *>();
        QVERIFY(table && table->isVisible());
        if (const QString dir = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR"); !dir.isEmpty())
            f.w().grab().save(dir + QStringLiteral("/mainwindow-allparameters.png"));
        table->changedOnly()->setChecked(true);
        QCOMPARE(table->filter().rowCount(), 1);
        QCOMPARE(table->filter().index(0, ParameterTableModel::Value).data().toString(), QStringLiteral("61"));

        f.w().pollTimers().mainTick();
        f.w().pollTimers().twoSecondTick();
        QCOMPARE(f.w().editorSubWindow()->windowTitle(), f.ctx().editor.caption());
        QVERIFY(f.w().editorSubWindow()->windowTitle().contains("QX-2"));
        f.w().action("mnuCompare")->trigger();
        QVERIFY(f.ctx().statusList.isShown());
        // The open listed it with a time stamp; the comparison's line starts
        // with the parameter.
        const QStringList lines = f.ctx().statusList.lines();
        QCOMPARE(std::count_if(lines.begin(), lines.end(),
                     [](const QString &l) { return l.startsWith("P1.03 - Value different from default. Value = 61"); }),
            1);
        f.w().action("mnuPrintConfig")->trigger();
        QCOMPARE(f.opened.size(), 1);
        QVERIFY(Test::readBytes(f.opened[0]).contains("61"));
        // Without a viewer the user is told where the report is.
        f.w().setDocumentOpener([](const QString &) { return false; });
        f.w().action("mnuPrintConfig")->trigger();
        QCOMPARE(f.program.prompter().messages().last().text,
            "The configuration report was written to:\r" + QDir::toNativeSeparators(f.opened[0]));
        QVERIFY(f.program.errorLogLines().isEmpty());

        // Gone from the disk: taken off the list when chosen.
        QVERIFY(QFile::remove(f.configPath("Session.qxc")));
        QMenu *recent = f.w().action(Command::RecentMenu)->menu();
        Q_EMIT recent->aboutToShow();
        recent->actions().value(0)->trigger();
        QCOMPARE(f.program.prompter().titles().constLast(), QStringLiteral("File missing"));
        QVERIFY(RecentFiles::list().isEmpty());
    }
};

} // namespace CommandsTest

namespace TransferTest {

// The main window with a simulated drive on the link: the poll timer's
// panels and commands follow the drive; the Drive menu's Upload and Download
// reach their operations (whose results are tst_transfer's) and the window
// is usable again after each. A drive that goes away: the poll timers' tests.

class TestMainWindowTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QSettings().remove(DriveTransferCommands::BlockTransferKey); }

    // With the Block Transfers option on: the option must reach the link and
    // the settings; single against block transfers is the operations' test.
    void pollingAndTransfers()
    {
        Test::TempProgram program;
        Shell shell(program.ctx());
        AppContext &ctx = program.ctx();
        ScriptedPrompter &prompter = program.prompter();
        ctx.setPrompter(&prompter);
        MainWindow &w = shell.mainWindow();
        w.mainTimer().stop();
        w.twoSecondTimer().stop();

        auto sim = std::make_unique<Test::SimProcess>(QStringList {"--drive", "02,05,120"});
        QString error;
        QVERIFY2(sim->startPty(&error), qPrintable(error));
        CommLink &link = ctx.link();
        link.mod1().setPortMap(PortMap(QStringList {sim->link()}));
        QCOMPARE(link.openSerial(SerialLinkSettings {}), 0);
        link.setPanel4Text(QStringLiteral("Node 1 - RTU MODE-19200,E,8,1  "));
        link.setPanel4Connected(true);
        QCOMPARE(w.panel(4)->text(), QStringLiteral("Node 1 - RTU MODE-19200,E,8,1  "));
        w.pollTimers().mainTick(); // the drive's identity and run state
        QCOMPARE(w.panel(2)->text(), QStringLiteral("Drive Status - STOP, FWD     "));
        QVERIFY(w.action("mnuDisconnect")->isEnabled() && !w.action("mnuConnect")->isEnabled());
        QVERIFY(w.action("mnuUpload")->isEnabled());
        QVERIFY(w.toolButton("Download")->isEnabled());

        QAction *blockOption = w.action("mnuBlockTransfer");
        QVERIFY(blockOption && blockOption->isCheckable() && !blockOption->isChecked());
        blockOption->setChecked(true);
        QVERIFY(link.blockTransfer());
        QVERIFY(QSettings().value(DriveTransferCommands::BlockTransferKey).toBool());

        // Upload: proceed, do not save.
        prompter.enqueue(Msg::Yes);
        prompter.enqueue(Msg::No);
        w.action("mnuUpload")->trigger();
        QCOMPARE(prompter.titles(), (QStringList {"Verification Required", "Upload Status"}));
        QCOMPARE(ctx.editor.tag(), QStringLiteral("1"));
        QVERIFY(w.editorSubWindow() && w.editorSubWindow()->isVisibleTo(&w));
        QVERIFY(w.isEnabled());
        QVERIFY(ctx.statusList.lines().constLast().startsWith(QStringLiteral("Upload of Drive Model ")));

        // Download: confirm; the rest are information boxes.
        prompter.clear();
        prompter.enqueue(Msg::Yes);
        w.toolButton("Download")->trigger();
        QCOMPARE(prompter.titles(), (QStringList {"Confirm Download", "Prepare Drive", "Download Status"}));
        QVERIFY(w.isEnabled());
    }
};

} // namespace TransferTest

TARVEL_TEST_MAIN(
    MainWindowTest::TestMainWindow, CommandsTest::TestMainWindowCommands, TransferTest::TestMainWindowTransfer)
#include "tst_ui_main.moc"
