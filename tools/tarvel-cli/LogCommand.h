#pragma once

#include <QString>

namespace Tarvel {

class CliSession;

// log LINK --interval MS --duration S -o FILE.csv [--config FILE.qxc]:
// records the ten trend pens from a connected drive into a CSV file, one
// row per poll, each row flushed as it is written so that a recording that
// is stopped keeps every row it took.
class LogCommand
{
public:
    static const QString IntervalOption; // "interval"
    static const QString DurationOption; // "duration"

    static int run(CliSession &s);
};

} // namespace Tarvel
