#include "InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QStandardPaths>

namespace Tarvel {

InstanceGuard::InstanceGuard(const QString &programDir)
{
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(QDir(programDir).absolutePath().toUtf8(), QCryptographicHash::Sha1);
    m_lock = std::make_unique<QLockFile>(
        QDir(runtime).filePath(QStringLiteral("tarvel-%1.lock").arg(QString::fromLatin1(key.toHex().left(16)))));
    // A copy that crashed leaves its lock behind; QLockFile takes it over
    // once the process it names is gone.
    m_lock->setStaleLockTime(0);
}

bool InstanceGuard::tryAcquire()
{
    return m_lock->tryLock(0);
}

} // namespace Tarvel
