#include "TrendPens.h"

#include "comm/StatusScale.h"
#include "model/AppState.h"

namespace Tarvel {

namespace {

// StatusValues element k holds ST00.(k+2).
constexpr int FrequencySetpoint = 0; // ST00.02
constexpr int OutputFrequency = 1; // ST00.03
constexpr int OutputCurrent = 2; // ST00.04
constexpr int DcBus = 3; // ST00.05
constexpr int OutputVoltage = 4; // ST00.06
constexpr int MotorSpeed = 5; // ST00.07
constexpr int CurrentPercent = 9; // ST00.11
constexpr int PidSetpoint = 10; // ST00.12
constexpr int PidFeedback = 11; // ST00.13

} // namespace

const std::array<TrendPens::Pen, TrendPens::Count> &TrendPens::pens()
{
    static const std::array<Pen, Count> table {{
        {"Output Frequency", "Output Frequency", "Output Frequency", 0xFF3030, Axis::Value},
        {"Motor Speed", "Motor Speed", "Motor Speed", 0xFFFF00, Axis::MotorSpeed},
        {"Output Hz X P8.01", "Output Hz X P8.01", "Output Hz X P8.01", 0x0000FF, Axis::Value},
        {"Output Current", "Output Current", "Output Current", 0xFF00FF, Axis::Value},
        {"Motor Output Current", "Mtr Output Cur. (%)", "Output Current (%)", 0x00FFFF, Axis::Value},
        {"Output Voltage", "Output Voltage", "Output Voltage", 0x00FF00, Axis::Value},
        {"DC Bus Voltage", "DC Bus Voltage", "DC Bus Voltage", 0xFFFFFF, Axis::Value},
        {"PID Setpoint", "PID Setpoint", "PID Setpoint", 0xFF8000, Axis::Value},
        {"PID Feedback", "PID Feedback", "PID Feedback", 0xFF0080, Axis::Value},
        {"Frequency Setpoint", "Frequency Setpoint", "Frequency Setpoint", 0xC0C0C0, Axis::Value},
    }};
    return table;
}

std::vector<double> TrendPens::sample(const AppState &state, double p801)
{
    const auto at = [&](int k) { return StatusScale::value(state, k); };
    return {
        at(OutputFrequency),
        at(MotorSpeed),
        at(FrequencySetpoint) * p801,
        at(OutputCurrent),
        at(CurrentPercent),
        at(OutputVoltage),
        at(DcBus),
        at(PidSetpoint),
        at(PidFeedback),
        at(FrequencySetpoint),
    };
}

} // namespace Tarvel
