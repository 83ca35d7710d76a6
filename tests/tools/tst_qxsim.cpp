// qxsim as a separate process, spoken to over a pseudo-terminal (and once
// over TCP) with the shared framing, the way the program meets a drive.
#include "SimProcess.h"

#include <QElapsedTimer>
#include <QFileInfo>
#include <QTcpSocket>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QStringList Qx2 {"--drive", "02,05,120"};
const QString Rtu8E1 = QStringLiteral("19200,E,8,1");
constexpr int SilenceMs = 300;

ModbusRequest readRegs(int number, int count)
{
    return ModbusPdu::readHoldingRegisters(quint16(number - 1), quint16(count));
}

ModbusRequest writeReg(int number, qint16 value)
{
    return ModbusPdu::writeSingleRegister(quint16(number - 1), quint16(value));
}

QList<quint16> words(std::initializer_list<int> values)
{
    QList<quint16> out;
    for (int v : values)
        out << quint16(v);
    return out;
}

// Starts the simulator on a pseudo-terminal and opens the line to it.
bool connectSim(SimProcess &sim, SimLine &line, const QString &format, QString *error)
{
    return sim.startPty(error) && line.open(sim.link(), format, error);
}

} // namespace

class TestQxsim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void reads_data();
    void reads();
    void writeThenReadBack();
    void exceptions_data();
    void exceptions();
    void otherNodeIsSilent();
    void asciiMode();
    void otherSettingsAreSilent_data();
    void otherSettingsAreSilent();
    void runRampsFrequency();
    void dropEvery();
    void corruptEvery();
    void exceptionAt();
    void stopAfter();
    void slowEvery();
    void wireTimingHoldsAnswersBack();
    void faultHistoryAndIdentity();
    void sigtermRemovesLink();
    void startErrors_data();
    void startErrors();
    void tcp();
};

void TestQxsim::reads_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<int>("count");
    QTest::addColumn<QList<quint16>>("values");
    QTest::newRow("link test, P0.00") << 1 << 1 << words({460});
    QTest::newRow("P1.01 10.0 s / 0.1") << 258 << 1 << words({100});
    QTest::newRow("identity P9.41 P9.42") << 2346 << 2 << words({2, 5});
    QTest::newRow("fault code") << 8449 << 1 << words({0});
    QTest::newRow("status poll to revision")
        << 8450 << 16 << words({0, 0, 0, 0, 6505, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 120});
    QTest::newRow("PID gains") << 1813 << 3 << words({100, 100, 0});
}

void TestQxsim::reads()
{
    QFETCH(int, number);
    QFETCH(int, count);
    QFETCH(QList<quint16>, values);
    SimProcess sim(Qx2);
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    const std::optional<ModbusReply> reply = line.ask(1, readRegs(number, count));
    QVERIFY(reply);
    QCOMPARE(reply->status, ModbusReply::Status::Ok);
    QCOMPARE(reply->values, values);
}

void TestQxsim::writeThenReadBack()
{
    SimProcess sim(Qx2);
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QCOMPARE(line.ask(1, writeReg(258, 255))->status, ModbusReply::Status::Ok);
    QCOMPARE(line.ask(1, ModbusPdu::writeMultipleRegisters(258, words({123, 45})))->status, ModbusReply::Status::Ok);
    const std::optional<ModbusReply> reply = line.ask(1, readRegs(258, 3));
    QVERIFY(reply);
    QCOMPARE(reply->values, words({255, 123, 45}));
}

void TestQxsim::exceptions_data()
{
    QTest::addColumn<ModbusRequest>("request");
    QTest::addColumn<int>("exception");
    QTest::newRow("write read-only P9.42") << writeReg(2347, 1) << 2;
    QTest::newRow("read unknown") << readRegs(5000, 1) << 2;
    QTest::newRow("write out of range") << writeReg(2332, 2) << 3;
}

void TestQxsim::exceptions()
{
    QFETCH(ModbusRequest, request);
    QFETCH(int, exception);
    SimProcess sim(Qx2);
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    const std::optional<ModbusReply> reply = line.ask(1, request);
    QVERIFY(reply);
    QCOMPARE(reply->status, ModbusReply::Status::Exception);
    QCOMPARE(int(reply->exception), exception);
}

