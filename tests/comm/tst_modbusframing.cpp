// Modbus framing: check values against published frames, both directions
// through all three transports, frames arriving in pieces, and line noise.
#include "comm/AsciiTransport.h"
#include "comm/ModbusCrc.h"
#include "comm/ModbusPdu.h"
#include "comm/RtuTransport.h"
#include "comm/SerialFormat.h"
#include "comm/TcpTransport.h"

#include <QtTest>

using namespace Tarvel;
using Framing = ModbusTransport::Framing;
using ScanState = ModbusTransport::ScanState;

Q_DECLARE_METATYPE(Tarvel::ModbusRequest)
Q_DECLARE_METATYPE(Tarvel::ModbusTransport::Framing)
Q_DECLARE_METATYPE(Tarvel::ModbusException)
Q_DECLARE_METATYPE(Tarvel::ModbusReply::Status)
Q_DECLARE_METATYPE(Tarvel::ModbusTransport::ScanState)
Q_DECLARE_METATYPE(Tarvel::ModbusTransport::DecodeError)
Q_DECLARE_METATYPE(Tarvel::ModbusDirection)

namespace {

QByteArray hex(const char *text)
{
    return QByteArray::fromHex(QByteArray(text).replace(' ', ""));
}

} // namespace

class TestModbusFraming : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void crcOfPublishedFrames_data();
    void crcOfPublishedFrames();
    void lrcOfPublishedFrames_data();
    void lrcOfPublishedFrames();
    void publishedRequestFrames_data();
    void publishedRequestFrames();
    void bothDirections_data();
    void bothDirections();
    void framesArriveInPieces_data();
    void framesArriveInPieces();
    void backToBackFrames_data();
    void backToBackFrames();
    void lineNoise_data();
    void lineNoise();
    void responseChecks_data();
    void responseChecks();
    void requestRefusals_data();
    void requestRefusals();
    void serialFormat_data();
    void serialFormat();
    void rtuSilence_data();
    void rtuSilence();
};

void TestModbusFraming::crcOfPublishedFrames_data()
{
    QTest::addColumn<QByteArray>("frame"); // body followed by its CRC as sent
    QTest::newRow("read 10 from 0") << hex("01 03 00 00 00 0A C5 CD");
    QTest::newRow("read 1 from 0") << hex("01 03 00 00 00 01 84 0A");
    QTest::newRow("read 3 from 6B") << hex("11 03 00 6B 00 03 76 87");
    QTest::newRow("serial-line appendix") << hex("02 07 41 12");
    QTest::newRow("read answer") << hex("11 03 06 AE 41 56 52 43 40 49 AD");
    QTest::newRow("write single") << hex("11 06 00 01 00 03 9A 9B");
    QTest::newRow("write multiple") << hex("11 10 00 01 00 02 04 00 0A 01 02 C6 F0");
    QTest::newRow("write multiple answer") << hex("11 10 00 01 00 02 12 98");
}

void TestModbusFraming::crcOfPublishedFrames()
{
    QFETCH(QByteArray, frame);
    const quint16 crc = ModbusCrc::crc16(frame.first(frame.size() - 2));
    QCOMPARE(crc & 0xFF, quint8(frame[frame.size() - 2]));
    QCOMPARE(crc >> 8, quint8(frame[frame.size() - 1]));
    // The CRC over a frame including its own CRC is zero: the receiver's check.
    QCOMPARE(ModbusCrc::crc16(frame), quint16(0));
}

void TestModbusFraming::lrcOfPublishedFrames_data()
{
    QTest::addColumn<QByteArray>("body");
    QTest::addColumn<int>("lrc");
    QTest::newRow("read 3 from 6B") << hex("11 03 00 6B 00 03") << 0x7E;
    QTest::newRow("read 10 from 1389") << hex("F7 03 13 89 00 0A") << 0x60;
    QTest::newRow("sum wraps to zero") << hex("80 80") << 0x00;
}

void TestModbusFraming::lrcOfPublishedFrames()
{
    QFETCH(QByteArray, body);
    QFETCH(int, lrc);
    QCOMPARE(int(ModbusCrc::lrc(body)), lrc);
}

