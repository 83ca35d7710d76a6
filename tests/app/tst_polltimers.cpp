// The decisions of the two poll timers, against a scripted link and a
// display that records what a tick changes.
#include "TestSupport.h"

#include "ports/LinkMonitor.h"
#include "ports/PollDisplay.h"
#include "app/PollTimers.h"

#include <QtTest>

#include <functional>

using namespace Tarvel;

namespace {

// A column of the current data row, where a statement cannot stand.
template<class T> T cell(const char *name)
{
    return *static_cast<T *>(QTest::qData(name, qMetaTypeId<T>()));
}

class FakeLink : public LinkMonitor
{
public:
    bool open = false;
    bool good = true;
    int polls = 0;
    int closes = 0;
    std::function<void()> duringPoll;
    bool linkOpen() const override { return open; }
    bool pollDrive() override
    {
        ++polls;
        if (duringPoll)
            duringPoll();
        return good;
    }
    void closeConnection() override
    {
        ++closes;
        open = false;
    }
};

class RecordingDisplay : public PollDisplay
{
public:
    QMap<int, QString> panels;
    std::optional<bool> connected;
    QMap<QString, bool> enabled;
    void setPanelText(int panel, const QString &text) override { panels[panel] = text; }
    void setConnectedPicture(bool on) override { connected = on; }
    void setCommandEnabled(const QString &name, bool on) override { enabled[name] = on; }
};

struct Fixture
{
    Test::TempProgram program;
    RecordingDisplay display;
    FakeLink link;
    PollTimers timers {program.ctx(), display};
    Fixture() { timers.setLinkMonitor(&link); }
    AppState &state() { return program.ctx().state; }
};

// Commands a usable link enables (and the offline ones it disables).
const QStringList LinkOn {
    "mnuDisconnect", "Disconnect", "mnuUpload", "Upload", "mnuDownload", "Download", "mnuTrend", "Trend", "mnuKeypad"};
const QStringList LinkOff {"mnuAutoDetect", "AutoDetect", "mnuConnect", "Connect"};

void verifyLinkCommands(const RecordingDisplay &d, bool usable)
{
    for (const QString &name : LinkOn)
        QVERIFY2(d.enabled.value(name, !usable) == usable, qPrintable(name));
    for (const QString &name : LinkOff)
        QVERIFY2(d.enabled.value(name, usable) == !usable, qPrintable(name));
}

} // namespace

class TestPollTimers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutLink();
    void goodLink_data();
    void goodLink();
    void lostLinkToldOnce();
    void pollDoesNotNest();
    void fileCommands_data();
    void fileCommands();
    void identityPanel_data();
    void identityPanel();
    void editorCaptionAndTagCommands_data();
    void editorCaptionAndTagCommands();
};

void TestPollTimers::withoutLink()
{
    Fixture f;
    f.state().strDriveSeries = "2";
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
    QCOMPARE(f.display.connected, std::optional<bool>(false));
    verifyLinkCommands(f.display, false);
    QVERIFY(!f.display.enabled.value("mnuPID", true));
    QCOMPARE(f.state().strDriveSeries, QStringLiteral("Not Connected"));
    QCOMPARE(f.state().strDriveRev, QStringLiteral("Not Connected"));
    QCOMPARE(f.link.polls, 0);
    // No link helper at all is no link either.
    f.timers.setLinkMonitor(nullptr);
    f.display.panels.clear();
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
}

void TestPollTimers::goodLink_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("jog");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("pid");
    QTest::newRow("run rev, series 2") << "RUN"
                                       << "REV"
                                       << " "
                                       << "2"
                                       << "Drive Status - RUN, REV     " << true;
    QTest::newRow("stop fwd jog, series 3") << "STOP"
                                            << "FWD"
                                            << "JOG Active"
                                            << "3"
                                            << "Drive Status - STOP, FWD    JOG Active" << true;
    QTest::newRow("series 1 has no PID") << "Run To Stop Transition"
                                         << "FWD"
                                         << " "
                                         << "1"
                                         << "Drive Status - Run To Stop Transition, FWD     " << false;
}

void TestPollTimers::goodLink()
{
    QFETCH(QString, run);
    QFETCH(QString, direction);
    QFETCH(QString, jog);
    QFETCH(QString, series);
    Fixture f;
    f.link.open = true;
    // The link helper fills the shared values while it polls.
    f.link.duringPoll = [&] {
        f.state().DriveRunState = run;
        f.state().DriveDirection = direction;
        f.state().DriveJogState = jog;
        f.state().strDriveSeries = series;
    };
    f.timers.mainTick();
    QCOMPARE(f.link.polls, 1);
    QCOMPARE(f.display.panels.value(2), cell<QString>("panel"));
    QCOMPARE(f.display.connected, std::optional<bool>(true));
    verifyLinkCommands(f.display, true);
    QCOMPARE(f.display.enabled.value("mnuPID"), cell<bool>("pid"));
    QCOMPARE(f.state().strDriveSeries, series);
    QVERIFY(f.program.prompter().messages().isEmpty());
}

