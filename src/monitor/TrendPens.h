#pragma once

#include <QString>

#include <array>
#include <vector>

namespace Tarvel {

struct AppState;

// The ten pens of the trend: what each shows, how it is drawn and how its
// value comes from the shared status values that the polling keeps.
class TrendPens
{
public:
    static constexpr int Count = 10;
    static constexpr int DcBusPen = 6; // switching it widens the "Value" axis
    enum class Axis { Value, MotorSpeed };

    struct Pen
    {
        const char *name; // channel name, also the CSV column
        const char *legend; // legend title
        const char *box; // check-box caption
        unsigned rgb; // 0xRRGGBB
        Axis axis;
    };

    static const std::array<Pen, Count> &pens();

    // One sample of every pen, in pen order; `p801` is the factor of pen 2.
    static std::vector<double> sample(const AppState &state, double p801);
};

} // namespace Tarvel
