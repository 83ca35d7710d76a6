#include "DecimatedChart.h"

#include "model/AppContext.h"
#include "monitor/ChartCsv.h"
#include "monitor/ChartDecimation.h"
#include "monitor/ChartXSpan.h"
#include "monitor/SampleTable.h"
#include "ports/FileDialogs.h"

#include <QChart>
#include <QContextMenuEvent>
#include <QDateTime>
#include <QDateTimeAxis>
#include <QFileInfo>
#include <QGraphicsLineItem>
#include <QGraphicsSimpleTextItem>
#include <QLegendMarker>
#include <QLineSeries>
#include <QMenu>
#include <QMouseEvent>
#include <QPainter>
#include <QScatterSeries>
#include <QSvgGenerator>
#include <QValueAxis>

#include <algorithm>

namespace Tarvel {

namespace {

constexpr double MsPerDay = 86400000.0;
constexpr double ShortestSpanMs = 1000; // a span of 0 minutes still shows a second

// A file name from the dialog with the suffix its kind needs.
QString withSuffix(const QString &path, const QStringList &suffixes)
{
    const QString suffix = QFileInfo(path).suffix().toLower();
    return suffixes.contains(suffix) ? path : path + u'.' + suffixes.first();
}

} // namespace

DecimatedChart::DecimatedChart(AppContext &ctx, const SampleTable &table, ChartXSpan &span, QWidget *parent)
    : QChartView(parent)
    , m_ctx(ctx)
    , m_table(table)
    , m_span(span)
    , m_time(new QDateTimeAxis)
    , m_left(new QValueAxis)
    , m_clock([] { return double(QDateTime::currentMSecsSinceEpoch()); })
{
    QChart *c = chart();
    c->setTheme(QChart::ChartThemeDark);
    // Flat colours: a gradient is refilled on every frame.
    c->setBackgroundBrush(QColor(0x20, 0x22, 0x28));
    c->setDropShadowEnabled(false);
    c->legend()->setAlignment(Qt::AlignBottom);
    c->setAnimationOptions(QChart::NoAnimation);
    m_time->setFormat(QStringLiteral("hh:mm:ss"));
    m_time->setTitleText(QStringLiteral("Time"));
    m_time->setTickCount(6);
    c->addAxis(m_time, Qt::AlignBottom);
    c->addAxis(m_left, Qt::AlignLeft);
    setRenderHint(QPainter::Antialiasing, false);
    setMinimumSize(480, 300);

    m_cursorLine = new QGraphicsLineItem(c);
    m_cursorLine->setPen(QPen(Qt::white, 1, Qt::DashLine));
    m_cursorLine->setZValue(10);
    m_cursorText = new QGraphicsSimpleTextItem(c);
    m_cursorText->setBrush(Qt::white);
    m_cursorText->setZValue(10);
    setCursorShown(false);

    m_frames.setObjectName(QStringLiteral("frameTimer"));
    m_frames.setInterval(FrameMs);
    connect(&m_frames, &QTimer::timeout, this, &DecimatedChart::redraw);
    m_frames.start();
}

void DecimatedChart::addChannels(const QList<Channel> &channels)
{
    for (const Channel &ch : channels) {
        QXYSeries *series;
        if (ch.marksOnly) {
            auto *marks = new QScatterSeries;
            marks->setMarkerShape(QScatterSeries::MarkerShapeTriangle);
            marks->setMarkerSize(11);
            series = marks;
        } else {
            series = new QLineSeries;
        }
        series->setName(ch.title);
        chart()->addSeries(series);
        if (ch.colour.isValid())
            series->setColor(ch.colour);
        series->attachAxis(m_time);
        series->attachAxis(ch.axis == 1 && m_right ? m_right : m_left);
        if (!ch.inLegend) {
            for (QLegendMarker *marker : chart()->legend()->markers(series))
                marker->setVisible(false);
        }
        const int index = int(m_series.size());
        connect(series, &QXYSeries::clicked, this, [this, index] { attachCursor(index); });
        m_series << series;
    }
}

void DecimatedChart::setLeftAxis(const QString &title, double span)
{
    m_left->setObjectName(title);
    m_left->setTitleText(title);
    setLeftSpan(span);
}

void DecimatedChart::setLeftSpan(double span)
{
    m_left->setRange(0, span > 0 ? span : 1);
}

void DecimatedChart::setRightAxis(const QString &title, double span, const QColor &colour)
{
    m_right = new QValueAxis;
    m_right->setObjectName(title);
    m_right->setTitleText(title);
    m_right->setRange(0, span);
    m_right->setLabelsColor(colour);
    m_right->setLinePenColor(colour);
    m_right->setTitleBrush(colour);
    chart()->addAxis(m_right, Qt::AlignRight);
}

void DecimatedChart::setLegendAlignment(Qt::Alignment alignment)
{
    chart()->legend()->setAlignment(alignment);
}

void DecimatedChart::setChannelVisible(int channel, bool visible)
{
    QXYSeries *series = m_series.value(channel);
    if (!series || series->isVisible() == visible)
        return;
    if (!visible)
        series->clear(); // nothing left to draw or to keep
    series->setVisible(visible);
    if (visible)
        redraw();
}

bool DecimatedChart::channelVisible(int channel) const
{
    const QXYSeries *series = m_series.value(channel);
    return series && series->isVisible();
}

int DecimatedChart::drawnPoints(int channel) const
{
    const QXYSeries *series = m_series.value(channel);
    return series ? int(series->count()) : 0;
}

double DecimatedChart::now() const
{
    return m_clock();
}

void DecimatedChart::redraw()
{
    const double to = now();
    const double from = to - std::max(m_span.xSpanDays() * MsPerDay, ShortestSpanMs);
    m_time->setRange(QDateTime::fromMSecsSinceEpoch(qint64(from)), QDateTime::fromMSecsSinceEpoch(qint64(to)));
    // Columns two pixels wide: the extremes still show, at half the points a
    // line costs the chart to lay out.
    const int columns = std::max(int(chart()->plotArea().width()) / 2, 1);
    for (int c = 0; c < m_series.size(); ++c) {
        QXYSeries *series = m_series.at(c);
        if (!series->isVisible())
            continue;
        series->replace(m_naive ? ChartDecimation::all(m_table, c, from, to)
                                : ChartDecimation::minMax(m_table, c, from, to, columns));
    }
    updateCursorItems();
}

void DecimatedChart::setCursorShown(bool shown)
{
    m_cursorShown = shown;
    m_cursorLine->setVisible(shown);
    m_cursorText->setVisible(shown);
    if (shown) {
        if (m_cursorTime == 0)
            m_cursorTime = m_table.isEmpty() ? now() : m_table.time(m_table.size() - 1);
        placeCursor(m_cursorTime);
    }
}

void DecimatedChart::attachCursor(int channel)
{
    if (channel < 0 || channel >= m_series.size())
        return;
    m_cursorChannel = channel;
    Q_EMIT cursorAttached(channel);
    if (m_cursorShown)
        placeCursor(m_cursorTime);
}

// The value of the attached channel's sample nearest to the cursor.
void DecimatedChart::placeCursor(double timeMs)
{
    m_cursorTime = timeMs;
    const int at = m_table.lowerBound(timeMs);
    int best = -1;
    for (int left = at - 1, right = at; left >= 0 || right < m_table.size(); --left, ++right) {
        const bool l = left >= 0 && !SampleTable::isMissing(m_table.value(left, m_cursorChannel));
        const bool r = right < m_table.size() && !SampleTable::isMissing(m_table.value(right, m_cursorChannel));
        if (l && r)
            best = timeMs - m_table.time(left) <= m_table.time(right) - timeMs ? left : right;
        else if (l || r)
            best = l ? left : right;
        if (best >= 0)
            break;
    }
    m_cursorValue = best >= 0 ? m_table.value(best, m_cursorChannel) : 0;
    updateCursorItems();
    Q_EMIT cursorChanged(m_cursorValue);
}

void DecimatedChart::updateCursorItems()
{
    if (!m_cursorShown || m_series.isEmpty())
        return;
    const QRectF area = chart()->plotArea();
    const double x = chart()->mapToPosition(QPointF(m_cursorTime, 0), m_series.first()).x();
    m_cursorLine->setLine(x, area.top(), x, area.bottom());
    m_cursorLine->setVisible(x >= area.left() && x <= area.right());
    m_cursorText->setText(
        m_series.at(m_cursorChannel)->name() + QStringLiteral(": ") + QString::number(m_cursorValue, 'f', 2));
    m_cursorText->setPos(std::min(x + 4, area.right() - m_cursorText->boundingRect().width()), area.top() + 4);
}

void DecimatedChart::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && m_cursorShown && !m_series.isEmpty())
        placeCursor(chart()->mapToValue(event->position(), m_series.first()).x());
    QChartView::mousePressEvent(event);
}

