#pragma once

#include <QString>

#include <chrono>
#include <optional>

namespace Tarvel {

// A serial character format and speed as the link settings write it:
// "19200,E,8,1" (baud, parity N/E/O/M/S, data bits, stop bits).
struct SerialFormat
{
    qint32 baud = 19200;
    char parity = 'E';
    int dataBits = 8;
    int stopBits = 1;

    static std::optional<SerialFormat> parse(QStringView text);
    QString toString() const;

    // Bits on the wire per character: start, data, parity, stop.
    int bitsPerCharacter() const;
    std::chrono::microseconds characterTime() const;

    bool operator==(const SerialFormat &) const = default;
};

} // namespace Tarvel
