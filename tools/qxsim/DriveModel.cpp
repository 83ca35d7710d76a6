#include "DriveModel.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Tarvel::Sim {

namespace {

// Parameter indices the model reads.
namespace P {
constexpr int MotorVoltage = 0; // P0.00, V
constexpr int MotorCurrent = 1; // P0.01, A
constexpr int MotorFrequency = 2; // P0.02, Hz
constexpr int MotorSpeed = 3; // P0.03, rpm at rated frequency
constexpr int MaxMotorSpeed = 4; // P0.04, rpm
constexpr int NoLoadCurrent = 7; // P0.07, A
constexpr int StopMethod = 100; // P1.00: 1 coasts
constexpr int AccelTime = 101; // P1.01, s from 0 to the maximum frequency
constexpr int DecelTime = 102; // P1.02
constexpr int JogRampTime = 105; // P1.05
constexpr int JogFrequency = 106; // P1.06, Hz
constexpr int UpperLimit = 615; // P6.15, Hz
constexpr int LowerLimit = 616; // P6.16, Hz
constexpr int FaultRecord = 631; // P6.31..P6.36
constexpr int FaultRecords = 6;
constexpr int PidOperation = 700; // P7.00: 0 inhibits
constexpr int PidFilterTime = 705; // P7.05, s
constexpr int PidSetpoint = 710; // P7.10, register units shown at ST00.12
constexpr int PidGain = 720; // P7.20
constexpr int UserCoefficient = 801; // P8.01
constexpr int FrequencyCommand = 926; // P9.26, 0.1 Hz
constexpr int RunCommand = 927; // P9.27
constexpr int DirectionCommand = 928; // P9.28: 1 reverse
constexpr int ExternalFault = 929; // P9.29: 1 trips
constexpr int FaultReset = 930; // P9.30: 1 resets
constexpr int JogCommand = 931; // P9.31
constexpr int SeriesNumber = 941; // P9.41
constexpr int ModelNumber = 942; // P9.42
} // namespace P

constexpr int ExternalFaultCode = 7; // "External Fault (EF)"
// A fan-like load: the load current grows with the square of the speed.
constexpr double LoadShare = 0.6;
constexpr double AccelShare = 0.5; // extra current while accelerating
constexpr double RegenShare = 0.3; // current returned while decelerating
constexpr double RegenRise = 1.08; // DC bus rise while braking

qint16 to16(double v)
{
    return qint16(std::clamp<long>(std::lround(v), -32768, 32767));
}

} // namespace

DriveModel::DriveModel(RegisterMap &params, const DriveKey &identity)
    : m_params(params)
    , m_identity(identity)
{
    // The drive reports what it is, whatever a configuration said.
    m_params.store(P::SeriesNumber, qint16(identity.seriesNumber()));
    m_params.store(P::ModelNumber, qint16(identity.modelNumber()));
}

void DriveModel::setFaultHistory(const QList<int> &codes)
{
    for (int i = 0; i < P::FaultRecords; ++i)
        m_params.store(P::FaultRecord + i, qint16(i < codes.size() ? codes[i] : 0));
}

void DriveModel::scheduleFault(double runSeconds, int code)
{
    const auto later = std::find_if(
        m_scheduled.begin(), m_scheduled.end(), [&](const ScheduledFault &f) { return f.runSeconds > runSeconds; });
    m_scheduled.insert(later, ScheduledFault {runSeconds, code});
}

void DriveModel::advance(double seconds)
{
    double left = seconds;
    while (left > 0) {
        strikeDueFault();
        const double step = std::min(left, untilScheduledFault());
        tick(step);
        left -= step;
    }
    strikeDueFault();
}

void DriveModel::tick(double seconds)
{
    if (running())
        m_runTime += seconds;
    moveFrequency(seconds);
    movePid(seconds);
}

double DriveModel::untilScheduledFault() const
{
    if (m_scheduled.isEmpty() || !running())
        return std::numeric_limits<double>::infinity();
    return m_scheduled.first().runSeconds - m_runTime;
}

void DriveModel::strikeDueFault()
{
    // A nanosecond's slack: the sum of the steps may miss the exact moment.
    constexpr double Slack = 1e-9;
    if (!m_scheduled.isEmpty() && running() && m_runTime + Slack >= m_scheduled.first().runSeconds)
        trip(m_scheduled.takeFirst().code);
}

void DriveModel::parameterWritten(int index, qint16 value)
{
    switch (index) {
    case P::RunCommand:
        // A run command given while the drive is tripped is ignored: it
        // must be given again after the reset.
        m_runLatched = value == 1 && m_fault == 0;
        break;
    case P::ExternalFault:
        if (value == 1)
            trip(ExternalFaultCode);
        break;
    case P::FaultReset:
        if (value == 1)
            m_fault = 0;
        break;
    default:
        break;
    }
}

void DriveModel::trip(int code)
{
    for (int i = P::FaultRecords - 1; i > 0; --i)
        m_params.store(P::FaultRecord + i, m_params.value(P::FaultRecord + i - 1));
    m_params.store(P::FaultRecord, qint16(code));
    m_fault = code;
    m_runLatched = false;
    m_frequency = 0; // the output switches off; the motor coasts
    m_ramp = Ramp::Steady;
}

bool DriveModel::jogging() const
{
    return m_fault == 0 && m_params.value(P::JogCommand) == 1;
}

bool DriveModel::running() const
{
    return m_fault == 0 && (m_runLatched || jogging());
}

double DriveModel::baseFrequency() const
{
    const double f = m_params.engineering(P::MotorFrequency, 60);
    return f > 0 ? f : 60;
}

