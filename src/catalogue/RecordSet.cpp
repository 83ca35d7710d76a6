#include "RecordSet.h"

#include "base/ErrorCodes.h"
#include "base/TrappedError.h"

namespace Tarvel {

RecordSet::RecordSet(QVector<QSqlRecord> rows)
    : m_rows(std::move(rows))
{ }

const QSqlRecord &RecordSet::current() const
{
    if (eof())
        throw TrappedError(Err::NoCurrentRecord);
    return m_rows.at(m_pos);
}

QVariant RecordSet::field(const QString &name) const
{
    const QSqlRecord &row = current();
    const int i = row.indexOf(name); // QSqlRecord matches names without regard to case
    if (i < 0)
        throw TrappedError(Err::ItemNotFound);
    return row.value(i);
}

} // namespace Tarvel
