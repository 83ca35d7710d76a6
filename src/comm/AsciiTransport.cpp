#include "AsciiTransport.h"

#include "ModbusCrc.h"

#include <cctype>

namespace Tarvel {

QByteArray AsciiTransport::encode(const ModbusAdu &adu) const
{
    QByteArray body;
    body.append(char(adu.unit));
    body.append(adu.pdu);
    body.append(char(ModbusCrc::lrc(body)));
    return ':' + body.toHex().toUpper() + "\r\n";
}

ModbusTransport::Scan AsciiTransport::scan(QByteArrayView buffer, ModbusDirection) const
{
    if (buffer.isEmpty())
        return {ScanState::NeedMore, 0};
    // Anything before a start character is line noise or a cut frame.
    if (buffer[0] != ':') {
        const qsizetype start = buffer.indexOf(':');
        return {ScanState::Garbage, start < 0 ? buffer.size() : start};
    }
    const qsizetype end = buffer.indexOf("\r\n");
    const qsizetype restart = buffer.indexOf(':', 1);
    // A new start before the end means the frame in hand lost its tail.
    if (restart > 0 && (end < 0 || restart < end))
        return {ScanState::Garbage, restart};
    if (end >= 0)
        return {ScanState::Complete, end + 2};
    if (buffer.size() >= MaxFrame)
        return {ScanState::Garbage, buffer.size()};
    return {ScanState::NeedMore, 0};
}

ModbusTransport::Decoded AsciiTransport::decode(QByteArrayView frame) const
{
    if (frame.size() < 9 || frame[0] != ':' || !frame.endsWith("\r\n"))
        return {DecodeError::Malformed, {}};
    const QByteArrayView hex = frame.sliced(1, frame.size() - 3);
    if (hex.size() % 2 != 0)
        return {DecodeError::Malformed, {}};
    for (char c : hex) {
        if (!std::isxdigit(static_cast<unsigned char>(c)))
            return {DecodeError::Malformed, {}};
    }
    const QByteArray bytes = QByteArray::fromHex(hex.toByteArray());
    const QByteArrayView body = QByteArrayView(bytes).first(bytes.size() - 1);
    if (ModbusCrc::lrc(body) != quint8(bytes.back()))
        return {DecodeError::Checksum, {}};
    return {DecodeError::None, {quint8(body[0]), body.sliced(1).toByteArray(), 0}};
}

} // namespace Tarvel
