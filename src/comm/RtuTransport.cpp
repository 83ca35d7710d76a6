#include "RtuTransport.h"

#include "ModbusCrc.h"

namespace Tarvel {

QByteArray RtuTransport::encode(const ModbusAdu &adu) const
{
    QByteArray frame;
    frame.reserve(adu.pdu.size() + 3);
    frame.append(char(adu.unit));
    frame.append(adu.pdu);
    const quint16 crc = ModbusCrc::crc16(frame);
    frame.append(char(crc & 0xFF));
    frame.append(char(crc >> 8));
    return frame;
}

ModbusTransport::Scan RtuTransport::scan(QByteArrayView buffer, ModbusDirection direction) const
{
    if (buffer.size() < 2)
        return {ScanState::NeedMore, 0};
    const qsizetype pdu = ModbusPdu::length(buffer.sliced(1), direction);
    if (pdu == ModbusPdu::Unknown)
        return {ScanState::UntilSilence, 0};
    if (pdu == ModbusPdu::NeedMore)
        return {ScanState::NeedMore, 0};
    const qsizetype total = 1 + pdu + 2;
    if (total > MaxFrame)
        return {ScanState::UntilSilence, 0};
    if (buffer.size() < total)
        return {ScanState::NeedMore, 0};
    return {ScanState::Complete, total};
}

ModbusTransport::Decoded RtuTransport::decode(QByteArrayView frame) const
{
    // Unit, function and CRC at the least.
    if (frame.size() < 4 || frame.size() > MaxFrame)
        return {DecodeError::Malformed, {}};
    const QByteArrayView body = frame.first(frame.size() - 2);
    const quint16 sent = quint16(quint8(frame[frame.size() - 2]) | (quint8(frame[frame.size() - 1]) << 8));
    if (ModbusCrc::crc16(body) != sent)
        return {DecodeError::Checksum, {}};
    return {DecodeError::None, {quint8(body[0]), body.sliced(1).toByteArray(), 0}};
}

std::chrono::microseconds RtuTransport::frameSilence(const SerialFormat &format) const
{
    // Above 19200 baud the silence is fixed, so that fast lines do not ask
    // for timer resolution a PC does not have.
    if (format.baud > 19200)
        return std::chrono::microseconds(1750);
    return std::chrono::microseconds(format.characterTime().count() * 7 / 2);
}

} // namespace Tarvel
