#include "support/LinkTestSupport.h"
#include "support/TestMain.h"
#include "support/TransferTestSupport.h"

#include "app/CommSettingsModel.h"
#include "app/PollTimers.h"
#include "comm/BusMonitor.h"
#include "comm/SerialLinkMonitor.h"
#include "ethernet/DeviceBrowser.h"
#include "ethernet/OpcItemName.h"
#include "ethernet/ServerDefinition.h"
#include "transfer/DownloadOperation.h"
#include "transfer/UploadOperation.h"

#include <QDir>
#include <QSignalSpy>
#include <QTcpServer>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QString Server = QStringLiteral("Tarvel.KOLV.1"); // a ProgID of the catalogue
const QString Device = QStringLiteral("Channel1.Drive1");

void writeServer(const QString &programDir, const QString &progId, const QByteArray &text)
{
    QDir(programDir).mkpath(QStringLiteral("Data/Servers"));
    QFile file(ServerDefinition::filePath(programDir + QStringLiteral("/Data/Servers"), progId));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(text);
}

// The simulated drive's OPC item for a tag.
QString item(const QString &tag)
{
    return Device + u'.' + tag;
}

} // namespace

// What the route reads from its files and names, without a drive.
class TestServerFiles : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void definitions_data()
    {
        QTest::addColumn<QByteArray>("text"); // null: no file
        QTest::addColumn<QString>("expected"); // the device, or the error's end
        QTest::newRow("defaults") << QByteArray("[C.D]\nhost=h\n") << "C.D h 502 1 1000";
        QTest::newRow("every key") << QByteArray("; two drives\r\n[L.D2]\r\nhost=10.0.0.5\r\nport=1502\r\nunit=7\r\n"
                                                 "timeout=250\r\n")
                                   << "L.D2 10.0.0.5 1502 7 250";
        QTest::newRow("bad port") << QByteArray("[C.D]\nhost=h\nport=abc\n")
                                  << "[C.D] port \"abc\" is not a whole number from 1 to 65535";
        QTest::newRow("unit 0") << QByteArray("[C.D]\nhost=h\nunit=0\n")
                                << "[C.D] unit \"0\" is not a whole number from 1 to 247";
        QTest::newRow("no host") << QByteArray("[C.D]\nport=502\n") << "[C.D] has no host";
        QTest::newRow("no group") << QByteArray("host=h\n") << "the key host stands outside a [Channel.Device] group";
        QTest::newRow("not Channel.Device")
            << QByteArray("[Drive1]\nhost=h\n") << "the group [Drive1] is not named Channel.Device";
        QTest::newRow("no file") << QByteArray() << "no such server definition";
    }
    void definitions()
    {
        QFETCH(QByteArray, text);
        QFETCH(QString, expected);
        QTemporaryDir dir;
        if (!text.isNull())
            writeServer(dir.path(), QStringLiteral("S"), text);
        QString error;
        const auto definition = ServerDefinition::read(dir.filePath("Data/Servers"), QStringLiteral("S"), &error);
        if (!definition) {
            QVERIFY2(error.endsWith(expected), qPrintable(error));
            QVERIFY(error.contains(QStringLiteral("S.ini")));
            return;
        }
        QCOMPARE(definition->devices().size(), 1);
        const DeviceAddress &d = definition->devices().first();
        QCOMPARE(
            QStringLiteral("%1 %2 %3 %4 %5").arg(d.name(), d.host).arg(d.port).arg(d.unit).arg(d.timeout), expected);
    }

    void browse_data()
    {
        QTest::addColumn<QString>("server");
        QTest::addColumn<bool>("omitSystemGroups");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("result"); // the devices, or the error
        QTest::newRow("no name") << "" << true << -1 << "Invalid Parameter 'OPCServer' cannot be zero-length";
        QTest::newRow("no channels") << "Empty" << true << -1 << "No Channels Defined";
        QTest::newRow("system devices left out") << "Plant" << true << 0 << "L1.D1 L1.D2";
        QTest::newRow("system devices listed") << "Plant" << false << 0 << "L1.D1 L1.D2 L1._Hidden";
        QTest::newRow("malformed") << "Broken" << true << 1 << "[L1.D1] has no host";
    }
    void browse()
    {
        QFETCH(QString, server);
        QTemporaryDir dir;
        writeServer(dir.path(), "Empty", "");
        writeServer(
            dir.path(), "Plant", "[L1.D2]\nhost=a\n[_System.D9]\nhost=a\n[L1._Hidden]\nhost=a\n[L1.D1]\nhost=a\n");
        writeServer(dir.path(), "Broken", "[L1.D1]\nport=5\n");
        QStringList devices {QStringLiteral("stale")};
        QString error;
        const int status = DeviceBrowser(dir.filePath("Data/Servers"))
                               .getDevices(server, &devices, &error, cell<bool>("omitSystemGroups"));
        QCOMPARE(status, cell<int>("status"));
        const QString result = cell<QString>("result");
        QVERIFY2(status == 0 ? devices.join(u' ') == result : error.endsWith(result), qPrintable(error));
    }

    void itemNames_data()
    {
        using Kind = OpcItemName::Kind;
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("kind"); // -1: refused
        QTest::addColumn<int>("reg");
        const int drive = int(Kind::Register);
        QTest::newRow("P9.41") << "C.D.P9.41@WORD" << drive << 2346;
        QTest::newRow("P09.41, read form") << "C.D.P09.41@Word" << drive << 2346;
        QTest::newRow("P10.05") << "C.D.P10.05@WORD" << drive << 2566;
        QTest::newRow("ST0.13") << "C.D.ST0.13@WORD" << drive << 8462;
        QTest::newRow("ST00.18 is the route's") << "C.D.ST00.18@WORD" << int(Kind::ModuleLink) << 8467;
        QTest::newRow("device id") << "C.D._System._DeviceId" << int(Kind::DeviceId) << 0;
        QTest::newRow("enabled") << "C.D._System._Enabled" << int(Kind::Enabled) << 0;
        QTest::newRow("no group 11") << "C.D.P11.00@WORD" << -1 << 0;
        QTest::newRow("status group 1") << "C.D.ST01.00@WORD" << -1 << 0;
        QTest::newRow("no suffix") << "C.D.P9.41" << -1 << 0;
        QTest::newRow("no device") << "P9.41@WORD" << -1 << 0;
    }
    void itemNames()
    {
        QFETCH(QString, name);
        const std::optional<OpcItemName> item = OpcItemName::parse(name);
        QTEST(item ? int(item->kind()) : -1, "kind");
        if (item) {
            QCOMPARE(item->device(), QStringLiteral("C.D"));
            QTEST(item->registerNumber(), "reg");
        }
    }
};

