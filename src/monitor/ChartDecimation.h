#pragma once

#include <QList>
#include <QPointF>

namespace Tarvel {

class SampleTable;

// What a chart draws of a channel: for each pixel column of the visible
// time range only the smallest and the largest value in it, in the order
// they came, so the drawn line has the same peaks as every sample would
// give at a fraction of the points. One sample on either side of the range
// is kept, so the line runs to the edges.
class ChartDecimation
{
public:
    static QList<QPointF> minMax(const SampleTable &table, int channel, double fromMs, double toMs, int columns);
    // Every sample in the range, as a chart without decimation draws it.
    static QList<QPointF> all(const SampleTable &table, int channel, double fromMs, double toMs);
};

} // namespace Tarvel
