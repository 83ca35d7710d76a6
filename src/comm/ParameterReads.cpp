#include "ParameterReads.h"

#include "CommLink.h"
#include "RegisterTransactions.h"
#include "base/Logging.h"
#include "model/AppContext.h"
#include "ports/ShellHooks.h"

namespace Tarvel {

namespace {

// The exception a drive gives for a request form it does not take at all:
// no block will be answered, so none is tried again.
constexpr int IllegalFunction = 1;

} // namespace

// Why a block read may stand in for single reads: the drive's parameters
// are independent holding registers. Reading registers N..N+k in one
// request returns, register by register, what k+1 single reads of them
// return; nothing on the drive changes by being read, and the order of the
// reads inside the block does not matter. What differs is only the wire:
// one request and one answer instead of k+1 of each, with the turnaround
// and the inter-frame silences paid once.

ParameterReads::ParameterReads(AppContext &ctx)
    : m_ctx(ctx)
{ }

void ParameterReads::plan(const QVector<int> &addresses)
{
    m_plan = addresses;
    m_cursor = 0;
    m_held.clear();
    m_singleFrom = m_singleTo = 0;
}

bool ParameterReads::blockMode() const
{
    // Blocks are a serial Modbus matter; the Ethernet route reads items.
    return m_ctx.link().blockTransfer() && m_ctx.state.strConnected != QLatin1String("True") && !m_blocksRefused;
}

qint16 ParameterReads::read(int address, float resolution, const QString &parameterText)
{
    const auto held = m_held.constFind(address);
    if (held != m_held.cend()) {
        const qint16 value = *held;
        m_held.erase(held); // asked again, it is read again
        m_resultCode = ModbusMaster::Success;
        return value;
    }
    const bool inRefusedRun = address >= m_singleFrom && address < m_singleTo;
    if (blockMode() && !inRefusedRun) {
        const int count = runLength(address);
        if (count > 1) {
            const int code = readBlock(address, count);
            if (code == ModbusMaster::Success)
                return read(address, resolution, parameterText);
            if (!ModbusMaster::isException(code)) {
                m_resultCode = code; // a link failure: a single read would only fail again
                return RegisterTransactions::FailureValue;
            }
            // Refused: this run is read one register at a time, from here on.
            m_singleFrom = address;
            m_singleTo = address + count;
            if (code == IllegalFunction)
                m_blocksRefused = true;
        }
    }
    return readSingle(address, resolution, parameterText);
}

qint16 ParameterReads::readSingle(int address, float resolution, const QString &parameterText)
{
    ++m_transactions;
    RegisterTransactions transactions(m_ctx);
    const qint16 value = transactions.uploadWhile(address, 1, resolution, parameterText);
    m_resultCode = transactions.lastResult();
    return value;
}

int ParameterReads::runLength(int address)
{
    // The loop asks in plan order, so the address is normally at the cursor;
    // an address asked out of turn is looked for from the start.
    qsizetype pos = m_plan.indexOf(address, m_cursor);
    if (pos < 0)
        pos = m_plan.indexOf(address);
    if (pos < 0)
        return 1;
    m_cursor = pos + 1;
    int count = 1;
    while (count < MaxBlockRegisters && pos + count < m_plan.size() && m_plan.at(pos + count) == address + count)
        ++count;
    return count;
}

int ParameterReads::readBlock(int address, int count)
{
    ModbusMaster &mod1 = m_ctx.link().mod1();
    // As for a single read: no polling read may come between, and one still
    // on the line must end first.
    setPollTimer(false);
    m_ctx.pause(0.4);
    mod1.waitWhileBusy();
    mod1.setStartOffset(0);
    mod1.setRegisterCount(count);
    mod1.setStartRegister(address);
    mod1.setFunctionCode(ModbusMaster::ReadRegisters);
    ++m_transactions;
    mod1.trigger();
    mod1.waitWhileBusy();
    const int code = mod1.resultCode();
    if (code == ModbusMaster::Success) {
        for (int k = 0; k < count; ++k)
            m_held.insert(address + k, mod1.registerValue(k));
        setPollTimer(true);
        return code;
    }
    if (ModbusMaster::isException(code)) {
        qCInfo(lcComm).noquote() << "block of" << count << "registers from" << address
                                 << "refused:" << ModbusMaster::resultText(code) << "- reading them one at a time";
        return code;
    }
    // The same entry a failed single read leaves; the poll timer stays off
    // for the caller to decide, as there.
    qCWarning(lcComm).noquote() << "Mod1 returned" << code << ModbusMaster::resultText(code) << "reading a block";
    m_ctx.errorLog().write(QStringLiteral("Mod1 retuned "), QStringLiteral("status code "), code,
        QStringLiteral(" in basCom_UploadWhile()."));
    return code;
}

void ParameterReads::setPollTimer(bool enabled)
{
    m_ctx.hooks().setPollTimerEnabled(enabled);
}

} // namespace Tarvel
