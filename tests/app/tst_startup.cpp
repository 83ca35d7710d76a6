// Start-up (Main), the QuickScreen setting, the single instance and the
// close path.
#include "TestSupport.h"

#include "base/InstanceGuard.h"
#include "app/ShutdownFlow.h"
#include "app/Startup.h"

#include <QFile>
#include <QtTest>

using namespace Tarvel;

namespace {

struct RecordingWindows : StartupWindows
{
    QStringList shown;
    void loadDetailedEditor() override { shown << "editor"; }
    void showMainWindow() override { shown << "main"; }
    void showNavigator() override { shown << "navigator"; }
    void showSplash() override { shown << "splash"; }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainShowsWindowsInOrder_data();
    void mainShowsWindowsInOrder();
    void missingCatalogueLeavesOnlyTheMainWindow();
    void quickScreenPersistsAcrossStarts();
    void secondInstanceIsRefused();
    void closePath_data();
    void closePath();
};

void TestStartup::mainShowsWindowsInOrder_data()
{
    QTest::addColumn<bool>("quickScreen");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("navigator on") << true << QStringList {"editor", "main", "navigator", "splash"};
    QTest::newRow("navigator off") << false << QStringList {"editor", "main", "splash"};
}

void TestStartup::mainShowsWindowsInOrder()
{
    QFETCH(bool, quickScreen);
    QFETCH(QStringList, expected);
    Test::TempProgram program;
    Startup startup(program.ctx());
    QVERIFY(startup.writeQuickScreen(quickScreen, "frmStartup, chkRepeat"));
    AppState &s = program.ctx().state;
    s.strConnected = "True";
    s.blnConfigChanged = true;
    RecordingWindows windows;
    startup.main(windows);
    QCOMPARE(windows.shown, expected);
    QCOMPARE(s.strConfigPath, QStringLiteral(" "));
    QCOMPARE(s.strConfigName, QStringLiteral(" "));
    QCOMPARE(s.strConnected, QStringLiteral("False"));
    QVERIFY(!s.blnConfigChanged && !s.blnDiagsTrace && !s.blnStepDone);
    QCOMPARE(program.ctx().editor.tag(), QStringLiteral("0"));
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestStartup::missingCatalogueLeavesOnlyTheMainWindow()
{
    Test::TempProgram program(false);
    RecordingWindows windows;
    Startup(program.ctx()).main(windows);
    QCOMPARE(windows.shown, (QStringList {"editor", "main"}));
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 2);
    QVERIFY2(log.at(0).contains(" - basMain, ConnectDB(), Program, 3024, "), qPrintable(log.at(0)));
    QVERIFY2(log.at(1).contains(" - basMain, Main(), Program, 91, "), qPrintable(log.at(1)));
    QVERIFY(!QFile::exists(program.path("Data/QX.qxd")));
}

void TestStartup::quickScreenPersistsAcrossStarts()
{
    Test::TempProgram program;
    QCOMPARE(Startup(program.ctx()).readQuickScreen(), std::optional<bool>(true));
    QVERIFY(Startup(program.ctx()).writeQuickScreen(false, "frmStartup, chkRepeat"));
    // A new start reads the catalogue afresh.
    ScriptedPrompter prompter;
    AppContext next(ProgramPaths(program.dir()), &prompter);
    QCOMPARE(Startup(next).readQuickScreen(), std::optional<bool>(false));
    RecordingWindows windows;
    Startup(next).main(windows);
    QVERIFY(!windows.shown.contains("navigator"));
    QVERIFY(Startup(next).writeQuickScreen(true, "frmMain, mnuStartMenu_Click"));
    QCOMPARE(Startup(program.ctx()).readQuickScreen(), std::optional<bool>(true));
}

void TestStartup::secondInstanceIsRefused()
{
    Test::TempProgram a, b;
    InstanceGuard first(a.dir());
    QVERIFY(first.tryAcquire());
    QVERIFY(!InstanceGuard(a.dir()).tryAcquire());
    QVERIFY(InstanceGuard(b.dir()).tryAcquire());
    QCOMPARE(InstanceGuard::refusalText(),
        QStringLiteral("Tarvel is already running.\rYou may only have one instance of Tarvel running at a time."));
}

void TestStartup::closePath_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("quits");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("saved");
    QTest::newRow("No stays") << "1" << true << QList<int> {Msg::No} << false << 1 << false;
    QTest::newRow("nothing changed") << "1" << false << QList<int> {Msg::Yes} << true << 1 << false;
    QTest::newRow("no configuration loaded") << "0" << true << QList<int> {Msg::Yes} << true << 1 << false;
    QTest::newRow("save on Yes") << "1" << true << QList<int> {Msg::Yes, Msg::Yes} << true << 2 << true;
    QTest::newRow("discard on No") << "2" << true << QList<int> {Msg::Yes, Msg::No} << true << 2 << false;
}

void TestStartup::closePath()
{
    QFETCH(QString, tag);
    QFETCH(bool, changed);
    QFETCH(QList<int>, answers);
    QFETCH(bool, quits);
    QFETCH(int, questions);
    QFETCH(bool, saved);
    Test::TempProgram program(false);
    program.ctx().editor.setTag(tag);
    program.ctx().state.blnConfigChanged = changed;
    for (int a : answers)
        program.prompter().enqueue(a);
    bool didSave = false;
    QCOMPARE(ShutdownFlow(program.ctx()).confirmQuit("Closing Tarvel", [&] { didSave = true; }), quits);
    QCOMPARE(didSave, saved);
    const auto &m = program.prompter().messages();
    QCOMPARE(m.size(), questions);
    QCOMPARE(m.at(0).text, QStringLiteral("Are your sure you want to quit?"));
    QCOMPARE(m.at(0).title, QStringLiteral("Closing Tarvel"));
    QCOMPARE(m.at(0).style, Msg::YesNo | Msg::Question | Msg::DefaultButton2);
    if (questions == 2) {
        QCOMPARE(m.at(1).text,
            QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?"));
        QCOMPARE(m.at(1).title, QStringLiteral("Unsaved Drive Config Data Exists"));
    }
}

QTEST_GUILESS_MAIN(TestStartup)
#include "tst_startup.moc"
