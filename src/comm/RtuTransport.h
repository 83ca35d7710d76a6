#pragma once

#include "ModbusTransport.h"

namespace Tarvel {

// RTU framing: unit byte, PDU, CRC-16 low byte first. Frames are
// separated by 3.5 characters of silence; for the functions this system
// knows, the end is also found from the function and byte count, so a
// reader on a line without real timing (a pseudo-terminal) still works.
class RtuTransport : public ModbusTransport
{
public:
    static constexpr qsizetype MaxFrame = 256;

    Framing framing() const override { return Framing::Rtu; }
    qsizetype maxFrame() const override { return MaxFrame; }
    QByteArray encode(const ModbusAdu &adu) const override;
    Scan scan(QByteArrayView buffer, ModbusDirection direction) const override;
    Decoded decode(QByteArrayView frame) const override;
    std::chrono::microseconds frameSilence(const SerialFormat &format) const override;
};

} // namespace Tarvel
