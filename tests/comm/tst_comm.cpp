// The Modbus layers: framing, the master against the simulated drive in
// process, the port map and the decoding of the polled status.
#include "TestSupport.h"
#include "base/TrappedError.h"
#include "catalogue/Catalogue.h"
#include "comm/AsciiTransport.h"
#include "comm/BusMonitor.h"
#include "comm/ComSetTable.h"
#include "comm/DriveStatusText.h"
#include "comm/DriveValues.h"
#include "comm/ModbusCrc.h"
#include "comm/ModbusMaster.h"
#include "comm/ModbusPdu.h"
#include "comm/PortMap.h"
#include "comm/RtuTransport.h"
#include "comm/SerialFormat.h"
#include "comm/TcpTransport.h"
#include "files/FileTestSupport.h"
#include "model/AppState.h"

#include "PtyPort.h"
#include "SerialLink.h"
#include "SimDrive.h"
#include "TcpLink.h"
#include "WaitedTransaction.h"

#include <QSettings>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QtTest>

#include "TestMain.h"

using namespace Tarvel;
using namespace Tarvel::Test;

Q_DECLARE_METATYPE(Tarvel::ModbusRequest)
Q_DECLARE_METATYPE(Tarvel::ModbusTransport::Framing)
Q_DECLARE_METATYPE(Tarvel::ModbusException)
Q_DECLARE_METATYPE(Tarvel::ModbusReply::Status)
Q_DECLARE_METATYPE(Tarvel::ModbusTransport::ScanState)
Q_DECLARE_METATYPE(Tarvel::ModbusTransport::DecodeError)
Q_DECLARE_METATYPE(Tarvel::ModbusDirection)
Q_DECLARE_METATYPE(Tarvel::Sim::Misbehaviour::Kind)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

const char *framingName(ModbusTransport::Framing framing)
{
    return framing == ModbusTransport::Framing::Rtu  ? "rtu"
        : framing == ModbusTransport::Framing::Ascii ? "ascii"
                                                     : "tcp";
}

// The error an action raises; number 0 when it raises none.
template<class F> TrappedError raised(F &&action)
{
    try {
        action();
    } catch (const TrappedError &e) {
        return e;
    }
    return TrappedError(0);
}

} // namespace

