#pragma once

#include <QList>
#include <QString>

namespace Tarvel {

// How many decimals a parameter's resolution allows, and the rounding of a
// typed value to that many decimals.
class Resolution
{
public:
    // The allowed decimal count D: 1 / resolution / 10 in double precision,
    // kept as a single-precision number, and the length of its text. That
    // is how the drives' checks have always counted, so resolution 1 allows
    // 3 decimals and 0.001 allows 8 (its single value is 0.00100000005).
    // A resolution of 0 raises error 11 (division by zero).
    static int decimalCount(float resolution);

    // The decimals a typed text carries after each decimal point, as
    // counted by the "Invalid Resolution" scan: characters after the point
    // (surrounding blanks left out). One entry per point, in text order.
    static QList<int> decimalsAfterPoints(const QString &text);

    // The numeric text rounded to `decimals` places, ties to the even digit,
    // in shortest form ("12.30" -> "12.3", "0.25" -> "0.2" at 1 place,
    // ".5" -> "0.5", "1.5E2" -> "150", "-0.04" -> "0" at 1 place). A text that
    // is not numeric comes back unchanged.
    static QString roundToDecimals(const QString &text, int decimals);

    // The single-precision value of a number or of a numeric text (its
    // leading numeric part); overflows to infinity so that an absurdly large
    // entry still fails the range check.
    static float single(double value);

    // Ties to the even neighbour (2.5 -> 2, 3.5 -> 4, -2.5 -> -2), whatever
    // rounding mode the floating-point environment is in.
    static double roundHalfEven(double value);
    // The whole-number multiplier 1 / resolution that turns an engineering
    // value into register units (0.1 gives 10, 0.01 gives 100, 1 gives 1).
    // The resolution must not be 0.
    static double multiplier(float resolution);
    static float singleValue(const QString &text);
};

} // namespace Tarvel
