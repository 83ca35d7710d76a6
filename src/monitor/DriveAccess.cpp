#include "DriveAccess.h"

#include "base/Logging.h"
#include "comm/CommLink.h"
#include "comm/RegisterTransactions.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <QList>

namespace Tarvel {

DriveAccess::DriveAccess(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool DriveAccess::ethernet() const
{
    return m_ctx.state.strConnected == QLatin1String("True");
}

bool DriveAccess::linkOpen() const
{
    return m_ctx.link().serialOpen() || ethernet();
}

void DriveAccess::askToConnect(const std::function<void()> &showConnection)
{
    const int answer = m_ctx.prompter().msgBox(
        QStringLiteral("You don't appear to be connected to a drive.\rWould you like to connect now?"),
        Msg::YesNo | Msg::Critical, QStringLiteral("No Connection Present"));
    if (answer == Msg::Yes && showConnection)
        showConnection();
}

// A failed waited read leaves the poll timer off for its caller to decide;
// the screens want the polling on, which then tells of a lost link.
void DriveAccess::resumePolling()
{
    m_ctx.hooks().setPollTimerEnabled(true);
}

std::optional<qint16> DriveAccess::read(int address)
{
    QList<qint16> values;
    if (!readBlock(address, 1, &values))
        return std::nullopt;
    return values.first();
}

bool DriveAccess::readBlock(int address, int count, QList<qint16> *values)
{
    if (ethernet())
        return readItems(address, count, values);
    const qint16 first = RegisterTransactions(m_ctx).uploadWhile(address, count);
    (void)first; // the whole block is taken from the component below
    const ModbusMaster &mod1 = m_ctx.link().mod1();
    if (mod1.resultCode() != ModbusMaster::Success) {
        resumePolling();
        return false;
    }
    values->clear();
    for (int i = 0; i < count; ++i)
        values->append(mod1.registerValue(i));
    return true;
}

// The route that answers item by item: one item per register, and only
// the read's own outcome tells a failure.
bool DriveAccess::readItems(int address, int count, QList<qint16> *values)
{
    QList<qint16> read;
    for (int i = 0; i < count; ++i) {
        RegisterTransactions transactions(m_ctx);
        const qint16 value = transactions.uploadWhile(address + i, 1);
        if (transactions.lastResult() != 0) {
            resumePolling();
            return false;
        }
        read << value;
    }
    *values = read;
    return true;
}

int DriveAccess::write(int address, qint16 value)
{
    const int state = RegisterTransactions(m_ctx).download1(address, value);
    if (ethernet())
        return state;
    if (!m_ctx.link().serialOpen())
        return ModbusMaster::NotStarted;
    const int code = m_ctx.link().mod1().resultCode();
    qCInfo(lcMonitor) << "write" << address << "=" << value << "result" << code;
    return code;
}

} // namespace Tarvel
