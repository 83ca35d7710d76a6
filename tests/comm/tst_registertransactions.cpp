// Register transactions and polling against the simulated drive: what a
// read returns, what lands in the log and in the shared drive values, and
// which timers the main window is asked to stop and start.
#include "LinkTestSupport.h"

#include "../../tools/tarvel-cli/DriveStatusReport.h"
#include "app/PollTimers.h"
#include "comm/DriveStatusText.h"
#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"
#include "ports/PollDisplay.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

constexpr int ShortTimeOut = 300; // for reads meant to fail

#define START_LINK(fixture)                                                                                            \
    do {                                                                                                               \
        QString error;                                                                                                 \
        QVERIFY2((fixture).start(&error), qPrintable(error));                                                          \
        QCOMPARE((fixture).openRtu(), 0);                                                                              \
        (fixture).hooks.calls.clear();                                                                                 \
    } while (false)

// The part of an error-log line after its date and time.
QString logEntry(const QString &line)
{
    return line.section(QStringLiteral(" - "), 1);
}

// Panel 2 of the status bar, each change once.
class Panel2Recorder : public PollDisplay
{
public:
    QStringList panel2;
    void setPanelText(int panel, const QString &text) override
    {
        if (panel == 2 && (panel2.isEmpty() || panel2.last() != text))
            panel2 << text;
    }
    void setConnectedPicture(bool) override { }
    void setCommandEnabled(const QString &, bool) override { }
};

} // namespace

class TestRegisterTransactions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void uploadWhileReads_data();
    void uploadWhileReads();
    void uploadWhileFails_data();
    void uploadWhileFails();
    void download1Writes();
    void download1FailureOnlyLogs();
    void uploadDeliversThroughDone();
    void pollDriveStoresValues();
    void pollDriveLostLink_data();
    void pollDriveLostLink();
    void ethernetRouteFailsSafely();
    void statusReport();
    void statusReportNoDrive();
};

void TestRegisterTransactions::uploadWhileReads_data()
{
    QTest::addColumn<int>("address");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("value");
    QTest::newRow("series P9.41") << 2346 << 2 << 2;
    QTest::newRow("model P9.42") << 2347 << 1 << 5;
    QTest::newRow("revision ST00.16") << 8465 << 1 << 120;
    QTest::newRow("link status ST00.18") << 8467 << 1 << 1;
}

void TestRegisterTransactions::uploadWhileReads()
{
    LinkFixture fixture;
    START_LINK(fixture);
    QFETCH(int, address);
    QFETCH(int, count);
    RegisterTransactions transactions(fixture.ctx());
    QFETCH(int, value);
    QCOMPARE(int(transactions.uploadWhile(address, count, 1.0f, QString())), value);
    QCOMPARE(fixture.hooks.calls, (QStringList {"poll off", "poll on"}));
    QCOMPARE(fixture.errorLogLines(), QStringList());
}

void TestRegisterTransactions::uploadWhileFails_data()
{
    QTest::addColumn<QString>("how");
    QTest::addColumn<int>("code");
    QTest::newRow("time-out") << "other node" << 300;
    QTest::newRow("missing register") << "register 9999" << 2;
    QTest::newRow("port closed") << "closed" << -1;
}

void TestRegisterTransactions::uploadWhileFails()
{
    LinkFixture fixture;
    START_LINK(fixture);
    QFETCH(QString, how);
    ModbusMaster &mod1 = fixture.link().mod1();
    mod1.setTimeOut(ShortTimeOut);
    int address = 8450;
    if (how == QLatin1String("other node"))
        mod1.setNodeAddress(QStringLiteral("2"));
    else if (how == QLatin1String("closed"))
        mod1.setPortOpen(false);
    else
        address = 9999;
    RegisterTransactions transactions(fixture.ctx());
    QCOMPARE(transactions.uploadWhile(address, 1), RegisterTransactions::FailureValue);
    const QStringList log = fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    QFETCH(int, code);
    QCOMPARE(
        logEntry(log.first()), QStringLiteral("Mod1 retuned , status code , %1,  in basCom_UploadWhile().").arg(code));
    // The poll timer stays off: the caller decides what a failure means.
    QCOMPARE(fixture.hooks.calls, QStringList {"poll off"});
}

