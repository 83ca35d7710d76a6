// The Modbus master against a scripted slave over a pseudo-terminal (RTU,
// ASCII) and loopback TCP: reads, writes, refusals and every failure code.
#include "ScriptedSlave.h"

#include "base/TrappedError.h"
#include "comm/ModbusMaster.h"

#include <QSignalSpy>
#include <QtTest>

#include <termios.h>

using namespace Tarvel;
using Framing = ModbusTransport::Framing;
using Fault = Test::ScriptedSlave::Fault;

Q_DECLARE_METATYPE(Tarvel::ModbusTransport::Framing)
Q_DECLARE_METATYPE(Tarvel::Test::ScriptedSlave::Fault)

namespace {

constexpr quint8 kNode = 17;

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

const char *framingName(Framing framing)
{
    return framing == Framing::Rtu ? "rtu" : framing == Framing::Ascii ? "ascii" : "tcp";
}

// A master set up for one slave, port open.
struct Link
{
    explicit Link(Framing framing, const QString &settings = QStringLiteral("19200,E,8,1"))
        : slave(framing, kNode)
    {
        master.setConnectionTarget(slave.target());
        master.setNodeAddress(QString::number(kNode));
        master.setAsciiMode(framing == Framing::Ascii ? 1 : 0);
        master.setPortSettings(settings);
        master.setTimeOut(400);
        master.setPortOpen(true);
    }

    // The classic waited transaction.
    int run(int function, int startRegister, int count = 1)
    {
        master.setStartOffset(0);
        master.setFunctionCode(function);
        master.setStartRegister(startRegister);
        master.setRegisterCount(count);
        master.trigger();
        master.waitWhileBusy();
        return master.resultCode();
    }

    Test::ScriptedSlave slave;
    ModbusMaster master;
};

} // namespace

class TestModbusMaster : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestOnTheWire_data();
    void requestOnTheWire();
    void readsSignedValues_data();
    void readsSignedValues();
    void writesStore_data();
    void writesStore();
    void failures_data();
    void failures();
    void silenceBetweenFrames_data();
    void silenceBetweenFrames();
    void answerInPieces_data();
    void answerInPieces();
    void refusedTriggers_data();
    void refusedTriggers();
    void doneComesFromTheEventLoop();
    void resultStaysUntilCompletion();
    void staleTcpAnswerIsDropped();
    void closingEndsTransaction();
    void droppedConnectionIsLinkLost();
    void lineSettingsReachTheTty_data();
    void lineSettingsReachTheTty();
    void missingOrHeldPortRaises380();
    void propertyErrors();
};

void TestModbusMaster::requestOnTheWire_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("startRegister");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<qint16>>("values");
    QTest::addColumn<QByteArray>("wire");
    // Published example frames. Register 108 is protocol address 6B;
    // FunctionCode 5 sends Modbus 06 and 7 sends 16.
    QTest::newRow("rtu read") << Framing::Rtu << 2 << 108 << 3 << QList<qint16>() << hex("11 03 00 6B 00 03 76 87");
    QTest::newRow("ascii read") << Framing::Ascii << 2 << 108 << 3 << QList<qint16>()
                                << QByteArray(":1103006B00037E\r\n");
    QTest::newRow("tcp read") << Framing::Tcp << 2 << 108 << 3 << QList<qint16>()
                              << hex("00 01 00 00 00 06 11 03 00 6B 00 03");
    QTest::newRow("rtu write one") << Framing::Rtu << 5 << 2 << 1 << QList<qint16> {3}
                                   << hex("11 06 00 01 00 03 9A 9B");
    QTest::newRow("rtu download write") << Framing::Rtu << 7 << 2 << 2 << QList<qint16> {10, 0x0102}
                                        << hex("11 10 00 01 00 02 04 00 0A 01 02 C6 F0");
}

