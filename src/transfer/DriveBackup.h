#pragma once

#include "model/DriveKey.h"

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Tarvel {

class AppContext;
class ProgramPaths;

// The connected drive's parameter set saved as an ordinary configuration
// file before anything overwrites it:
// Configs/Backups/<series><model><rev>-<yyyymmdd-hhmmss>.qxc. It opens and
// downloads like any other configuration.
class DriveBackup
{
public:
    explicit DriveBackup(AppContext &ctx);

    // Reads every parameter of the drive of the configuration (the drive
    // connected, of the same identity) and saves the file. False when it
    // could not: failure() says why; after a link failure the failure end
    // is done and the link closed.
    bool save();

    const QString &path() const { return m_path; }
    const QString &failure() const { return m_failure; }
    bool linkFailed() const { return m_linkFailed; }
    int transactions() const { return m_transactions; }

    static QString folder(const ProgramPaths &paths);
    // "0205120-20261206-081500.qxc"
    static QString fileName(const DriveKey &drive, const QDateTime &when);
    // The backups of one drive in the folder, newest first.
    static QStringList backupsOf(const ProgramPaths &paths, const DriveKey &drive);

private:
    QString freePath(const DriveKey &drive) const;

    AppContext &m_ctx;
    QString m_path;
    QString m_failure;
    bool m_linkFailed = false;
    int m_transactions = 0;
};

} // namespace Tarvel
