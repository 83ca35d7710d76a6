#pragma once

#include "ChartXSpan.h"
#include "SampleTable.h"
#include "ScreenItems.h"

#include <QObject>

#include <functional>

namespace Tarvel {

class AppContext;

// frmPID without widgets: the refusal when the drive's PID loop is not
// set for tuning over the link, the set-point from the knob, the three
// gains with their checks against the catalogue maximum, Run and Stop,
// and the chart's samples (set-point, feedback and the gain-change marks).
// Every write goes through the register transactions; the chart samples
// the values the polling keeps.
class PidTuning : public QObject, public ChartXSpan
{
    Q_OBJECT
public:
    enum Channel { Setpoint, Feedback, PMark, IMark, DMark, ChannelCount };
    enum class GainOutcome { Declined, TooLow, TooHigh, Written, Failed };

    static constexpr int Capacity = 15000;
    static constexpr int TickMs = 100;
    static constexpr int GainRegister = 1813; // P7.20; I and D follow
    static constexpr int SetpointRegister = 1803; // P7.10
    static constexpr int RunRegister = 2332; // P9.27: 1 run, 0 stop
    static constexpr int FirstGainIndex = 720; // P7.20 in the catalogue

    explicit PidTuning(AppContext &ctx, QObject *parent = nullptr);

    // tmrPID: stopped while the user holds the knob and while a gain is
    // checked and written; the window owns the timer.
    void setTimerSwitch(std::function<void(bool)> onOff) { m_timer = std::move(onOff); }

    // Form_Load steps 1 to 5 at `nowMs`; false when the drive refuses PID
    // tuning (the message was shown and the screen must not open).
    bool open(double nowMs);
    // GetPID: the gains and the PID block read again; on the Ethernet route
    // the screen's data link (OPCData3) started again instead, its values
    // arriving by themselves from then on.
    void getPid();

    // Display values: raw register value divided by its factor.
    double knobMaximum() const;
    double setpoint() const;
    QString gainText(int gain) const;
    static int gainFactor(int gain);

    // tmrPID_Timer: one point of set-point and feedback at `nowMs`.
    void tick(double nowMs);
    // iKnobX1_OnPositionChangeFinished.
    void knobFinished(double position);
    // cmdPID_Click(gain) with the text of the gain's box; after a refusal
    // the box shows gainText() again.
    GainOutcome updateGain(int gain, const QString &text, double nowMs);
    // cmdRun_Click: false when a present fault refused it.
    bool run();
    void stop();

    // The closing question and the unload check against the status-bar
    // text; each shows its message. An unload stops the screen's data link.
    bool confirmClose();
    bool mayUnload(const QString &driveStatusText);

    SampleTable &table() { return m_table; }
    const SampleTable &table() const { return m_table; }
    double xSpanDays() const override { return m_xSpanDays; }
    void setXSpanDays(double days) override;

    // "Round half to even", as every value written to the drive.
    static qint16 registerValue(double display, int factor);

Q_SIGNALS:
    void xSpanChanged();

private:
    void setTimer(bool on);
    double gain(int gain) const;

    AppContext &m_ctx;
    SampleTable m_table;
    ScreenItems m_items; // OPCData3
    std::function<void(bool)> m_timer;
    double m_xSpanDays = DefaultSpanDays;
};

} // namespace Tarvel