// Modbus framing: check values against published frames, both directions
// through all three transports, frames arriving in pieces, and line noise.
namespace Frames {

using Framing = ModbusTransport::Framing;
using ScanState = ModbusTransport::ScanState;

class TestModbusFraming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void checksumsOfPublishedFrames_data()
    {
        QTest::addColumn<QByteArray>("body");
        QTest::addColumn<QByteArray>("check"); // as sent: CRC low byte first, or the LRC
        QTest::newRow("crc read 10 from 0") << hex("01 03 00 00 00 0A") << hex("C5 CD");
        QTest::newRow("crc serial-line appendix") << hex("02 07") << hex("41 12");
        QTest::newRow("crc read answer") << hex("11 03 06 AE 41 56 52 43 40") << hex("49 AD");
        QTest::newRow("crc write single") << hex("11 06 00 01 00 03") << hex("9A 9B");
        QTest::newRow("crc write multiple") << hex("11 10 00 01 00 02 04 00 0A 01 02") << hex("C6 F0");
        QTest::newRow("lrc read 3 from 6B") << hex("11 03 00 6B 00 03") << hex("7E");
        QTest::newRow("lrc read 10 from 1389") << hex("F7 03 13 89 00 0A") << hex("60");
        QTest::newRow("lrc sum wraps to zero") << hex("80 80") << hex("00");
    }
    void checksumsOfPublishedFrames()
    {
        QFETCH(QByteArray, body);
        QFETCH(QByteArray, check);
        if (check.size() == 1) {
            QCOMPARE(ModbusCrc::lrc(body), quint8(check[0]));
            return;
        }
        QCOMPARE(ModbusCrc::crc16(body), quint16(quint8(check[0]) | quint8(check[1]) << 8));
        // The CRC over a frame including its own CRC is zero: the receiver's check.
        QCOMPARE(ModbusCrc::crc16(body + check), quint16(0));
    }
    void bothDirections_data()
    {
        QTest::addColumn<Framing>("framing");
        QTest::addColumn<ModbusRequest>("request");
        QTest::addColumn<QList<quint16>>("readValues");
        QTest::addColumn<ModbusException>("refusal"); // None: the slave answers
        const QList<quint16> many {0x0000, 0x7FFE, 0x8000, 0xFFFF, 0x1234};
        QList<quint16> most;
        for (int i = 0; i < ModbusPdu::MaxReadCount; ++i)
            most.append(quint16(i * 517));
        const ModbusException none = ModbusException::None;
        for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp}) {
            const char *name = framingName(framing);
            QTest::addRow("%s read 5", name) << framing << ModbusPdu::readHoldingRegisters(8449, 5) << many << none;
            QTest::addRow("%s read 125", name) << framing << ModbusPdu::readHoldingRegisters(0, 125) << most << none;
            QTest::addRow("%s write five", name)
                << framing << ModbusPdu::writeMultipleRegisters(1792, many) << QList<quint16>() << none;
            QTest::addRow("%s read refused", name) << framing << ModbusPdu::readHoldingRegisters(2, 3)
                                                   << QList<quint16>() << ModbusException::IllegalDataAddress;
        }
    }
    void bothDirections()
    {
        QFETCH(Framing, framing);
        QFETCH(ModbusRequest, request);
        QFETCH(QList<quint16>, readValues);
        QFETCH(ModbusException, refusal);
        const auto transport = ModbusTransport::create(framing);
        QVERIFY(ModbusPdu::isValid(request));

        // Master to slave.
        const QByteArray asked = transport->encode({7, ModbusPdu::encodeRequest(request), 0x4242});
        const auto received = transport->decode(asked);
        QCOMPARE(received.error, ModbusTransport::DecodeError::None);
        QCOMPARE(received.adu.unit, quint8(7));
        const auto parsed = ModbusPdu::decodeRequest(received.adu.pdu);
        QCOMPARE(parsed.exception, ModbusException::None);
        QCOMPARE(parsed.request, std::optional(request));

        // Slave back to master, same transaction number on TCP.
        const QByteArray pdu = refusal == ModbusException::None
            ? ModbusPdu::encodeResponse(*parsed.request, readValues)
            : ModbusPdu::encodeException(parsed.functionByte, refusal);
        const QByteArray answer = transport->encode({7, pdu, received.adu.transactionId});

        // Each frame arrives byte by byte; one right behind it does not move its end.
        const QByteArray next
            = transport->encode({4, ModbusPdu::encodeRequest(ModbusPdu::writeSingleRegister(5, 6)), 2});
        for (const auto &[wire, direction] :
            {std::pair {asked, ModbusDirection::Request}, {answer, ModbusDirection::Response}}) {
            for (qsizetype i = 1; i < wire.size(); ++i)
                QCOMPARE(transport->scan(wire.first(i), direction).state, ScanState::NeedMore);
            for (const QByteArray &bytes : {wire, wire + next}) {
                const auto scan = transport->scan(bytes, direction);
                QCOMPARE(scan.state, ScanState::Complete);
                QCOMPARE(scan.length, wire.size());
            }
        }

        const auto decoded = transport->decode(answer);
        QCOMPARE(decoded.error, ModbusTransport::DecodeError::None);
        if (framing == Framing::Tcp)
            QCOMPARE(decoded.adu.transactionId, quint16(0x4242));
        const ModbusReply reply = ModbusPdu::decodeResponse(decoded.adu.pdu, request);
        QCOMPARE(
            reply.status, refusal == ModbusException::None ? ModbusReply::Status::Ok : ModbusReply::Status::Exception);
        QCOMPARE(reply.exception, refusal);
        QCOMPARE(reply.values, readValues);
    }
    void lineNoise_data()
    {
        QTest::addColumn<Framing>("framing");
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<ScanState>("scan");
        QTest::addColumn<qsizetype>("length");
        QTest::addColumn<ModbusTransport::DecodeError>("error");
        QTest::addColumn<ModbusDirection>("direction");
        using E = ModbusTransport::DecodeError;
        QTest::newRow("rtu crc bit flipped") << Framing::Rtu << hex("01 03 00 00 00 0A C5 CC") << ScanState::Complete
                                             << qsizetype(8) << E::Checksum << ModbusDirection::Request;
        QTest::newRow("rtu unknown function") << Framing::Rtu << hex("01 2B 0E 01 00 70 77") << ScanState::UntilSilence
                                              << qsizetype(0) << E::None << ModbusDirection::Response;
        QTest::newRow("rtu odd byte count") << Framing::Rtu << hex("01 03 05 00 01 02 03 04") << ScanState::UntilSilence
                                            << qsizetype(0) << E::Checksum << ModbusDirection::Response;
        QTest::newRow("rtu too short") << Framing::Rtu << hex("01 03 04") << ScanState::NeedMore << qsizetype(0)
                                       << E::Malformed << ModbusDirection::Response;
        QTest::newRow("ascii noise first")
            << Framing::Ascii << QByteArray("\x00\xFFzz:1103006B00037E\r\n", 21) << ScanState::Garbage << qsizetype(4)
            << E::Malformed << ModbusDirection::Response;
        QTest::newRow("ascii lrc wrong") << Framing::Ascii << QByteArray(":1103006B00037F\r\n") << ScanState::Complete
                                         << qsizetype(17) << E::Checksum << ModbusDirection::Response;
        QTest::newRow("ascii not hex") << Framing::Ascii << QByteArray(":1103006G00037E\r\n") << ScanState::Complete
                                       << qsizetype(17) << E::Malformed << ModbusDirection::Response;
        QTest::newRow("ascii odd digits") << Framing::Ascii << QByteArray(":1103006B00037\r\n") << ScanState::Complete
                                          << qsizetype(16) << E::Malformed << ModbusDirection::Response;
        QTest::newRow("ascii tail lost") << Framing::Ascii << QByteArray(":110300:1103006B00037E\r\n")
                                         << ScanState::Garbage << qsizetype(7) << E::Malformed
                                         << ModbusDirection::Response;
        QTest::newRow("ascii lower case") << Framing::Ascii << QByteArray(":1103006b00037e\r\n") << ScanState::Complete
                                          << qsizetype(17) << E::None << ModbusDirection::Response;
        QTest::newRow("tcp foreign protocol")
            << Framing::Tcp << hex("00 01 00 01 00 06 11 03 00 6B 00 03") << ScanState::Garbage << qsizetype(12)
            << E::Malformed << ModbusDirection::Response;
        QTest::newRow("tcp zero length") << Framing::Tcp << hex("00 01 00 00 00 00 11") << ScanState::Garbage
                                         << qsizetype(7) << E::Malformed << ModbusDirection::Response;
    }
    void lineNoise()
    {
        QFETCH(Framing, framing);
        QFETCH(QByteArray, bytes);
        QFETCH(ScanState, scan);
        QFETCH(qsizetype, length);
        QFETCH(ModbusDirection, direction);
        const auto transport = ModbusTransport::create(framing);
        const auto result = transport->scan(bytes, direction);
        QCOMPARE(result.state, scan);
        QCOMPARE(result.length, length);
        // What a reader hands to decode: the frame found, or everything once the
        // line fell silent.
        const QByteArray frame = scan == ScanState::Complete ? bytes.first(length) : bytes;
        if (scan != ScanState::Garbage)
            QTEST(transport->decode(frame).error, "error");
    }
    void responseChecks_data()
    {
        QTest::addColumn<ModbusRequest>("request");
        QTest::addColumn<QByteArray>("pdu");
        QTest::addColumn<ModbusReply::Status>("status");
        QTest::addColumn<ModbusException>("exception");
        using S = ModbusReply::Status;
        const ModbusRequest read2 = ModbusPdu::readHoldingRegisters(0, 2);
        const ModbusRequest write = ModbusPdu::writeSingleRegister(4, 0x1234);
        const ModbusRequest writeMany = ModbusPdu::writeMultipleRegisters(4, {1, 2, 3});
        QTest::newRow("read ok") << read2 << hex("03 04 00 01 00 02") << S::Ok << ModbusException::None;
        QTest::newRow("read exception 2")
            << read2 << hex("83 02") << S::Exception << ModbusException::IllegalDataAddress;
        QTest::newRow("exception of other function")
            << read2 << hex("86 02") << S::WrongFunction << ModbusException::None;
        QTest::newRow("read answered as write")
            << read2 << hex("06 00 00 00 01") << S::WrongFunction << ModbusException::None;
        QTest::newRow("read fewer registers") << read2 << hex("03 02 00 01") << S::Malformed << ModbusException::None;
        QTest::newRow("read count lies") << read2 << hex("03 04 00 01") << S::Malformed << ModbusException::None;
        QTest::newRow("exception too long") << read2 << hex("83 02 00") << S::Malformed << ModbusException::None;
        QTest::newRow("write echo ok") << write << hex("06 00 04 12 34") << S::Ok << ModbusException::None;
        QTest::newRow("write echo other value")
            << write << hex("06 00 04 12 35") << S::Mismatch << ModbusException::None;
        QTest::newRow("write many ok") << writeMany << hex("10 00 04 00 03") << S::Ok << ModbusException::None;
        QTest::newRow("write many other count")
            << writeMany << hex("10 00 04 00 02") << S::Mismatch << ModbusException::None;
        QTest::newRow("empty") << write << QByteArray() << S::Malformed << ModbusException::None;
    }
    void responseChecks()
    {
        QFETCH(ModbusRequest, request);
        QFETCH(QByteArray, pdu);
        QFETCH(ModbusReply::Status, status);
        QFETCH(ModbusException, exception);
        const ModbusReply reply = ModbusPdu::decodeResponse(pdu, request);
        QCOMPARE(reply.status, status);
        QCOMPARE(reply.exception, exception);
        if (status == ModbusReply::Status::Ok && request.function == ModbusFunction::ReadHoldingRegisters)
            QCOMPARE(reply.values, (QList<quint16> {1, 2}));
    }
    void requestRefusals_data()
    {
        QTest::addColumn<QByteArray>("pdu");
        QTest::addColumn<ModbusException>("exception");
        QTest::newRow("read coils") << hex("01 00 00 00 08") << ModbusException::IllegalFunction;
        QTest::newRow("read 0") << hex("03 00 00 00 00") << ModbusException::IllegalDataValue;
        QTest::newRow("read 126") << hex("03 00 00 00 7E") << ModbusException::IllegalDataValue;
        QTest::newRow("read past FFFF") << hex("03 FF FF 00 02") << ModbusException::IllegalDataAddress;
        QTest::newRow("write many count lies") << hex("10 00 00 00 02 02 00 01") << ModbusException::IllegalDataValue;
        QTest::newRow("write many 124") << QByteArray(hex("10 00 00 00 7C F8") + QByteArray(248, '\0'))
                                        << ModbusException::IllegalDataValue;
        QTest::newRow("write one ok") << hex("06 00 00 00 01") << ModbusException::None;
    }
    void requestRefusals()
    {
        QFETCH(QByteArray, pdu);
        QFETCH(ModbusException, exception);
        const ModbusParsedRequest parsed = ModbusPdu::decodeRequest(pdu);
        QCOMPARE(parsed.exception, exception);
        QCOMPARE(parsed.request.has_value(), exception == ModbusException::None);
        QCOMPARE(parsed.functionByte, quint8(pdu[0]));
        if (!parsed.request) {
            // The refusal a slave sends back carries the function with bit 7.
            QCOMPARE(ModbusPdu::encodeException(parsed.functionByte, exception),
                QByteArray(1, char(quint8(pdu[0]) | 0x80)) + char(exception));
        }
    }
    void serialFormat_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("valid");
        QTest::addColumn<int>("bits");
        QTest::addColumn<int>("silence"); // RTU: 3.5 characters of whole microseconds
        QTest::newRow("rtu even") << "19200,E,8,1" << true << 11 << 2005;
        QTest::newRow("rtu none two stops") << "9600,N,8,2" << true << 11 << 4011;
        QTest::newRow("ascii lower case") << "19200,o,7,1" << true << 10 << 1823;
        QTest::newRow("blanks") << " 4800 , E , 8 , 1 " << true << 11 << 8022;
        QTest::newRow("38400: fixed silence") << "38400,E,8,1" << true << 11 << 1750;
        QTest::newRow("no stop bits") << "19200,E,8" << false << 0 << 0;
        QTest::newRow("parity X") << "19200,X,8,1" << false << 0 << 0;
        QTest::newRow("nine bits") << "19200,E,9,1" << false << 0 << 0;
        QTest::newRow("zero baud") << "0,E,8,1" << false << 0 << 0;
    }
    void serialFormat()
    {
        QFETCH(QString, text);
        const auto format = SerialFormat::parse(text);
        QTEST(format.has_value(), "valid");
        if (!format)
            return;
        QTEST(format->bitsPerCharacter(), "bits");
        QCOMPARE(SerialFormat::parse(format->toString()), format);
        QTEST(int(RtuTransport().frameSilence(*format).count()), "silence");
        // Framings that carry their own boundaries need no silence.
        QCOMPARE(AsciiTransport().frameSilence(*format).count(), 0);
        QCOMPARE(TcpTransport().frameSilence(*format).count(), 0);
    }
};

} // namespace Frames

