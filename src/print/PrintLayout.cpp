#include "PrintLayout.h"

#include <QtMath>

namespace Tarvel {

namespace {

constexpr double CmPerInch = 2.54;

double hundredths(double v)
{
    return qRound(v * 100) / 100.0;
}

} // namespace

void PrintLayout::setUnit(Unit newUnit)
{
    if (newUnit == unit)
        return;
    const double factor = newUnit == Centimeters ? CmPerInch : 1 / CmPerInch;
    margins = QMarginsF(hundredths(margins.left() * factor), hundredths(margins.top() * factor),
        hundredths(margins.right() * factor), hundredths(margins.bottom() * factor));
    unit = newUnit;
}

int PrintLayout::setZoom(int percent)
{
    zoom = std::clamp(percent, MinZoom, MaxZoom);
    return zoom;
}

QPageLayout::Unit PrintLayout::pageUnit() const
{
    return unit == Inches ? QPageLayout::Inch : QPageLayout::Millimeter;
}

QMarginsF PrintLayout::pageMargins() const
{
    return unit == Inches ? margins : margins * 10;
}

} // namespace Tarvel