void TestModbusFraming::publishedRequestFrames_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<QByteArray>("wire");
    QTest::newRow("rtu") << Framing::Rtu << hex("11 03 00 6B 00 03 76 87");
    QTest::newRow("ascii") << Framing::Ascii << QByteArray(":1103006B00037E\r\n");
    QTest::newRow("tcp") << Framing::Tcp << hex("00 01 00 00 00 06 11 03 00 6B 00 03");
}

void TestModbusFraming::publishedRequestFrames()
{
    QFETCH(Framing, framing);
    QFETCH(QByteArray, wire);
    const auto transport = ModbusTransport::create(framing);
    const ModbusRequest request = ModbusPdu::readHoldingRegisters(0x6B, 3);
    const ModbusAdu adu {0x11, ModbusPdu::encodeRequest(request), 1};
    QCOMPARE(transport->encode(adu), wire);

    const auto scan = transport->scan(wire, ModbusDirection::Request);
    QCOMPARE(scan.state, ScanState::Complete);
    QCOMPARE(scan.length, wire.size());
    const auto decoded = transport->decode(wire);
    QCOMPARE(decoded.error, ModbusTransport::DecodeError::None);
    QCOMPARE(decoded.adu.unit, quint8(0x11));
    QCOMPARE(ModbusPdu::decodeRequest(decoded.adu.pdu).request, std::optional(request));
}

void TestModbusFraming::bothDirections_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<ModbusRequest>("request");
    QTest::addColumn<QList<quint16>>("readValues");
    const QList<quint16> many {0x0000, 0x7FFE, 0x8000, 0xFFFF, 0x1234};
    QList<quint16> most;
    for (int i = 0; i < ModbusPdu::MaxReadCount; ++i)
        most.append(quint16(i * 517));
    for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp}) {
        const char *name = framing == Framing::Rtu ? "rtu" : framing == Framing::Ascii ? "ascii" : "tcp";
        QTest::addRow("%s read 5", name) << framing << ModbusPdu::readHoldingRegisters(8449, 5) << many;
        QTest::addRow("%s read 125", name) << framing << ModbusPdu::readHoldingRegisters(0, 125) << most;
        QTest::addRow("%s write one", name)
            << framing << ModbusPdu::writeSingleRegister(2345, 0xFF9C) << QList<quint16>();
        QTest::addRow("%s write five", name)
            << framing << ModbusPdu::writeMultipleRegisters(1792, many) << QList<quint16>();
    }
}

void TestModbusFraming::bothDirections()
{
    QFETCH(Framing, framing);
    QFETCH(ModbusRequest, request);
    QFETCH(QList<quint16>, readValues);
    const auto transport = ModbusTransport::create(framing);
    QVERIFY(ModbusPdu::isValid(request));

    // Master to slave.
    const QByteArray asked = transport->encode({7, ModbusPdu::encodeRequest(request), 0x4242});
    const auto scan = transport->scan(asked, ModbusDirection::Request);
    QCOMPARE(scan.state, ScanState::Complete);
    QCOMPARE(scan.length, asked.size());
    const auto received = transport->decode(asked);
    QCOMPARE(received.error, ModbusTransport::DecodeError::None);
    QCOMPARE(received.adu.unit, quint8(7));
    const auto parsed = ModbusPdu::decodeRequest(received.adu.pdu);
    QCOMPARE(parsed.exception, ModbusException::None);
    QCOMPARE(parsed.request, std::optional(request));

    // Slave back to master, same transaction number on TCP.
    const QByteArray answer
        = transport->encode({7, ModbusPdu::encodeResponse(*parsed.request, readValues), received.adu.transactionId});
    const auto back = transport->scan(answer, ModbusDirection::Response);
    QCOMPARE(back.state, ScanState::Complete);
    QCOMPARE(back.length, answer.size());
    const auto decoded = transport->decode(answer);
    QCOMPARE(decoded.error, ModbusTransport::DecodeError::None);
    if (framing == Framing::Tcp)
        QCOMPARE(decoded.adu.transactionId, quint16(0x4242));
    const ModbusReply reply = ModbusPdu::decodeResponse(decoded.adu.pdu, request);
    QCOMPARE(reply.status, ModbusReply::Status::Ok);
    QCOMPARE(reply.values, readValues);
}

