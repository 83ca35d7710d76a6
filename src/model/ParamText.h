#pragma once

#include <QString>

namespace Tarvel {

// The texts built from a parameter index i = group * 100 + number.
class ParamText
{
public:
    static int group(int index) { return index / 100; }
    static int number(int index) { return index % 100; }

    // "   P0.05", "   P9.41", "   P10.05": the start of default captions.
    static QString captionPrefix(int index);
    // "P0.05", "P9.41", "P10.05": in messages and reports.
    static QString parameterNumber(int index);
    // "005" / "0005": the index in configuration files, 3 digits below
    // series 3 and 4 digits from series 3 on.
    static QString fileIndex(int index, int seriesNumber);
    // "P09.41@WORD": the item name on the Ethernet route; reads name their
    // items with the suffix "@Word".
    static QString linkTag(int index, const QString &suffix = QStringLiteral("@WORD"));
    // The name in a catalogue description or a label caption without its
    // parameter number: "   P1.03 Accel Time 1 (s)" gives "Accel Time 1 (s)".
    static QString name(const QString &description);
    // Register number of Pg.nn by the fixed plan g * 256 + nn + 1.
    static int registerNumber(int index) { return group(index) * 256 + number(index) + 1; }
    // Register number of the status item ST00.nn (nn = `item`): 8449 + nn.
    static constexpr int StatusBase = 8449;
    static constexpr int StatusItems = 100;
    static int statusRegister(int item) { return StatusBase + item; }
    // The tag of a register by the same plan, "P09.41" or "ST00.18"; empty
    // for a number the plan does not reach.
    static QString registerTag(int registerNumber);
};

} // namespace Tarvel
