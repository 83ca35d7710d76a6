#include "InstanceChannel.h"

#include "base/Logging.h"

#include <QCryptographicHash>
#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>

namespace Tarvel {

namespace {

constexpr int HandOverMs = 2000;

QString channelName(const QString &programDir)
{
    const QDir dir(programDir);
    const QString canonical = dir.canonicalPath().isEmpty() ? dir.absolutePath() : dir.canonicalPath();
    const QByteArray key = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1);
    return QStringLiteral("tarvel-%1").arg(QString::fromLatin1(key.toHex().left(16)));
}

} // namespace

InstanceChannel::InstanceChannel(const QString &programDir, QObject *parent)
    : QObject(parent)
    , m_name(channelName(programDir))
{ }

InstanceChannel::~InstanceChannel() = default;

bool InstanceChannel::listen()
{
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    // The lock file already proved that no copy runs: a socket left by one
    // that crashed is stale.
    QLocalServer::removeServer(m_name);
    if (!m_server->listen(m_name)) {
        qCWarning(lcApp) << "no hand-over channel:" << m_server->errorString();
        return false;
    }
    connect(m_server, &QLocalServer::newConnection, this, &InstanceChannel::readConnection);
    return true;
}

bool InstanceChannel::send(const QString &path) const
{
    QLocalSocket socket;
    socket.connectToServer(m_name);
    if (!socket.waitForConnected(HandOverMs))
        return false;
    socket.write(path.toUtf8() + '\n');
    const bool written = socket.waitForBytesWritten(HandOverMs);
    socket.disconnectFromServer();
    return written;
}

void InstanceChannel::readConnection()
{
    while (QLocalSocket *socket = m_server->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                const QString path = QString::fromUtf8(socket->readLine()).chopped(1);
                qCInfo(lcApp) << "a later start hands over" << path;
                // From the event loop, not from inside the socket's signal:
                // opening the file may ask a question, and the socket may
                // be gone by the time the answer comes.
                QMetaObject::invokeMethod(
                    this, [this, path] { Q_EMIT activationRequested(path); }, Qt::QueuedConnection);
            }
        });
    }
}

} // namespace Tarvel
