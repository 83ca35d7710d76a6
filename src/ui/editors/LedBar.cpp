#include "LedBar.h"

#include <QPainter>

namespace Tarvel {

namespace {
constexpr int Pitch = LedBar::SegmentWidth + LedBar::SegmentGap;
constexpr int Border = 2;
} // namespace

LedBar::LedBar(QWidget *parent)
    : QWidget(parent)
{
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void LedBar::setMaximum(int maximum)
{
    maximum = qMax(1, maximum);
    if (m_maximum == maximum)
        return;
    m_maximum = maximum;
    m_value = qMin(m_value, m_maximum);
    update();
}

void LedBar::setValue(int value)
{
    value = qBound(0, value, m_maximum);
    if (m_value == value)
        return;
    m_value = value;
    update();
}

int LedBar::segmentCount(int width)
{
    // The last segment needs no gap after it.
    return qMax(0, (width - 2 * Border + SegmentGap) / Pitch);
}

int LedBar::litSegments(int value, int maximum, int count)
{
    if (maximum <= 0 || count <= 0)
        return 0;
    value = qBound(0, value, maximum);
    // Rounded to nearest so a bar that is nearly full looks full.
    return static_cast<int>((static_cast<qint64>(value) * count + maximum / 2) / maximum);
}

QColor LedBar::sectionColour(int value, int maximum)
{
    // For the usual range of 999 the sections split at 333 and 666.
    const int third = maximum / 3;
    if (value < third)
        return QColor(0, 200, 0);
    if (value < 2 * third)
        return QColor(255, 255, 255);
    return QColor(0, 90, 255);
}

QColor LedBar::groundColour()
{
    return QColor(24, 24, 24);
}

QSize LedBar::sizeHint() const
{
    return {300, 16};
}

QSize LedBar::minimumSizeHint() const
{
    return {2 * Border + 10 * Pitch, 12};
}

void LedBar::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), groundColour());
    const int count = segmentCount(width());
    const int lit = litSegments(m_value, m_maximum, count);
    const int height = this->height() - 2 * Border;
    for (int i = 0; i < lit; ++i) {
        // A segment takes the colour of the value at its middle.
        const int middle = static_cast<int>((static_cast<qint64>(2 * i + 1) * m_maximum) / (2 * count));
        painter.fillRect(Border + i * Pitch, Border, SegmentWidth, height, sectionColour(middle, m_maximum));
    }
}

} // namespace Tarvel
