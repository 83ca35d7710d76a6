#include "TcpTransport.h"

#include <QtEndian>

namespace Tarvel {

namespace {

// The length field counts the unit byte and the PDU.
bool plausibleLength(quint16 length)
{
    return length >= 2 && length <= 1 + ModbusPdu::MaxLength;
}

} // namespace

QByteArray TcpTransport::encode(const ModbusAdu &adu) const
{
    QByteArray frame;
    const quint16 length = quint16(adu.pdu.size() + 1);
    frame.reserve(HeaderSize + adu.pdu.size());
    frame.append(char(adu.transactionId >> 8));
    frame.append(char(adu.transactionId & 0xFF));
    frame.append(2, '\0');
    frame.append(char(length >> 8));
    frame.append(char(length & 0xFF));
    frame.append(char(adu.unit));
    frame.append(adu.pdu);
    return frame;
}

ModbusTransport::Scan TcpTransport::scan(QByteArrayView buffer, ModbusDirection) const
{
    // A stream that carries a foreign protocol number or an impossible
    // length cannot be resynchronised; the whole buffer is dropped.
    if (buffer.size() >= 4 && qFromBigEndian<quint16>(buffer.data() + 2) != 0)
        return {ScanState::Garbage, buffer.size()};
    if (buffer.size() < HeaderSize)
        return {ScanState::NeedMore, 0};
    const quint16 length = qFromBigEndian<quint16>(buffer.data() + 4);
    if (!plausibleLength(length))
        return {ScanState::Garbage, buffer.size()};
    const qsizetype total = 6 + length;
    if (buffer.size() < total)
        return {ScanState::NeedMore, 0};
    return {ScanState::Complete, total};
}

ModbusTransport::Decoded TcpTransport::decode(QByteArrayView frame) const
{
    if (frame.size() < HeaderSize + 1 || qFromBigEndian<quint16>(frame.data() + 2) != 0)
        return {DecodeError::Malformed, {}};
    const quint16 length = qFromBigEndian<quint16>(frame.data() + 4);
    if (!plausibleLength(length) || frame.size() != 6 + length)
        return {DecodeError::Malformed, {}};
    return {DecodeError::None,
        {quint8(frame[6]), frame.sliced(HeaderSize).toByteArray(), qFromBigEndian<quint16>(frame.data())}};
}

} // namespace Tarvel
