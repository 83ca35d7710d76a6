#include "StatusScale.h"

#include "model/AppState.h"

namespace Tarvel::StatusScale {

int divisor(int item)
{
    switch (item) {
    case 2: // frequency command
    case 3: // output frequency
    case 4: // output current
    case 5: // DC bus voltage
    case 6: // output voltage
    case 11: // load
    case 12: // PID set-point
    case 13: // PID feedback
        return 10;
    case 8: // scaled frequency
        return 100;
    default:
        return 1;
    }
}

double value(const AppState &state, int element)
{
    return double(state.StatusValues[size_t(element)]) / divisor(element + 2);
}

} // namespace Tarvel::StatusScale