void TestModbusMaster::requestOnTheWire()
{
    QFETCH(Framing, framing);
    QFETCH(int, function);
    QFETCH(int, startRegister);
    QFETCH(int, count);
    QFETCH(QList<qint16>, values);
    QFETCH(QByteArray, wire);
    Link link(framing);
    QVERIFY(link.slave.isReady());
    for (int i = 0; i < values.size(); ++i)
        link.master.setRegisterValue(i, values[i]);
    QCOMPARE(link.run(function, startRegister, count), 0);
    QCOMPARE(link.slave.requests, QList<QByteArray> {wire});
}

void TestModbusMaster::readsSignedValues_data()
{
    QTest::addColumn<Framing>("framing");
    for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp})
        QTest::newRow(framingName(framing)) << framing;
}

void TestModbusMaster::readsSignedValues()
{
    QFETCH(Framing, framing);
    Link link(framing);
    link.slave.bank = {{8448, 0}, {8449, 27}, {8450, 0xFFFF}, {8451, 0x8000}, {8452, 32766}};
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 8449, 5), 0);
    const QList<qint16> expected {0, 27, -1, -32768, 32766};
    for (int i = 0; i < expected.size(); ++i)
        QCOMPARE(link.master.registerValue(i), expected[i]);

    // A read at an offset lands there and leaves the values before it.
    link.master.setStartOffset(10);
    link.master.setRegisterCount(2);
    link.master.setStartRegister(2346);
    link.master.trigger();
    link.master.waitWhileBusy();
    QCOMPARE(link.master.resultCode(), 0);
    QCOMPARE(link.master.registerValue(10), qint16(2345 * 3));
    QCOMPARE(link.master.registerValue(11), qint16(2346 * 3));
    QCOMPARE(link.master.registerValue(1), qint16(27));
}

void TestModbusMaster::writesStore_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<int>("function");
    for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp}) {
        QTest::addRow("%s write", framingName(framing)) << framing << int(ModbusMaster::WriteRegister);
        QTest::addRow("%s download", framingName(framing)) << framing << int(ModbusMaster::DownloadRegisters);
    }
}

void TestModbusMaster::writesStore()
{
    QFETCH(Framing, framing);
    QFETCH(int, function);
    Link link(framing);
    link.master.setRegisterValue(0, -100);
    QCOMPARE(link.run(function, 1793), 0);
    QCOMPARE(link.slave.bank.value(1792), quint16(0xFF9C));
    // Read back through the master: the value it wrote.
    link.master.setRegisterValue(0, 0);
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 1793), 0);
    QCOMPARE(link.master.registerValue(0), qint16(-100));
}

void TestModbusMaster::failures_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<Fault>("fault");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("result");
    const int read = ModbusMaster::ReadRegisters;
    const int write = ModbusMaster::WriteRegister;
    const int download = ModbusMaster::DownloadRegisters;
    for (Framing framing : {Framing::Rtu, Framing::Ascii}) {
        const char *f = framingName(framing);
        QTest::addRow("%s exception 2", f) << framing << Fault::Exception << read << 2;
        QTest::addRow("%s exception 4 on write", f) << framing << Fault::Exception << write << 4;
        QTest::addRow("%s time-out", f) << framing << Fault::Silent << read << 300;
        QTest::addRow("%s bad check", f) << framing << Fault::BadCheck << read << 301;
        QTest::addRow("%s other node", f) << framing << Fault::OtherNode << read << 302;
        QTest::addRow("%s short frame", f) << framing << Fault::Short << read << 303;
        QTest::addRow("%s noise", f) << framing << Fault::Noise << read << 304;
        QTest::addRow("%s wrong function", f) << framing << Fault::WrongFunction << read << 305;
        QTest::addRow("%s echo mismatch", f) << framing << Fault::EchoMismatch << write << 306;
        QTest::addRow("%s download echo mismatch", f) << framing << Fault::EchoMismatch << download << 306;
    }
    QTest::newRow("tcp exception 3") << Framing::Tcp << Fault::Exception << read << 3;
    QTest::newRow("tcp time-out") << Framing::Tcp << Fault::Silent << write << 300;
    QTest::newRow("tcp other unit") << Framing::Tcp << Fault::OtherNode << read << 302;
    QTest::newRow("tcp short") << Framing::Tcp << Fault::Short << read << 303;
    QTest::newRow("tcp wrong function") << Framing::Tcp << Fault::WrongFunction << read << 305;
}

