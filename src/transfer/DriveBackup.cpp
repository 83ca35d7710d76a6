#include "DriveBackup.h"

#include "DriveReadout.h"
#include "base/AtomicTextFile.h"
#include "base/Logging.h"
#include "files/ConfigFile.h"
#include "model/AppContext.h"

#include <QDir>
#include <QFileInfo>

namespace Tarvel {

DriveBackup::DriveBackup(AppContext &ctx)
    : m_ctx(ctx)
{ }

QString DriveBackup::folder(const ProgramPaths &paths)
{
    return paths.configsDir() + QStringLiteral("/Backups");
}

QString DriveBackup::fileName(const DriveKey &drive, const QDateTime &when)
{
    return drive.series + drive.model + drive.rev + u'-' + when.toString(QStringLiteral("yyyyMMdd-HHmmss"))
        + QStringLiteral(".qxc");
}

QStringList DriveBackup::backupsOf(const ProgramPaths &paths, const DriveKey &drive)
{
    // The time in the name sorts as text; a second backup within the same
    // second carries a suffix and sorts after the first.
    const QString pattern = drive.series + drive.model + drive.rev + QStringLiteral("-*.qxc");
    QStringList names = QDir(folder(paths)).entryList({pattern}, QDir::Files, QDir::Name | QDir::Reversed);
    for (QString &name : names)
        name = folder(paths) + u'/' + name;
    return names;
}

QString DriveBackup::freePath(const DriveKey &drive) const
{
    const QString base = folder(m_ctx.paths()) + u'/' + fileName(drive, QDateTime::currentDateTime());
    QString path = base;
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = base.chopped(4) + QStringLiteral("-%1.qxc").arg(n);
    return path;
}

bool DriveBackup::save()
{
    m_path.clear();
    m_failure.clear();
    m_linkFailed = false;
    DriveReadout readout(m_ctx);
    const bool read = readout.readAll(QStringLiteral(" in basCom_BackUpDrive()."));
    m_transactions = readout.transactions();
    if (!read) {
        m_linkFailed = true;
        m_failure = QStringLiteral("the drive's settings could not be read");
        return false;
    }
    const AppState &s = m_ctx.state;
    const DriveKey drive {s.strSeries, s.strModel, s.strRev};
    if (!QDir().mkpath(folder(m_ctx.paths()))) {
        m_failure = QStringLiteral("the folder %1 could not be made").arg(folder(m_ctx.paths()));
        return false;
    }
    const QString path = freePath(drive);
    try {
        AtomicTextFile::write(path, ConfigFile::valueLines(drive, path, readout.texts()));
    } catch (const TrappedError &e) {
        m_failure = QStringLiteral("%1 could not be written: %2").arg(path, e.description());
        return false;
    }
    m_path = path;
    qCInfo(lcComm).noquote() << "drive settings saved to" << path;
    return true;
}

} // namespace Tarvel
