// The main window's commands, timers and child windows as a user drives
// them: the new-configuration dialog, Save and Close, the editor hosted
// once, and a whole session from new file to report.
#include "MainWindowTestSupport.h"

#include "ui/editors/TabConfigWindow.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>

using namespace Tarvel;

namespace {
const QStringList QX2 {"02", "05", "120"};
}

class TestMainWindowCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void timersRunFromStart();
    void fileCommandsFollowTheFile();
    void editorCaptionNamesModel();
    void editorIsCreatedOnce();
    void wholeSession();
};

void TestMainWindowCommands::timersRunFromStart()
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

void TestMainWindowCommands::fileCommandsFollowTheFile()
{
    Test::MainFixture f;
    const QStringList fileCommands {"mnuSave", "mnuClose", "mnuCompare", "mnuUpdate"};
    for (const QString &name : fileCommands)
        QVERIFY2(!f.w().action(name)->isEnabled(), qPrintable(name));
    QVERIFY(!f.w().toolButton("Save")->isEnabled());
    Test::answerNewConfig(QX2, "Pump1");
    f.w().commands().newDetailed();
    f.w().pollTimers().mainTick();
    f.w().pollTimers().twoSecondTick();
    for (const QString &name : fileCommands + QStringList {"mnuSaveAs", "mnuPrintConfig"})
        QVERIFY2(f.w().action(name)->isEnabled(), qPrintable(name));
    QVERIFY(f.w().toolButton("Save")->isEnabled());
    // Enabled by the timers, but its window is not there yet.
    QVERIFY(!f.w().action("mnuSchematic")->isEnabled());
    f.w().action("mnuClose")->trigger();
    f.w().pollTimers().mainTick();
    f.w().pollTimers().twoSecondTick();
    for (const QString &name : fileCommands + QStringList {"mnuSaveAs", "mnuPrintConfig"})
        QVERIFY2(!f.w().action(name)->isEnabled(), qPrintable(name));
    QCOMPARE(f.w().windowTitle(), QStringLiteral("  Tarvel - Current Config File:  "));
    QVERIFY(!f.w().editorSubWindow()->isVisible());
}

void TestMainWindowCommands::editorCaptionNamesModel()
{
    Test::MainFixture f;
    Test::answerNewConfig(QX2, "Pump1");
    f.w().commands().newDetailed();
    f.w().pollTimers().twoSecondTick();
    const QString model = f.ctx().editor.cmbP(942).text().mid(3);
    QVERIFY(model.startsWith("QX-2"));
    QCOMPARE(
        f.w().editorSubWindow()->windowTitle(), "  Detailed Config - Current Drive Model = " + model + ",  Rev 1.20");
}

void TestMainWindowCommands::editorIsCreatedOnce()
{
    Test::MainFixture f;
    Test::answerNewConfig(QX2, "Pump1");
    f.w().commands().newDetailed();
    QMdiSubWindow *sub = f.w().editorSubWindow();
    // The close box only hides it; View Detailed brings the same one back.
    sub->close();
    QVERIFY(!sub->isVisible());
    f.w().action("mnuDetail")->trigger();
    QCOMPARE(f.w().editorSubWindow(), sub);
    QVERIFY(sub->isVisible());
    QCOMPARE(f.w().tag(), QStringLiteral("Detailed"));
    QCOMPARE(f.w().editorWindow()->fieldEvents(), &f.w().entryChecks());
}

// New file, a value typed into the editor and checked on Tab, Save, Close,
// Open again, Compare and the report.
void TestMainWindowCommands::wholeSession()
{
    Test::MainFixture f;
    QVERIFY(QTest::qWaitForWindowActive(&f.w()));
    Test::answerNewConfig(QX2, "Session");
    f.w().toolButton("NewDetail")->trigger();
    QVERIFY(Test::readBytes(f.configPath("Session.qxc")).startsWith("#0205120\r\n"));
    QCOMPARE(f.ctx().editor.tag(), QStringLiteral("1"));
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
    QCOMPARE(f.ctx().editor.lblP(103).foreColor(), Colour::Red);
    QVERIFY(f.ctx().state.blnConfigChanged);

    f.w().pollTimers().mainTick();
    f.w().toolButton("Save")->trigger();
    QVERIFY(Test::readBytes(f.configPath("Session.qxc")).contains("\r\n10361\r\n"));
    QVERIFY(!f.ctx().state.blnConfigChanged);

    f.w().action("mnuClose")->trigger();
    QVERIFY(f.program.prompter().messages().isEmpty()); // nothing unsaved
    QCOMPARE(f.ctx().editor.txtP(103).text(), QString());

    f.dialogs.answer = f.configPath("Session.qxc");
    f.w().toolButton("Open")->trigger();
    QCOMPARE(f.ctx().editor.txtP(103).text(), QStringLiteral("61"));
    QCOMPARE(box->text(), QStringLiteral("61"));
    QCOMPARE(f.w().windowTitle(), QStringLiteral("  Tarvel - Current Config File: Session.qxc"));
    QVERIFY(f.w().editorSubWindow()->isVisible());

    f.w().pollTimers().mainTick();
    f.w().pollTimers().twoSecondTick();
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
    QVERIFY(f.program.errorLogLines().isEmpty());
}

QTEST_MAIN(TestMainWindowCommands)
#include "tst_mainwindow_commands.moc"