// The Modbus master against the simulated drive, in this process, over a
// pseudo-terminal (RTU, ASCII) and loopback TCP: reads, writes, refusals and
// every failure code, the failures made by the drive's misbehaviours.
namespace Master {

using Framing = ModbusTransport::Framing;
using Kind = Sim::Misbehaviour::Kind;

namespace {

constexpr quint8 kNode = 17;

// A master set up for one simulated drive (range check off, so any value
// can be written), port open.
struct Link
{
    explicit Link(Framing framing, const QString &settings = QStringLiteral("19200,E,8,1"), int pieces = 1)
    {
        Sim::SimOptions options;
        options.drive = {QStringLiteral("02"), QStringLiteral("05"), QStringLiteral("120")};
        options.framing = framing == Framing::Ascii ? Sim::SimOptions::Framing::Ascii : Sim::SimOptions::Framing::Rtu;
        options.settings = *SerialFormat::parse(settings);
        options.rangeCheck = false;
        options.answerPieces = pieces;
        options.tcpHost = QHostAddress::LocalHost;
        QString error;
        drive = Sim::SimDrive::create(Test::builtCatalogue(), options, kNode, &error);
        if (!drive)
            qFatal("%s", qPrintable(error));
        if (framing == Framing::Tcp) {
            tcp = std::make_unique<Sim::TcpLink>(QList<Sim::SimServer *> {&drive->server()}, options);
            tcp->listen(&error);
            wire = &tcp->wire();
            master.setConnectionTarget(QStringLiteral("tcp://") + tcp->address());
        } else {
            port.open(dir.filePath(QStringLiteral("qx")), &error);
            serial = std::make_unique<Sim::SerialLink>(drive->server(), options, port);
            wire = &serial->wire();
            master.setConnectionTarget(port.linkPath());
        }
        wire->setRecording(true);
        master.setNodeAddress(QString::number(kNode));
        master.setAsciiMode(framing == Framing::Ascii ? 1 : 0);
        master.setPortSettings(settings);
        master.setTimeOut(400);
        master.setPortOpen(true);
    }

