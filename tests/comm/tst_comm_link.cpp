// The drive link against the simulated drive: register transactions and
// polling, the connection settings, the auto-detect search and the
// parameter reads in single and block mode.
#include "LinkTestSupport.h"
#include "TransferTestSupport.h"
#include "app/CommSettingsModel.h"
#include "app/PollTimers.h"
#include "comm/AutoDetectSearch.h"
#include "comm/ParameterReads.h"
#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"

#include <QSignalSpy>
#include <QTimer>
#include <QtTest>

#include "TestMain.h"

using namespace Tarvel;
using namespace Tarvel::Test;

// Register transactions and polling against the simulated drive: what a
// read returns, what lands in the log and in the shared drive values, and
// which timers the main window is asked to stop and start.
namespace Transactions {

constexpr int ShortTimeOut = 300; // for reads meant to fail

class TestRegisterTransactions : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void transactions_data()
    {
        // A failed read leaves the poll timer off (the caller decides what the
        // failure means); a failed write restarts both timers and only logs.
        const QStringList read {"poll off", "poll on"};
        const QStringList failedRead {"poll off"};
        const int failed = RegisterTransactions::FailureValue;
        QTest::addColumn<QString>("how");
        QTest::addColumn<int>("address");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("value"); // the read's answer
        QTest::addColumn<QString>("logged"); // code and location; empty: no log line
        QTest::addColumn<QStringList>("hooks");
        QTest::newRow("series P9.41") << "read" << 2346 << 2 << 2 << "" << read;
        QTest::newRow("revision ST00.16") << "read" << 8465 << 1 << 120 << "" << read;
        QTest::newRow("time-out") << "other node" << 8450 << 1 << failed << "300,  in basCom_UploadWhile()"
                                  << failedRead;
        QTest::newRow("missing register")
            << "read" << 9999 << 1 << failed << "2,  in basCom_UploadWhile()" << failedRead;
        QTest::newRow("port closed") << "closed" << 8450 << 1 << failed << "-1,  in basCom_UploadWhile()" << failedRead;
        QTest::newRow("status word is read-only") << "write" << 8450 << 1 << 0 << "2,  in basCom_Download1()"
                                                  << QStringList {"poll off", "2s off", "poll on", "2s on"};
    }
    void transactions()
    {
        LinkFixture fixture;
        VERIFY_WITH_ERROR(fixture.connect(&error));
        QFETCH(QString, how);
        QFETCH(int, address);
        ModbusMaster &mod1 = fixture.link().mod1();
        mod1.setTimeOut(ShortTimeOut);
        if (how == QLatin1String("other node"))
            mod1.setNodeAddress(QStringLiteral("2"));
        else if (how == QLatin1String("closed"))
            mod1.setPortOpen(false);
        RegisterTransactions transactions(fixture.ctx());
        if (how == QLatin1String("write"))
            transactions.download1(address, 1);
        else
            QTEST(int(transactions.uploadWhile(address, cell<int>("count"))), "value");
        QStringList log = fixture.errorLogLines();
        std::transform(log.begin(), log.end(), log.begin(), logEntry);
        const QString logged = cell<QString>("logged");
        QCOMPARE(log, logged.isEmpty() ? QStringList() : QStringList {"Mod1 retuned , status code , " + logged + "."});
        QTEST(fixture.hooks.calls, "hooks");
        QVERIFY(fixture.prompter().messages().isEmpty());
    }
    void uploadAndPollStoreValues()
    {
        LinkFixture fixture;
        VERIFY_WITH_ERROR(fixture.connect(&error));
        RegisterTransactions transactions(fixture.ctx());
        const AppState &state = fixture.ctx().state;
        transactions.upload(8450, 1);
        QVERIFY(fixture.link().mod1().busy()); // returned at once
        QCOMPARE(state.DriveRunState, QString());
        fixture.link().mod1().waitWhileBusy();
        QCOMPARE(state.DriveRunState, QStringLiteral("STOP"));
        QCOMPARE(fixture.hooks.calls, (QStringList {"poll off", "poll on"}));

        fixture.hooks.calls.clear();
        transactions.download1(2331, 300); // 30.0 Hz
        QCOMPARE(fixture.hooks.calls, (QStringList {"poll off", "2s off", "poll on", "2s on"}));
        transactions.download1(2333, 1); // reverse
        transactions.download1(2332, 1); // run
        SerialLinkMonitor monitor(fixture.ctx());
        QVERIFY(monitor.linkOpen());
        QVERIFY(monitor.pollDrive());
        // The status block and the identity, each where it belongs.
        QCOMPARE(state.DriveStatusWord, qint16(27));
        QCOMPARE(state.StatusValues[0], qint16(300)); // ST00.02 frequency command
        QCOMPARE(state.strDriveRev, QStringLiteral("120"));
        QCOMPARE(state.strDriveSeries, QStringLiteral("2"));
        QCOMPARE(state.strDriveModel, QStringLiteral("5"));
        QCOMPARE(fixture.errorLogLines(), QStringList());
    }
    void pollDriveLostLink_data()
    {
        QTest::addColumn<QString>("event");
        QTest::addColumn<QStringList>("messages");
        QTest::newRow("port lost between ticks") << "kill" << QStringList {"Communication Error"};
        QTest::newRow("disconnect while a read waits") << "disconnect" << QStringList();
    }
    // The main window's timer ticking with the event loop running, so that
    // the port's loss (or the user's Disconnect) arrives between or inside ticks
    // as it does in the program.
    void pollDriveLostLink()
    {
        QFETCH(QString, event);
        // A slow drive, so that a read is still waiting when Disconnect comes.
        LinkFixture fixture({QStringLiteral("--wire-timing"), QStringLiteral("--turnaround"), QStringLiteral("100")});
        VERIFY_WITH_ERROR(fixture.connect(&error));
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
    void ethernetRouteFailsSafely()
    {
        TempProgram program;
        AppState &state = program.ctx().state;
        state.strConnected = QStringLiteral("True");
        RegisterTransactions transactions(program.ctx());
        SerialLinkMonitor monitor(program.ctx());
        QVERIFY(monitor.linkOpen());
        // The module says it lost the drive: the message, one log line.
        QCOMPARE(transactions.uploadWhile(2346, 1, 1, QStringLiteral("941")), RegisterTransactions::FailureValue);
        QCOMPARE(program.prompter().titles(), QStringList {"Communication Problem"});
        QCOMPARE(program.prompter().messages().first().text,
            QStringLiteral("The QX KOLV is indicating a loss of communication to the drive.\rCheck all connections and "
                           "settings."));
        QVERIFY(!monitor.pollDrive());
        state.StatusValues[16] = 1;
        QVERIFY(monitor.pollDrive());
        QCOMPARE(transactions.uploadWhile(2346, 1), RegisterTransactions::FailureValue);
        transactions.download1(2331, 1);
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 3);
        QCOMPARE(
            logEntry(log.at(0)), QStringLiteral("QX KOLV sending , 1 for ST0.18 , 9999,  in basCom_UploadWhile()."));
        QVERIFY(log.at(2).endsWith(QLatin1String(" in basCom_Download1().")));
        QCOMPARE(program.prompter().messages().size(), 1);
    }
};

} // namespace Transactions

