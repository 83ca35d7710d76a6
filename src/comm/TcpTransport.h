#pragma once

#include "ModbusTransport.h"

namespace Tarvel {

// Modbus/TCP framing: the MBAP header (transaction number, protocol 0,
// length of unit + PDU, unit) before the PDU; no checksum, the stream
// carries the integrity.
class TcpTransport : public ModbusTransport
{
public:
    static constexpr qsizetype HeaderSize = 7;
    static constexpr qsizetype MaxFrame = HeaderSize + ModbusPdu::MaxLength;

    Framing framing() const override { return Framing::Tcp; }
    qsizetype maxFrame() const override { return MaxFrame; }
    QByteArray encode(const ModbusAdu &adu) const override;
    Scan scan(QByteArrayView buffer, ModbusDirection direction) const override;
    Decoded decode(QByteArrayView frame) const override;
};

} // namespace Tarvel
