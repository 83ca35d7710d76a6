#pragma once

namespace Tarvel {

struct AppState;

// The scale of the polled status values: the drive's register holds the
// value times its divisor. The one table the bus monitor, the keypad and the
// trend all read.
namespace StatusScale {

// The divisor of status item ST00.nn (nn = `item`).
int divisor(int item);
// The value of StatusValues element k, which holds ST00.(k+2), in its unit.
double value(const AppState &state, int element);

} // namespace StatusScale

} // namespace Tarvel
