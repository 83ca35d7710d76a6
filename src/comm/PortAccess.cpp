#include "PortAccess.h"

#include "base/ErrorCodes.h"
#include "base/TrappedError.h"

#include <QFile>

#include <cerrno>
#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tarvel {

const QString PortAccess::DeniedTitle = QStringLiteral("Com Port Permission");

bool PortAccess::denied(const QString &path)
{
    // The same open the serial port makes, so the answer holds for this
    // process's rights (file-system user, groups, capabilities).
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_NOCTTY | O_NONBLOCK);
    if (fd >= 0) {
        ::close(fd);
        return false;
    }
    return errno == EACCES || errno == EPERM;
}

QString PortAccess::deniedText(const QString &path)
{
    QString group = QStringLiteral("dialout");
    struct stat info
    {
    };
    if (::stat(QFile::encodeName(path).constData(), &info) == 0) {
        if (const struct group *g = ::getgrgid(info.st_gid); g && info.st_gid != 0)
            group = QString::fromLocal8Bit(g->gr_name);
    }
    QString user = qEnvironmentVariable("USER");
    if (const struct passwd *pw = ::getpwuid(::geteuid()))
        user = QString::fromLocal8Bit(pw->pw_name);
    return QStringLiteral("Permission denied on %1: user %2 may not open it.\r"
                          "Serial ports belong to the group %3. Add the user to it:\r"
                          "sudo usermod -aG %3 %2\r"
                          "then log out and log in again.")
        .arg(path, user, group);
}

std::optional<PortAccess::Message> PortAccess::forError(const TrappedError &error)
{
    if (error.number() == Err::PermissionDenied)
        return Message {DeniedTitle, deniedText(error.description())};
    if (error.number() == Err::InvalidPropertyValue)
        return Message {QStringLiteral("Com Error"),
            QStringLiteral("Selected Com port does not exist or is in use by another application.")};
    return std::nullopt;
}

} // namespace Tarvel