void TestModbusFraming::framesArriveInPieces_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::addColumn<ModbusDirection>("direction");
    QTest::addColumn<QByteArray>("pdu");
    const QByteArray readAnswer = ModbusPdu::encodeResponse(ModbusPdu::readHoldingRegisters(0, 3), {1, 2, 3});
    const QByteArray writeMany = ModbusPdu::encodeRequest(ModbusPdu::writeMultipleRegisters(10, {4, 5}));
    const QByteArray refusal = ModbusPdu::encodeException(0x03, ModbusException::IllegalDataAddress);
    for (Framing framing : {Framing::Rtu, Framing::Ascii, Framing::Tcp}) {
        const char *name = framing == Framing::Rtu ? "rtu" : framing == Framing::Ascii ? "ascii" : "tcp";
        QTest::addRow("%s read answer", name) << framing << ModbusDirection::Response << readAnswer;
        QTest::addRow("%s write request", name) << framing << ModbusDirection::Request << writeMany;
        QTest::addRow("%s exception", name) << framing << ModbusDirection::Response << refusal;
    }
}

void TestModbusFraming::framesArriveInPieces()
{
    QFETCH(Framing, framing);
    QFETCH(ModbusDirection, direction);
    QFETCH(QByteArray, pdu);
    const auto transport = ModbusTransport::create(framing);
    const QByteArray wire = transport->encode({3, pdu, 9});
    QByteArray buffer;
    for (qsizetype i = 0; i + 1 < wire.size(); ++i) {
        buffer.append(wire[i]);
        QCOMPARE(transport->scan(buffer, direction).state, ScanState::NeedMore);
    }
    buffer.append(wire.back());
    const auto scan = transport->scan(buffer, direction);
    QCOMPARE(scan.state, ScanState::Complete);
    QCOMPARE(transport->decode(buffer.first(scan.length)).adu.pdu, pdu);
}

void TestModbusFraming::backToBackFrames_data()
{
    QTest::addColumn<Framing>("framing");
    QTest::newRow("rtu") << Framing::Rtu;
    QTest::newRow("ascii") << Framing::Ascii;
    QTest::newRow("tcp") << Framing::Tcp;
}

void TestModbusFraming::backToBackFrames()
{
    QFETCH(Framing, framing);
    const auto transport = ModbusTransport::create(framing);
    const QByteArray first = transport->encode({1, ModbusPdu::encodeRequest(ModbusPdu::readHoldingRegisters(0, 1)), 1});
    const QByteArray second = transport->encode({2, ModbusPdu::encodeRequest(ModbusPdu::writeSingleRegister(5, 6)), 2});
    const auto scan = transport->scan(first + second, ModbusDirection::Request);
    QCOMPARE(scan.state, ScanState::Complete);
    QCOMPARE(scan.length, first.size());
    QCOMPARE(transport->decode(QByteArray(second)).adu.unit, quint8(2));
}

