#include "SampleTable.h"

#include <algorithm>

namespace Tarvel {

SampleTable::SampleTable(QStringList channelNames, int capacity)
    : m_names(std::move(channelNames))
    , m_capacity(std::max(capacity, 1))
    , m_times(size_t(m_capacity))
    , m_values(size_t(m_capacity) * m_names.size(), Missing)
{ }

void SampleTable::append(double timeMs, const std::vector<double> &values)
{
    int at;
    if (m_size < m_capacity) {
        at = slot(m_size);
        ++m_size;
    } else {
        at = m_first; // the oldest row makes room
        m_first = (m_first + 1) % m_capacity;
    }
    m_times[at] = timeMs;
    const size_t base = size_t(at) * m_names.size();
    for (qsizetype c = 0; c < m_names.size(); ++c)
        m_values[base + c] = size_t(c) < values.size() ? values[c] : Missing;
}

void SampleTable::appendOne(double timeMs, int channel, double value)
{
    std::vector<double> row(m_names.size(), Missing);
    row[size_t(channel)] = value;
    append(timeMs, row);
}

void SampleTable::clear()
{
    m_first = 0;
    m_size = 0;
}

int SampleTable::lowerBound(double timeMs) const
{
    int lo = 0;
    int hi = m_size;
    while (lo < hi) {
        const int mid = (lo + hi) / 2;
        if (time(mid) < timeMs)
            lo = mid + 1;
        else
            hi = mid;
    }
    return lo;
}

} // namespace Tarvel