    void misbehave(Kind kind, int exceptionCode = 4) { drive->server().setMisbehaviour({kind, quint8(exceptionCode)}); }

    QTemporaryDir dir;
    std::unique_ptr<Sim::SimDrive> drive;
    Sim::PtyPort port;
    std::unique_ptr<Sim::SerialLink> serial;
    std::unique_ptr<Sim::TcpLink> tcp;
    Sim::WireLog *wire = nullptr;
    ModbusMaster master;
};

} // namespace

class TestModbusMaster : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void requestOnTheWire_data()
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
    void requestOnTheWire()
    {
        QFETCH(Framing, framing);
        QFETCH(int, function);
        QFETCH(int, startRegister);
        QFETCH(int, count);
        QFETCH(QList<qint16>, values);
        QFETCH(QByteArray, wire);
        Link link(framing);
        for (int i = 0; i < values.size(); ++i)
            link.master.setRegisterValue(i, values[i]);
        runTransaction(link.master, function, startRegister, count); // the drive has no register 108: refused
        QCOMPARE(link.wire->requests(), QList<QByteArray> {wire});
    }
    void writesAndReadsSignedValues_data()
    {
        QTest::addColumn<Framing>("framing");
        QTest::addColumn<int>("function");
        QTest::addColumn<QList<qint16>>("values");
        QTest::addColumn<int>("pieces"); // each answer written in this many pieces
        const QList<qint16> extremes {0, 27, -1, -32768, 32766};
        for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp}) {
            QTest::addRow("%s write", framingName(framing))
                << framing << int(ModbusMaster::WriteRegister) << QList<qint16> {-100} << 1;
            QTest::addRow("%s download, answers in 3", framingName(framing))
                << framing << int(ModbusMaster::DownloadRegisters) << extremes << 3;
            QTest::addRow("%s download, answers byte by byte", framingName(framing))
                << framing << int(ModbusMaster::DownloadRegisters) << extremes << 64;
        }
    }
    void writesAndReadsSignedValues()
    {
        QFETCH(Framing, framing);
        QFETCH(int, function);
        QFETCH(QList<qint16>, values);
        QFETCH(int, pieces);
        Link link(framing, QStringLiteral("19200,E,8,1"), pieces);
        for (int i = 0; i < values.size(); ++i)
            link.master.setRegisterValue(i, values[i]);
        QCOMPARE(runTransaction(link.master, function, 1793, int(values.size())), 0);
        // Read back through the master: the values it wrote.
        for (int i = 0; i < values.size(); ++i)
            link.master.setRegisterValue(i, 0);
        QCOMPARE(runTransaction(link.master, ModbusMaster::ReadRegisters, 1793, int(values.size())), 0);
        for (int i = 0; i < values.size(); ++i)
            QCOMPARE(link.master.registerValue(i), values[i]);

        // A read at an offset lands there and leaves the values before it:
        // the drive's series and model numbers.
        QCOMPARE(runTransaction(link.master, ModbusMaster::ReadRegisters, 2346, 2, 10), 0);
        QCOMPARE(link.master.registerValue(10), qint16(2));
        QCOMPARE(link.master.registerValue(11), qint16(5));
        QCOMPARE(link.master.registerValue(0), values[0]);
    }
    void failures_data()
    {
        QTest::addColumn<Framing>("framing");
        QTest::addColumn<Kind>("kind");
        QTest::addColumn<int>("function");
        QTest::addColumn<int>("result");
        const int read = ModbusMaster::ReadRegisters;
        const int write = ModbusMaster::WriteRegister;
        const int download = ModbusMaster::DownloadRegisters;
        // The answer checks are the framing's own; each framing shows it reaches them.
        QTest::newRow("rtu exception 2") << Framing::Rtu << Kind::Exception << read << 2;
        QTest::newRow("rtu exception 4 on write") << Framing::Rtu << Kind::Exception << write << 4;
        QTest::newRow("rtu time-out") << Framing::Rtu << Kind::Silent << read << 300;
        QTest::newRow("rtu bad check") << Framing::Rtu << Kind::BadCheck << read << 301;
        QTest::newRow("rtu other node") << Framing::Rtu << Kind::OtherNode << read << 302;
        QTest::newRow("rtu short frame") << Framing::Rtu << Kind::Short << read << 303;
        QTest::newRow("rtu noise") << Framing::Rtu << Kind::Noise << read << 304;
        // A peer sending bytes without end: no answer is longer than the
        // longest frame, so the rest is garbage and the answer garbled.
        QTest::newRow("rtu flood") << Framing::Rtu << Kind::Flood << read << 304;
        QTest::newRow("rtu wrong function") << Framing::Rtu << Kind::WrongFunction << read << 305;
        QTest::newRow("rtu echo mismatch") << Framing::Rtu << Kind::EchoMismatch << write << 306;
        QTest::newRow("rtu download echo mismatch") << Framing::Rtu << Kind::EchoMismatch << download << 306;
        QTest::newRow("ascii bad check") << Framing::Ascii << Kind::BadCheck << read << 301;
        QTest::newRow("ascii other node") << Framing::Ascii << Kind::OtherNode << read << 302;
        QTest::newRow("ascii noise") << Framing::Ascii << Kind::Noise << read << 304;
        QTest::newRow("ascii flood") << Framing::Ascii << Kind::Flood << read << 304;
        QTest::newRow("tcp exception 3") << Framing::Tcp << Kind::Exception << read << 3;
        QTest::newRow("tcp time-out") << Framing::Tcp << Kind::Silent << write << 300;
        QTest::newRow("tcp other unit") << Framing::Tcp << Kind::OtherNode << read << 302;
        QTest::newRow("tcp short") << Framing::Tcp << Kind::Short << read << 303;
        QTest::newRow("tcp wrong function") << Framing::Tcp << Kind::WrongFunction << read << 305;
        // An answer to an earlier transaction ahead of the right one is dropped.
        QTest::newRow("tcp stale answer") << Framing::Tcp << Kind::StaleTransaction << read << 0;
    }
    void failures()
    {
        QFETCH(Framing, framing);
        QFETCH(Kind, kind);
        QFETCH(int, function);
        QFETCH(int, result);
        Link link(framing);
        link.misbehave(kind, result);
        link.master.setRegisterValue(0, 1234);
        QSignalSpy done(&link.master, &ModbusMaster::done);
        QCOMPARE(runTransaction(link.master, function, 1793), result);
        QCOMPARE(done.size(), 1);
        QVERIFY(!link.master.busy());
        // A failed read leaves the values as they were.
        if (result != 0)
            QCOMPARE(link.master.registerValue(0), qint16(1234));
        QVERIFY(!ModbusMaster::resultText(result).isEmpty());

        // The link still works for the next transaction.
        if (kind == Kind::Flood)
            QTest::qWait(700); // the rest of the flood
        link.misbehave(Kind::None);
        link.master.setFunctionCode(ModbusMaster::ReadRegisters);
        link.master.setStartRegister(2346);
        link.master.trigger();
        // The polling read looks at the code right after the trigger: it still
        // shows the previous transaction's outcome.
        QCOMPARE(link.master.resultCode(), result);
        link.master.waitWhileBusy();
        QCOMPARE(link.master.resultCode(), 0);
        QCOMPARE(link.master.registerValue(0), qint16(2));
    }
    void lineSettings_data()
    {
        QTest::addColumn<Framing>("framing");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("quietMicros"); // at least
        // RTU: 3.5 characters; ASCII frames need no gap. A pseudo-terminal
        // keeps neither parity nor 7-bit characters, but one refused setting
        // must not keep the others off.
        QTest::newRow("rtu 1200,E,8,1") << Framing::Rtu << "1200,E,8,1" << 32084;
        QTest::newRow("rtu 9600,O,8,2") << Framing::Rtu << "9600,O,8,2" << 4375;
        QTest::newRow("ascii 1200,E,7,2") << Framing::Ascii << "1200,E,7,2" << 0;
    }
    void lineSettings()
    {
        QFETCH(Framing, framing);
        QFETCH(QString, settings);
        QFETCH(int, quietMicros);
        Link link(framing, settings);
        const SerialFormat format = *SerialFormat::parse(settings);
        QCOMPARE(link.port.appliedFormat().baud, format.baud);
        QCOMPARE(link.port.appliedFormat().stopBits, format.stopBits);
        for (int i = 0; i < 4; ++i)
            QCOMPARE(runTransaction(link.master, ModbusMaster::ReadRegisters, 1), 0);
        const QList<qint64> quiet = link.wire->quietBeforeRequest();
        QCOMPARE(quiet.size(), 3);
        for (qint64 us : quiet)
            QVERIFY2(us >= quietMicros, qPrintable(QStringLiteral("%1 us quiet").arg(us)));
        // Nothing holds an ASCII request back: far below an RTU gap at this speed.
        if (quietMicros == 0)
            QVERIFY(*std::min_element(quiet.begin(), quiet.end()) < 32084);
        // Changing the settings of an open port applies them at once.
        link.master.setPortSettings(QStringLiteral("38400,N,8,1"));
        QCOMPARE(link.port.appliedFormat().baud, 38400);
    }
    void refusedTriggers_data()
    {
        QTest::addColumn<QString>("node");
        QTest::addColumn<int>("function");
        QTest::addColumn<int>("startRegister");
        QTest::addColumn<int>("count");
        QTest::addColumn<int>("offset");
        QTest::newRow("node not a number") << "1a" << 2 << 1 << 1 << 0;
        QTest::newRow("node 248") << "248" << 5 << 1 << 1 << 0;
        QTest::newRow("register 0") << "17" << 2 << 0 << 1 << 0;
        QTest::newRow("read past the address space") << "17" << 2 << 65536 << 2 << 0;
        QTest::newRow("count 126") << "17" << 2 << 1 << 126 << 0;
        QTest::newRow("download count 124") << "17" << 7 << 1 << 124 << 0;
        QTest::newRow("offset past the values") << "17" << 2 << 1 << 10 << 250;
        QTest::newRow("function 3") << "17" << 3 << 1 << 1 << 0;
    }
    void refusedTriggers()
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
        QVERIFY(link.wire->requests().isEmpty());
    }
    void doneComesFromTheEventLoop()
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
        QCOMPARE(link.wire->requests().size(), 1);

        // Closing the port ends a transaction still waiting, at once.
        link.misbehave(Kind::Silent);
        link.master.setTimeOut(10000);
        link.master.trigger();
        QVERIFY(link.master.busy());
        link.master.setPortOpen(false);
        QVERIFY(!link.master.busy());
        QCOMPARE(done.size(), 2);
        QCOMPARE(link.master.resultCode(), int(ModbusMaster::LinkLost));
        // Not open: refused as well.
        link.master.trigger();
        QCOMPARE(link.master.resultCode(), -1);
        QCOMPARE(done.size(), 2);
    }
    void droppedConnectionIsLinkLost_data()
    {
        QTest::addColumn<bool>("pending");
        QTest::newRow("while a read waits") << true;
        QTest::newRow("between transactions") << false;
    }
    void droppedConnectionIsLinkLost()
    {
        QFETCH(bool, pending);
        Link link(Framing::Tcp);
        QCOMPARE(runTransaction(link.master, ModbusMaster::ReadRegisters, 1), 0);
        if (pending) {
            link.misbehave(Kind::Silent);
            link.master.setTimeOut(10000);
            link.master.trigger();
        }
        link.tcp->dropConnections();
        if (pending) {
            link.master.waitWhileBusy();
            QCOMPARE(link.master.resultCode(), int(ModbusMaster::LinkLost));
        } else {
            QTest::qWait(200); // the loss arrives with no transaction pending
        }
        // Kept for whoever triggers next, as a silent drive's time-out would be.
        QVERIFY(link.master.portOpen());
        QCOMPARE(runTransaction(link.master, ModbusMaster::ReadRegisters, 1), int(ModbusMaster::LinkLost));
        QVERIFY(link.master.portOpen());
        link.master.setPortOpen(false);
        QVERIFY(!link.master.portOpen());
        link.misbehave(Kind::None);
        link.master.setPortOpen(true);
        QCOMPARE(runTransaction(link.master, ModbusMaster::ReadRegisters, 1), 0);
    }
    // A port that cannot be opened raises 380 naming what was tried, and
    // stays closed: Com 2 missing, then targets in the port index's place.
    void openRefusedRaises380()
    {
        Link link(Framing::Rtu);
        QTcpServer closed;
        QVERIFY(closed.listen(QHostAddress::LocalHost));
        const QString nobodyListening = QStringLiteral("tcp://127.0.0.1:%1").arg(closed.serverPort());
        closed.close();
        ModbusMaster other;
        other.setPortMap(PortMap({"/dev/tarvel-none-1", "/dev/tarvel-none-2"}));
        other.setCommPort(1);
        for (const QString &target : {QStringLiteral("/dev/tarvel-none-2"), link.port.linkPath(),
                 QStringLiteral("/dev/tarvel-none-3"), nobodyListening}) {
            if (target != QLatin1String("/dev/tarvel-none-2"))
                other.setConnectionTarget(target);
            const TrappedError e = raised([&] { other.setPortOpen(true); });
            QCOMPARE(e.number(), 380);
            QVERIFY2(e.description().contains(target), qPrintable(e.description()));
            QVERIFY(!other.portOpen());
        }
        QVERIFY(link.master.portOpen()); // the port held by the link
    }
    void propertyErrors()
    {
        ModbusMaster master;
        QCOMPARE(raised([&] { master.setPortSettings(QStringLiteral("19200,Even,8,1")); }).number(), 380);
        QCOMPARE(master.portSettings(), QStringLiteral("19200,E,8,1"));
        QCOMPARE(raised([&] { master.setCommPort(PortMap::Count); }).number(), 380);
        QCOMPARE(raised([&] { master.setRegisterValue(ModbusMaster::ValueSlots - 1, 7); }).number(), 0);
        QCOMPARE(master.registerValue(ModbusMaster::ValueSlots - 1), qint16(7));
        QCOMPARE(raised([&] { master.registerValue(ModbusMaster::ValueSlots); }).number(), 381);
        QCOMPARE(raised([&] { master.setRegisterValue(-1, 0); }).number(), 381);
    }
};

} // namespace Master