void TestModbusFraming::lineNoise_data()
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
    QTest::newRow("rtu data bit flipped") << Framing::Rtu << hex("01 03 00 01 00 0A C5 CD") << ScanState::Complete
                                          << qsizetype(8) << E::Checksum << ModbusDirection::Request;
    QTest::newRow("rtu unknown function") << Framing::Rtu << hex("01 2B 0E 01 00 70 77") << ScanState::UntilSilence
                                          << qsizetype(0) << E::None << ModbusDirection::Response;
    QTest::newRow("rtu odd byte count") << Framing::Rtu << hex("01 03 05 00 01 02 03 04") << ScanState::UntilSilence
                                        << qsizetype(0) << E::Checksum << ModbusDirection::Response;
    QTest::newRow("rtu too short") << Framing::Rtu << hex("01 03 04") << ScanState::NeedMore << qsizetype(0)
                                   << E::Malformed << ModbusDirection::Response;
    QTest::newRow("ascii noise first") << Framing::Ascii << QByteArray("\x00\xFFzz:1103006B00037E\r\n", 21)
                                       << ScanState::Garbage << qsizetype(4) << E::Malformed
                                       << ModbusDirection::Response;
    QTest::newRow("ascii lrc wrong") << Framing::Ascii << QByteArray(":1103006B00037F\r\n") << ScanState::Complete
                                     << qsizetype(17) << E::Checksum << ModbusDirection::Response;
    QTest::newRow("ascii not hex") << Framing::Ascii << QByteArray(":1103006G00037E\r\n") << ScanState::Complete
                                   << qsizetype(17) << E::Malformed << ModbusDirection::Response;
    QTest::newRow("ascii odd digits") << Framing::Ascii << QByteArray(":1103006B00037\r\n") << ScanState::Complete
                                      << qsizetype(16) << E::Malformed << ModbusDirection::Response;
    QTest::newRow("ascii tail lost") << Framing::Ascii << QByteArray(":110300:1103006B00037E\r\n") << ScanState::Garbage
                                     << qsizetype(7) << E::Malformed << ModbusDirection::Response;
    QTest::newRow("ascii lower case") << Framing::Ascii << QByteArray(":1103006b00037e\r\n") << ScanState::Complete
                                      << qsizetype(17) << E::None << ModbusDirection::Response;
    QTest::newRow("tcp foreign protocol")
        << Framing::Tcp << hex("00 01 00 01 00 06 11 03 00 6B 00 03") << ScanState::Garbage << qsizetype(12)
        << E::Malformed << ModbusDirection::Response;
    QTest::newRow("tcp zero length") << Framing::Tcp << hex("00 01 00 00 00 00 11") << ScanState::Garbage
                                     << qsizetype(7) << E::Malformed << ModbusDirection::Response;
    QTest::newRow("tcp header only") << Framing::Tcp << hex("00 01 00 00 00 06 11 03") << ScanState::NeedMore
                                     << qsizetype(0) << E::Malformed << ModbusDirection::Response;
}

void TestModbusFraming::lineNoise()
{
    QFETCH(Framing, framing);
    QFETCH(QByteArray, bytes);
    QFETCH(ScanState, scan);
    QFETCH(qsizetype, length);
    QFETCH(ModbusTransport::DecodeError, error);
    QFETCH(ModbusDirection, direction);
    const auto transport = ModbusTransport::create(framing);
    const auto result = transport->scan(bytes, direction);
    QCOMPARE(result.state, scan);
    QCOMPARE(result.length, length);
    // What a reader hands to decode: the frame found, or everything once the
    // line fell silent.
    const QByteArray frame = scan == ScanState::Complete ? bytes.first(length) : bytes;
    if (scan != ScanState::Garbage)
        QCOMPARE(transport->decode(frame).error, error);
}

void TestModbusFraming::responseChecks_data()
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
    QTest::newRow("read exception 2") << read2 << hex("83 02") << S::Exception << ModbusException::IllegalDataAddress;
    QTest::newRow("read exception 6") << read2 << hex("83 06") << S::Exception << ModbusException::SlaveDeviceBusy;
    QTest::newRow("exception of other function") << read2 << hex("86 02") << S::WrongFunction << ModbusException::None;
    QTest::newRow("read answered as write")
        << read2 << hex("06 00 00 00 01") << S::WrongFunction << ModbusException::None;
    QTest::newRow("read fewer registers") << read2 << hex("03 02 00 01") << S::Malformed << ModbusException::None;
    QTest::newRow("read count lies") << read2 << hex("03 04 00 01") << S::Malformed << ModbusException::None;
    QTest::newRow("exception too long") << read2 << hex("83 02 00") << S::Malformed << ModbusException::None;
    QTest::newRow("write echo ok") << write << hex("06 00 04 12 34") << S::Ok << ModbusException::None;
    QTest::newRow("write echo other value") << write << hex("06 00 04 12 35") << S::Mismatch << ModbusException::None;
    QTest::newRow("write echo other address") << write << hex("06 00 05 12 34") << S::Mismatch << ModbusException::None;
    QTest::newRow("write many ok") << writeMany << hex("10 00 04 00 03") << S::Ok << ModbusException::None;
    QTest::newRow("write many other count")
        << writeMany << hex("10 00 04 00 02") << S::Mismatch << ModbusException::None;
    QTest::newRow("empty") << write << QByteArray() << S::Malformed << ModbusException::None;
}

