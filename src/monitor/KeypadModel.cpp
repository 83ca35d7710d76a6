#include "KeypadModel.h"

#include "comm/StatusScale.h"

#include "DriveAccess.h"
#include "ScreenItems.h"
#include "base/Logging.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <cmath>

namespace Tarvel {

namespace {

// One row per quantity: caption, the StatusValues element (its scale is
// the status item's) and the decimals shown.
struct Quantity
{
    const char *caption;
    int element;
    int decimals;
};

constexpr Quantity Quantities[KeypadModel::DisplayCount] = {
    {"Output Frequency in Hz", 1, 1},
    {"Motor Speed in RPM", 5, 0},
    {"Scaled Frequency in Hz", 6, 2},
    {"Output Current in Amps", 2, 1},
    {"Motor Load in %", 9, 1},
    {"Output Voltage", 4, 1},
    {"DC Bus Voltage", 3, 1},
    {"PID Setpoint", 10, 1},
    {"PID Feedback Signal (PV)", 11, 1},
    {"Setpoint Frequency in Hz", 0, 1},
};

constexpr int SetpointElement = 0; // ST00.02, the frequency command
constexpr int PidSetpointElement = 10; // ST00.12

const QString Location = QStringLiteral("frmKeypad, ");

constexpr int KeypadLink = 2; // OPCData2
constexpr int KeypadRateMs = 100;
constexpr int SerialDisplayMs = 250;
constexpr int SerialLampMs = 1500;
constexpr int EthernetTimerMs = 100;

// The keypad's items: its quantities, the factor P8.01 and ST00.10.
QList<ScreenItems::Item> keypadItems()
{
    QList<ScreenItems::Item> items;
    for (const char *tag :
        {"ST00.02@WORD", "ST00.03@WORD", "ST00.04@WORD", "ST00.05@WORD", "ST00.06@WORD", "ST00.07@WORD", "ST00.08@WORD",
            "ST00.09@WORD", "ST00.11@WORD", "P08.01@WORD", "ST00.10@WORD", "ST00.12@WORD", "ST00.13@WORD"})
        items.append({tag, KeypadRateMs});
    return items;
}

} // namespace

KeypadModel::KeypadModel(AppContext &ctx)
    : m_ctx(ctx)
    , m_items(std::make_unique<ScreenItems>(ctx, KeypadLink, keypadItems()))
{ }

KeypadModel::~KeypadModel() = default;

int KeypadModel::displayIntervalMs() const
{
    return m_items->started() ? EthernetTimerMs : SerialDisplayMs;
}

int KeypadModel::lampIntervalMs() const
{
    return m_items->started() ? EthernetTimerMs : SerialLampMs;
}

bool KeypadModel::confirmOpen(AppContext &ctx)
{
    const int answer = ctx.prompter().msgBox(
        QStringLiteral("Warning: This function is intended for maintenance purposes only.\r"
                       "The drive must be stopped to change to the proper settings\r"
                       "and to exit the maintenance keypad function.\r"
                       "For proper operation, please ensure the following settings are correct:\r"
                       "P3.00 = 03 or 04 (RS-485 Interface)\r"
                       "P4.00 = 05 (RS-485 Interface)"),
        Msg::OKCancel | Msg::Information, QStringLiteral("Proper Settings Required"));
    return answer == Msg::OK;
}

void KeypadModel::open()
{
    m_ctx.trap(Location + QStringLiteral("Form_Load"), [&] {
        m_items->start();
        readKnobMaximum();
        m_knobPosition = value(SetpointDisplay);
        const std::optional<qint16> pid = DriveAccess(m_ctx).read(PidOperation);
        if (pid && *pid > 0)
            m_knobShown = false;
        qCInfo(lcMonitor) << "keypad opened; knob maximum" << m_knobMaximum << "PID" << pid.value_or(-1);
    });
}

bool KeypadModel::readKnobMaximum()
{
    DriveAccess drive(m_ctx);
    const std::optional<qint16> maxSpeed = drive.read(MaxSpeed);
    const std::optional<qint16> ratedSpeed = maxSpeed ? drive.read(RatedSpeed) : std::nullopt;
    const std::optional<qint16> frequency = ratedSpeed ? drive.read(MotorFrequency) : std::nullopt;
    // A failed read keeps the last maximum; the read told of its failure.
    if (!frequency || *ratedSpeed <= 0)
        return false;
    m_knobMaximum = *frequency * (double(*maxSpeed) / *ratedSpeed);
    return true;
}

void KeypadModel::setDisplay(int index)
{
    if (index >= 0 && index < DisplayCount)
        m_display = index;
}

QString KeypadModel::caption(int index)
{
    return QString::fromLatin1(Quantities[index].caption);
}

double KeypadModel::value(int index) const
{
    return StatusScale::value(m_ctx.state, Quantities[index].element);
}

int KeypadModel::decimals(int index)
{
    return Quantities[index].decimals;
}

bool KeypadModel::seriesOne() const
{
    return NumberText::val(m_ctx.state.strDriveSeries) == 1;
}

void KeypadModel::nextDisplay()
{
    m_display = (m_display + 1) % DisplayCount;
    if (seriesOne() && (m_display == PidSetpointDisplay || m_display == PidFeedbackDisplay))
        m_display = SetpointDisplay;
}

void KeypadModel::previousDisplay()
{
    m_display = (m_display + DisplayCount - 1) % DisplayCount;
    if (seriesOne() && (m_display == PidSetpointDisplay || m_display == PidFeedbackDisplay))
        m_display = PidSetpointDisplay - 1;
}

// The PID setpoint is the drive's to take only from the serial link.
bool KeypadModel::pidReady()
{
    DriveAccess drive(m_ctx);
    const std::optional<qint16> operation = drive.read(PidOperation);
    if (!operation)
        return false; // the read told of its failure
    const std::optional<qint16> source = drive.read(PidSetpointSource);
    if (!source)
        return false;
    if (*operation > 0 && *source == 1)
        return true;
    m_ctx.prompter().msgBox(
        QStringLiteral("Ensure P7.00 and P7.02 are set properly."), Msg::Exclamation, QStringLiteral("Data Not Sent!"));
    return false;
}

KeypadModel::Outcome KeypadModel::step(int delta)
{
    Outcome outcome = Outcome::Unchanged;
    const QString where = delta > 0 ? QStringLiteral("cmdUp_MouseDown") : QStringLiteral("cmdDown_MouseDown");
    m_ctx.trap(Location + where, [&] {
        if (m_display == PidSetpointDisplay || m_display == PidFeedbackDisplay) {
            m_display = PidSetpointDisplay;
            if (!pidReady()) {
                outcome = Outcome::Refused;
                return;
            }
            outcome = writeSetpoint(PidSetpoint, m_ctx.state.StatusValues[PidSetpointElement] + delta);
            return;
        }
        m_display = SetpointDisplay;
        outcome = writeSetpoint(FrequencyCommand, m_ctx.state.StatusValues[SetpointElement] + delta);
    });
    return outcome;
}

// A setpoint below zero is nothing a drive takes; it is not sent.
KeypadModel::Outcome KeypadModel::writeSetpoint(int address, int value)
{
    if (value < 0)
        return Outcome::Unchanged;
    if (DriveAccess(m_ctx).write(address, qint16(value)) != 0)
        return Outcome::Failed;
    // The drive holds it now; the display need not wait for the next poll,
    // and a second step goes on from here.
    m_ctx.state.StatusValues[address == PidSetpoint ? PidSetpointElement : SetpointElement] = qint16(value);
    return Outcome::Written;
}

QString KeypadModel::knobButtonCaption() const
{
    return m_knobShown ? QStringLiteral("Buttons") : QStringLiteral("Knob");
}

void KeypadModel::knobPressed()
{
    m_display = SetpointDisplay;
}

KeypadModel::Outcome KeypadModel::knobTurned(double hz)
{
    Outcome outcome = Outcome::Failed;
    m_ctx.trap(Location + QStringLiteral("iKnobX1_OnPositionChangeFinished"), [&] {
        m_knobPosition = hz;
        outcome = writeSetpoint(FrequencyCommand, int(std::lround(hz * 10)));
    });
    return outcome;
}

void KeypadModel::toggleKnob()
{
    m_ctx.trap(Location + QStringLiteral("cmdKnob_Click"), [&] {
        const std::optional<qint16> pid = DriveAccess(m_ctx).read(PidOperation);
        if (!pid)
            return; // the read told of its failure
        if (*pid > 0) {
            m_ctx.prompter().msgBox(QStringLiteral("Knob not available in PID mode."), Msg::Exclamation,
                QStringLiteral("Feature Not Available"));
            return;
        }
        m_knobShown = !m_knobShown;
        if (m_knobShown)
            m_knobPosition = value(SetpointDisplay);
    });
}

KeypadModel::Outcome KeypadModel::writeCommand(int address, int value, const QString &location)
{
    Outcome outcome = Outcome::Failed;
    m_ctx.trap(Location + location,
        [&] { outcome = DriveAccess(m_ctx).write(address, qint16(value)) == 0 ? Outcome::Written : Outcome::Failed; });
    return outcome;
}

KeypadModel::Outcome KeypadModel::run()
{
    if (m_ctx.state.DriveFaultCode != 0) {
        m_ctx.prompter().msgBox(QStringLiteral("There is a fault present in the drive.\r"
                                               "Before proceeding, reset all faults using\r"
                                               "the hardware keypad on the drive."),
            Msg::Exclamation, QStringLiteral("Drive Fault(s) Exists"));
        return Outcome::Refused;
    }
    return writeCommand(RunCommand, 1, QStringLiteral("cmdRun_Click"));
}

KeypadModel::Outcome KeypadModel::stop()
{
    return writeCommand(RunCommand, 0, QStringLiteral("cmdStop_Click"));
}

int KeypadModel::directionBits() const
{
    return (m_ctx.state.DriveStatusWord >> 3) & 3;
}

KeypadModel::Outcome KeypadModel::fwdRev()
{
    switch (directionBits()) {
    case 0:
        return writeCommand(DirectionCommand, 1, QStringLiteral("cmdFwdRev_Click"));
    case 3:
        return writeCommand(DirectionCommand, 0, QStringLiteral("cmdFwdRev_Click"));
    default:
        return Outcome::Unchanged; // a change of direction is under way
    }
}

KeypadModel::Outcome KeypadModel::setDirection(bool reverse)
{
    const int bits = directionBits();
    if (bits == (reverse ? 3 : 0))
        return Outcome::Unchanged;
    if (bits != (reverse ? 0 : 3))
        return Outcome::Refused; // a change of direction is under way
    return fwdRev();
}

KeypadModel::Outcome KeypadModel::setFrequency(double hz)
{
    if (!std::isfinite(hz) || hz < 0 || hz > m_knobMaximum)
        return Outcome::Refused;
    return knobTurned(hz);
}

void KeypadModel::updateLamps()
{
    const qint16 word = m_ctx.state.DriveStatusWord;
    if (word < 0)
        return;
    switch (word & 3) {
    case 0:
        m_lamps.stop = Lit;
        m_lamps.run = Off;
        break;
    case 1:
        m_lamps.run = Changing;
        m_lamps.stop = Lit;
        break;
    case 3:
        m_lamps.run = Lit;
        m_lamps.stop = Off;
        break;
    default:
        break; // standby: as they were
    }
    m_lamps.jog = word & 4 ? Lit : Off;
    static constexpr Lamp Fwd[] = {Lit, Lit, Changing, Off};
    static constexpr Lamp Rev[] = {Off, Changing, Lit, Lit};
    m_lamps.fwd = Fwd[directionBits()];
    m_lamps.rev = Rev[directionBits()];
}

bool KeypadModel::mayClose(const QString &statusPanel)
{
    if (statusPanel.contains(QLatin1String("STOP"))) {
        m_items->stop();
        return true;
    }
    m_ctx.prompter().msgBox(QStringLiteral("Drive must be stopped before exiting the Maintenance Keypad."),
        Msg::Exclamation, QStringLiteral("Drive Must Be Stopped!"));
    return false;
}

} // namespace Tarvel