void TestQxsim::otherNodeIsSilent()
{
    SimProcess sim(Qx2 + QStringList {"--node", "7"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QVERIFY(!line.exchange(1, readRegs(258, 1), SilenceMs));
    QVERIFY(line.ask(7, readRegs(258, 1)));
    // A broadcast write is carried out, unanswered.
    QVERIFY(!line.exchange(0, writeReg(258, 77), SilenceMs));
    QCOMPARE(line.ask(7, readRegs(258, 1))->values, words({77}));
}

void TestQxsim::asciiMode()
{
    SimProcess sim(Qx2 + QStringList {"--mode", "ascii"});
    SimLine line(ModbusTransport::Framing::Ascii);
    QString error;
    QVERIFY2(connectSim(sim, line, "19200,E,7,1", &error), qPrintable(error));
    const std::optional<ModbusReply> reply = line.ask(1, readRegs(2346, 2));
    QVERIFY(reply);
    QCOMPARE(reply->values, words({2, 5}));
    // An RTU master on the same line gets nothing.
    SimLine rtu(ModbusTransport::Framing::Rtu);
    QVERIFY(!line.exchange(rtu.frame(1, readRegs(2346, 2)), SilenceMs));
    QVERIFY(line.ask(1, readRegs(2346, 2)));
}

void TestQxsim::otherSettingsAreSilent_data()
{
    QTest::addColumn<QString>("format");
    QTest::newRow("other speed") << "9600,E,8,1";
    QTest::newRow("odd parity") << "19200,O,8,1";
    QTest::newRow("no parity, two stop bits") << "19200,N,8,2";
}

void TestQxsim::otherSettingsAreSilent()
{
    QFETCH(QString, format);
    SimProcess sim(Qx2);
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, format, &error), qPrintable(error));
    QVERIFY(!line.exchange(1, readRegs(258, 1), SilenceMs));
    QVERIFY(line.setFormat(Rtu8E1));
    QVERIFY(line.ask(1, readRegs(258, 1)));
}

void TestQxsim::runRampsFrequency()
{
    SimProcess sim(Qx2);
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QVERIFY(line.ask(1, ModbusPdu::writeMultipleRegisters(257, words({10, 10})))); // P1.01, P1.02: 1.0 s
    QVERIFY(line.ask(1, writeReg(2331, 300))); // 30.0 Hz
    QVERIFY(line.ask(1, writeReg(2332, 1))); // run
    QTest::qWait(100);
    const std::optional<ModbusReply> early = line.ask(1, readRegs(8450, 3));
    QVERIFY(early);
    QCOMPARE(early->values[0] & 3, 3); // RUN
    QCOMPARE(int(early->values[1]), 300); // frequency command
    QVERIFY(early->values[2] > 0 && early->values[2] < 300);
    QTRY_COMPARE_WITH_TIMEOUT(line.ask(1, readRegs(8452, 1))->values, words({300}), 3000);
    QVERIFY(line.ask(1, writeReg(2332, 0)));
    QTRY_COMPARE_WITH_TIMEOUT(line.ask(1, readRegs(8450, 1))->values, words({0}), 3000);
}

