#pragma once

namespace Tarvel::Sim {

// The drive's PID loop and the process it controls: a controller with the
// drive's gains (P7.20 proportional, P7.21 integral time, P7.22
// derivative time) driving a process of two lags, one of them the feedback
// filter P7.05. The feedback follows the set-point with a lag, overshoots
// when the gain is high and settles on the set-point through the integral.
// Values are in the set-point's register units.
class PidPlant
{
public:
    struct Settings
    {
        bool active = false; // PID enabled and the drive running
        double setpoint = 0;
        double proportional = 1;
        double integralTime = 1; // s; 0 switches the integral off
        double derivativeTime = 0; // s
        double filterTime = 0; // s
    };

    void advance(double seconds, const Settings &settings);
    double feedback() const { return m_feedback; }

private:
    void step(double dt, const Settings &settings);

    double m_process = 0; // the first lag's output
    double m_feedback = 0;
    double m_integral = 0;
    double m_lastError = 0;
};

} // namespace Tarvel::Sim
