#include "ModbusCrc.h"

#include <array>

namespace Tarvel {

namespace {

// One table entry per byte value, built at compile time, so a frame costs
// one lookup per byte instead of eight shifts.
constexpr std::array<quint16, 256> crcTable()
{
    std::array<quint16, 256> table {};
    for (unsigned i = 0; i < 256; ++i) {
        quint16 crc = quint16(i);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc & 1) ? quint16((crc >> 1) ^ 0xA001) : quint16(crc >> 1);
        table[i] = crc;
    }
    return table;
}

constexpr auto kCrcTable = crcTable();

} // namespace

quint16 ModbusCrc::crc16(QByteArrayView bytes)
{
    quint16 crc = 0xFFFF;
    for (char c : bytes)
        crc = quint16((crc >> 8) ^ kCrcTable[(crc ^ quint8(c)) & 0xFF]);
    return crc;
}

quint8 ModbusCrc::lrc(QByteArrayView bytes)
{
    quint8 sum = 0;
    for (char c : bytes)
        sum = quint8(sum + quint8(c));
    return quint8(-sum);
}

} // namespace Tarvel
