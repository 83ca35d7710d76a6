#include "PidPlant.h"

#include <algorithm>
#include <cmath>

namespace Tarvel::Sim {

namespace {

constexpr double StepSeconds = 0.01;
constexpr double ProcessLag = 1.5; // s
constexpr double SensorLag = 0.3; // s, before the feedback filter
constexpr double OutputLimit = 10000; // register units; the integral is held inside it

} // namespace

void PidPlant::advance(double seconds, const Settings &settings)
{
    while (seconds > 0) {
        const double dt = std::min(seconds, StepSeconds);
        step(dt, settings);
        seconds -= dt;
    }
}

void PidPlant::step(double dt, const Settings &s)
{
    double output = 0;
    if (s.active) {
        const double error = s.setpoint - m_feedback;
        const double derivative = (error - m_lastError) / dt;
        m_lastError = error;
        if (s.integralTime > 0)
            m_integral = std::clamp(m_integral + error * dt / s.integralTime, -OutputLimit, OutputLimit);
        else
            m_integral = 0;
        const double gain = std::max(s.proportional, 0.0);
        output = std::clamp(gain * (error + m_integral + s.derivativeTime * derivative), 0.0, OutputLimit);
    } else {
        m_integral = 0;
        m_lastError = 0;
    }
    m_process += (output - m_process) * (1 - std::exp(-dt / ProcessLag));
    m_feedback += (m_process - m_feedback) * (1 - std::exp(-dt / (SensorLag + std::max(s.filterTime, 0.0))));
}

} // namespace Tarvel::Sim
