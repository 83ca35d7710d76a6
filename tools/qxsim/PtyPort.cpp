#include "PtyPort.h"

#include "PtyFormat.h"
#include "SimLogging.h"

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <stdlib.h>
#include <termios.h>
#include <unistd.h>

namespace Tarvel::Sim {

namespace {

QString systemError(const char *what)
{
    return QStringLiteral("%1: %2").arg(QString::fromLatin1(what), QString::fromLocal8Bit(std::strerror(errno)));
}

} // namespace

PtyPort::PtyPort(QObject *parent)
    : QObject(parent)
{ }

PtyPort::~PtyPort()
{
    close();
}

bool PtyPort::open(const QString &link, QString *error)
{
    close();
    const QFileInfo existing(link);
    if (existing.exists() || existing.isSymLink()) {
        if (!existing.isSymLink()) {
            *error = link + QStringLiteral(" exists and is not a link");
            return false;
        }
        QFile::remove(link);
    }
    m_master = ::posix_openpt(O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (m_master < 0 || ::grantpt(m_master) != 0 || ::unlockpt(m_master) != 0) {
        *error = systemError("pseudo-terminal");
        close();
        return false;
    }
    char name[128];
    if (::ptsname_r(m_master, name, sizeof name) != 0) {
        *error = systemError("ptsname");
        close();
        return false;
    }
    m_slavePath = QString::fromLocal8Bit(name);
    m_slave = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (m_slave < 0) {
        *error = systemError("slave side");
        close();
        return false;
    }
    // Raw bytes both ways until the program sets its own format; the
    // speed and character format are left for it to set.
    termios tio {};
    ::tcgetattr(m_slave, &tio);
    ::cfmakeraw(&tio);
    ::tcsetattr(m_slave, TCSANOW, &tio);
    if (!QFile::link(m_slavePath, link)) {
        *error = QStringLiteral("cannot create the link ") + link;
        close();
        return false;
    }
    m_link = link;
    m_notifier = std::make_unique<QSocketNotifier>(m_master, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &PtyPort::readyRead);
    qCDebug(lcSim) << "pseudo-terminal" << m_slavePath << "linked as" << link;
    return true;
}

void PtyPort::close()
{
    m_notifier.reset();
    // Only our own link goes: another run may have replaced it meanwhile.
    if (!m_link.isEmpty() && QFileInfo(m_link).symLinkTarget() == m_slavePath)
        QFile::remove(m_link);
    m_link.clear();
    if (m_slave >= 0)
        ::close(m_slave);
    if (m_master >= 0)
        ::close(m_master);
    m_slave = m_master = -1;
}

QByteArray PtyPort::readAll()
{
    QByteArray bytes;
    char chunk[512];
    for (;;) {
        const ssize_t n = ::read(m_master, chunk, sizeof chunk);
        if (n <= 0)
            break;
        bytes.append(chunk, n);
    }
    return bytes;
}

bool PtyPort::write(const QByteArray &bytes)
{
    qsizetype done = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(m_master, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            qCWarning(lcSim) << systemError("write");
            return false;
        }
        done += n;
    }
    return true;
}

SerialFormat PtyPort::appliedFormat() const
{
    termios tio {};
    if (::tcgetattr(m_master, &tio) != 0)
        return SerialFormat {0, 'N', 8, 1};
    return PtyFormat::fromTermios(tio);
}

} // namespace Tarvel::Sim