void TestModbusMaster::failures()
{
    QFETCH(Framing, framing);
    QFETCH(Fault, fault);
    QFETCH(int, function);
    QFETCH(int, result);
    Link link(framing);
    link.slave.fault = fault;
    link.slave.exceptionCode = quint8(result);
    link.master.setRegisterValue(0, 1234);
    QSignalSpy done(&link.master, &ModbusMaster::done);
    QCOMPARE(link.run(function, 100), result);
    QCOMPARE(done.size(), 1);
    QVERIFY(!link.master.busy());
    // A failed read leaves the values as they were.
    QCOMPARE(link.master.registerValue(0), qint16(1234));
    QVERIFY(!ModbusMaster::resultText(result).isEmpty());

    // The link still works for the next transaction.
    link.slave.fault = Fault::None;
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 100), 0);
    QCOMPARE(link.master.registerValue(0), qint16(link.slave.bank.value(99, 99 * 3)));
}

void TestModbusMaster::silenceBetweenFrames_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<QString>("settings");
    QTest::addColumn<int>("quietMicros"); // at least
    // RTU: 3.5 characters of 11 bits; ASCII frames need no gap.
    QTest::newRow("rtu 1200") << Framing::Rtu << "1200,E,8,1" << 32084;
    QTest::newRow("rtu 9600") << Framing::Rtu << "9600,N,8,2" << 4011;
    QTest::newRow("ascii 1200") << Framing::Ascii << "1200,E,7,1" << 0;
}

void TestModbusMaster::silenceBetweenFrames()
{
    QFETCH(Framing, framing);
    QFETCH(QString, settings);
    QFETCH(int, quietMicros);
    Link link(framing, settings);
    for (int i = 0; i < 4; ++i)
        QCOMPARE(link.run(ModbusMaster::ReadRegisters, 1), 0);
    QCOMPARE(link.slave.quietBeforeRequest.size(), 3);
    for (qint64 quiet : std::as_const(link.slave.quietBeforeRequest))
        QVERIFY2(quiet >= quietMicros, qPrintable(QStringLiteral("%1 us quiet").arg(quiet)));
    if (quietMicros == 0) {
        // Nothing holds an ASCII request back: far below an RTU gap at this speed.
        QVERIFY(*std::min_element(link.slave.quietBeforeRequest.begin(), link.slave.quietBeforeRequest.end()) < 32084);
    }
}

void TestModbusMaster::answerInPieces_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<int>("pieces");
    for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp}) {
        QTest::addRow("%s in 3", framingName(framing)) << framing << 3;
        QTest::addRow("%s byte by byte", framingName(framing)) << framing << 64;
    }
}

void TestModbusMaster::answerInPieces()
{
    QFETCH(Framing, framing);
    QFETCH(int, pieces);
    Link link(framing);
    link.slave.pieces = pieces;
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 1, 4), 0);
    QCOMPARE(link.master.registerValue(3), qint16(9));
}

void TestModbusMaster::refusedTriggers_data()
{
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("function");
    QTest::addColumn<int>("startRegister");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("offset");
    QTest::newRow("node not a number") << "1a" << 2 << 1 << 1 << 0;
    QTest::newRow("node 0") << "0" << 2 << 1 << 1 << 0;
    QTest::newRow("node 248") << "248" << 5 << 1 << 1 << 0;
    QTest::newRow("register 0") << "17" << 2 << 0 << 1 << 0;
    QTest::newRow("register past 65536") << "17" << 5 << 65537 << 1 << 0;
    QTest::newRow("read past the address space") << "17" << 2 << 65536 << 2 << 0;
    QTest::newRow("count 0") << "17" << 2 << 1 << 0 << 0;
    QTest::newRow("count 126") << "17" << 2 << 1 << 126 << 0;
    QTest::newRow("download count 124") << "17" << 7 << 1 << 124 << 0;
    QTest::newRow("offset past the values") << "17" << 2 << 1 << 10 << 250;
    QTest::newRow("function 3") << "17" << 3 << 1 << 1 << 0;
}

