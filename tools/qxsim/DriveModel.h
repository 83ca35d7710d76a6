#pragma once

#include "PidPlant.h"
#include "RegisterMap.h"

namespace Tarvel::Sim {

// The running behaviour of the simulated drive: run, stop, direction and
// jog commands ramp the output frequency with the drive's own times; the
// status registers ST00.00..ST00.18 are derived from it. Time moves only
// through advance(), so tests can step it exactly.
class DriveModel
{
public:
    static constexpr quint16 StatusFirst = 8449; // ST00.00
    static constexpr quint16 StatusLast = 8467; // ST00.18

    DriveModel(RegisterMap &params, const DriveKey &identity);

    // Moves time on. A fault scheduled with scheduleFault strikes at its
    // exact moment within the step.
    void advance(double seconds);
    // Called after a master wrote a parameter: command registers act here.
    void parameterWritten(int index, qint16 value);
    // A drive trip: the code becomes the present fault and heads the fault
    // history P6.31..P6.36, and the output switches off.
    void trip(int code);
    // The present fault without touching the history (start-up state).
    void setPresentFault(int code) { m_fault = code; }
    // Replaces the fault history, most recent first; missing entries read 0.
    void setFaultHistory(const QList<int> &codes);
    // A trip with `code` once the drive has been running for `runSeconds`
    // in all (the time a run command or jog was in force since start).
    void scheduleFault(double runSeconds, int code);
    double runTime() const { return m_runTime; }

    static bool isStatus(quint16 number) { return number >= StatusFirst && number <= StatusLast; }
    qint16 status(quint16 number) const;

    double outputFrequency() const { return m_frequency; } // Hz, negative in reverse
    quint16 statusWord() const;
    int presentFault() const { return m_fault; }
    double outputCurrent() const; // A
    double pidFeedback() const { return m_pid.feedback(); } // register units of P7.10

private:
    enum class Ramp { Steady, Accelerating, Decelerating };

    bool jogging() const;
    bool running() const;
    double maxFrequency() const;
    double baseFrequency() const;
    double targetFrequency() const;
    double rampRate(bool accelerating) const;
    // One step of time without a scheduled fault inside it: everything
    // that moves with time, in order. A process model (the plant behind
    // the PID loop) takes its step here, after the motor.
    void tick(double seconds);
    void moveFrequency(double seconds);
    void movePid(double seconds);
    // Trips the first scheduled fault when its run time has come; the time
    // left until it otherwise (infinity when none is due while running).
    void strikeDueFault();
    double untilScheduledFault() const;

    struct ScheduledFault
    {
        double runSeconds;
        int code;
    };

    RegisterMap &m_params;
    DriveKey m_identity;
    double m_frequency = 0;
    PidPlant m_pid;
    bool m_runLatched = false;
    int m_fault = 0;
    Ramp m_ramp = Ramp::Steady;
    double m_runTime = 0;
    QList<ScheduledFault> m_scheduled; // soonest first
};

} // namespace Tarvel::Sim
