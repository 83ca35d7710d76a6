#include "ErrorLog.h"

#include "base/ErrorCodes.h"
#include "base/Logging.h"
#include "base/TextFile.h"
#include "ports/Prompter.h"

#include <QFile>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

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
    const int errNumber = append(TextFile::encodeLines({line}));
    if (errNumber != 0) {
        reportFailure(QStringLiteral("ErrorLog()"), errNumber, Err::description(errNumber));
        return false;
    }
    m_written << line;
    return true;
}

// Appending, never rewriting: earlier lines stay as they are, and a line
// the disk had no room for is cut off again. Only a regular file is
// written, and opening never waits (a FIFO in place of the log would block
// the program until some reader came). Returns 0 or the error number.
int ErrorLog::append(const QByteArray &bytes) const
{
    const int fd
        = ::open(QFile::encodeName(m_path).constData(), O_WRONLY | O_APPEND | O_CREAT | O_NONBLOCK | O_CLOEXEC, 0644);
    if (fd < 0) {
        qCWarning(lcApp) << "error log:" << std::strerror(errno);
        return errno == ENOENT ? Err::PathNotFound : Err::PathFileAccess;
    }
    struct stat info = {};
    bool ok = ::fstat(fd, &info) == 0 && S_ISREG(info.st_mode);
    const off_t before = ok ? ::lseek(fd, 0, SEEK_END) : -1;
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        done += ok ? n : 0;
    }
    if (!ok && before >= 0 && ::ftruncate(fd, before) != 0)
        qCWarning(lcApp) << "error log: a partial line stays:" << std::strerror(errno);
    ok = ::close(fd) == 0 && ok;
    return ok ? 0 : Err::PathFileAccess;
}

} // namespace Tarvel
