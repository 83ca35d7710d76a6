#pragma once

#include <QColor>
#include <QWidget>

namespace Tarvel {

// The segmented LED progress bar of the status list: segments light from the
// left as the position grows; the first third of the range is green, the
// second white, the last blue, on a dark ground so every colour shows.
class LedBar : public QWidget
{
    Q_OBJECT
public:
    static constexpr int DefaultMaximum = 999;
    static constexpr int SegmentWidth = 6;
    static constexpr int SegmentGap = 2;

    explicit LedBar(QWidget *parent = nullptr);

    int maximum() const { return m_maximum; }
    void setMaximum(int maximum);
    int value() const { return m_value; }
    void setValue(int value);

    // How many segments fit a width, how many of them a value lights, and
    // the colour of the section a value falls in.
    static int segmentCount(int width);
    static int litSegments(int value, int maximum, int count);
    static QColor sectionColour(int value, int maximum);
    static QColor groundColour();

    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    int m_maximum = DefaultMaximum;
    int m_value = 0;
};

} // namespace Tarvel
