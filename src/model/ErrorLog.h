#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class Prompter;

// The error log Data/Error.Log: one appended line per entry,
//   date-time - field 1, field 2, number, field 3
// with the fields written as given. When the log cannot be written the
// entry is lost and an "Error Generated" box says so.
class ErrorLog
{
public:
    ErrorLog(QString path, Prompter *prompter);

    const QString &path() const { return m_path; }
    void setPrompter(Prompter *prompter) { m_prompter = prompter; }

    // Returns false when the line could not be written (the box was shown).
    bool write(const QString &field1, const QString &field2, int number, const QString &field3);

    static QString formatLine(
        const QString &dateTime, const QString &field1, const QString &field2, int number, const QString &field3);
    // The "Error Generated" box text for a failure inside the named sub.
    static QString failureText(const QString &sub, int number, const QString &description);

    void reportFailure(const QString &sub, int number, const QString &description);

    // The lines this program wrote since it started: the log is shared
    // with other runs, whose lines are not this run's problems.
    const QStringList &writtenLines() const { return m_written; }

private:
    int append(const QByteArray &bytes) const;

    QString m_path;
    QStringList m_written;
    Prompter *m_prompter;
};

} // namespace Tarvel