void TestModbusMaster::refusedTriggers()
{
    QFETCH(QString, node);
    QFETCH(int, function);
    QFETCH(int, startRegister);
    QFETCH(int, count);
    QFETCH(int, offset);
    Link link(Framing::Rtu);
    link.master.setNodeAddress(node);
    link.master.setStartOffset(offset);
    link.master.setFunctionCode(function);
    link.master.setStartRegister(startRegister);
    link.master.setRegisterCount(count);
    QSignalSpy done(&link.master, &ModbusMaster::done);
    link.master.trigger();
    QCOMPARE(link.master.resultCode(), -1);
    QVERIFY(!link.master.busy());
    QTest::qWait(50);
    QCOMPARE(done.size(), 0);
    QVERIFY(link.slave.requests.isEmpty());
}

void TestModbusMaster::doneComesFromTheEventLoop()
{
    Link link(Framing::Rtu);
    QSignalSpy done(&link.master, &ModbusMaster::done);
    int busyInDone = -1;
    connect(&link.master, &ModbusMaster::done, this, [&] { busyInDone = link.master.busy(); });
    link.master.setFunctionCode(ModbusMaster::ReadRegisters);
    link.master.setStartRegister(8450);
    link.master.trigger();
    QVERIFY(link.master.busy());
    QCOMPARE(done.size(), 0);
    // A second trigger while the first is pending is refused, the first goes on.
    link.master.trigger();
    QCOMPARE(link.master.resultCode(), -1);
    link.master.waitWhileBusy();
    QCOMPARE(done.size(), 1);
    QCOMPARE(busyInDone, 0);
    QCOMPARE(link.master.resultCode(), 0);
    QCOMPARE(link.slave.requests.size(), 1);

    // Not open: refused as well.
    link.master.setPortOpen(false);
    QVERIFY(!link.master.portOpen());
    link.master.trigger();
    QCOMPARE(link.master.resultCode(), -1);
    QCOMPARE(done.size(), 1);
}

void TestModbusMaster::resultStaysUntilCompletion()
{
    Link link(Framing::Rtu);
    link.slave.fault = Fault::Exception;
    link.slave.exceptionCode = 6;
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 1), 6);
    // The polling read looks at the code right after the trigger: it still
    // shows the previous transaction's outcome.
    link.slave.fault = Fault::None;
    link.master.trigger();
    QCOMPARE(link.master.resultCode(), 6);
    link.master.waitWhileBusy();
    QCOMPARE(link.master.resultCode(), 0);
}

void TestModbusMaster::staleTcpAnswerIsDropped()
{
    Link link(Framing::Tcp);
    link.slave.fault = Fault::OldTransaction;
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 5), 0);
    QCOMPARE(link.master.registerValue(0), qint16(12));
}

void TestModbusMaster::closingEndsTransaction()
{
    Link link(Framing::Ascii);
    link.slave.fault = Fault::Silent;
    link.master.setTimeOut(10000);
    QSignalSpy done(&link.master, &ModbusMaster::done);
    link.master.trigger();
    QVERIFY(link.master.busy());
    link.master.setPortOpen(false);
    QVERIFY(!link.master.busy());
    QCOMPARE(done.size(), 1);
    QCOMPARE(link.master.resultCode(), int(ModbusMaster::LinkLost));
}

void TestModbusMaster::droppedConnectionIsLinkLost()
{
    Link link(Framing::Tcp);
    QCOMPARE(link.run(ModbusMaster::ReadRegisters, 1), 0);
    link.slave.fault = Fault::Silent;
    link.master.setTimeOut(10000);
    link.master.trigger();
    link.slave.dropConnection();
    link.master.waitWhileBusy();
    QCOMPARE(link.master.resultCode(), int(ModbusMaster::LinkLost));
    QVERIFY(!link.master.portOpen());
}

