#pragma once

#include "ModbusTransport.h"

namespace Tarvel {

// ASCII framing: ':' then unit, PDU and LRC as upper-case hexadecimal
// pairs, then CR LF. Frame boundaries are in the characters, so no
// silence is needed between frames.
class AsciiTransport : public ModbusTransport
{
public:
    // ':' + 2 × (unit + 253-byte PDU + LRC) + CR LF
    static constexpr qsizetype MaxFrame = 513;

    Framing framing() const override { return Framing::Ascii; }
    qsizetype maxFrame() const override { return MaxFrame; }
    QByteArray encode(const ModbusAdu &adu) const override;
    Scan scan(QByteArrayView buffer, ModbusDirection direction) const override;
    Decoded decode(QByteArrayView frame) const override;
};

} // namespace Tarvel
