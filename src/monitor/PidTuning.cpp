#include "PidTuning.h"

#include "DriveParameterLimits.h"
#include "TrendModel.h"
#include "base/NumberText.h"
#include "comm/DriveValues.h"
#include "comm/RegisterTransactions.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <cmath>

namespace Tarvel {

namespace {

constexpr int ValueFactor = 10; // set-point, P7.01 and the feedback
constexpr int PidOperation = 0; // PidValues: P7.00
constexpr int FullScale = 1; // P7.01
constexpr int SetpointSource = 2; // P7.02: 1 is the serial link
constexpr int SetpointSlot = 10; // P7.10
constexpr int FeedbackSlot = DriveValues::PidFeedbackSlot;

constexpr int PidLink = 3; // OPCData3

QList<ScreenItems::Item> pidItems()
{
    return {{"P07.00@WORD", 250}, {"P07.01@WORD", 250}, {"P07.02@WORD", 250}, {"P07.10@WORD", 100},
        {"P07.20@WORD", 100}, {"P07.21@WORD", 100}, {"P07.22@WORD", 100}, {"ST0.13@WORD", 100}};
}

QStringList channelNames()
{
    return {QStringLiteral("PID Setpoint"), QStringLiteral("PID Feedback"), QStringLiteral("PMark"),
        QStringLiteral("IMark"), QStringLiteral("DMark")};
}

} // namespace

PidTuning::PidTuning(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_table(channelNames(), Capacity)
    , m_items(ctx, PidLink, pidItems())
{ }

int PidTuning::gainFactor(int gain)
{
    return gain == 0 ? 10 : 100;
}

qint16 PidTuning::registerValue(double display, int factor)
{
    return qint16(std::nearbyint(display * factor));
}

void PidTuning::setTimer(bool on)
{
    if (m_timer)
        m_timer(on);
}

bool PidTuning::open(double nowMs)
{
    bool opened = false;
    m_ctx.trap(QStringLiteral("frmPID, Form_Load"), [&] {
        DriveParameterLimits::store(m_ctx, {FirstGainIndex, FirstGainIndex + 1, FirstGainIndex + 2});
        getPid();
        const auto &pid = m_ctx.state.PidValues;
        if (pid[SetpointSource] != 1 || pid[PidOperation] <= 0) {
            m_ctx.prompter().msgBox(
                QStringLiteral("Either P7.00 or P7.02 is not set properly. Please check the following settings:\r\r"
                               "P7.00 > 00 (PID Operation NOT inhibited)\rP7.02 = 01 (Serial Communications)\r\r"
                               "Until these settings are correct, PID tuning functionality will be unavailable."),
                Msg::Exclamation, QStringLiteral("PID Setpoint Functionality Disabled!"));
            return;
        }
        tick(nowMs);
        opened = true;
    });
    return opened;
}

void PidTuning::getPid()
{
    m_ctx.trap(QStringLiteral("frmPID, GetPID"), [&] {
        if (m_items.start())
            return;
        // The answers reach PidGains and PidValues as every read's do.
        RegisterTransactions reads(m_ctx);
        reads.uploadWhile(DriveValues::PidGainBlock, DriveValues::PidGainCount);
        reads.uploadWhile(DriveValues::PidBlock, DriveValues::PidBlockCount);
    });
}

double PidTuning::knobMaximum() const
{
    return m_ctx.state.PidValues[FullScale] / ValueFactor;
}

double PidTuning::setpoint() const
{
    return m_ctx.state.PidValues[SetpointSlot] / ValueFactor;
}

double PidTuning::gain(int gain) const
{
    return m_ctx.state.PidGains[size_t(gain)] / gainFactor(gain);
}

QString PidTuning::gainText(int gain) const
{
    return NumberText::single(float(this->gain(gain)));
}

void PidTuning::tick(double nowMs)
{
    m_ctx.trap(QStringLiteral("frmPID, tmrPID_Timer"), [&] {
        std::vector<double> row(ChannelCount, SampleTable::Missing);
        row[Setpoint] = setpoint();
        row[Feedback] = m_ctx.state.PidValues[FeedbackSlot] / ValueFactor;
        m_table.append(nowMs, row);
    });
}

void PidTuning::knobFinished(double position)
{
    m_ctx.trap(QStringLiteral("frmPID, iKnobX1_OnPositionChangeFinished"),
        [&] { RegisterTransactions(m_ctx).download1(SetpointRegister, registerValue(position, ValueFactor)); });
}

PidTuning::GainOutcome PidTuning::updateGain(int index, const QString &text, double nowMs)
{
    GainOutcome outcome = GainOutcome::Failed;
    m_ctx.trap(QStringLiteral("frmPID, cmdPID_Click()"), [&] {
        Prompter &prompter = m_ctx.prompter();
        if (prompter.msgBox(QStringLiteral("You are about to make a RUN-TIME change to the QX AC Drive operation!\r"
                                           "Are you sure you want to continue?"),
                Msg::YesNo, QStringLiteral("Confirm Action"))
            != Msg::Yes) {
            outcome = GainOutcome::Declined;
            return;
        }
        setTimer(false);
        const bool numeric = NumberText::isNumeric(text);
        const double v = numeric ? NumberText::val(text) : 0;
        // An empty catalogue entry counts as 0, as a missing limit does.
        const QString maxText = NumberText::variant(m_ctx.params.varMax[size_t(FirstGainIndex + index)]);
        const double max = NumberText::val(maxText);
        if (v < 0) {
            prompter.msgBox(
                QStringLiteral("Value must be 0 or greater."), Msg::Exclamation, QStringLiteral("Value Too Low!"));
            outcome = GainOutcome::TooLow;
        } else if (v > max) {
            prompter.msgBox(QStringLiteral("Value entered is greater than the parameter's high range of ") + maxText
                    + QStringLiteral("."),
                Msg::Exclamation, QStringLiteral("Value Too High!"));
            outcome = GainOutcome::TooHigh;
        } else {
            m_table.appendOne(nowMs, PMark + index, v);
            if (!numeric)
                throw TrappedError(Err::TypeMismatch, QStringLiteral("Type mismatch"));
            RegisterTransactions(m_ctx).download1(GainRegister + index, registerValue(v, gainFactor(index)));
            outcome = GainOutcome::Written;
        }
    });
    // Also after a refusal or a failed conversion the chart goes on.
    setTimer(true);
    return outcome;
}

bool PidTuning::run()
{
    bool started = false;
    m_ctx.trap(QStringLiteral("frmPID, cmdRun_Click"), [&] {
        if (m_ctx.state.DriveFaultCode != 0) {
            m_ctx.prompter().msgBox(QStringLiteral("There is a fault present in the drive.\rBefore proceeding, reset "
                                                   "all faults using\rthe hardware keypad on the drive."),
                Msg::Critical, QStringLiteral("Drive Fault(s) Exists"));
            return;
        }
        RegisterTransactions(m_ctx).download1(RunRegister, 1);
        started = true;
    });
    return started;
}

void PidTuning::stop()
{
    m_ctx.trap(QStringLiteral("frmPID, cmdStop_Click"), [&] { RegisterTransactions(m_ctx).download1(RunRegister, 0); });
}

bool PidTuning::confirmClose()
{
    bool ok = false;
    m_ctx.trap(QStringLiteral("frmPID, cmdClose_Click()"), [&] { ok = TrendModel::confirmDiscard(m_ctx); });
    return ok;
}

bool PidTuning::mayUnload(const QString &driveStatusText)
{
    bool may = false;
    m_ctx.trap(QStringLiteral("frmPID, QueryUnload()"), [&] {
        may = driveStatusText.contains(QLatin1String("STOP"));
        if (may)
            m_items.stop();
        else
            m_ctx.prompter().msgBox(QStringLiteral("Drive must be stopped before exiting PID Tuning."),
                Msg::Exclamation, QStringLiteral("Drive Must Be Stopped!"));
    });
    return may;
}

void PidTuning::setXSpanDays(double days)
{
    m_xSpanDays = days;
    Q_EMIT xSpanChanged();
}

} // namespace Tarvel