// Port names of the link settings and the device paths they lead to.
namespace Ports {

class TestPortMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase()
    {
        QVERIFY(m_settingsDir.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
        QCoreApplication::setOrganizationName(QStringLiteral("TarvelTest"));
        QCoreApplication::setApplicationName(QStringLiteral("tst_portmap"));
    }
    void cleanup()
    {
        QSettings().clear();
        qunsetenv("TARVEL_PORTS");
    }
    void defaults()
    {
        const PortMap map;
        QCOMPARE(map.target(0), QStringLiteral("/dev/ttyS0"));
        QCOMPARE(map.target(5), QStringLiteral("/dev/ttyS5"));
        QCOMPARE(map.target(6), QString());
        QCOMPARE(map.target(-1), QString());
        QCOMPARE(map.displayName(2), QStringLiteral("Com 3 (/dev/ttyS2)"));
        QCOMPARE(PortMap::portName(0), QStringLiteral("Com 1"));
    }
    void settingThenEnvironment()
    {
        QSettings().setValue(QStringLiteral("ports/Com 1"), QStringLiteral("/dev/ttyUSB0"));
        QSettings().setValue(QStringLiteral("ports/Com 2"), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(PortMap().displayName(0), QStringLiteral("Com 1 (/dev/ttyUSB0)"));
        QCOMPARE(PortMap().target(1), QStringLiteral("/dev/ttyUSB1"));

        // The environment wins; an empty entry keeps the setting, a missing one too.
        qputenv("TARVEL_PORTS", "/dev/pts/7::tcp://127.0.0.1:1502");
        const PortMap map;
        QCOMPARE(map.target(0), QStringLiteral("/dev/pts/7"));
        QCOMPARE(map.target(1), QStringLiteral("/dev/ttyUSB1"));
        QCOMPARE(map.target(2), QStringLiteral("tcp://127.0.0.1:1502"));
        QCOMPARE(map.target(3), QStringLiteral("/dev/ttyS3"));
        QCOMPARE(map.displayName(2), QStringLiteral("Com 3 (tcp://127.0.0.1:1502)"));
    }
    void splitList_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("parts");
        QTest::newRow("empty") << "" << QStringList();
        QTest::newRow("one") << "/dev/ttyUSB0" << QStringList {"/dev/ttyUSB0"};
        QTest::newRow("two") << "/dev/a:/dev/b" << QStringList {"/dev/a", "/dev/b"};
        QTest::newRow("gap") << "/dev/a::/dev/c" << QStringList {"/dev/a", "", "/dev/c"};
        QTest::newRow("tcp keeps its colon")
            << "tcp://localhost:1502:/dev/b" << QStringList {"tcp://localhost:1502", "/dev/b"};
        QTest::newRow("tcp last") << "/dev/a:tcp://127.0.0.1:502" << QStringList {"/dev/a", "tcp://127.0.0.1:502"};
        QTest::newRow("trailing colon") << "/dev/a:" << QStringList {"/dev/a", ""};
    }
    void splitList()
    {
        QFETCH(QString, value);
        QTEST(PortMap::splitList(value), "parts");
    }
    void byName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<QString>("target"); // empty: no port of that name
        for (const auto &[name, target] : std::initializer_list<std::pair<const char *, const char *>> {
                 {"Com 3", "/dev/c"}, {"COM3", "/dev/c"}, {"  com 1 ", "/dev/a"}, {"/dev/ttyACM0", "/dev/ttyACM0"},
                 {"tcp://10.0.0.5:502", "tcp://10.0.0.5:502"}, {"Com 7", ""}, {"Com 0", ""}, {"Ethernet", ""}})
            QTest::newRow(name) << QString::fromLatin1(name) << QString::fromLatin1(target);
    }
    void byName()
    {
        QFETCH(QString, name);
        const PortMap map({"/dev/a", "/dev/b", "/dev/c"});
        QTEST(map.target(name), "target");
    }

private:
    QTemporaryDir m_settingsDir;
};

} // namespace Ports

