#include "ParameterWrites.h"

#include "rules/Resolution.h"

#include "CommLink.h"
#include "ModbusMaster.h"
#include "model/AppContext.h"

#include <cmath>
#include <limits>

namespace Tarvel {

namespace {

bool fitsRegister(double value)
{
    return value >= std::numeric_limits<qint16>::min() && value <= std::numeric_limits<qint16>::max();
}

} // namespace

ParameterWrites::ParameterWrites(AppContext &ctx)
    : m_mod1(ctx.link().mod1())
    , m_blocks(ctx.link().blockTransfer())
{ }

bool ParameterWrites::registerValue(double value, float resolution, qint16 *out)
{
    if (!(resolution != 0.0f) || !std::isfinite(value))
        return false;
    const double multiplier = Resolution::multiplier(resolution);
    if (!fitsRegister(multiplier))
        return false;
    const double product = Resolution::roundHalfEven(value * multiplier);
    if (!fitsRegister(product))
        return false;
    *out = qint16(product);
    return true;
}

int ParameterWrites::writeGroup(const QVector<ParameterWrite> &rows)
{
    return m_blocks ? writeBlocks(rows) : writeSingly(rows.constData(), rows.size());
}

int ParameterWrites::writeSingly(const ParameterWrite *rows, qsizetype count)
{
    for (qsizetype i = 0; i < count; ++i) {
        const int code = transact(rows + i, 1);
        if (code != ModbusMaster::Success)
            return code;
    }
    return ModbusMaster::Success;
}

int ParameterWrites::writeBlocks(const QVector<ParameterWrite> &rows)
{
    for (qsizetype i = 0; i < rows.size();) {
        const int n = runLength(rows.constData() + i, rows.size() - i);
        const int code = transact(rows.constData() + i, n);
        // A drive that takes no blocks refuses them whole (it checks every
        // register before storing any), so the rest of the group is written
        // the way every drive accepts. Link failures are not retried: the
        // download ends on them as it does with single writes.
        if (n > 1 && ModbusMaster::isException(code)) {
            m_blocks = false; // the next groups would only be refused again
            return writeSingly(rows.constData() + i, rows.size() - i);
        }
        if (code != ModbusMaster::Success)
            return code;
        i += n;
    }
    return ModbusMaster::Success;
}

int ParameterWrites::runLength(const ParameterWrite *rows, qsizetype available)
{
    int n = 1;
    while (n < available && n < MaxBlockRegisters && rows[n].address == rows[n - 1].address + 1)
        ++n;
    return n;
}

int ParameterWrites::transact(const ParameterWrite *first, int count)
{
    // A polling read started just before the timer was stopped may still be
    // on the line; triggering over it would be refused as a failure.
    m_mod1.waitWhileBusy();
    m_mod1.setStartOffset(0);
    m_mod1.setRegisterCount(count);
    m_mod1.setFunctionCode(ModbusMaster::DownloadRegisters);
    for (int k = 0; k < count; ++k)
        m_mod1.setRegisterValue(k, first[k].value);
    m_mod1.setStartRegister(first->address);
    ++m_transactions;
    m_mod1.trigger();
    m_mod1.waitWhileBusy();
    return m_mod1.resultCode();
}

} // namespace Tarvel