// The connection dialog's model against the simulated drive: the lists it
// offers, and every outcome of Connect with its message and panel text.
namespace Settings {

class TestCommSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsAndDefaults()
    {
        TempProgram program;
        program.ctx().link().mod1().setPortMap(PortMap(QStringList {"/dev/ttyUSB7"}));
        CommSettingsModel model(program.ctx());
        model.load();
        QCOMPARE(model.opcServers(), QStringList {"None"});
        QCOMPARE(model.portLabel(), QStringLiteral("Com Port:"));
        // The catalogue's four Com names, then the devices of this machine.
        const QList<PortMap::Device> devices = PortMap::devices();
        QCOMPARE(model.ports().size(), 4 + devices.size());
        for (qsizetype i = 0; i < devices.size(); ++i)
            QCOMPARE(model.ports().at(4 + i), devices.at(i).label);
        QCOMPARE(model.ports().first(), QStringLiteral("Com 1 (/dev/ttyUSB7)"));
        QCOMPARE(model.txtPort(), model.ports().first());
        QCOMPARE(model.txtSpeed(), QStringLiteral("19200"));
        QCOMPARE(model.txtProtocol(), QStringLiteral("8, E, 1, RTU"));
        QCOMPARE(model.txtAddress(), QStringLiteral("1"));
        model.chooseSpeed(1);
        QCOMPARE(model.typedSpeed(QStringLiteral("12345")), QStringLiteral("9600"));
        model.chooseProtocol(0);
        QCOMPARE(model.typedProtocol(QStringLiteral("anything")), QStringLiteral("7, N, 2, ASCII"));
        QVERIFY(program.errorLogLines().isEmpty());
    }
    void connects_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<int>("speed");
        QTest::addColumn<int>("protocol");
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("panel");
        QTest::newRow("defaults") << QStringList {} << 2 << 4 << "1"
                                  << "Node 1 - RTU MODE-19200,E,8,1  ";
        QTest::newRow("ascii 9600 odd, node 17")
            << QStringList {"--mode", "ascii", "--settings", "9600,O,7,1", "--node", "17"} << 1 << 2 << "17"
            << "Node 17 - ASCII MODE-9600,O,7,1  ";
    }
    void connects()
    {
        QFETCH(QStringList, simArguments);
        LinkFixture fixture(simArguments);
        VERIFY_WITH_ERROR(fixture.start(&error));
        CommSettingsModel model(fixture.ctx());
        model.load();
        QFETCH(int, speed);
        model.chooseSpeed(speed);
        QFETCH(int, protocol);
        model.chooseProtocol(protocol);
        QFETCH(QString, address);
        model.setAddress(address);
        fixture.ctx().state.strConnected = QStringLiteral("junk");
        QVERIFY(model.connectLink());
        QVERIFY(fixture.link().serialOpen());
        QTEST(fixture.link().panel4Text(), "panel");
        QVERIFY(fixture.link().panel4Connected());
        QCOMPARE(fixture.prompter().titles(), QStringList {"Serial Connection Established"});
        QCOMPARE(fixture.prompter().messages().first().text,
            QStringLiteral("Connected to Node %1 using protocol settings:\r%2").arg(address, model.txtProtocol()));
        QCOMPARE(fixture.prompter().messages().first().style, int(Msg::Information));
        QCOMPARE(fixture.ctx().state.strConnected, QStringLiteral("False"));
        QCOMPARE(fixture.hooks.calls.first(), QStringLiteral("busy"));
        QCOMPARE(fixture.hooks.calls.mid(fixture.hooks.calls.size() - 2), (QStringList {"idle", "poll on"}));
        // A second Connect leaves the open link as it is.
        fixture.prompter().clear();
        ModbusMaster &mod1 = fixture.link().mod1();
        const auto held = [&mod1] {
            return QStringList {mod1.nodeAddress(), mod1.portSettings()} << QString::number(mod1.asciiMode());
        };
        const QStringList settings = held();
        model.chooseProtocol(protocol == 0 ? 4 : 0);
        model.setAddress(QStringLiteral("9"));
        QVERIFY(model.connectLink());
        QCOMPARE(fixture.prompter().titles(), QStringList {"Port In Use"});
        QCOMPARE(fixture.prompter().messages().first().text,
            QStringLiteral("Tarvel is currently communicating with a device.\r"
                           "To connect to another device, first disconnect the current connection."));
        QCOMPARE(held(), settings);
        model.disconnectLink();
        QVERIFY(!fixture.link().linkOpen());
        QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Off-Line "));
        QVERIFY(!fixture.link().panel4Connected());
        // The Ethernet route counts as a link too.
        fixture.ctx().state.strConnected = QStringLiteral("True");
        fixture.prompter().clear();
        QVERIFY(!model.connectLink());
        QCOMPARE(fixture.prompter().titles(), QStringList {"Port In Use"});
    }
    void refusals_data()
    {
        QTest::addColumn<QStringList>("simArguments"); // empty: no drive, no port
        QTest::addColumn<QString>("address");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString missing = QStringLiteral("Information Missing Or Incorrect Format");
        const QString numeric = QStringLiteral(" Please enter a node address. Address must be numeric.");
        // Had the missing port been opened, "Com Error" would show.
        QTest::newRow("address a letter") << QStringList() << "1a" << missing << numeric;
        QTest::newRow("address empty") << QStringList() << "" << missing << numeric;
        QTest::newRow("missing port") << QStringList() << "1"
                                      << "Com Error"
                                      << "Selected Com port does not exist or is in use by another application.";
        QTest::newRow("drive not found") << QStringList {"--node", "2"} << "1"
                                         << "Drive Not Found."
                                         << "Drive not found. Please check your settings.";
    }
    void refusals()
    {
        QFETCH(QStringList, simArguments);
        LinkFixture fixture(simArguments);
        if (simArguments.isEmpty())
            fixture.link().mod1().setPortMap(PortMap(QStringList {fixture.program().path("no-such-port")}));
        else
            VERIFY_WITH_ERROR(fixture.start(&error));
        CommSettingsModel model(fixture.ctx());
        model.load();
        model.setAddress(cell<QString>("address"));
        QVERIFY(!model.connectLink());
        QCOMPARE(fixture.prompter().titles(), QStringList {cell<QString>("title")});
        QTEST(fixture.prompter().messages().first().text, "text");
        QCOMPARE(fixture.prompter().messages().first().style, int(Msg::Exclamation));
        QVERIFY(!fixture.link().serialOpen());
        QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Off-Line "));
        QVERIFY(fixture.errorLogLines().isEmpty());
        QCOMPARE(fixture.hooks.calls, (QStringList {"busy", "poll off", "idle", "poll on"}));
    }
};

} // namespace Settings

