#include "RecentFiles.h"

#include <QDir>
#include <QSettings>

namespace Tarvel {

const QString RecentFiles::SettingsKey = QStringLiteral("files/recent");

QStringList RecentFiles::list()
{
    return QSettings().value(SettingsKey).toStringList().mid(0, MaxCount);
}

void RecentFiles::add(const QString &path)
{
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QStringList paths = list();
    paths.removeAll(clean);
    paths.prepend(clean);
    QSettings().setValue(SettingsKey, paths.mid(0, MaxCount));
}

void RecentFiles::remove(const QString &path)
{
    QStringList paths = list();
    paths.removeAll(QDir::cleanPath(QDir(path).absolutePath()));
    QSettings().setValue(SettingsKey, paths);
}

} // namespace Tarvel
