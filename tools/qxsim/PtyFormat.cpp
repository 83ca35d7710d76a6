#include "PtyFormat.h"

#include <array>
#include <termios.h>
#include <utility>

namespace Tarvel::Sim {

namespace {

// termios keeps speeds as codes, not numbers.
constexpr std::array<std::pair<speed_t, int>, 18> SpeedTable {{
    {B300, 300},
    {B600, 600},
    {B1200, 1200},
    {B2400, 2400},
    {B4800, 4800},
    {B9600, 9600},
    {B19200, 19200},
    {B38400, 38400},
    {B57600, 57600},
    {B115200, 115200},
    {B230400, 230400},
    {B460800, 460800},
    {B500000, 500000},
    {B576000, 576000},
    {B921600, 921600},
    {B1000000, 1000000},
    {B1152000, 1152000},
    {B2000000, 2000000},
}};

int baudOf(speed_t code)
{
    for (const auto &[c, baud] : SpeedTable) {
        if (c == code)
            return baud;
    }
    return 0;
}

} // namespace

SerialFormat PtyFormat::fromTermios(const termios &tio)
{
    SerialFormat format;
    format.baud = baudOf(cfgetospeed(&tio));
    if (tio.c_cflag & PARENB)
        format.parity = (tio.c_cflag & PARODD) ? 'O' : 'E';
    else
        format.parity = (tio.c_cflag & PARODD) ? 'O' : 'N'; // what is left of odd parity on a pseudo-terminal
    format.dataBits = (tio.c_cflag & CSIZE) == CS7 ? 7 : 8;
    format.stopBits = (tio.c_cflag & CSTOPB) ? 2 : 1;
    return format;
}

SerialFormat PtyFormat::visiblePart(const SerialFormat &format)
{
    SerialFormat visible = format;
    visible.parity = format.parity == 'O' ? 'O' : 'N';
    visible.dataBits = 8;
    return visible;
}

bool PtyFormat::agrees(const SerialFormat &expected, const SerialFormat &applied)
{
    return visiblePart(expected) == visiblePart(applied);
}

std::chrono::nanoseconds PtyFormat::transferTime(const SerialFormat &format, qsizetype characters)
{
    if (format.baud <= 0)
        return std::chrono::nanoseconds(0);
    const qint64 bits = qint64(characters) * format.bitsPerCharacter();
    return std::chrono::nanoseconds(bits * 1'000'000'000LL / format.baud);
}

} // namespace Tarvel::Sim