void TestRegisterTransactions::download1Writes()
{
    LinkFixture fixture;
    START_LINK(fixture);
    RegisterTransactions transactions(fixture.ctx());
    const int frequencyCommand = 2331; // P9.26, 0.1 Hz
    transactions.download1(frequencyCommand, 345);
    QCOMPARE(fixture.hooks.calls, (QStringList {"poll off", "2s off", "poll on", "2s on"}));
    QCOMPARE(int(transactions.uploadWhile(frequencyCommand, 1)), 345);
    QCOMPARE(fixture.errorLogLines(), QStringList());
}

void TestRegisterTransactions::download1FailureOnlyLogs()
{
    LinkFixture fixture;
    START_LINK(fixture);
    RegisterTransactions transactions(fixture.ctx());
    transactions.download1(8450, 1); // the status word is read-only: exception 2
    const QStringList log = fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logEntry(log.first()), QStringLiteral("Mod1 retuned , status code , 2,  in basCom_Download1()."));
    QCOMPARE(fixture.hooks.calls, (QStringList {"poll off", "2s off", "poll on", "2s on"}));
    QVERIFY(fixture.prompter().messages().isEmpty());
}

void TestRegisterTransactions::uploadDeliversThroughDone()
{
    LinkFixture fixture;
    START_LINK(fixture);
    RegisterTransactions transactions(fixture.ctx());
    transactions.upload(2346, 2);
    QVERIFY(fixture.link().mod1().busy()); // returned at once
    QCOMPARE(fixture.ctx().state.strDriveSeries, QStringLiteral("Not Connected"));
    fixture.link().mod1().waitWhileBusy();
    QCOMPARE(fixture.ctx().state.strDriveSeries, QStringLiteral("2"));
    QCOMPARE(fixture.ctx().state.strDriveModel, QStringLiteral("5"));
    QCOMPARE(fixture.hooks.calls, (QStringList {"poll off", "poll on"}));
}

void TestRegisterTransactions::pollDriveStoresValues()
{
    LinkFixture fixture;
    START_LINK(fixture);
    RegisterTransactions transactions(fixture.ctx());
    transactions.download1(2331, 300); // 30.0 Hz
    transactions.download1(2333, 1); // reverse
    transactions.download1(2332, 1); // run
    SerialLinkMonitor monitor(fixture.ctx());
    QVERIFY(monitor.linkOpen());
    QVERIFY(monitor.pollDrive());
    const AppState &state = fixture.ctx().state;
    QCOMPARE(state.DriveFaultCode, qint16(0));
    QCOMPARE(state.strDriveSeries, QStringLiteral("2"));
    QCOMPARE(state.strDriveModel, QStringLiteral("5"));
    QCOMPARE(state.strDriveRev, QStringLiteral("120"));
    QCOMPARE(state.StatusValues[14], qint16(120)); // ST00.16
    QCOMPARE(state.StatusValues[0], qint16(300)); // ST00.02 frequency command
    QCOMPARE(DriveStatusText::panel2(state.DriveRunState, state.DriveDirection, state.DriveJogState),
        QStringLiteral("Drive Status - RUN, REV     "));
    QCOMPARE(state.DriveStatusWord, qint16(27));
    QCOMPARE(fixture.errorLogLines(), QStringList());
}

void TestRegisterTransactions::pollDriveLostLink_data()
{
    QTest::addColumn<QString>("event");
    QTest::addColumn<QStringList>("messages");
    QTest::newRow("port lost between ticks") << "kill" << QStringList {"Communication Error"};
    QTest::newRow("disconnect while a read waits") << "disconnect" << QStringList();
}

