#include "ErrorLog.h"

#include "base/ErrorCodes.h"
#include "base/Logging.h"
#include "ports/Prompter.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace Tarvel {

ErrorLog::ErrorLog(QString path, Prompter *prompter)
    : m_path(std::move(path))
    , m_prompter(prompter)
{ }

QString ErrorLog::formatLine(
    const QString &dateTime, const QString &field1, const QString &field2, int number, const QString &field3)
{
    return dateTime + QStringLiteral(" - ") + field1 + QStringLiteral(", ") + field2 + QStringLiteral(", ")
        + QString::number(number) + QStringLiteral(", ") + field3;
}

QString ErrorLog::failureText(const QString &sub, int number, const QString &description)
{
    return QStringLiteral("An error has occurred in sub %1\rError Number: %2\rError Description: %3\r"
                          "Please contact your software vendor.")
        .arg(sub)
        .arg(number)
        .arg(description);
}

void ErrorLog::reportFailure(const QString &sub, int number, const QString &description)
{
    qCWarning(lcApp) << "error log failure in" << sub << number << description;
    if (m_prompter)
        m_prompter->msgBox(failureText(sub, number, description), Msg::Critical, QStringLiteral("Error Generated"));
}

bool ErrorLog::write(const QString &field1, const QString &field2, int number, const QString &field3)
{
    const QString line = formatLine(TextFile::generalDate(), field1, field2, number, field3);
    qCInfo(lcApp).noquote() << "error log:" << line;
    // Appending, never rewriting: earlier lines stay as they are even if
    // this write fails halfway.
    QFile file(m_path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Append)) {
        const bool missingDir = !QFileInfo(m_path).absoluteDir().exists();
        const int errNumber = missingDir ? Err::PathNotFound : Err::PathFileAccess;
        reportFailure(QStringLiteral("ErrorLog()"), errNumber, Err::description(errNumber));
        return false;
    }
    const QByteArray bytes = TextFile::encodeLines({line});
    if (file.write(bytes) != bytes.size()) {
        reportFailure(QStringLiteral("ErrorLog()"), Err::PathFileAccess, file.errorString());
        return false;
    }
    return true;
}

} // namespace Tarvel