double DriveModel::maxFrequency() const
{
    const double rated = m_params.engineering(P::MotorSpeed, 0);
    const double top = m_params.engineering(P::MaxMotorSpeed, 0);
    return rated > 0 && top > 0 ? baseFrequency() * top / rated : baseFrequency();
}

double DriveModel::targetFrequency() const
{
    if (!running())
        return 0;
    double magnitude;
    if (jogging()) {
        magnitude = m_params.engineering(P::JogFrequency, 6);
    } else {
        const double upper = m_params.engineering(P::UpperLimit, maxFrequency());
        const double lower = std::min(m_params.engineering(P::LowerLimit, 0), upper);
        magnitude = std::clamp(m_params.engineering(P::FrequencyCommand, 0), lower, upper);
    }
    magnitude = std::clamp(magnitude, 0.0, maxFrequency());
    return m_params.value(P::DirectionCommand) == 1 ? -magnitude : magnitude;
}

double DriveModel::rampRate(bool accelerating) const
{
    double seconds = m_params.engineering(accelerating ? P::AccelTime : P::DecelTime, 10);
    if (jogging() && m_params.engineering(P::JogRampTime, 0) > 0)
        seconds = m_params.engineering(P::JogRampTime, 0);
    return maxFrequency() / std::max(seconds, 0.1);
}

// Walks the ramp piece by piece, so that a change of direction first
// decelerates to zero with the decel time and then accelerates.
void DriveModel::moveFrequency(double seconds)
{
    if (!running() && m_params.value(P::StopMethod) == 1) {
        m_frequency = 0;
        m_ramp = Ramp::Steady;
        return;
    }
    double left = seconds;
    while (left > 0) {
        const double target = targetFrequency();
        if (m_frequency == target)
            break;
        const bool crossing = (m_frequency > 0 && target < 0) || (m_frequency < 0 && target > 0);
        const double goal = crossing ? 0 : target;
        const bool accelerating = std::abs(goal) > std::abs(m_frequency);
        const double rate = rampRate(accelerating);
        const double needed = std::abs(goal - m_frequency) / rate;
        m_ramp = accelerating ? Ramp::Accelerating : Ramp::Decelerating;
        if (needed > left) {
            m_frequency += std::copysign(rate * left, goal - m_frequency);
            left = 0;
        } else {
            m_frequency = goal;
            left -= needed;
        }
    }
    if (m_frequency == targetFrequency())
        m_ramp = Ramp::Steady;
}

void DriveModel::movePid(double seconds)
{
    PidPlant::Settings loop;
    loop.active = m_params.value(P::PidOperation) > 0 && running();
    loop.setpoint = m_params.value(P::PidSetpoint);
    loop.proportional = m_params.engineering(P::PidGain, 1);
    loop.integralTime = m_params.engineering(P::PidGain + 1, 1);
    loop.derivativeTime = m_params.engineering(P::PidGain + 2, 0);
    loop.filterTime = m_params.engineering(P::PidFilterTime, 0);
    m_pid.advance(seconds, loop);
}

quint16 DriveModel::statusWord() const
{
    quint16 runBits;
    if (!running())
        runBits = m_frequency == 0 ? 0 : 1; // stop, run to stop
    else
        runBits = targetFrequency() == 0 && m_frequency == 0 ? 2 : 3; // standby, run
    const bool reverse = m_params.value(P::DirectionCommand) == 1;
    quint16 directionBits;
    if (!reverse)
        directionBits = m_frequency < 0 ? 1 : 0; // rev to fwd, fwd
    else
        directionBits = m_frequency > 0 ? 2 : 3; // fwd to rev, rev
    return quint16(runBits | (jogging() ? 4 : 0) | (directionBits << 3));
}

double DriveModel::outputCurrent() const
{
    if (m_frequency == 0)
        return 0;
    const double rated = m_params.engineering(P::MotorCurrent, 1);
    const double noLoad = m_params.engineering(P::NoLoadCurrent, 0.4 * rated);
    const double speed = std::abs(m_frequency) / baseFrequency();
    double load = LoadShare * rated * speed * speed;
    if (m_ramp == Ramp::Accelerating)
        load += AccelShare * rated;
    else if (m_ramp == Ramp::Decelerating)
        load = std::max(0.0, load - RegenShare * rated);
    return std::sqrt(noLoad * noLoad + load * load);
}

qint16 DriveModel::status(quint16 number) const
{
    const double f = std::abs(m_frequency);
    const double share = f == 0 ? 0 : std::min(1.0, f / baseFrequency());
    const double supply = m_params.engineering(P::MotorVoltage, 230);
    switch (number - StatusFirst) {
    case 0:
        return qint16(m_fault);
    case 1:
        return qint16(statusWord());
    case 2:
        return m_params.value(P::FrequencyCommand);
    case 3:
        return to16(f * 10);
    case 4:
        return to16(outputCurrent() * 10);
    case 5:
        return to16(supply * std::sqrt(2.0) * (m_ramp == Ramp::Decelerating ? RegenRise : 1) * 10);
    case 6:
        return to16(supply * share * 10);
    case 7:
        return to16(f * m_params.engineering(P::MotorSpeed, 1750) / baseFrequency());
    case 8:
        return to16(f * m_params.engineering(P::UserCoefficient, 1) * 100);
    case 11:
        return to16(outputCurrent() / std::max(m_params.engineering(P::MotorCurrent, 1), 0.01) * 1000);
    case 12:
        return m_params.value(P::PidSetpoint);
    case 13:
        return to16(m_pid.feedback());
    case 16:
        return qint16(m_identity.revNumber());
    case 18:
        return 1; // the link to the drive is good: nothing sits between
    default:
        return 0;
    }
}

} // namespace Tarvel::Sim
