#pragma once

#include <QString>

#include <optional>

namespace Tarvel {

class CliSession;

// The monitoring screens on the command line: the fault viewer's read of
// the six fault records, and the maintenance keypad's writes for scripts
// and test benches, through the same checks as the keypad.
class DriveMonitorCommands
{
public:
    // faults LINK [link options]: 0 read, 2 no drive or a failed read.
    static int faults(CliSession &s);
    // keypad LINK --yes (run|stop|forward|reverse|frequency HZ): 0 written
    // (or nothing to change), 1 refused (a present fault, a change of
    // direction under way, a frequency beyond the knob's range), 2 not run
    // (no --yes, no drive, a failed write).
    static int keypad(CliSession &s);

    // "P6.31 - Present Fault Record: Over-Voltage (ov)"; a code outside
    // the table is told as "Unknown fault code N".
    static QString faultLine(int record, int code);

private:
    // The link word and the words after it: the first word, unless --port
    // gave the link.
    static std::optional<QString> takeLink(CliSession &s, QStringList &words);
};

} // namespace Tarvel