// The auto-detect search against the simulated drive: the order of the
// tries, what it reports, and that nothing is left open when it stops.
namespace Detect {

class TestAutoDetect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatOrder_data()
    {
        QTest::addColumn<int>("asciiMode");
        QTest::addColumn<int>("position");
        QTest::addColumn<QString>("format");
        QTest::newRow("ascii 11") << 1 << 11 << "38400,O,7,1";
        QTest::newRow("rtu 7") << 0 << 7 << "19200,E,8,1";
        QTest::newRow("rtu 9") << 0 << 9 << "38400,N,8,2";
        QTest::newRow("past the table") << 0 << 12 << "";
    }
    void formatOrder()
    {
        QFETCH(QString, format);
        QFETCH(int, position);
        QFETCH(int, asciiMode);
        QCOMPARE(AutoDetectSearch::format(asciiMode, position), format);
    }
    void findsOnFifthTry()
    {
        LinkFixture fixture({"--mode", "ascii", "--settings", "9600,E,7,1"});
        VERIFY_WITH_ERROR(fixture.start(&error));
        fixture.ctx().state.strConnected = QStringLiteral("False");
        AutoDetectSearch search(fixture.ctx());
        search.choosePort(0);
        QVERIFY(search.detect());
        QCOMPARE(search.tries(), 5);
        QCOMPARE(search.found().node, 1);
        QCOMPARE(search.found().asciiMode, 1);
        QCOMPARE(search.found().portSettings, QStringLiteral("9600,E,7,1"));
        QCOMPARE(search.statusLines(),
            (QStringList {"Node Address 1 - ASCII Mode - 9600,E,7,1 - Succeeded",
                "Trying Node Address 1 - ASCII Mode - 9600,E,7,1", "Trying Node Address 1 - ASCII Mode - 9600,N,7,2",
                "Trying Node Address 1 - ASCII Mode - 4800,O,7,1", "Trying Node Address 1 - ASCII Mode - 4800,E,7,1",
                "Trying Node Address 1 - ASCII Mode - 4800,N,7,2"}));
        QCOMPARE(search.state(), QStringLiteral("Connection established to Node Address 1 - ASCII Mode - 9600,E,7,1"));
        QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Node 1 - ASCII Mode - 9600,E,7,1 "));
        QVERIFY(fixture.link().serialOpen());
        QCOMPARE(fixture.hooks.calls, (QStringList {"busy", "poll off", "idle", "poll on"}));
        QVERIFY(fixture.prompter().messages().isEmpty());
    }
    void cancelLeavesNoPortOpen()
    {
        LinkFixture fixture({"--node", "9"});
        VERIFY_WITH_ERROR(fixture.start(&error));
        AutoDetectSearch search(fixture.ctx());
        search.choosePort(0);
        int cancelledAt = -1;
        // Cancel from inside the search's wait, as the button would.
        connect(&search, &AutoDetectSearch::changed, &search, [&] {
            if (search.tries() == 2 && cancelledAt < 0) {
                cancelledAt = search.tries();
                QTimer::singleShot(50, &search, &AutoDetectSearch::cancel);
            }
        });
        QElapsedTimer clock;
        clock.start();
        QVERIFY(!search.detect());
        QCOMPARE(cancelledAt, 2);
        QCOMPARE(search.tries(), 2);
        QVERIFY(clock.elapsed() < 2 * AutoDetectSearch::TimeOut); // the wait ended with the cancel
        QVERIFY(!fixture.link().serialOpen());
        QCOMPARE(search.statusLines().first(), QStringLiteral("Trying Node Address 1 - ASCII Mode - 4800,E,7,1"));
        // Pointer and poll timer stay as the cancelled search left them.
        QCOMPARE(fixture.hooks.calls, (QStringList {"busy", "poll off"}));
        // The flag was cleared: the next search tries again.
        fixture.hooks.calls.clear();
        connect(&search, &AutoDetectSearch::changed, &search, [&] {
            if (search.tries() == 1)
                search.close();
        });
        QVERIFY(!search.detect());
        QCOMPARE(search.tries(), 1);
        QVERIFY(!fixture.link().serialOpen());
    }
    void refusedBeforeTrying_data()
    {
        QTest::addColumn<bool>("portChosen");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        QTest::newRow("no port chosen") << false << "Information Needed."
                                        << "Please select a com port from the drop down box.";
        QTest::newRow("missing port") << true << "Com Error"
                                      << "Selected Com port does not exist or is in use by another application.";
    }
    void refusedBeforeTrying()
    {
        TempProgram program;
        program.ctx().link().mod1().setPortMap(PortMap(QStringList {program.path("no-such-port")}));
        AutoDetectSearch search(program.ctx());
        QFETCH(bool, portChosen);
        if (portChosen)
            search.choosePort(0);
        QSignalSpy focus(&search, &AutoDetectSearch::portFocusRequested);
        QVERIFY(!search.detect());
        QCOMPARE(search.tries(), 0);
        QCOMPARE(program.prompter().titles(), QStringList {cell<QString>("title")});
        QTEST(program.prompter().messages().first().text, "text");
        QCOMPARE(focus.size(), portChosen ? 0 : 1);
        QVERIFY(!program.ctx().link().serialOpen());
        QVERIFY(program.errorLogLines().isEmpty());
    }
};

} // namespace Detect

