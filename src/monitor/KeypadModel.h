#pragma once

#include <QString>

#include <memory>

namespace Tarvel {

class AppContext;
class ScreenItems;

// frmKeypad without its widgets: the drive's own keypad for maintenance.
// It shows one of ten status quantities from the shared drive values the
// polling keeps, lights the lamps from the status word, and writes the
// run, direction and frequency commands through the register
// transactions. Nothing is written unless a user action asks for it.
class KeypadModel
{
public:
    // Registers the keypad reads and writes (Pg.nn is g*256 + nn + 1).
    static constexpr int MotorFrequency = 3; // P0.02, Hz
    static constexpr int RatedSpeed = 4; // P0.03, rpm
    static constexpr int MaxSpeed = 5; // P0.04, rpm
    static constexpr int PidOperation = 1793; // P7.00, 0 inhibits
    static constexpr int PidSetpointSource = 1795; // P7.02, 1 serial
    static constexpr int PidSetpoint = 1803; // P7.10, tenths
    static constexpr int FrequencyCommand = 2331; // P9.26, tenths of Hz
    static constexpr int RunCommand = 2332; // P9.27, 1 run, 0 stop
    static constexpr int DirectionCommand = 2333; // P9.28, 0 forward, 1 reverse

    static constexpr int DisplayCount = 10;
    static constexpr int PidSetpointDisplay = 7;
    static constexpr int PidFeedbackDisplay = 8;
    static constexpr int SetpointDisplay = 9;

    // Lamp colours as the classic colour numbers (0xBBGGRR): lit red,
    // changing yellow, off grey.
    enum Lamp : int { Lit = 255, Changing = 65535, Off = 8421504 };
    struct Lamps
    {
        Lamp run = Off;
        Lamp stop = Off;
        Lamp jog = Off;
        Lamp fwd = Off;
        Lamp rev = Off;
    };

    // What became of a command: written and taken by the drive, refused
    // here (told to the user), nothing to do, or a write that failed (the
    // failure is logged by the transaction).
    enum class Outcome { Written, Refused, Unchanged, Failed };

    explicit KeypadModel(AppContext &ctx);
    ~KeypadModel();

    // mnuKeypad_Click's warning; true when answered OK.
    static bool confirmOpen(AppContext &ctx);
    // Form_Load: on the Ethernet route the keypad's own data link started
    // first; the knob's maximum and position, and the PID mode (the knob
    // gives way to the arrows while PID operation is on).
    void open();
    // tmrKeyDisplay and tmrKeypad: faster on the Ethernet route, whose
    // values arrive by themselves.
    int displayIntervalMs() const;
    int lampIntervalMs() const;
    // The knob's maximum from P0.02 x P0.04 / P0.03; false when a read
    // failed (the maximum stays as it was).
    bool readKnobMaximum();

    // The shown quantity: the window's Tag, its caption and value.
    int display() const { return m_display; }
    void setDisplay(int index);
    static QString caption(int index);
    // The value of a quantity from the shared status values, and the
    // decimals it is shown with.
    double value(int index) const;
    static int decimals(int index);
    // cmdDisplayR / cmdDisplayL; a series-1 drive has no PID quantities.
    void nextDisplay();
    void previousDisplay();

    // cmdUp / cmdDown pressed: +1 or -1 register unit on the PID setpoint
    // when a PID quantity shows, else on the frequency command.
    Outcome step(int delta);

    // The knob (Hz) and its switch with the arrows.
    double knobMaximum() const { return m_knobMaximum; }
    double knobPosition() const { return m_knobPosition; }
    bool knobShown() const { return m_knobShown; }
    QString knobButtonCaption() const; // "Buttons" while the knob shows
    void knobPressed();
    // A turn of the knob ended at `hz`.
    Outcome knobTurned(double hz);
    // cmdKnob_Click; refused in PID mode.
    void toggleKnob();

    // cmdRun_Click, cmdStop_Click, cmdFwdRev_Click.
    Outcome run();
    Outcome stop();
    Outcome fwdRev();
    // The direction asked for by name: written only when the drive turns
    // the other way; refused during a change of direction.
    Outcome setDirection(bool reverse);
    // A frequency within the knob's range, written as the knob does.
    Outcome setFrequency(double hz);

    // tmrKeypad: the lamps from the status word.
    void updateLamps();
    const Lamps &lamps() const { return m_lamps; }

    // Form_QueryUnload: the drive must show STOP in the status panel;
    // otherwise the user is told and the keypad stays. On closing, the
    // keypad's data link stops.
    bool mayClose(const QString &statusPanel);

private:
    bool seriesOne() const;
    bool pidReady();
    Outcome writeCommand(int address, int value, const QString &location);
    Outcome writeSetpoint(int address, int value);
    int directionBits() const;

    AppContext &m_ctx;
    int m_display = 0;
    double m_knobMaximum = 60;
    double m_knobPosition = 0;
    bool m_knobShown = true;
    Lamps m_lamps;
    std::unique_ptr<ScreenItems> m_items; // OPCData2
};

} // namespace Tarvel