void DecimatedChart::contextMenuEvent(QContextMenuEvent *event)
{
    QMenu menu(this);
    connect(menu.addAction(QStringLiteral("X Axis Time Span...")), &QAction::triggered, this,
        &DecimatedChart::xAxisRequested);
    QAction *cursor = menu.addAction(QStringLiteral("Data Cursor"));
    cursor->setCheckable(true);
    cursor->setChecked(m_cursorShown);
    connect(cursor, &QAction::toggled, this, &DecimatedChart::setCursorShown);
    menu.addSeparator();
    connect(
        menu.addAction(QStringLiteral("Export Data To CSV...")), &QAction::triggered, this, &DecimatedChart::exportCsv);
    connect(menu.addAction(QStringLiteral("Save Picture...")), &QAction::triggered, this, &DecimatedChart::savePicture);
    menu.exec(event->globalPos());
}

void DecimatedChart::resizeEvent(QResizeEvent *event)
{
    QChartView::resizeEvent(event);
    redraw();
}

// The save dialog of the chart's exports, in the configurations folder;
// empty when cancelled or when no dialog is available.
QString DecimatedChart::chooseSaveFile(const QString &title, const QString &filter)
{
    FileDialogs *dialogs = m_ctx.fileDialogs();
    if (!dialogs)
        return {};
    FileDialogRequest request;
    request.mode = FileDialogRequest::Save;
    request.title = title;
    request.filter = filter;
    request.initialDir = m_ctx.paths().configsDir();
    request.confirmOverwrite = true;
    return dialogs->chooseFile(request);
}

