// The main window with a drive on the link: the poll timer's panels and
// commands follow a simulated drive, and a drive that goes away is told
// once before the window falls back to offline.
#include "SimProcess.h"
#include "TestSupport.h"
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"
#include "comm/CommLink.h"
#include "comm/PortMap.h"
#include "ui/main/MainWindow.h"
#include "ui/main/Shell.h"

#include <QAction>
#include <QLabel>
#include <QtTest>

using namespace Tarvel;

class TestMainWindowLink : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void pollingFollowsTheDrive();
};

void TestMainWindowLink::pollingFollowsTheDrive()
{
    Test::TempProgram program;
    Shell shell(program.ctx());
    program.ctx().setPrompter(&program.prompter());
    MainWindow &w = shell.mainWindow();
    w.mainTimer().stop();
    w.twoSecondTimer().stop();

    auto sim = std::make_unique<Test::SimProcess>(QStringList {"--drive", "03,02,104"});
    QString error;
    QVERIFY2(sim->startPty(&error), qPrintable(error));
    CommLink &link = program.ctx().link();
    link.mod1().setPortMap(PortMap(QStringList {sim->link()}));
    QCOMPARE(link.openSerial(SerialLinkSettings {}), 0);
    link.setPanel4Text(QStringLiteral("Node 1 - RTU MODE-19200,E,8,1  "));
    link.setPanel4Connected(true);
    QCOMPARE(w.panel(4)->text(), QStringLiteral("Node 1 - RTU MODE-19200,E,8,1  "));

    w.pollTimers().mainTick();
    QCOMPARE(w.panel(2)->text(), QStringLiteral("Drive Status - STOP, FWD     "));
    QCOMPARE(program.ctx().state.strDriveSeries, QStringLiteral("3"));
    QCOMPARE(program.ctx().state.strDriveRev, QStringLiteral("104"));
    QVERIFY(w.action("mnuDisconnect")->isEnabled());
    QVERIFY(!w.action("mnuConnect")->isEnabled());
    QVERIFY(!w.action("mnuAutoDetect")->isEnabled());
    QVERIFY(program.prompter().messages().isEmpty());
    if (const QString dir = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR"); !dir.isEmpty()) {
        w.show();
        w.grab().save(dir + QStringLiteral("/mainwindow-online.png"));
    }

    sim.reset(); // the drive goes away
    w.pollTimers().mainTick();
    QCOMPARE(program.prompter().titles(), QStringList {"Communication Error"});
    QCOMPARE(w.panel(2)->text(), QStringLiteral("Drive Status - Communication Error"));
    QCOMPARE(w.panel(4)->text(), QStringLiteral("Off-Line "));
    QCOMPARE(program.ctx().state.strDriveSeries, QStringLiteral("Not Connected"));

    w.pollTimers().mainTick();
    QCOMPARE(program.prompter().titles(), QStringList {"Communication Error"});
    QCOMPARE(w.panel(2)->text(), QStringLiteral("Drive Status - Offline"));
    QVERIFY(w.action("mnuConnect")->isEnabled());
    QVERIFY(!w.action("mnuDisconnect")->isEnabled());
}

QTEST_MAIN(TestMainWindowLink)
#include "tst_mainwindow_link.moc"
