#pragma once

#include <QChartView>
#include <QColor>
#include <QList>
#include <QTimer>

#include <functional>

class QAbstractSeries;
class QDateTimeAxis;
class QGraphicsLineItem;
class QGraphicsSimpleTextItem;
class QValueAxis;
class QXYSeries;

namespace Tarvel {

class AppContext;
class ChartXSpan;
class SampleTable;

// A chart recorder over a SampleTable: the time axis ends at the present
// and spans what the ChartXSpan holds; each channel is a line (or marks
// only) on the left or the right value axis. Redrawn at five frames a
// second from the decimated samples (at most the smallest and largest
// value of each column two pixels wide); hidden channels cost no drawing. The right
// button's menu sets the time span, switches the data cursor and exports
// the samples to CSV or the chart to a picture.
class DecimatedChart : public QChartView
{
    Q_OBJECT
public:
    static constexpr int FrameMs = 200;

    struct Channel
    {
        QString title; // legend
        QColor colour; // invalid: the chart's own
        int axis = 0; // 0 the left axis, 1 the right
        bool marksOnly = false;
        bool inLegend = true;
    };

    DecimatedChart(AppContext &ctx, const SampleTable &table, ChartXSpan &span, QWidget *parent = nullptr);

    void addChannels(const QList<Channel> &channels);
    // The left ("Value") and right axes; a right axis appears when named.
    void setLeftAxis(const QString &title, double span);
    void setRightAxis(const QString &title, double span, const QColor &colour);
    void setLegendAlignment(Qt::Alignment alignment);
    void setLeftSpan(double span);

    void setChannelVisible(int channel, bool visible);
    bool channelVisible(int channel) const;

    // Draws from every sample instead of the decimated ones, for comparison.
    void setNaive(bool naive) { m_naive = naive; }
    // The clock of the time axis, milliseconds since the epoch.
    void setClock(std::function<double()> clock) { m_clock = std::move(clock); }
    void redraw();
    QTimer &frameTimer() { return m_frames; }
    // The points a channel's line holds after the last redraw.
    int drawnPoints(int channel) const;

    // The data cursor: shown or hidden, the channel it reads, its value.
    bool cursorShown() const { return m_cursorShown; }
    void setCursorShown(bool shown);
    void attachCursor(int channel);
    int cursorChannel() const { return m_cursorChannel; }
    void placeCursor(double timeMs);
    double cursorValue() const { return m_cursorValue; }

    // The menu's commands.
    void exportCsv();
    void savePicture();
    bool writePicture(const QString &path);

Q_SIGNALS:
    void xAxisRequested(); // the right button's "X Axis Time Span..."
    void cursorChanged(double value);
    void cursorAttached(int channel);

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void contextMenuEvent(QContextMenuEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    QString chooseSaveFile(const QString &title, const QString &filter);
    double now() const;
    void updateCursorItems();

    AppContext &m_ctx;
    const SampleTable &m_table;
    ChartXSpan &m_span;
    QDateTimeAxis *m_time;
    QValueAxis *m_left;
    QValueAxis *m_right = nullptr;
    QList<QXYSeries *> m_series;
    QTimer m_frames;
    std::function<double()> m_clock;
    bool m_naive = false;
    bool m_cursorShown = false;
    int m_cursorChannel = 0;
    double m_cursorTime = 0;
    double m_cursorValue = 0;
    QGraphicsLineItem *m_cursorLine;
    QGraphicsSimpleTextItem *m_cursorText;
};

} // namespace Tarvel
