#pragma once

#include <QByteArrayView>

namespace Tarvel {

// The two check values of the serial framings. Written here because Qt's
// qChecksum offers only the ISO 3309 / V.41 polynomials, and the Modbus
// CRC (reflected 0x8005, start 0xFFFF, no final XOR) is neither.
class ModbusCrc
{
public:
    // CRC-16 of an RTU frame body (unit + PDU); sent low byte first.
    static quint16 crc16(QByteArrayView bytes);

    // Longitudinal redundancy check of an ASCII frame body (unit + PDU):
    // the two's complement of the 8-bit sum of the bytes.
    static quint8 lrc(QByteArrayView bytes);
};

} // namespace Tarvel