void TestQxsim::dropEvery()
{
    SimProcess sim(Qx2 + QStringList {"--drop-every", "2"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QVERIFY(line.ask(1, readRegs(258, 1)));
    QVERIFY(!line.exchange(1, writeReg(258, 55), SilenceMs)); // lost: not carried out
    QCOMPARE(line.ask(1, readRegs(258, 1))->values, words({100}));
    QVERIFY(!line.exchange(1, readRegs(258, 1), SilenceMs));
}

void TestQxsim::corruptEvery()
{
    SimProcess sim(Qx2 + QStringList {"--corrupt-every", "2"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QCOMPARE(line.exchange(1, readRegs(258, 1))->error, ModbusTransport::DecodeError::None);
    const std::optional<ModbusTransport::Decoded> spoilt = line.exchange(1, readRegs(258, 1));
    QVERIFY(spoilt);
    QCOMPARE(spoilt->error, ModbusTransport::DecodeError::Checksum);
    QCOMPARE(line.exchange(1, readRegs(258, 1))->error, ModbusTransport::DecodeError::None);
}

void TestQxsim::exceptionAt()
{
    SimProcess sim(Qx2 + QStringList {"--exception-at", "1803"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    const std::optional<ModbusReply> block = line.ask(1, readRegs(1793, 11));
    QVERIFY(block);
    QCOMPARE(block->status, ModbusReply::Status::Exception);
    QCOMPARE(block->exception, ModbusException::SlaveDeviceFailure);
    QCOMPARE(line.ask(1, readRegs(1793, 10))->status, ModbusReply::Status::Ok);
}

void TestQxsim::stopAfter()
{
    SimProcess sim(Qx2 + QStringList {"--stop-after", "2"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QVERIFY(line.ask(1, readRegs(258, 1)));
    QVERIFY(line.ask(1, readRegs(258, 1)));
    QVERIFY(!line.exchange(1, readRegs(258, 1), SilenceMs));
    QVERIFY(!line.exchange(1, readRegs(258, 1), SilenceMs));
}

void TestQxsim::slowEvery()
{
    SimProcess sim(Qx2 + QStringList {"--slow-every", "2", "--slow-ms", "700"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QVERIFY(line.ask(1, readRegs(258, 1)));
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!line.exchange(1, readRegs(258, 1), SilenceMs)); // past a short time-out
    QVERIFY(line.receive(2000)); // the late answer still comes
    QVERIFY(clock.elapsed() >= 700);
}

void TestQxsim::wireTimingHoldsAnswersBack()
{
    SimProcess sim(Qx2 + QStringList {"--wire-timing", "--turnaround", "20", "--settings", "1200,E,8,1"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, "1200,E,8,1", &error), qPrintable(error));
    // 8 + 7 characters of 11 bits at 1200 baud: 137.5 ms, plus 20 ms.
    QElapsedTimer clock;
    clock.start();
    QVERIFY(line.ask(1, readRegs(258, 1)));
    QVERIFY2(clock.nsecsElapsed() >= 157'500'000, qPrintable(QString::number(clock.nsecsElapsed())));
}

void TestQxsim::faultHistoryAndIdentity()
{
    SimProcess sim(Qx2 + QStringList {"--faults", "2,7,12", "--fault", "4", "--identity", "03,06,104"});
    SimLine line;
    QString error;
    QVERIFY2(connectSim(sim, line, Rtu8E1, &error), qPrintable(error));
    QCOMPARE(line.ask(1, readRegs(1568, 6))->values, words({2, 7, 12, 0, 0, 0}));
    QCOMPARE(line.ask(1, readRegs(8449, 1))->values, words({4}));
    QCOMPARE(line.ask(1, readRegs(2346, 2))->values, words({3, 6}));
    QCOMPARE(line.ask(1, readRegs(8465, 1))->values, words({104}));
    // The drive's link record shows its start-up settings.
    QCOMPARE(line.ask(1, readRegs(2305, 2))->values, words({2, 4})); // 19200, RTU 8E1
    QCOMPARE(line.ask(1, readRegs(2310, 1))->values, words({1})); // node
    QVERIFY(line.ask(1, writeReg(2334, 1))); // P9.29 external fault
    QCOMPARE(line.ask(1, readRegs(8449, 1))->values, words({7}));
    QCOMPARE(line.ask(1, readRegs(1568, 4))->values, words({7, 2, 7, 12}));
}

void TestQxsim::sigtermRemovesLink()
{
    SimProcess sim(Qx2);
    QString error;
    QVERIFY2(sim.startPty(&error), qPrintable(error));
    QCOMPARE(sim.readyTarget(), sim.link());
    QVERIFY(QFileInfo(sim.link()).isSymLink());
    QVERIFY(QFileInfo(QFileInfo(sim.link()).symLinkTarget()).exists());
    QCOMPARE(sim.terminate(), 0);
    QVERIFY(!QFileInfo(sim.link()).isSymLink());
    QVERIFY(!QFileInfo::exists(sim.link()));
}

void TestQxsim::startErrors_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<int>("exitCode");
    QTest::addColumn<QString>("message");
    QTest::newRow("drive not in catalogue") << QStringList {"--drive", "02,05,999"} << 3 << "not in the catalogue";
    QTest::newRow("bad settings") << QStringList {"--drive", "02,05,120", "--settings", "fast"} << 2 << "--settings";
}

void TestQxsim::startErrors()
{
    QFETCH(QStringList, arguments);
    QFETCH(int, exitCode);
    QFETCH(QString, message);
    SimProcess sim(arguments);
    QString error;
    QVERIFY(!sim.startPty(&error));
    QVERIFY2(error.contains(message), qPrintable(error));
    QCOMPARE(sim.process().exitCode(), exitCode);
    QVERIFY(!QFileInfo(sim.link()).isSymLink());
}

void TestQxsim::tcp()
{
    SimProcess sim(Qx2 + QStringList {"--node", "3"});
    QString error;
    QVERIFY2(sim.startTcp(&error), qPrintable(error));
    const QString target = sim.readyTarget();
    QVERIFY2(
        target.startsWith(QStringLiteral("127.0.0.1:")) && !target.endsWith(QStringLiteral(":0")), qPrintable(target));
    QTcpSocket socket;
    socket.connectToHost(QHostAddress::LocalHost, quint16(target.section(u':', 1).toUInt()));
    QVERIFY(socket.waitForConnected(3000));
    const auto transport = ModbusTransport::create(ModbusTransport::Framing::Tcp);
    const ModbusRequest request = readRegs(2346, 2);
    // The node, and unit 255 ("the device itself"); unit 5 is another node.
    for (quint8 unit : {quint8(3), quint8(255), quint8(5)}) {
        socket.write(transport->encode({unit, ModbusPdu::encodeRequest(request), quint16(0x1200 + unit)}));
        QByteArray buffer;
        ModbusTransport::Scan scan;
        QDeadlineTimer deadline(unit == 5 ? SilenceMs : 3000);
        while (scan.state != ModbusTransport::ScanState::Complete && !deadline.hasExpired()) {
            socket.waitForReadyRead(50);
            buffer += socket.readAll();
            scan = transport->scan(buffer, ModbusDirection::Response);
        }
        if (unit == 5) {
            QVERIFY(buffer.isEmpty());
            continue;
        }
        QCOMPARE(scan.state, ModbusTransport::ScanState::Complete);
        const ModbusTransport::Decoded decoded = transport->decode(QByteArrayView(buffer).first(scan.length));
        QCOMPARE(decoded.error, ModbusTransport::DecodeError::None);
        QCOMPARE(decoded.adu.transactionId, quint16(0x1200 + unit));
        QCOMPARE(decoded.adu.unit, unit);
        QCOMPARE(ModbusPdu::decodeResponse(decoded.adu.pdu, request).values, words({2, 5}));
    }
}

QTEST_GUILESS_MAIN(TestQxsim)
#include "tst_qxsim.moc"