void TestModbusMaster::lineSettingsReachTheTty_data()
{
    QTest::addColumn<QString>("settings");
    QTest::addColumn<speed_t>("speed");
    // Of CSTOPB: a pseudo-terminal keeps neither parity nor 7-bit
    // characters, but one refused setting must not keep the others off.
    QTest::addColumn<tcflag_t>("flags");
    QTest::newRow("19200,E,8,1") << "19200,E,8,1" << speed_t(B19200) << tcflag_t(0);
    QTest::newRow("9600,O,8,2") << "9600,O,8,2" << speed_t(B9600) << tcflag_t(CSTOPB);
    QTest::newRow("38400,N,8,2") << "38400,N,8,2" << speed_t(B38400) << tcflag_t(CSTOPB);
    QTest::newRow("4800,E,7,2") << "4800,E,7,2" << speed_t(B4800) << tcflag_t(CSTOPB);
    QTest::newRow("2400,E,7,1") << "2400,E,7,1" << speed_t(B2400) << tcflag_t(0);
}

void TestModbusMaster::lineSettingsReachTheTty()
{
    QFETCH(QString, settings);
    QFETCH(speed_t, speed);
    QFETCH(tcflag_t, flags);
    Link link(Framing::Rtu, settings);
    termios tio {};
    QCOMPARE(tcgetattr(link.slave.ttyFd(), &tio), 0);
    QCOMPARE(cfgetospeed(&tio), speed);
    QCOMPARE(tio.c_cflag & CSTOPB, flags);
    // Changing the settings of an open port applies them at once.
    link.master.setPortSettings(QStringLiteral("1200,N,8,1"));
    QCOMPARE(tcgetattr(link.slave.ttyFd(), &tio), 0);
    QCOMPARE(cfgetospeed(&tio), speed_t(B1200));
}

void TestModbusMaster::missingOrHeldPortRaises380()
{
    ModbusMaster master;
    master.setConnectionTarget(QStringLiteral("/dev/tarvel-no-such-port"));
    try {
        master.setPortOpen(true);
        QFAIL("opening a missing port must raise");
    } catch (const TrappedError &e) {
        QCOMPARE(e.number(), 380);
    }
    QVERIFY(!master.portOpen());

    Link link(Framing::Rtu);
    ModbusMaster other;
    other.setConnectionTarget(link.slave.target());
    QVERIFY_THROWS_EXCEPTION(TrappedError, other.setPortOpen(true));
    QVERIFY(!other.portOpen());
    QVERIFY(link.master.portOpen());

    // Nobody listening on the TCP target.
    QTcpServer closed;
    QVERIFY(closed.listen(QHostAddress::LocalHost));
    const QString target = QStringLiteral("tcp://127.0.0.1:%1").arg(closed.serverPort());
    closed.close();
    other.setConnectionTarget(target);
    QVERIFY_THROWS_EXCEPTION(TrappedError, other.setPortOpen(true));
}

void TestModbusMaster::propertyErrors()
{
    ModbusMaster master;
    auto raised = [](auto &&assign) {
        try {
            assign();
        } catch (const TrappedError &e) {
            return e.number();
        }
        return 0;
    };
    QCOMPARE(raised([&] { master.setPortSettings(QStringLiteral("19200,Even,8,1")); }), 380);
    QCOMPARE(master.portSettings(), QStringLiteral("19200,E,8,1"));
    QCOMPARE(raised([&] { master.setCommPort(PortMap::Count); }), 380);
    QCOMPARE(raised([&] { master.setRegisterValue(ModbusMaster::ValueSlots - 1, 7); }), 0);
    QCOMPARE(master.registerValue(ModbusMaster::ValueSlots - 1), qint16(7));
    QCOMPARE(raised([&] { master.registerValue(ModbusMaster::ValueSlots); }), 381);
    QCOMPARE(raised([&] { master.setRegisterValue(-1, 0); }), 381);
}

QTEST_GUILESS_MAIN(TestModbusMaster)
#include "tst_modbusmaster.moc"