// The data links against the simulated drive.
class TestDataLinks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void pollTellsChangesInOneReadPerRun()
    {
        LinkFixture bench;
        VERIFY_WITH_ERROR(bench.serve(&error));
        OpcDataLink &link = bench.ctx().ethernet()->link(2);
        link.setServerProgID(Server);
        OpcItemTable table;
        int row = 0;
        for (const char *tag : {"ST00.00@WORD", "ST00.02@WORD", "ST00.01@WORD", "P01.03@WORD", "P01.04@WORD",
                 "P09.41@WORD", "ST00.18@WORD", "_System._Enabled"})
            table[row++] = {"tag", item(tag), "300", "0.0"}; // slow enough to count one poll
        QSignalSpy told(&link, &OpcDataLink::valueChanged);
        QCOMPARE(link.startItems(table), row);
        QVERIFY(link.waitForFirstValues(3000));
        QCOMPARE(told.size(), row); // the first answer tells every item
        QString error;
        DeviceChannel *channel = bench.ctx().ethernet()->pool().channel(Server, Device, &error);
        // Three runs: ST00.00-02, P1.03-04, P9.41.
        QCOMPARE(channel->transactions(), 3);
        QCOMPARE(link.value(item("P09.41@WORD")), QVariant(2));
        QCOMPARE(link.value(item("ST00.18@WORD")), QVariant(1));
        told.clear();
        QTRY_VERIFY(channel->transactions() >= 9); // two more polls, nothing changed
        QCOMPARE(told.size(), 0);
        const int accel = link.value(item("P01.03@WORD")).toInt() + 1;
        QCOMPARE(link.writeItem(item("P01.03@WORD"), QString::number(accel)), 0);
        QTRY_COMPARE(told.size(), 1);
        QCOMPARE(told.first(), (QVariantList {item("P01.03@WORD"), accel}));
        link.stopItems();
        QTest::qWait(100); // a read already on the wire still ends
        const int stoppedAt = channel->transactions();
        told.clear();
        QTest::qWait(700); // two poll intervals: no poll starts any more
        QCOMPARE(channel->transactions(), stoppedAt);
        QCOMPARE(told.size(), 0);
    }

    void singleItems()
    {
        LinkFixture bench;
        VERIFY_WITH_ERROR(bench.serve(&error));
        OpcDataLink &link = bench.ctx().ethernet()->link(1);
        link.setServerProgID(Server);
        BusMonitor monitor(bench.ctx());
        monitor.attach();
        QVariant value;
        int quality = 0;
        QCOMPARE(link.readItem(item("P09.42@Word"), &value, &quality), 0);
        QCOMPARE(quality, 192);
        QCOMPARE(value, QVariant(5));
        // The bus monitor sees the route's transactions as it sees Mod1's.
        QCOMPARE(monitor.transactions().size(), 1);
        QCOMPARE(
            monitor.line(monitor.transactions().first()).section("  ", 1, 4), "node 1  read 03  reg 2347 n 1  P9.42=5");
        QCOMPARE(link.readItem(item("_System._DeviceId"), &value, &quality), 0);
        QCOMPARE(value.toString(), bench.sim().readyTarget() + " unit 1");
        QCOMPARE(link.readItem(item("ST00.18@WORD"), &value, &quality), 0);
        QCOMPARE(value, QVariant(1));
        QCOMPARE(link.readItem("Channel1.Other.P09.41@WORD", &value, &quality), int(OpcDataLink::NoDevice));
        QCOMPARE(link.readItem(item("P99@WORD"), &value, &quality), int(OpcDataLink::UnknownItem));
        QCOMPARE(quality, 0);
        // The drive refuses a write to its identity with exception 2.
        QCOMPARE(link.writeItem(item("P09.41@WORD"), 3), 2);
        QCOMPARE(link.writeItem(item("ST00.18@WORD"), 0), int(OpcDataLink::ReadOnlyItem));
        QCOMPARE(link.writeItem(item("P01.03@WORD"), 70000), int(OpcDataLink::BadValue));
    }

    // The module stops answering: ST00.18 becomes 0 (what a read then says
    // is the register transactions' test), and the main window's poll
    // closes the link with its message.
    void moduleStopsAnswering()
    {
        LinkFixture bench({QStringLiteral("--stop-after"), QStringLiteral("6")});
        VERIFY_WITH_ERROR(bench.connect(&error, true));
        AppContext &ctx = bench.ctx();
        QCOMPARE(ctx.state.strDriveSeries, QStringLiteral("2"));
        QTRY_COMPARE_WITH_TIMEOUT(ctx.state.StatusValues[16], qint16(0), 8000);
        bench.prompter().clear();
        Panel2Recorder display;
        SerialLinkMonitor monitor(ctx);
        PollTimers timers(ctx, display);
        timers.setLinkMonitor(&monitor);
        timers.mainTick();
        QCOMPARE(bench.prompter().titles(), QStringList {"Communication Error"});
        QCOMPARE(ctx.state.strConnected, QStringLiteral("False"));
        QVERIFY(!bench.ctx().ethernet()->link(1).subscribed());
    }

    void refusedConnection()
    {
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const int port = closed.serverPort();
        closed.close();
        TempProgram program;
        writeServer(
            program.dir(), Server, QStringLiteral("[%1]\nhost=127.0.0.1\nport=%2\n").arg(Device).arg(port).toLatin1());
        AppContext &ctx = program.ctx();
        ctx.state.StatusValues[16] = 1; // from an earlier connection
        ctx.ethernet()->setServerProgID(Server);
        ctx.ethernet()->connectDevice(Device);
        QCOMPARE(program.prompter().titles(), QStringList {"Ethernet Connection Established"});
        QCOMPARE(ctx.state.StatusValues[16], qint16(0));
        QVariant value;
        int quality = 0;
        QCOMPARE(ctx.ethernet()->readItem(Device + ".P09.41@WORD", &value, &quality), int(ModbusMaster::LinkLost));
    }
};

