#include "Resolution.h"

#include "base/ErrorCodes.h"
#include "base/TrappedError.h"
#include "base/NumberText.h"

#include <QRegularExpression>

#include <cmath>
#include <limits>

namespace Tarvel {

namespace {

// Past this many integer digits a value is far outside every drive's range
// (and outside single precision); it is left as typed for the range check
// to refuse rather than written out digit by digit.
constexpr qint64 MaxIntegerDigits = 400;

// A numeric text as its significant digits and the position of the decimal
// point: value = 0.d1d2d3... x 10^point. Qt and the standard library round
// only binary doubles, where 2.675 is 2.67499999... and 0.35 is 0.34999...;
// rounding the digits the user typed is what makes ties behave as written.
struct DecimalDigits
{
    bool negative = false;
    QString digits;
    qint64 point = 0;

    static bool parse(const QString &text, DecimalDigits &out);
    void roundTo(int decimals);
    QString text() const;
};

bool DecimalDigits::parse(const QString &text, DecimalDigits &out)
{
    static const QRegularExpression form(QStringLiteral(R"(^([+-]?)(\d*)(?:\.(\d*))?(?:[eE]([+-]?\d+))?$)"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!NumberText::isNumeric(text) || !m.hasMatch())
        return false;
    const QString whole = m.captured(2);
    const QString exponentText = m.captured(4);
    // An exponent of more than seven digits only says "enormous" or "zero";
    // clamping it keeps the arithmetic below in range.
    const bool hugeExponent = exponentText.size() > 8;
    const qint64 exponent
        = hugeExponent ? (exponentText.startsWith(u'-') ? -99999999 : 99999999) : exponentText.toLongLong();
    out.negative = m.captured(1) == QLatin1String("-");
    out.digits = whole + m.captured(3);
    out.point = whole.size() + exponent;
    while (out.digits.startsWith(u'0')) {
        out.digits.remove(0, 1);
        --out.point;
    }
    while (out.digits.endsWith(u'0'))
        out.digits.chop(1);
    return true;
}

void DecimalDigits::roundTo(int decimals)
{
    const qint64 keep = point + decimals;
    if (keep >= digits.size())
        return;
    if (keep < 0) { // every digit lies below half a unit of the last place
        digits.clear();
        return;
    }
    const QChar first = digits.at(keep);
    // Trailing zeros were dropped, so any digit after the first dropped one
    // makes the dropped part more than a tie.
    const bool restNonZero = digits.size() > keep + 1;
    const bool lastKeptOdd = keep > 0 && (digits.at(keep - 1).digitValue() % 2) == 1;
    digits.truncate(keep);
    const bool up = first > u'5' || (first == u'5' && (restNonZero || lastKeptOdd));
    if (up) {
        qsizetype i = digits.size() - 1;
        while (i >= 0 && digits.at(i) == u'9')
            digits[i--] = u'0';
        if (i >= 0) {
            digits[i] = QChar(digits.at(i).unicode() + 1);
        } else {
            digits.prepend(u'1');
            ++point;
        }
    }
    while (digits.endsWith(u'0'))
        digits.chop(1);
}

QString DecimalDigits::text() const
{
    if (digits.isEmpty())
        return QStringLiteral("0");
    QString out;
    if (point <= 0)
        out = QStringLiteral("0.") + QString(-point, u'0') + digits;
    else if (point >= digits.size())
        out = digits + QString(point - digits.size(), u'0');
    else
        out = digits.left(point) + u'.' + digits.mid(point);
    return negative ? u'-' + out : out;
}

} // namespace

float Resolution::single(double value)
{
    // Converting a double beyond the single range is undefined in C++;
    // make the overflow explicit.
    if (std::abs(value) > double(std::numeric_limits<float>::max()))
        return value > 0 ? std::numeric_limits<float>::infinity() : -std::numeric_limits<float>::infinity();
    return float(value);
}

int Resolution::decimalCount(float resolution)
{
    if (resolution == 0.0f)
        throw TrappedError(Err::DivisionByZero);
    const float quotient = float(1.0 / double(resolution) / 10.0);
    return int(NumberText::single(quotient).size());
}

QList<int> Resolution::decimalsAfterPoints(const QString &text)
{
    const QString t = text.trimmed();
    QList<int> counts;
    for (qsizetype i = t.indexOf(u'.'); i >= 0; i = t.indexOf(u'.', i + 1))
        counts << int(t.size() - i - 1);
    return counts;
}

QString Resolution::roundToDecimals(const QString &text, int decimals)
{
    DecimalDigits d;
    if (!DecimalDigits::parse(text, d))
        return text;
    if (d.point > MaxIntegerDigits)
        return text.trimmed();
    d.roundTo(decimals);
    return d.text();
}

float Resolution::singleValue(const QString &text)
{
    return single(NumberText::val(text));
}

double Resolution::roundHalfEven(double value)
{
    // Written out rather than left to nearbyint(), whose result follows
    // whatever rounding mode the floating-point environment is in.
    const double below = std::floor(value);
    const double fraction = value - below;
    if (fraction > 0.5)
        return below + 1;
    if (fraction < 0.5)
        return below;
    return std::fmod(below, 2.0) == 0 ? below : below + 1;
}

double Resolution::multiplier(float resolution)
{
    return roundHalfEven(1.0 / double(resolution));
}

} // namespace Tarvel
