#include "DriveReadout.h"

#include "base/NumberText.h"
#include "comm/CommFailureEnd.h"
#include "comm/ParameterReads.h"
#include "model/AppContext.h"

namespace Tarvel {

QString DriveReadout::Value::text() const
{
    return NumberText::single(row.engineering(registerValue));
}

DriveReadout::DriveReadout(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool DriveReadout::readAll(const QString &routine)
{
    m_values.clear();
    const QVector<TransferRow> rows = TransferRows::load(m_ctx);
    m_values.reserve(rows.size());
    ParameterReads reads(m_ctx);
    reads.plan(TransferRows::addresses(rows));
    for (const TransferRow &row : rows) {
        m_ctx.statusList.setPosition(row.parameter);
        const qint16 value = reads.read(row.address, row.resolution, row.parameterText);
        m_transactions = reads.transactions();
        // Any result other than success means the drive's value is not
        // known, and nothing may be judged or saved from a guess.
        if (reads.resultCode() != 0) {
            CommFailureEnd::Ending ending = CommFailureEnd::serialRead(routine);
            ending.enableMain = false;
            CommFailureEnd(m_ctx, ending).finish(reads.resultCode());
            return false;
        }
        m_values << Value {row, value};
    }
    m_ctx.hooks().setPollTimerEnabled(true);
    return true;
}

QMap<int, QString> DriveReadout::texts() const
{
    QMap<int, QString> out;
    for (const Value &v : m_values)
        out.insert(v.row.parameter, v.text());
    return out;
}

} // namespace Tarvel
