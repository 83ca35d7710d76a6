#pragma once

#include <QSqlRecord>
#include <QVariant>
#include <QVector>

namespace Tarvel {

// A static, read-only snapshot of a query's rows, walked the classic way:
// RecordCount, EOF, MoveNext, MoveLast and columns by name (any case).
class RecordSet
{
public:
    RecordSet() = default;
    explicit RecordSet(QVector<QSqlRecord> rows);

    int recordCount() const { return int(m_rows.size()); }
    bool eof() const { return m_pos >= m_rows.size(); }
    int position() const { return int(m_pos); }
    void moveFirst() { m_pos = 0; }
    void moveNext() { ++m_pos; }
    void moveLast() { m_pos = m_rows.isEmpty() ? 0 : m_rows.size() - 1; }

    // The column of the current row; raises 3021 past the end and 3265 for
    // a column the query does not have.
    QVariant field(const QString &name) const;
    const QSqlRecord &current() const;

private:
    QVector<QSqlRecord> m_rows;
    qsizetype m_pos = 0;
};

} // namespace Tarvel
