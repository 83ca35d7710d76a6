#pragma once

#include <QStringList>

#include <cmath>
#include <limits>
#include <vector>

namespace Tarvel {

// The samples of one chart: a ring of rows, each a time (milliseconds
// since the epoch, as the chart's time axis counts) and one value per
// channel. A channel without a value in a row holds NaN there (a marker
// channel has values only at its marks). When the ring is full the oldest
// row goes.
class SampleTable
{
public:
    static constexpr double Missing = std::numeric_limits<double>::quiet_NaN();
    static bool isMissing(double value) { return std::isnan(value); }

    SampleTable(QStringList channelNames, int capacity);

    const QStringList &channelNames() const { return m_names; }
    int channelCount() const { return int(m_names.size()); }
    int capacity() const { return m_capacity; }
    int size() const { return m_size; }
    bool isEmpty() const { return m_size == 0; }

    // A row; `values` has one entry per channel (NaN where missing).
    // Rows come in time order.
    void append(double timeMs, const std::vector<double> &values);
    // A row with one channel's value and nothing in the others.
    void appendOne(double timeMs, int channel, double value);
    void clear();

    // Row i counted from the oldest kept.
    double time(int row) const { return m_times[slot(row)]; }
    double value(int row, int channel) const { return m_values[size_t(slot(row)) * m_names.size() + channel]; }
    // The first row at or after `timeMs` (size() when none).
    int lowerBound(double timeMs) const;

private:
    int slot(int row) const { return (m_first + row) % m_capacity; }

    QStringList m_names;
    int m_capacity;
    int m_first = 0;
    int m_size = 0;
    std::vector<double> m_times;
    std::vector<double> m_values;
};

} // namespace Tarvel