void TestPollTimers::lostLinkToldOnce()
{
    Fixture f;
    f.link.open = true;
    f.link.good = false;
    f.state().strConnected = "True";
    f.state().strDriveModel = "05";
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Communication Error"));
    verifyLinkCommands(f.display, false);
    QVERIFY(!f.display.enabled.value("mnuPID", true));
    QCOMPARE(f.link.closes, 1);
    QCOMPARE(f.state().strConnected, QStringLiteral("False"));
    QCOMPARE(f.state().strDriveModel, QStringLiteral("Not Connected"));
    const auto &msgs = f.program.prompter().messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].title, QStringLiteral("Communication Error"));
    QCOMPARE(msgs[0].text,
        QStringLiteral("Communication with the drive has been lost.\rPlease correct the problem and try again."));
    QCOMPARE(Msg::icon(msgs[0].style), int(Msg::Critical));
    // The next tick finds no link: offline, and no second message.
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
    QCOMPARE(f.program.prompter().messages().size(), 1);
    QCOMPARE(f.link.closes, 1);
}

void TestPollTimers::pollDoesNotNest()
{
    Fixture f;
    f.link.open = true;
    // A timer event delivered while the poll waits for the drive.
    f.link.duringPoll = [&] { f.timers.mainTick(); };
    f.timers.mainTick();
    QCOMPARE(f.link.polls, 1);
    f.link.duringPoll = {};
    f.timers.mainTick();
    QCOMPARE(f.link.polls, 2);
}

void TestPollTimers::fileCommands_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("linkOpen");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("no file") << " " << false << false;
    QTest::newRow("no file, drive connected") << " " << true << false;
    QTest::newRow("file") << "/tmp/Pump1.qxc" << false << true;
    QTest::newRow("file, drive connected") << "/tmp/Pump1.qxc" << true << true;
}

void TestPollTimers::fileCommands()
{
    QFETCH(bool, enabled);
    Fixture f;
    f.state().strConfigPath = cell<QString>("path");
    f.link.open = cell<bool>("linkOpen");
    f.timers.mainTick();
    for (const char *name : {"Save", "mnuSave", "mnuClose", "mnuCompare", "mnuUpdate"})
        QVERIFY2(f.display.enabled.value(name, !enabled) == enabled, name);
}

void TestPollTimers::identityPanel_data()
{
    QTest::addColumn<bool>("linkOpen");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<QString>("panel");
    const QStringList config {"02", "05", "120"};
    QTest::newRow("no link") << false << "1" << config << " ";
    QTest::newRow("no configuration") << true << "0" << QStringList {"2", "5", "120"} << " ";
    QTest::newRow("equal by number") << true << "1" << QStringList {"2", "5", "120"} << "Drive Series/Model/Rev Equal ";
    QTest::newRow("model differs") << true << "2" << QStringList {"2", "6", "120"}
                                   << "Drive Series/Model/Rev Not Equal ";
    QTest::newRow("rev differs") << true << "1" << QStringList {"2", "5", "121"} << "Drive Series/Model/Rev Not Equal ";
}

void TestPollTimers::identityPanel()
{
    QFETCH(QStringList, drive);
    Fixture f;
    f.link.open = cell<bool>("linkOpen");
    f.program.ctx().editor.setTag(cell<QString>("tag"));
    f.state().strSeries = "02";
    f.state().strModel = "05";
    f.state().strRev = "120";
    f.state().strDriveSeries = drive[0];
    f.state().strDriveModel = drive[1];
    f.state().strDriveRev = drive[2];
    f.timers.twoSecondTick();
    QCOMPARE(f.display.panels.value(1), cell<QString>("panel"));
}

void TestPollTimers::editorCaptionAndTagCommands_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("ordinary");
    QTest::addColumn<bool>("captioned");
    QTest::newRow("none") << "0" << false << false;
    QTest::newRow("detailed") << "1" << true << true;
    QTest::newRow("wizard") << "2" << false << true;
    QTest::newRow("schematic") << "3" << false << true;
}

void TestPollTimers::editorCaptionAndTagCommands()
{
    QFETCH(bool, ordinary);
    Fixture f;
    EditorForm &form = f.program.ctx().editor;
    form.setTag(cell<QString>("tag"));
    form.cmbP(942).setText("05 QX-2-2P2T");
    f.state().strRev = "120";
    f.timers.twoSecondTick();
    const QString expected = cell<bool>("captioned")
        ? QStringLiteral("  Detailed Config - Current Drive Model = QX-2-2P2T,  Rev 1.20")
        : QStringLiteral("  Detailed Configuration");
    QCOMPARE(form.caption(), expected);
    for (const char *name : {"Schematic", "mnuSchematic", "mnuPrintConfig"})
        QVERIFY2(f.display.enabled.value(name, !ordinary) == ordinary, name);
}

QTEST_GUILESS_MAIN(TestPollTimers)
#include "tst_polltimers.moc"