// Parameter reads in single and block mode: the values a plan gives, how
// many transactions it takes, and the fall-back when blocks are refused.
namespace Reads {

class TestParameterReads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void planReads_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<bool>("block");
        QTest::addColumn<QList<int>>("plan");
        QTest::addColumn<QList<int>>("asked"); // the order read() is called in
        QTest::addColumn<int>("transactions");
        // P0.00-P0.04 are registers 1-5, P9.41/P9.42 2346/2347.
        const QList<int> plan {1, 2, 3, 4, 5, 2346, 2347};
        QTest::newRow("single") << QStringList {} << false << plan << plan << 7;
        QTest::newRow("two runs") << QStringList {} << true << plan << plan << 2;
        QTest::newRow("gap splits a run")
            << QStringList {} << true << QList<int> {1, 2, 4, 5} << QList<int> {1, 2, 4, 5} << 2;
        QTest::newRow("out of plan order")
            << QStringList {} << true << QList<int> {1, 2, 3} << QList<int> {3, 1, 2} << 2;
        QTest::newRow("unplanned address")
            << QStringList {} << true << QList<int> {1, 2} << QList<int> {1, 2, 2347} << 2;
        QTest::newRow("asked twice reads again")
            << QStringList {} << true << QList<int> {1, 2} << QList<int> {1, 2, 2} << 2;
        QTest::newRow("refused: one try, then singles") << QStringList {"--refuse-blocks"} << true << plan << plan << 8;
        QTest::newRow("one register refused: that run singly")
            << QStringList {"--exception-at", "2347"} << true << QList<int> {1, 2, 3, 2346, 2347}
            << QList<int> {1, 2, 3, 2346} << 3;
        QTest::newRow("refused run: no block again inside it")
            << QStringList {"--exception-at", "5"} << true << QList<int> {1, 2, 3, 4, 5} << QList<int> {1, 2, 3, 4}
            << 5;
    }
    void planReads()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(bool, block);
        QFETCH(QList<int>, plan);
        QFETCH(QList<int>, asked);
        QFETCH(int, transactions);
        LinkFixture fixture(simArguments);
        VERIFY_WITH_ERROR(fixture.connect(&error));
        AppContext &ctx = fixture.ctx();
        // What each register holds, read one at a time.
        QHash<int, qint16> expected;
        for (int address : asked)
            expected[address] = RegisterTransactions(ctx).uploadWhile(address, 1);

        ctx.link().setBlockTransfer(block);
        QSignalSpy done(&ctx.link().mod1(), &ModbusMaster::done);
        ParameterReads reads(ctx);
        reads.plan(QVector<int>(plan.cbegin(), plan.cend()));
        for (int address : asked) {
            QCOMPARE(reads.read(address), expected[address]);
            QCOMPARE(reads.resultCode(), 0);
        }
        QCOMPARE(int(done.count()), transactions);
        QCOMPARE(reads.transactions(), transactions);
        QCOMPARE(fixture.errorLogLines(), QStringList());
    }
    void linkFailureNotRetried()
    {
        LinkFixture fixture({"--stop-after", "1"});
        VERIFY_WITH_ERROR(fixture.connect(&error));
        AppContext &ctx = fixture.ctx();
        ctx.link().mod1().setTimeOut(300);
        ctx.link().setBlockTransfer(true);
        QSignalSpy done(&ctx.link().mod1(), &ModbusMaster::done);
        ParameterReads reads(ctx);
        reads.plan({1, 2, 3});

        QCOMPARE(reads.read(1), RegisterTransactions::FailureValue);
        QCOMPARE(reads.resultCode(), int(ModbusMaster::TimeOut));
        QCOMPARE(done.count(), 1);
        // Logged as the single read would be, with the poll timer left off.
        QCOMPARE(
            logEntry(fixture.errorLogLines().last()), "Mod1 retuned , status code , 300,  in basCom_UploadWhile().");
        QCOMPARE(fixture.hooks.calls, QStringList {"poll off"});
    }
};

} // namespace Reads

TARVEL_TEST_MAIN(Transactions::TestRegisterTransactions, Settings::TestCommSettings, Detect::TestAutoDetect,
    Reads::TestParameterReads)
#include "tst_comm_link.moc"