// The main window's timer ticking with the event loop running, so that
// the port's loss (or the user's Disconnect) arrives between or inside ticks
// as it does in the program.
void TestRegisterTransactions::pollDriveLostLink()
{
    QFETCH(QString, event);
    // A slow drive, so that a read is still waiting when Disconnect comes.
    LinkFixture fixture({QStringLiteral("--wire-timing"), QStringLiteral("--turnaround"), QStringLiteral("100")});
    START_LINK(fixture);
    fixture.link().setPanel4Text(QStringLiteral("Node 1"));
    SerialLinkMonitor monitor(fixture.ctx());
    Panel2Recorder display;
    PollTimers polls(fixture.ctx(), display);
    polls.setLinkMonitor(&monitor);
    int ticks = 0;
    QTimer tmrMain;
    QObject::connect(&tmrMain, &QTimer::timeout, [&] {
        if (++ticks == 3 && event == QLatin1String("disconnect"))
            QTimer::singleShot(0, [&] { fixture.link().disconnectLink(); });
        polls.mainTick();
        if (ticks == 2 && event == QLatin1String("kill"))
            fixture.sim().process().kill();
    });
    tmrMain.start(50);
    QTRY_VERIFY_WITH_TIMEOUT(ticks >= 8, 10000);
    QFETCH(QStringList, messages);
    QCOMPARE(fixture.prompter().titles(), messages);
    QStringList expected {"Drive Status - STOP, FWD     ", PollTimers::OfflineText};
    if (!messages.isEmpty())
        expected.insert(1, PollTimers::CommErrorText);
    QCOMPARE(display.panel2, expected);
    QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Off-Line "));
    QVERIFY(!monitor.linkOpen());
}

void TestRegisterTransactions::ethernetRouteFailsSafely()
{
    TempProgram program;
    RecordingHooks hooks;
    program.ctx().setHooks(&hooks);
    AppState &state = program.ctx().state;
    state.strConnected = QStringLiteral("True");
    RegisterTransactions transactions(program.ctx());
    SerialLinkMonitor monitor(program.ctx());
    QVERIFY(monitor.linkOpen());
    // The module says it lost the drive: the message, one log line.
    QCOMPARE(transactions.uploadWhile(2346, 1, 1, QStringLiteral("941")), RegisterTransactions::FailureValue);
    QCOMPARE(program.prompter().titles(), QStringList {"Communication Problem"});
    QCOMPARE(program.prompter().messages().first().text,
        QStringLiteral(
            "The QX KOLV is indicating a loss of communication to the drive.\rCheck all connections and settings."));
    QVERIFY(!monitor.pollDrive());
    state.StatusValues[16] = 1;
    QVERIFY(monitor.pollDrive());
    QCOMPARE(transactions.uploadWhile(2346, 1), RegisterTransactions::FailureValue);
    transactions.download1(2331, 1);
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 3);
    QCOMPARE(logEntry(log.at(0)), QStringLiteral("QX KOLV sending , 1 for ST0.18 , 9999,  in basCom_UploadWhile()."));
    QVERIFY(log.at(2).endsWith(QLatin1String(" in basCom_Download1().")));
    QCOMPARE(program.prompter().messages().size(), 1);
}

void TestRegisterTransactions::statusReport()
{
    LinkFixture fixture({QStringLiteral("--fault"), QStringLiteral("3")});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    SerialLinkSettings settings;
    const DriveStatusReport::Result result = DriveStatusReport::run(fixture.ctx(), settings);
    QVERIFY2(result.ok, qPrintable(result.error));
    QCOMPARE(result.lines.size(), 5 + 15);
    QCOMPARE(result.lines.mid(0, 5),
        (QStringList {"Drive Status - STOP, FWD     ", "Series: 2", "Model: 5", "Rev: 120", "Fault code: 3"}));
    QCOMPARE(result.lines.at(5).section(u' ', 0, 1), QStringLiteral("ST00.02 ="));
    QCOMPARE(result.lines.last(), QStringLiteral("ST00.16 = 120"));
    QVERIFY(!fixture.link().serialOpen());
}

void TestRegisterTransactions::statusReportNoDrive()
{
    LinkFixture fixture({QStringLiteral("--node"), QStringLiteral("9")});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    SerialLinkSettings settings;
    DriveStatusReport::Result result = DriveStatusReport::run(fixture.ctx(), settings);
    QVERIFY(!result.ok);
    QVERIFY(result.error.startsWith(QLatin1String("Drive Not Found.")));
    QVERIFY(!fixture.link().serialOpen());
    settings.target = fixture.sim().link() + QStringLiteral(".missing");
    result = DriveStatusReport::run(fixture.ctx(), settings);
    QVERIFY(result.error.startsWith(QLatin1String("Com Error: ")));
}

QTEST_GUILESS_MAIN(TestRegisterTransactions)
#include "tst_registertransactions.moc"
