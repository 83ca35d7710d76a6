#include "ChartDecimation.h"

#include "SampleTable.h"

#include <algorithm>
#include <cmath>

namespace Tarvel {

namespace {

struct Range
{
    int first;
    int end; // one past the last
};

// The rows in [from, to] plus one either side.
Range rowsAround(const SampleTable &table, double fromMs, double toMs)
{
    const int first = std::max(table.lowerBound(fromMs) - 1, 0);
    const int end = std::min(table.lowerBound(toMs) + 1, table.size());
    return {first, std::max(end, first)};
}

// The extremes of one pixel column, by row.
struct Column
{
    int minRow = -1;
    int maxRow = -1;

    void take(const SampleTable &table, int channel, int row)
    {
        const double v = table.value(row, channel);
        if (minRow < 0 || v < table.value(minRow, channel))
            minRow = row;
        if (maxRow < 0 || v > table.value(maxRow, channel))
            maxRow = row;
    }

    void emit(const SampleTable &table, int channel, QList<QPointF> &out) const
    {
        if (minRow < 0)
            return;
        const auto point = [&](int row) { out.append(QPointF(table.time(row), table.value(row, channel))); };
        const int a = std::min(minRow, maxRow);
        const int b = std::max(minRow, maxRow);
        point(a);
        if (b != a)
            point(b);
    }
};

} // namespace

QList<QPointF> ChartDecimation::minMax(const SampleTable &table, int channel, double fromMs, double toMs, int columns)
{
    QList<QPointF> out;
    if (table.isEmpty() || columns <= 0 || toMs <= fromMs)
        return out;
    const Range range = rowsAround(table, fromMs, toMs);
    out.reserve(2 * columns + 4);
    const double width = (toMs - fromMs) / columns;
    // Columns left and right of the range are one each, so the edge
    // samples stay apart from the first and last visible column.
    long current = 0;
    bool started = false;
    Column column;
    for (int row = range.first; row < range.end; ++row) {
        if (SampleTable::isMissing(table.value(row, channel)))
            continue;
        const double t = table.time(row);
        const long index = t < fromMs ? -1
            : t > toMs                ? columns
                                      : std::min(long((t - fromMs) / width), long(columns) - 1);
        if (started && index != current) {
            column.emit(table, channel, out);
            column = Column();
        }
        current = index;
        started = true;
        column.take(table, channel, row);
    }
    column.emit(table, channel, out);
    return out;
}

QList<QPointF> ChartDecimation::all(const SampleTable &table, int channel, double fromMs, double toMs)
{
    QList<QPointF> out;
    const Range range = rowsAround(table, fromMs, toMs);
    out.reserve(range.end - range.first);
    for (int row = range.first; row < range.end; ++row) {
        const double v = table.value(row, channel);
        if (!SampleTable::isMissing(v))
            out.append(QPointF(table.time(row), v));
    }
    return out;
}

} // namespace Tarvel