void DecimatedChart::exportCsv()
{
    m_ctx.trap(QStringLiteral("DecimatedChart, exportCsv"), [&] {
        const QString path
            = chooseSaveFile(QStringLiteral("Export Chart Data"), QStringLiteral("CSV files (*.csv)|*.csv"));
        if (!path.isEmpty())
            ChartCsv::write(m_table, withSuffix(path, {QStringLiteral("csv")}));
    });
}

void DecimatedChart::savePicture()
{
    m_ctx.trap(QStringLiteral("DecimatedChart, savePicture"), [&] {
        const QString path = chooseSaveFile(QStringLiteral("Save Chart Picture"),
            QStringLiteral("PNG pictures (*.png)|*.png|SVG drawings (*.svg)|*.svg"));
        if (!path.isEmpty() && !writePicture(withSuffix(path, {QStringLiteral("png"), QStringLiteral("svg")})))
            throw TrappedError(Err::PathFileAccess, QStringLiteral("Path/File access error"));
    });
}

bool DecimatedChart::writePicture(const QString &path)
{
    redraw();
    if (QFileInfo(path).suffix().compare(QLatin1String("svg"), Qt::CaseInsensitive) != 0)
        return grab().save(path, "PNG");
    QSvgGenerator svg;
    svg.setFileName(path);
    svg.setSize(size());
    svg.setViewBox(rect());
    svg.setTitle(QStringLiteral("QX Drive"));
    QPainter painter;
    if (!painter.begin(&svg))
        return false;
    render(&painter);
    return painter.end();
}

} // namespace Tarvel