// The status word in words, the status-bar text, where each polling answer
// lands in the shared drive values and the setting lists of the catalogue.
// No drive needed.
namespace Status {

namespace {

// Register values of a read: value i is base + i.
DriveValues::ValueAt counting(int base)
{
    return [base](int i) { return qint16(base + i); };
}

} // namespace

class TestDriveStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<QStringList>("texts"); // run state, jog state, direction
        QTest::newRow("0 stopped") << 0 << QStringList {"STOP", " ", "FWD"};
        QTest::newRow("1 run to stop") << 1 << QStringList {"Run To Stop Transition", " ", "FWD"};
        QTest::newRow("2 standby") << 2 << QStringList {"Standby", " ", "FWD"};
        QTest::newRow("27 run reverse") << 27 << QStringList {"RUN", " ", "REV"};
        QTest::newRow("7 jog") << 7 << QStringList {"RUN", "JOG Active", "FWD"};
        QTest::newRow("8 rev to fwd") << 8 << QStringList {"STOP", " ", "Rev To Fwd Transition"};
        QTest::newRow("17 fwd to rev") << 17 << QStringList {"Run To Stop Transition", " ", "Fwd To Rev Transition"};
        QTest::newRow("high bits ignored") << (0x7FE0 | 3) << QStringList {"RUN", " ", "FWD"};
        QTest::newRow("negative word") << -1 << QStringList {"RUN", "JOG Active", "REV"};
    }
    void decode()
    {
        QFETCH(int, word);
        const DriveStatusText::Decoded d = DriveStatusText::decode(qint16(word));
        QTEST((QStringList {d.runState, d.jogState, d.direction}), "texts");
    }
    void panel2_data()
    {
        QTest::addColumn<int>("word");
        QTest::addColumn<QString>("text");
        QTest::newRow("27") << 27 << "Drive Status - RUN, REV     ";
        QTest::newRow("jog") << 7 << "Drive Status - RUN, FWD    JOG Active";
    }
    void panel2()
    {
        QFETCH(int, word);
        QTEST(DriveStatusText::panel2(DriveStatusText::decode(qint16(word))), "text");
    }
    void storeStatusBlock()
    {
        AppState state;
        state.strDriveRev = QStringLiteral("104");
        // The status word alone: the values after it are neither read nor changed.
        QVERIFY(DriveValues::store(state, DriveValues::StatusBlock, 1, counting(3)));
        QCOMPARE(state.DriveRunState, QStringLiteral("RUN"));
        QCOMPARE(state.strDriveRev, QStringLiteral("104"));
        QCOMPARE(state.StatusValues[0], qint16(0));
        QCOMPARE(state.PidValues[11], 0.0f);

        // Value 0 is the status word 27, 1..15 count up from 101, 15 is the revision.
        const auto values = [](int i) { return qint16(i == 0 ? 27 : i == 15 ? 120 : 100 + i); };
        QVERIFY(DriveValues::store(state, DriveValues::StatusBlock, 16, values));
        QCOMPARE(state.DriveStatusWord, qint16(27));
        QCOMPARE(state.DriveRunState, QStringLiteral("RUN"));
        QCOMPARE(state.DriveDirection, QStringLiteral("REV"));
        QCOMPARE(state.DriveJogState, QStringLiteral(" "));
        QCOMPARE(state.strDriveRev, QStringLiteral("120"));
        for (int k = 0; k < 14; ++k)
            QCOMPARE(state.StatusValues[k], qint16(101 + k));
        QCOMPARE(state.StatusValues[14], qint16(120));
        QCOMPARE(state.StatusValues[16], qint16(0)); // ST00.18 is not in the serial block
        QCOMPARE(state.PidValues[11], 112.0f); // ST00.13, the PID feedback
    }
    void storeOthers_data()
    {
        QTest::addColumn<int>("start");
        QTest::addColumn<int>("count");
        QTest::addColumn<bool>("stored");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("model");
        QTest::addColumn<int>("fault");
        QTest::addColumn<QList<float>>("pid"); // PidValues 0, 1, 2, 10
        QTest::addColumn<QList<float>>("gains");
        const QString nc = QStringLiteral("Not Connected");
        const QList<float> zero3 {0, 0, 0};
        const QList<float> zero4 {0, 0, 0, 0};
        QTest::newRow("identity") << 2346 << 2 << true << "7"
                                  << "8" << 0 << zero4 << zero3;
        QTest::newRow("identity, series only") << 2346 << 1 << true << "7" << nc << 0 << zero4 << zero3;
        QTest::newRow("fault") << 8449 << 1 << true << nc << nc << 7 << zero4 << zero3;
        QTest::newRow("PID block") << 1793 << 11 << true << nc << nc << 0 << QList<float> {7, 8, 9, 17} << zero3;
        QTest::newRow("P7.00 alone") << 1793 << 1 << true << nc << nc << 0 << QList<float> {7, 0, 0, 0} << zero3;
        QTest::newRow("PID setpoint") << 1803 << 1 << true << nc << nc << 0 << QList<float> {0, 0, 0, 7} << zero3;
        QTest::newRow("PID gains") << 1813 << 3 << true << nc << nc << 0 << zero4 << QList<float> {7, 8, 9};
        QTest::newRow("other register") << 2347 << 2 << false << nc << nc << 0 << zero4 << zero3;
        QTest::newRow("link test") << 1 << 1 << false << nc << nc << 0 << zero4 << zero3;
    }
    void storeOthers()
    {
        QFETCH(int, start);
        QFETCH(int, count);
        AppState state;
        QTEST(DriveValues::store(state, start, count, counting(7)), "stored");
        QTEST(state.strDriveSeries, "series");
        QTEST(state.strDriveModel, "model");
        QFETCH(int, fault);
        QCOMPARE(state.DriveFaultCode, qint16(fault));
        QTEST((QList<float> {state.PidValues[0], state.PidValues[1], state.PidValues[2], state.PidValues[10]}), "pid");
        QTEST((QList<float> {state.PidGains[0], state.PidGains[1], state.PidGains[2]}), "gains");
        QCOMPARE(state.DriveStatusWord, qint16(0));
    }
    // The Ethernet route's items, one value each, land where the serial
    // polling's blocks put them.
    void storeItem_data()
    {
        QTest::addColumn<int>("reg");
        QTest::addColumn<QString>("where");
        QTest::newRow("ST00.00") << 8449 << "fault";
        QTest::newRow("ST00.01") << 8450 << "word";
        QTest::newRow("ST00.04") << 8453 << "status 2";
        QTest::newRow("ST00.13") << 8462 << "status 11 pid 11";
        QTest::newRow("ST00.16") << 8465 << "status 14 rev";
        QTest::newRow("ST00.18") << 8467 << "status 16";
        QTest::newRow("P9.41") << 2346 << "series";
        QTest::newRow("P9.42") << 2347 << "model";
        QTest::newRow("P7.01") << 1794 << "pid 1";
        QTest::newRow("P7.21") << 1814 << "gain 1";
        QTest::newRow("ST00.17") << 8466 << "";
    }
    void storeItem()
    {
        QFETCH(int, reg);
        QFETCH(QString, where);
        AppState state;
        const bool stored = DriveValues::storeItem(state, reg, 7);
        QStringList found;
        if (state.DriveFaultCode == 7)
            found << "fault";
        if (state.DriveStatusWord == 7)
            found << "word";
        for (size_t k = 0; k < state.StatusValues.size(); ++k)
            found << (state.StatusValues[k] == 7 ? QStringLiteral("status %1").arg(k) : QString());
        for (size_t k = 0; k < state.PidValues.size(); ++k)
            found << (state.PidValues[k] == 7 ? QStringLiteral("pid %1").arg(k) : QString());
        for (size_t k = 0; k < state.PidGains.size(); ++k)
            found << (state.PidGains[k] == 7 ? QStringLiteral("gain %1").arg(k) : QString());
        for (const auto &[text, name] :
            {std::pair {state.strDriveSeries, "series"}, {state.strDriveModel, "model"}, {state.strDriveRev, "rev"}})
            found << (text == "7" ? QString::fromLatin1(name) : QString());
        found.removeAll(QString());
        QCOMPARE(found.join(u' '), where);
        QCOMPARE(stored, !where.isEmpty());
    }
    void comSetLists()
    {
        Catalogue catalogue(Test::builtCatalogue());
        catalogue.connect();
        const ComSetTable table = ComSetTable::read(catalogue);
        QCOMPARE(table.ports, (QStringList {"Com 1", "Com 2", "Com 3", "Com 4"}));
        QCOMPARE(table.speeds, (QStringList {"4800", "9600", "19200", "38400"}));
        QCOMPARE(table.protocols,
            (QStringList {
                "7, N, 2, ASCII", "7, E, 1, ASCII", "7, O, 1, ASCII", "8, N, 2, RTU", "8, E, 1, RTU", "8, O, 1, RTU"}));
        QCOMPARE(table.defaultPort, 0);
        QCOMPARE(table.defaultSpeed, 2);
        QCOMPARE(table.defaultProtocol, 4);
        QCOMPARE(table.defaultAddress, QStringLiteral("1"));
        // The code relies on the list order, not the descriptions.
        for (int i = 0; i < 6; ++i) {
            const QString settings = ComSetTable::portSettings(QStringLiteral("9600"), i);
            QCOMPARE(settings.section(u',', 3, 3), table.protocols.at(i).section(QStringLiteral(", "), 2, 2));
            QCOMPARE(settings.section(u',', 1, 1), table.protocols.at(i).section(QStringLiteral(", "), 1, 1));
            QCOMPARE(ComSetTable::Protocols[i].asciiMode == 1, table.protocols.at(i).endsWith(QLatin1String("ASCII")));
        }
    }
};

} // namespace Status

