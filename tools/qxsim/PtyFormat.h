#pragma once

#include "comm/SerialFormat.h"

#include <chrono>

struct termios;

namespace Tarvel::Sim {

// Serial character formats as a pseudo-terminal shows them. The Linux
// pseudo-terminal driver forces 8 data bits and clears the parity-enable
// flag on every change of settings; only the speed, the stop bits and the
// odd-parity flag survive. For the six formats the drives offer (7N2 7E1
// 7O1 8N2 8E1 8O1) that still tells each from the others, because no
// parity always comes with two stop bits.
class PtyFormat
{
public:
    // What a terminal is set to; a speed outside the standard table reads 0.
    static SerialFormat fromTermios(const termios &tio);
    // The part of a format that survives on a pseudo-terminal.
    static SerialFormat visiblePart(const SerialFormat &format);
    // Would a master that set `expected` leave the terminal as `applied`?
    static bool agrees(const SerialFormat &expected, const SerialFormat &applied);
    // Time the given number of characters takes on the wire, to the
    // nanosecond (a character at 115200 baud lasts less than 0.1 ms).
    static std::chrono::nanoseconds transferTime(const SerialFormat &format, qsizetype characters);
};

} // namespace Tarvel::Sim
