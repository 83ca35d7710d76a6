#pragma once

namespace Tarvel {

// A chart whose time axis the X-axis dialog sets: the span in days, as the
// charts keep it (0.0035 days is about five minutes).
class ChartXSpan
{
public:
    static constexpr double DefaultSpanDays = 0.0035;
    static constexpr double MinutesPerDay = 1440;

    virtual ~ChartXSpan() = default;
    virtual double xSpanDays() const = 0;
    virtual void setXSpanDays(double days) = 0;
};

} // namespace Tarvel