void TestModbusFraming::responseChecks()
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

void TestModbusFraming::requestRefusals_data()
{
    QTest::addColumn<QByteArray>("pdu");
    QTest::addColumn<ModbusException>("exception");
    QTest::newRow("read coils") << hex("01 00 00 00 08") << ModbusException::IllegalFunction;
    QTest::newRow("read 0") << hex("03 00 00 00 00") << ModbusException::IllegalDataValue;
    QTest::newRow("read 126") << hex("03 00 00 00 7E") << ModbusException::IllegalDataValue;
    QTest::newRow("read past FFFF") << hex("03 FF FF 00 02") << ModbusException::IllegalDataAddress;
    QTest::newRow("read short") << hex("03 00 00 00") << ModbusException::IllegalDataValue;
    QTest::newRow("write many count lies") << hex("10 00 00 00 02 02 00 01") << ModbusException::IllegalDataValue;
    QTest::newRow("write many 124") << QByteArray(hex("10 00 00 00 7C F8") + QByteArray(248, '\0'))
                                    << ModbusException::IllegalDataValue;
    QTest::newRow("write one ok") << hex("06 00 00 00 01") << ModbusException::None;
}

void TestModbusFraming::requestRefusals()
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

void TestModbusFraming::serialFormat_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<int>("bits");
    QTest::newRow("rtu even") << "19200,E,8,1" << true << 11;
    QTest::newRow("rtu none two stops") << "9600,N,8,2" << true << 11;
    QTest::newRow("ascii lower case") << "19200,o,7,1" << true << 10;
    QTest::newRow("ascii none") << "38400,N,7,2" << true << 10;
    QTest::newRow("blanks") << " 4800 , E , 8 , 1 " << true << 11;
    QTest::newRow("no stop bits") << "19200,E,8" << false << 0;
    QTest::newRow("parity word") << "19200,Even,8,1" << false << 0;
    QTest::newRow("parity X") << "19200,X,8,1" << false << 0;
    QTest::newRow("nine bits") << "19200,E,9,1" << false << 0;
    QTest::newRow("baud text") << "fast,E,8,1" << false << 0;
    QTest::newRow("zero baud") << "0,E,8,1" << false << 0;
}

void TestModbusFraming::serialFormat()
{
    QFETCH(QString, text);
    QFETCH(bool, valid);
    QFETCH(int, bits);
    const auto format = SerialFormat::parse(text);
    QCOMPARE(format.has_value(), valid);
    if (!format)
        return;
    QCOMPARE(format->bitsPerCharacter(), bits);
    QCOMPARE(SerialFormat::parse(format->toString()), format);
}

void TestModbusFraming::rtuSilence_data()
{
    QTest::addColumn<QString>("format");
    QTest::addColumn<int>("micros");
    QTest::newRow("19200 8E1: 3.5 x 573 us") << "19200,E,8,1" << 2005;
    QTest::newRow("9600 8N2: 3.5 x 1146 us") << "9600,N,8,2" << 4011;
    QTest::newRow("4800 7E1: 3.5 x 2084 us") << "4800,E,7,1" << 7294;
    QTest::newRow("38400 fixed") << "38400,E,8,1" << 1750;
    QTest::newRow("115200 fixed") << "115200,N,8,1" << 1750;
}

void TestModbusFraming::rtuSilence()
{
    QFETCH(QString, format);
    QFETCH(int, micros);
    const auto parsed = SerialFormat::parse(format);
    QVERIFY(parsed);
    QCOMPARE(RtuTransport().frameSilence(*parsed).count(), micros);
    // Framings that carry their own boundaries need no silence.
    QCOMPARE(AsciiTransport().frameSilence(*parsed).count(), 0);
    QCOMPARE(TcpTransport().frameSilence(*parsed).count(), 0);
}

QTEST_GUILESS_MAIN(TestModbusFraming)
#include "tst_modbusframing.moc"
