#include "ModbusPdu.h"

#include <QtEndian>

namespace Tarvel {

namespace {

constexpr quint8 kExceptionBit = 0x80;

void putWord(QByteArray &out, quint16 value)
{
    out.append(char(value >> 8));
    out.append(char(value & 0xFF));
}

quint16 word(QByteArrayView bytes, qsizetype at)
{
    return qFromBigEndian<quint16>(bytes.data() + at);
}

QList<quint16> words(QByteArrayView bytes, qsizetype at, int count)
{
    QList<quint16> values;
    values.reserve(count);
    for (int i = 0; i < count; ++i)
        values.append(word(bytes, at + 2 * i));
    return values;
}

bool isKnown(quint8 function)
{
    switch (ModbusFunction(function)) {
    case ModbusFunction::ReadHoldingRegisters:
    case ModbusFunction::WriteSingleRegister:
    case ModbusFunction::WriteMultipleRegisters:
        return true;
    }
    return false;
}

ModbusParsedRequest refused(quint8 function, ModbusException code)
{
    return {std::nullopt, function, code};
}

ModbusReply replyWith(ModbusReply::Status status, QList<quint16> values = {})
{
    return {status, ModbusException::None, std::move(values)};
}

ModbusReply decodeWriteEcho(QByteArrayView pdu, const ModbusRequest &request)
{
    if (pdu.size() != 5)
        return replyWith(ModbusReply::Status::Malformed);
    const quint16 second
        = request.function == ModbusFunction::WriteSingleRegister ? request.values.value(0) : request.count;
    if (word(pdu, 1) != request.address || word(pdu, 3) != second)
        return replyWith(ModbusReply::Status::Mismatch);
    return replyWith(ModbusReply::Status::Ok);
}

} // namespace

ModbusRequest ModbusPdu::readHoldingRegisters(quint16 address, quint16 count)
{
    return {ModbusFunction::ReadHoldingRegisters, address, count, {}};
}

ModbusRequest ModbusPdu::writeSingleRegister(quint16 address, quint16 value)
{
    return {ModbusFunction::WriteSingleRegister, address, 1, {value}};
}

ModbusRequest ModbusPdu::writeMultipleRegisters(quint16 address, const QList<quint16> &values)
{
    return {ModbusFunction::WriteMultipleRegisters, address, quint16(values.size()), values};
}

bool ModbusPdu::isValid(const ModbusRequest &request)
{
    // The last register addressed must still lie in the 16-bit space.
    const bool fits = int(request.address) + int(request.count) <= 0x10000;
    switch (request.function) {
    case ModbusFunction::ReadHoldingRegisters:
        return fits && request.count >= 1 && request.count <= MaxReadCount && request.values.isEmpty();
    case ModbusFunction::WriteSingleRegister:
        return request.count == 1 && request.values.size() == 1;
    case ModbusFunction::WriteMultipleRegisters:
        return fits && request.count >= 1 && request.count <= MaxWriteCount && request.values.size() == request.count;
    }
    return false;
}

QByteArray ModbusPdu::encodeRequest(const ModbusRequest &request)
{
    QByteArray pdu;
    pdu.append(char(request.function));
    putWord(pdu, request.address);
    switch (request.function) {
    case ModbusFunction::ReadHoldingRegisters:
        putWord(pdu, request.count);
        break;
    case ModbusFunction::WriteSingleRegister:
        putWord(pdu, request.values.value(0));
        break;
    case ModbusFunction::WriteMultipleRegisters:
        putWord(pdu, request.count);
        pdu.append(char(2 * request.values.size()));
        for (quint16 value : request.values)
            putWord(pdu, value);
        break;
    }
    return pdu;
}

ModbusReply ModbusPdu::decodeResponse(QByteArrayView pdu, const ModbusRequest &request)
{
    if (pdu.isEmpty())
        return replyWith(ModbusReply::Status::Malformed);
    const quint8 function = quint8(pdu[0]);
    if ((function & ~kExceptionBit) != quint8(request.function))
        return replyWith(ModbusReply::Status::WrongFunction);
    if (function & kExceptionBit) {
        if (pdu.size() != 2)
            return replyWith(ModbusReply::Status::Malformed);
        return {ModbusReply::Status::Exception, ModbusException(quint8(pdu[1])), {}};
    }
    if (request.function != ModbusFunction::ReadHoldingRegisters)
        return decodeWriteEcho(pdu, request);
    if (pdu.size() < 2 || quint8(pdu[1]) != 2 * request.count || pdu.size() != 2 + 2 * request.count)
        return replyWith(ModbusReply::Status::Malformed);
    return replyWith(ModbusReply::Status::Ok, words(pdu, 2, request.count));
}

ModbusParsedRequest ModbusPdu::decodeRequest(QByteArrayView pdu)
{
    if (pdu.isEmpty())
        return refused(0, ModbusException::IllegalFunction);
    const quint8 function = quint8(pdu[0]);
    if (!isKnown(function))
        return refused(function, ModbusException::IllegalFunction);
    if (pdu.size() < 5)
        return refused(function, ModbusException::IllegalDataValue);
    ModbusRequest request {ModbusFunction(function), word(pdu, 1), 1, {}};
    if (request.function == ModbusFunction::WriteSingleRegister) {
        request.values = {word(pdu, 3)};
    } else {
        request.count = word(pdu, 3);
    }
    if (request.function == ModbusFunction::WriteMultipleRegisters) {
        const qsizetype bytes = pdu.size() >= 6 ? quint8(pdu[5]) : -1;
        if (bytes != 2 * request.count || pdu.size() != 6 + bytes)
            return refused(function, ModbusException::IllegalDataValue);
        request.values = words(pdu, 6, request.count);
    } else if (pdu.size() != 5) {
        return refused(function, ModbusException::IllegalDataValue);
    }
    // A count out of the protocol's range is a data value fault; a range
    // running past the address space is an address fault.
    if (request.count < 1
        || request.count > (request.function == ModbusFunction::ReadHoldingRegisters ? MaxReadCount : MaxWriteCount))
        return refused(function, ModbusException::IllegalDataValue);
    if (!isValid(request))
        return refused(function, ModbusException::IllegalDataAddress);
    return {request, function, ModbusException::None};
}

QByteArray ModbusPdu::encodeResponse(const ModbusRequest &request, const QList<quint16> &readValues)
{
    QByteArray pdu;
    pdu.append(char(request.function));
    switch (request.function) {
    case ModbusFunction::ReadHoldingRegisters:
        pdu.append(char(2 * readValues.size()));
        for (quint16 value : readValues)
            putWord(pdu, value);
        break;
    case ModbusFunction::WriteSingleRegister:
        putWord(pdu, request.address);
        putWord(pdu, request.values.value(0));
        break;
    case ModbusFunction::WriteMultipleRegisters:
        putWord(pdu, request.address);
        putWord(pdu, request.count);
        break;
    }
    return pdu;
}

QByteArray ModbusPdu::encodeException(quint8 functionByte, ModbusException code)
{
    QByteArray pdu;
    pdu.append(char(functionByte | kExceptionBit));
    pdu.append(char(code));
    return pdu;
}

qsizetype ModbusPdu::length(QByteArrayView bytes, ModbusDirection direction)
{
    if (bytes.isEmpty())
        return NeedMore;
    const quint8 function = quint8(bytes[0]);
    if (direction == ModbusDirection::Response && (function & kExceptionBit))
        return isKnown(function & ~kExceptionBit) ? 2 : Unknown;
    if (!isKnown(function))
        return Unknown;
    // Position of the byte count, if this function carries one.
    qsizetype countAt = -1;
    if (direction == ModbusDirection::Request && ModbusFunction(function) == ModbusFunction::WriteMultipleRegisters)
        countAt = 5;
    if (direction == ModbusDirection::Response && ModbusFunction(function) == ModbusFunction::ReadHoldingRegisters)
        countAt = 1;
    if (countAt < 0)
        return 5;
    if (bytes.size() <= countAt)
        return NeedMore;
    const int count = quint8(bytes[countAt]);
    const int limit = 2 * (countAt == 1 ? MaxReadCount : MaxWriteCount);
    if (count == 0 || count % 2 != 0 || count > limit)
        return Unknown;
    return countAt + 1 + count;
}

} // namespace Tarvel
