#include "FaultHistory.h"

#include "DriveAccess.h"
#include "base/Logging.h"
#include "comm/RegisterTransactions.h"
#include "model/AppContext.h"

#include <iterator>

namespace Tarvel {

namespace {

const QString FaultTexts[] = {
    QStringLiteral("No Faults Occurred"),
    QStringLiteral("Over-Current (oc)"),
    QStringLiteral("Over-Voltage (ov)"),
    QStringLiteral("Overheat (oH)"),
    QStringLiteral("Overload (oL)"),
    QStringLiteral("Overload 1 (oL1)"),
    QStringLiteral("Overload 2 (oL2)"),
    QStringLiteral("External Fault (EF)"),
    QStringLiteral("CPU Failure 1 (CF1)"),
    QStringLiteral("CPU Failure 2 (CF2)"),
    QStringLiteral("CPU Failure 3 (CF3)"),
    QStringLiteral("Hardware Protection Fault (HPF)"),
    QStringLiteral("Over-Current During Accel (OCA)"),
    QStringLiteral("Over-Current During Decel (OCd)"),
    QStringLiteral("Over-Current During Steady State (OCn)"),
    QStringLiteral("Ground Fault or Fuse Failure (GFF)"),
    QStringLiteral("Reserved"),
    QStringLiteral("Input Power 3 Phase Loss"),
    QStringLiteral("External Base Block (bb)"),
    QStringLiteral("Auto Adjust Accel/Decel Failure (cFA)"),
    QStringLiteral("Software Protection Fault"),
};

constexpr int FirstRecordNumber = 31; // P6.31

} // namespace

FaultHistory::FaultHistory(AppContext &ctx)
    : m_ctx(ctx)
    , m_texts(RecordCount)
{ }

std::optional<QString> FaultHistory::faultText(int code)
{
    if (code < 0 || code >= int(std::size(FaultTexts)))
        return std::nullopt;
    return FaultTexts[code];
}

const QStringList &FaultHistory::captions()
{
    static const QStringList captions {
        QStringLiteral("P6.31 - Present Fault Record:"),
        QStringLiteral("P6.32 - 2nd Most Recent Fault Record:"),
        QStringLiteral("P6.33 - 3rd Most Recent Fault Record:"),
        QStringLiteral("P6.34 - 4th Most Recent Fault Record:"),
        QStringLiteral("P6.35 - 5th Most Recent Fault Record:"),
        QStringLiteral("P6.36 - 6th Most Recent Fault Record:"),
    };
    return captions;
}

FaultHistory::Outcome FaultHistory::read(const std::function<void()> &showConnection)
{
    DriveAccess drive(m_ctx);
    if (!drive.linkOpen()) {
        drive.askToConnect(showConnection);
        return Outcome::NoLink;
    }
    const bool ethernet = m_ctx.state.strConnected == QLatin1String("True");
    const bool read = ethernet ? readEthernet() : readSerial();
    qCInfo(lcMonitor) << "fault history read:" << read << m_codes;
    return read ? Outcome::Read : Outcome::Failed;
}

// One read of the six records. When it fails the component still holds an
// earlier read's values, which are no fault codes: the labels stay.
bool FaultHistory::readSerial()
{
    QList<qint16> values;
    if (!DriveAccess(m_ctx).readBlock(FirstRegister, RecordCount, &values))
        return false;
    m_codes.clear();
    for (int i = 0; i < RecordCount; ++i) {
        m_codes << values.at(i);
        show(i, values.at(i));
    }
    return true;
}

// The Ethernet module gives each record as an item of its own; a failed
// item reads as the failure value, outside the table, and keeps its label.
bool FaultHistory::readEthernet()
{
    RegisterTransactions transactions(m_ctx);
    QList<int> codes;
    for (int i = 0; i < RecordCount; ++i) {
        const QString item = QStringLiteral("P06.%1@Word").arg(FirstRecordNumber + i);
        const qint16 code = transactions.uploadWhile(FirstRegister + i, 1, 1, item);
        codes << code;
        show(i, code);
    }
    const bool all = !codes.contains(RegisterTransactions::FailureValue);
    if (all)
        m_codes = codes;
    else
        m_ctx.hooks().setPollTimerEnabled(true);
    return all;
}

void FaultHistory::show(int record, int code)
{
    if (const std::optional<QString> text = faultText(code))
        m_texts[record] = *text;
}

} // namespace Tarvel
