#pragma once

#include <QString>
#include <QVariant>

namespace Tarvel {

// The one way Tarvel writes numbers as text; every file and caption
// follows it, so files stay comparable line by line.
class NumberText
{
public:
    // A single-precision value as text: at most 7 significant digits, no
    // trailing zeros or point, "0.5" for a half, exponent form "1E+07".
    static QString single(double value);
    // A catalogue value (number, or null / empty) as text; null gives "".
    static QString variant(const QVariant &value);
    // The numeric test of a typed entry: optional sign, digits, one decimal
    // point, optional exponent; surrounding blanks allowed.
    static bool isNumeric(const QString &text);
    // The leading numeric part of a text, 0 when there is none.
    static double val(const QString &text);
};

} // namespace Tarvel
