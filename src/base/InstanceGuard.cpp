#include "InstanceGuard.h"

#include <QCryptographicHash>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

namespace Tarvel {

namespace {

// The lock sits in the program folder itself, found by its canonical path:
// a start through a symbolic link or with another runtime folder still
// meets it. A folder the user cannot write to keeps it in the runtime
// folder, named by the same canonical path.
QString lockPath(const QString &programDir)
{
    const QDir dir(programDir);
    QString canonical = dir.canonicalPath();
    if (canonical.isEmpty())
        canonical = dir.absolutePath();
    if (QFileInfo(canonical).isWritable())
        return QDir(canonical).filePath(QStringLiteral(".tarvel.lock"));
    QString runtime = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (runtime.isEmpty())
        runtime = QDir::tempPath();
    const QByteArray key = QCryptographicHash::hash(canonical.toUtf8(), QCryptographicHash::Sha1);
    return QDir(runtime).filePath(QStringLiteral("tarvel-%1.lock").arg(QString::fromLatin1(key.toHex().left(16))));
}

} // namespace

InstanceGuard::InstanceGuard(const QString &programDir)
{
    m_lock = std::make_unique<QLockFile>(lockPath(programDir));
    // A copy that crashed leaves its lock behind; QLockFile takes it over
    // once the process it names is gone.
    m_lock->setStaleLockTime(0);
}

bool InstanceGuard::tryAcquire()
{
    return m_lock->tryLock(0);
}

} // namespace Tarvel
