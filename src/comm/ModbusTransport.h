#pragma once

#include "ModbusPdu.h"
#include "SerialFormat.h"

#include <QByteArray>
#include <QByteArrayView>

#include <chrono>
#include <memory>

namespace Tarvel {

// One application data unit: the unit (node) a PDU is for or from, the PDU,
// and on Modbus/TCP the transaction number pairing answer with question.
struct ModbusAdu
{
    quint8 unit = 0;
    QByteArray pdu;
    quint16 transactionId = 0;

    bool operator==(const ModbusAdu &) const = default;
};

// How a PDU travels on one kind of link. The reader keeps the received
// bytes; scan() tells whether a whole frame lies at their start, decode()
// checks it and takes it apart. Stateless, so one instance serves a
// master (reading responses) and a slave (reading requests) alike.
class ModbusTransport
{
public:
    enum class Framing { Rtu, Ascii, Tcp };

    enum class ScanState {
        NeedMore, // the frame at the start is not complete yet
        Complete, // `length` bytes form one frame
        UntilSilence, // the end can be known only from a pause on the line (RTU)
        Garbage, // `length` bytes at the start belong to no frame; drop them
    };
    struct Scan
    {
        ScanState state = ScanState::NeedMore;
        qsizetype length = 0;
    };

    enum class DecodeError {
        None,
        Checksum, // CRC or LRC does not match
        Malformed, // too short, bad characters, inconsistent header
    };
    struct Decoded
    {
        DecodeError error = DecodeError::Malformed;
        ModbusAdu adu;
    };

    virtual ~ModbusTransport() = default;

    static std::unique_ptr<ModbusTransport> create(Framing framing);

    virtual Framing framing() const = 0;
    // The longest frame the standard allows on this kind of link.
    virtual qsizetype maxFrame() const = 0;
    virtual QByteArray encode(const ModbusAdu &adu) const = 0;
    virtual Scan scan(QByteArrayView buffer, ModbusDirection direction) const = 0;
    virtual Decoded decode(QByteArrayView frame) const = 0;

    // The quiet time that must separate two frames on the line, and after
    // which a reader may take a frame as ended. Zero where framing is
    // carried by the bytes themselves.
    virtual std::chrono::microseconds frameSilence(const SerialFormat &format) const;
};

} // namespace Tarvel
