#pragma once

#include <QString>

#include <functional>

namespace Tarvel {

class AppContext;
class ChartXSpan;

// frmSetTrendX without widgets: the X-axis span of the chart its tag names
// ("1" the trend chart, "2" the PID chart), entered in minutes.
class SetTrendX
{
public:
    static const QString TrendTag; // "1"
    static const QString PidTag; // "2"
    enum class Outcome { Applied, NotNumeric, OutOfRange, NoChart };

    // The chart a tag names, or null when that chart is not open.
    using ChartFor = std::function<ChartXSpan *(const QString &tag)>;

    SetTrendX(AppContext &ctx, ChartFor chartFor);

    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    // The chart's span in minutes, as the text box shows it.
    static QString minutesText(const ChartXSpan &chart);

    // cmdUpdate_Click with the box's text. After NotNumeric the box shows
    // `restoredText` (the chart's span again).
    Outcome update(const QString &text);
    const QString &restoredText() const { return m_restored; }

private:
    AppContext &m_ctx;
    ChartFor m_chartFor;
    QString m_tag;
    QString m_restored;
};

} // namespace Tarvel