// The bus monitor's names for registers and its reading of their values.
namespace Monitor {

class TestBusMonitor : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void names_data()
    {
        QTest::addColumn<QString>("name"); // as typed into the filter
        QTest::addColumn<int>("reg"); // 0: no such name
        QTest::addColumn<QString>("shown"); // the register's name in the lines
        QTest::newRow("parameter") << "P9.41" << 2346 << "P9.41";
        QTest::newRow("lower case") << "p1.03" << 260 << "P1.03";
        QTest::newRow("group 10") << "P10.05" << 2566 << "P10.05";
        QTest::newRow("status") << "st00.13" << 8462 << "ST00.13";
        QTest::newRow("status, short") << "ST0.3" << 8452 << "ST00.03";
        QTest::newRow("register") << "8449" << 8449 << "ST00.00";
        QTest::newRow("register R") << "R1" << 1 << "P0.00";
        QTest::newRow("outside the plan") << "400" << 400 << "R400";
        QTest::newRow("no group 11") << "P11.00" << 0 << "";
        QTest::newRow("no ST00.19") << "ST00.19" << 0 << "";
        QTest::newRow("words") << "speed" << 0 << "";
    }

    void names()
    {
        QFETCH(QString, name);
        QFETCH(int, reg);
        QCOMPARE(BusMonitor::registerOf(name).value_or(0), reg);
        if (reg)
            QTEST(BusMonitor::registerName(reg), "shown");
    }

