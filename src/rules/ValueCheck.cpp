#include "ValueCheck.h"

#include "base/NumberText.h"

namespace Tarvel {

namespace {

// The reference as a single-precision number; false when it holds nothing.
bool single(const QVariant &reference, float &out)
{
    if (ValueCheck::holdsNothing(reference))
        return false;
    bool ok = false;
    const double d = reference.toDouble(&ok);
    out = float(d);
    return ok;
}

} // namespace

bool ValueCheck::holdsNothing(const QVariant &reference)
{
    return !reference.isValid() || reference.isNull() || reference.toString().trimmed().isEmpty();
}

bool ValueCheck::below(double value, const QVariant &limit)
{
    float f = 0;
    return single(limit, f) && float(value) < f;
}

bool ValueCheck::above(double value, const QVariant &limit)
{
    float f = 0;
    return single(limit, f) && float(value) > f;
}

bool ValueCheck::differs(double value, const QVariant &reference)
{
    float f = 0;
    return single(reference, f) && float(value) != f;
}

QString ValueCheck::numberText(double value)
{
    if (value == 0.0)
        return QStringLiteral("0"); // never "-0"
    const QString text = QString::number(value, 'g', 15);
    // Only numbers far beyond any drive value take the exponent form; the
    // single-precision writer already spells that the classic way.
    return text.contains(u'e') ? NumberText::single(value) : text;
}

} // namespace Tarvel
