#include "CsvReader.h"

#include <QFile>

QVector<QStringList> CsvReader::parse(const QString &text, QVector<int> *lines)
{
    QVector<QStringList> records;
    QStringList record;
    QString field;
    bool quoted = false;
    bool fieldStarted = false;
    int line = 1;
    int recordLine = 1;

    auto endField = [&] {
        record << field;
        field.clear();
        fieldStarted = false;
    };
    auto endRecord = [&] {
        endField();
        const bool blank = record.size() == 1 && record.first().isEmpty();
        if (!blank) {
            records << record;
            if (lines)
                lines->append(recordLine);
        }
        record.clear();
    };

    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (quoted) {
            if (c == u'"') {
                if (i + 1 < text.size() && text.at(i + 1) == u'"') {
                    field += u'"';
                    ++i;
                } else {
                    quoted = false;
                }
            } else {
                if (c == u'\n')
                    ++line;
                field += c;
            }
            continue;
        }
        if (c == u'"' && !fieldStarted) {
            quoted = true;
            fieldStarted = true;
        } else if (c == u',') {
            endField();
        } else if (c == u'\r') {
            // part of a CR LF line end
        } else if (c == u'\n') {
            endRecord();
            ++line;
            recordLine = line;
        } else {
            field += c;
            fieldStarted = true;
        }
    }
    if (fieldStarted || !record.isEmpty() || !field.isEmpty())
        endRecord();
    return records;
}

bool CsvReader::read(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        m_error = QStringLiteral("%1: %2").arg(path, file.errorString());
        return false;
    }
    QVector<int> lines;
    const QVector<QStringList> records = parse(QString::fromUtf8(file.readAll()), &lines);
    if (records.isEmpty()) {
        m_error = QStringLiteral("%1: no header line").arg(path);
        return false;
    }
    m_header = records.first();
    for (int i = 0; i < m_header.size(); ++i)
        m_columns.insert(m_header.at(i).trimmed(), i);
    for (int r = 1; r < records.size(); ++r) {
        if (records.at(r).size() != m_header.size()) {
            m_error = QStringLiteral("%1:%2: %3 fields, the header has %4")
                          .arg(path)
                          .arg(lines.at(r))
                          .arg(records.at(r).size())
                          .arg(m_header.size());
            return false;
        }
        m_rows.append(Row {lines.at(r), records.at(r)});
    }
    return true;
}

QString CsvReader::field(const Row &row, const QString &column) const
{
    const int i = m_columns.value(column, -1);
    return i < 0 ? QString() : row.fields.value(i).trimmed();
}
