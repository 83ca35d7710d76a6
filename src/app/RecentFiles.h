#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

// The configurations last opened or saved, newest first, kept in the
// settings (files/recent) for the File menu.
class RecentFiles
{
public:
    static constexpr int MaxCount = 8;
    static const QString SettingsKey;

    static QStringList list();
    // Moves (or adds) the path to the front; the oldest beyond eight go.
    static void add(const QString &path);
    static void remove(const QString &path);
};

} // namespace Tarvel
