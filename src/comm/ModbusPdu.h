#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QList>

#include <optional>

namespace Tarvel {

// The Modbus functions this system speaks: a drive is read and written
// through its holding registers only.
enum class ModbusFunction : quint8 {
    ReadHoldingRegisters = 0x03,
    WriteSingleRegister = 0x06,
    WriteMultipleRegisters = 0x10,
};

// Exception codes a slave answers with (function byte with bit 7 set).
enum class ModbusException : quint8 {
    None = 0x00,
    IllegalFunction = 0x01,
    IllegalDataAddress = 0x02,
    IllegalDataValue = 0x03,
    SlaveDeviceFailure = 0x04,
    Acknowledge = 0x05,
    SlaveDeviceBusy = 0x06,
    MemoryParityError = 0x08,
    GatewayPathUnavailable = 0x0A,
    GatewayTargetFailed = 0x0B,
};

// Which way a frame travels, so a reader can size it: a slave reads
// requests, a master reads responses.
enum class ModbusDirection { Request, Response };

// One request as a master sends it and a slave understands it. Addresses
// are protocol addresses (register number - 1).
struct ModbusRequest
{
    ModbusFunction function = ModbusFunction::ReadHoldingRegisters;
    quint16 address = 0;
    quint16 count = 1; // registers read or written
    QList<quint16> values; // written values: one for 06, `count` for 16

    bool operator==(const ModbusRequest &) const = default;
};

// A request as a slave decoded it: either a request, or the exception
// the slave must answer with (illegal function, illegal data value).
struct ModbusParsedRequest
{
    std::optional<ModbusRequest> request;
    quint8 functionByte = 0;
    ModbusException exception = ModbusException::None;
};

// A response as a master checked it against the request it sent.
struct ModbusReply
{
    enum class Status {
        Ok,
        Exception, // the slave refused; `exception` holds its code
        WrongFunction, // an answer to some other function
        Malformed, // too short, too long or a byte count that does not fit
        Mismatch, // a write echo that is not what was written
    };
    Status status = Status::Malformed;
    ModbusException exception = ModbusException::None;
    QList<quint16> values; // registers read (03)
};

// Building and parsing of protocol data units in both directions, so the
// master and the drive simulator share one implementation of the format.
class ModbusPdu
{
public:
    static constexpr int MaxReadCount = 125;
    static constexpr int MaxWriteCount = 123;
    static constexpr int MaxLength = 253;
    // Returned by length(): more bytes needed / length not known from the
    // bytes (unknown function or impossible byte count).
    static constexpr qsizetype NeedMore = 0;
    static constexpr qsizetype Unknown = -1;

    static ModbusRequest readHoldingRegisters(quint16 address, quint16 count);
    static ModbusRequest writeSingleRegister(quint16 address, quint16 value);
    static ModbusRequest writeMultipleRegisters(quint16 address, const QList<quint16> &values);
    // Counts within the protocol's limits and values matching the function.
    static bool isValid(const ModbusRequest &request);

    // Master side.
    static QByteArray encodeRequest(const ModbusRequest &request);
    static ModbusReply decodeResponse(QByteArrayView pdu, const ModbusRequest &request);

    // Slave side. `readValues` are the registers a read answers with;
    // writes echo address and value or count.
    static ModbusParsedRequest decodeRequest(QByteArrayView pdu);
    static QByteArray encodeResponse(const ModbusRequest &request, const QList<quint16> &readValues = {});
    static QByteArray encodeException(quint8 functionByte, ModbusException code);

    // Length of the PDU at the start of `bytes`, read from its function and
    // byte count: what RTU framing needs to find a frame's end without
    // relying on timing alone.
    static qsizetype length(QByteArrayView bytes, ModbusDirection direction);
};

} // namespace Tarvel
