#pragma once

#include <QHash>
#include <QString>
#include <QStringList>
#include <QVector>

// Reads an RFC 4180 CSV file (quoted fields, doubled quotes, LF or CR LF).
// Qt has no CSV reader and the catalogue sources are tiny, so a few lines
// here beat pulling in another library.
class CsvReader
{
public:
    struct Row
    {
        int line = 0; // 1-based line of the row in the file, for messages
        QStringList fields;
    };

    bool read(const QString &path);
    QString errorString() const { return m_error; }
    const QStringList &header() const { return m_header; }
    const QVector<Row> &rows() const { return m_rows; }
    // Field of a row by header name; empty when the column is missing.
    QString field(const Row &row, const QString &column) const;

    static QVector<QStringList> parse(const QString &text, QVector<int> *lines = nullptr);

private:
    QString m_error;
    QStringList m_header;
    QHash<QString, int> m_columns;
    QVector<Row> m_rows;
};
