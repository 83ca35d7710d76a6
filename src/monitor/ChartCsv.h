#pragma once

#include <QStringList>

#include <vector>

namespace Tarvel {

class SampleTable;

// A chart's samples as comma-separated text: a header row "Time (s)" and
// the channel names, then one row per sample with the time in seconds from
// the first sample (millisecond resolution) and one cell per channel, empty
// where the sample has no value for it.
class ChartCsv
{
public:
    static QString header(const QStringList &channelNames);
    static QString row(double firstMs, double timeMs, const std::vector<double> &values);
    static QStringList lines(const SampleTable &table);
    // Written whole or not at all (error 75 when it cannot be).
    static void write(const SampleTable &table, const QString &path);
};

} // namespace Tarvel
