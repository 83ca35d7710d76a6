// The connection dialog's model against the simulated drive: the lists it
// offers, and every outcome of Connect with its message and panel text.
#include "LinkTestSupport.h"

#include "app/CommSettingsModel.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestCommSettings : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void listsAndDefaults();
    void connects_data();
    void connects();
    void portInUseTouchesNothing();
    void addressMustBeNumeric_data();
    void addressMustBeNumeric();
    void driveNotFound();
    void missingPortIsComError();
    void disconnects();
};

void TestCommSettings::listsAndDefaults()
{
    TempProgram program;
    program.ctx().link().mod1().setPortMap(PortMap(QStringList {"/dev/ttyUSB7"}));
    CommSettingsModel model(program.ctx());
    model.load();
    QCOMPARE(model.opcServers(), QStringList {"None"});
    QCOMPARE(model.portLabel(), QStringLiteral("Com Port:"));
    QCOMPARE(model.ports().size(), 4);
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

void TestCommSettings::connects_data()
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

void TestCommSettings::connects()
{
    QFETCH(QStringList, simArguments);
    LinkFixture fixture(simArguments);
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
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
    QFETCH(QString, panel);
    QCOMPARE(fixture.link().panel4Text(), panel);
    QVERIFY(fixture.link().panel4Connected());
    QCOMPARE(fixture.prompter().titles(), QStringList {"Serial Connection Established"});
    QCOMPARE(fixture.prompter().messages().first().text,
        QStringLiteral("Connected to Node %1 using protocol settings:\r%2").arg(address, model.txtProtocol()));
    QCOMPARE(fixture.prompter().messages().first().style, int(Msg::Information));
    QCOMPARE(fixture.ctx().state.strConnected, QStringLiteral("False"));
    QCOMPARE(fixture.hooks.calls.first(), QStringLiteral("busy"));
    QCOMPARE(fixture.hooks.calls.mid(fixture.hooks.calls.size() - 2), (QStringList {"idle", "poll on"}));
}

void TestCommSettings::portInUseTouchesNothing()
{
    LinkFixture fixture;
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    CommSettingsModel model(fixture.ctx());
    model.load();
    QVERIFY(model.connectLink());
    fixture.prompter().clear();
    ModbusMaster &mod1 = fixture.link().mod1();
    model.chooseProtocol(0);
    model.setAddress(QStringLiteral("9"));
    QVERIFY(model.connectLink()); // still the first link
    QCOMPARE(fixture.prompter().titles(), QStringList {"Port In Use"});
    QCOMPARE(fixture.prompter().messages().first().text,
        QStringLiteral("Tarvel is currently communicating with a device.\r"
                       "To connect to another device, first disconnect the current connection."));
    QCOMPARE(mod1.nodeAddress(), QStringLiteral("1"));
    QCOMPARE(mod1.asciiMode(), 0);
    QCOMPARE(mod1.portSettings(), QStringLiteral("19200,E,8,1"));
    // The Ethernet route counts as a link too.
    model.disconnectLink();
    fixture.ctx().state.strConnected = QStringLiteral("True");
    fixture.prompter().clear();
    QVERIFY(!model.connectLink());
    QCOMPARE(fixture.prompter().titles(), QStringList {"Port In Use"});
}

void TestCommSettings::addressMustBeNumeric_data()
{
    QTest::addColumn<QString>("address");
    QTest::newRow("letter") << "1a";
    QTest::newRow("empty") << "";
    QTest::newRow("blank") << " ";
}

void TestCommSettings::addressMustBeNumeric()
{
    TempProgram program;
    // A port that does not exist: had it been opened, "Com Error" would show.
    program.ctx().link().mod1().setPortMap(PortMap(QStringList {program.path("no-such-port")}));
    CommSettingsModel model(program.ctx());
    model.load();
    QFETCH(QString, address);
    model.setAddress(address);
    QVERIFY(!model.connectLink());
    QCOMPARE(program.prompter().titles(), QStringList {"Information Missing Or Incorrect Format"});
    QCOMPARE(program.prompter().messages().first().text,
        QStringLiteral(" Please enter a node address. Address must be numeric."));
    QCOMPARE(program.prompter().messages().first().style, int(Msg::Exclamation));
}

void TestCommSettings::driveNotFound()
{
    LinkFixture fixture({QStringLiteral("--node"), QStringLiteral("2")});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    CommSettingsModel model(fixture.ctx());
    model.load();
    QVERIFY(!model.connectLink());
    QCOMPARE(fixture.prompter().titles(), QStringList {"Drive Not Found."});
    QCOMPARE(
        fixture.prompter().messages().first().text, QStringLiteral("Drive not found. Please check your settings."));
    QVERIFY(!fixture.link().serialOpen());
    QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Off-Line "));
    QVERIFY(fixture.errorLogLines().isEmpty());
}

void TestCommSettings::missingPortIsComError()
{
    TempProgram program;
    RecordingHooks hooks;
    program.ctx().setHooks(&hooks);
    program.ctx().link().mod1().setPortMap(PortMap(QStringList {program.path("no-such-port")}));
    CommSettingsModel model(program.ctx());
    model.load();
    QVERIFY(!model.connectLink());
    QCOMPARE(program.prompter().titles(), QStringList {"Com Error"});
    QCOMPARE(program.prompter().messages().first().text,
        QStringLiteral("Selected Com port does not exist or is in use by another application."));
    QVERIFY(program.errorLogLines().isEmpty());
    QCOMPARE(hooks.calls, (QStringList {"busy", "poll off", "idle", "poll on"}));
}

void TestCommSettings::disconnects()
{
    LinkFixture fixture;
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    CommSettingsModel model(fixture.ctx());
    model.load();
    QVERIFY(model.connectLink());
    model.disconnectLink();
    QVERIFY(!fixture.link().linkOpen());
    QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Off-Line "));
    QVERIFY(!fixture.link().panel4Connected());
    QCOMPARE(fixture.ctx().state.strConnected, QStringLiteral("False"));
}

QTEST_GUILESS_MAIN(TestCommSettings)
#include "tst_commsettings.moc"
