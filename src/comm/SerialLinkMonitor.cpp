#include "SerialLinkMonitor.h"

#include "CommLink.h"
#include "DriveValues.h"
#include "RegisterTransactions.h"
#include "model/AppContext.h"

namespace Tarvel {

namespace { } // namespace

const SerialLinkMonitor::PollRead SerialLinkMonitor::PollReads[3] = {
    {DriveValues::FaultCode, 1},
    {DriveValues::StatusBlock, DriveValues::StatusBlockCount},
    {DriveValues::Identity, DriveValues::IdentityCount},
};

SerialLinkMonitor::SerialLinkMonitor(AppContext &ctx)
    : m_ctx(ctx)
    , m_link(ctx.link())
{ }

bool SerialLinkMonitor::linkOpen() const
{
    return m_link.linkOpen();
}

bool SerialLinkMonitor::pollDrive()
{
    if (m_link.ethernetOpen())
        return m_ctx.state.StatusValues[DriveValues::KolvLinkSlot] == 1;
    RegisterTransactions transactions(m_ctx);
    ModbusMaster &mod1 = m_link.mod1();
    for (const PollRead &read : PollReads) {
        // A transaction of someone else's may still be on the line; the
        // read would be refused rather than queued.
        mod1.waitWhileBusy();
        if (!m_link.serialOpen())
            return false; // closed by the user while a read waited
        transactions.upload(read.startRegister, read.count);
        mod1.waitWhileBusy();
    }
    return m_link.serialOpen() && mod1.resultCode() <= 0;
}

void SerialLinkMonitor::closeConnection()
{
    m_link.closeConnection();
}

} // namespace Tarvel
