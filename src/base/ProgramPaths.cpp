#include "ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

namespace Tarvel {

namespace {

bool hasWritableData(const QString &dir)
{
    const QFileInfo data(QDir(dir).filePath(QStringLiteral("Data")));
    return data.isDir() && data.isWritable();
}

// The shipped server definitions of the Ethernet route come with the
// catalogue; the user edits the copies (hosts and unit numbers are local).
void seedServers(const QString &sourceDir, const QString &targetDir)
{
    const QDir source(sourceDir);
    const QStringList files = source.entryList({QStringLiteral("*.ini")}, QDir::Files);
    if (files.isEmpty())
        return;
    QDir().mkpath(targetDir);
    for (const QString &name : files) {
        const QString target = QDir(targetDir).filePath(name);
        if (QFile::copy(source.filePath(name), target))
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
    }
}

// The first start under a per-user folder copies the shipped catalogue, so
// the one setting the catalogue holds can be written there.
void seedUserFolder(const QString &userDir, const QString &executableDir)
{
    QDir dir(userDir);
    dir.mkpath(QStringLiteral("Data"));
    dir.mkpath(QStringLiteral("Configs"));
    const QString target = dir.filePath(QStringLiteral("Data/QX.qxd"));
    if (QFileInfo::exists(target))
        return;
    const QStringList candidates {
        QDir(executableDir).filePath(QStringLiteral("Data")),
        QDir(executableDir).filePath(QStringLiteral("../share/tarvel/Data")),
    };
    for (const QString &source : candidates) {
        if (QFile::copy(QDir(source).filePath(QStringLiteral("QX.qxd")), target)) {
            QFile::setPermissions(target, QFile::permissions(target) | QFileDevice::WriteOwner);
            seedServers(QDir(source).filePath(QStringLiteral("Servers")), dir.filePath(QStringLiteral("Data/Servers")));
            return;
        }
    }
}

} // namespace

ProgramPaths::ProgramPaths(QString programDir)
    : m_dir(QDir::cleanPath(std::move(programDir)))
{ }

QString ProgramPaths::resolve(const QString &executableDir)
{
    const QString home = qEnvironmentVariable("TARVEL_HOME");
    if (!home.isEmpty())
        return QDir(home).absolutePath();
    if (hasWritableData(executableDir))
        return QDir(executableDir).absolutePath();
    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    seedUserFolder(user, executableDir);
    return user;
}

QString ProgramPaths::catalogue() const
{
    return m_dir + QStringLiteral("/Data/QX.qxd");
}
QString ProgramPaths::errorLog() const
{
    return m_dir + QStringLiteral("/Data/Error.Log");
}
QString ProgramPaths::diagsLog() const
{
    return m_dir + QStringLiteral("/Data/Diags.Log");
}
QString ProgramPaths::serversDir() const
{
    return m_dir + QStringLiteral("/Data/Servers");
}
QString ProgramPaths::configsDir() const
{
    return m_dir + QStringLiteral("/Configs");
}
QString ProgramPaths::helpFile() const
{
    // The manual is built into the program.
    return QStringLiteral("qrc:/manual/index.html");
}

} // namespace Tarvel
