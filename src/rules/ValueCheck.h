#pragma once

#include <QString>
#include <QVariant>

namespace Tarvel {

// How a value read from a file or a field is weighed against the
// catalogue's minimum, maximum and default. The drive keeps every value in
// single precision, so the comparisons are made there: a value written as
// 0.32 and a computed catalogue limit of 0.32 are the same number even when
// their double forms differ in the last bit. A limit or default that holds
// nothing (null) never compares: no value is below, above or different
// from it.
class ValueCheck
{
public:
    static bool holdsNothing(const QVariant &reference);
    static bool below(double value, const QVariant &limit);
    static bool above(double value, const QVariant &limit);
    static bool differs(double value, const QVariant &reference);

    // A number read from text as the status list shows it: up to 15
    // significant digits, no trailing zeros ("0.5", "60", "1E+20").
    static QString numberText(double value);
};

} // namespace Tarvel