// Connect, upload and download over the route, as the window runs them.
class TestEthernetTransfers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void dialogConnects()
    {
        LinkFixture bench;
        VERIFY_WITH_ERROR(bench.serve(&error));
        AppContext &ctx = bench.ctx();
        // The catalogue's other server has a broken file: not offered.
        writeServer(bench.program().dir(), "Tarvel.KOLV.Network", "[Line1.Drive1]\nunit=1\n");
        CommSettingsModel model(ctx);
        model.load();
        QCOMPARE(model.opcServers(), (QStringList {"None", Server}));
        const qsizetype serialPorts = model.ports().size();
        model.chooseServer(1);
        QCOMPARE(model.ports().size(), serialPorts + 1);
        QCOMPARE(model.portLabel(), QStringLiteral("Com Port / OPC Device:"));
        model.choosePort(int(serialPorts));
        QVERIFY(model.connectLink());
        QCOMPARE(bench.prompter().messages().constLast().text, "Connected via Ethernet to " + Device + ".");
        QCOMPARE(ctx.link().panel4Text(), "OPC Device " + Device + ".  ");
        QCOMPARE(QStringList({ctx.state.strDriveSeries, ctx.state.strDriveModel, ctx.state.strDriveRev}),
            (QStringList {"2", "5", "120"}));
        QCOMPARE(ctx.state.StatusValues[16], qint16(1));
        QCOMPARE(ctx.state.DriveRunState, QStringLiteral("STOP"));
        model.disconnectLink();
        QVERIFY(!bench.ctx().ethernet()->link(1).subscribed());
        QVERIFY(!ctx.link().linkOpen());
    }

    // Upload and download reach the drive through the route's items; what
    // they move and check is the serial link's tests' own.
    void uploadThenDownload()
    {
        LinkFixture bench;
        VERIFY_WITH_ERROR(bench.connect(&error, true));
        AppContext &ctx = bench.ctx();
        QCOMPARE(ctx.ethernet()->writeItem(item("P01.03@WORD"), 125), 0); // P1.03 12.5, 10 by default
        RecordingWindows windows;
        bench.prompter().setAnswerYes(false);
        bench.prompter().enqueue(Msg::Yes); // Verification Required
        QCOMPARE(UploadOperation(ctx, windows).run(), UploadOperation::Outcome::Completed);
        QCOMPARE(ctx.editor.txtP(103).text(), "12.5");
        ctx.editor.txtP(103).setText("15");
        bench.prompter().setAnswerYes(true);
        QCOMPARE(DownloadOperation(ctx, windows).run(), DownloadOperation::Outcome::Verified);
        QVariant value;
        int quality = 0;
        QCOMPARE(ctx.ethernet()->readItem(item("P01.03@Word"), &value, &quality), 0);
        QCOMPARE(value, QVariant(150));
        QCOMPARE(bench.errorLogLines(), QStringList());
    }
};

TARVEL_TEST_GUILESS_MAIN(TestServerFiles, TestDataLinks, TestEthernetTransfers)

#include "tst_ethernet.moc"