    void values_data()
    {
        QTest::addColumn<bool>("loaded"); // the drive's configuration is loaded
        QTest::addColumn<int>("start");
        QTest::addColumn<QList<qint16>>("values");
        QTest::addColumn<QString>("decoded");
        QTest::newRow("parameter, resolution 0.1") << true << 260 << QList<qint16> {600} << "P1.03=60";
        QTest::newRow("parameter, no configuration") << false << 260 << QList<qint16> {600} << "P1.03=600";
        QTest::newRow("status in tenths") << false << 8451 << QList<qint16> {500, -123} << "ST00.02=50 ST00.03=-12.3";
        QTest::newRow("speed, hundredths") << false << 8456 << QList<qint16> {1450, 5000} << "ST00.07=1450 ST00.08=50";
        QTest::newRow("unknown register") << true << 9000 << QList<qint16> {7} << "R9000=7";
    }

    void values()
    {
        QFETCH(bool, loaded);
        QFETCH(int, start);
        QFETCH(QList<qint16>, values);
        Test::TempProgram program;
        if (loaded)
            QVERIFY(Test::loadDrive(program.ctx(), {"02", "05", "120"}));
        BusTransaction t;
        t.startRegister = start;
        t.count = int(values.size());
        t.values = values;
        QTEST(BusMonitor(program.ctx()).decodedValues(t), "decoded");
    }
};

} // namespace Monitor

TARVEL_TEST_GUILESS_MAIN(Frames::TestModbusFraming, Master::TestModbusMaster, Ports::TestPortMap,
    Status::TestDriveStatus, Monitor::TestBusMonitor)
#include "tst_comm.moc"
