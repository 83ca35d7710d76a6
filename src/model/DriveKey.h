#pragma once

#include <QString>

namespace Tarvel {

// The catalogue codes that name one drive: series code ("02"), model code
// ("05") and revision code ("120"). A configuration file's first line and
// every catalogue look-up of a drive's parameter set use them.
struct DriveKey
{
    QString series;
    QString model;
    QString rev;

    // A code inside a catalogue query text: a quote in a hand-edited file
    // must make the look-up find nothing, not break the query.
    static QString quoted(const QString &code);

    // Codes that can name a catalogue drive: no control characters (a NUL
    // would cut the query text short).
    bool isPlausible() const;

    // The configuration file's first line: "#0205120".
    QString fileLine() const;
    // The codes of a configuration file's first line.
    static DriveKey fromFileLine(const QString &line);

    bool operator==(const DriveKey &) const = default;
};

} // namespace Tarvel
