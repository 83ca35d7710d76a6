#include "BuiltCommands.h"

#include <QSet>

namespace Tarvel {

bool BuiltCommands::isBuilt(const QString &name)
{
    // Not built yet, each waiting for its screen or operation.
    static const QSet<QString> missing {
        // monitoring screens
        QStringLiteral("mnuTrend"),
        QStringLiteral("Trend"),
        QStringLiteral("mnuPID"),
        QStringLiteral("mnuKeypad"),
        QStringLiteral("mnuFaults"),
        QStringLiteral("mnuStats"),
        // schematic view
        QStringLiteral("mnuSchematic"),
        QStringLiteral("Schematic"),
        // help viewer and About window
        QStringLiteral("mnuContents"),
        QStringLiteral("mnuIndex"),
        QStringLiteral("mnuSearch"),
        QStringLiteral("mnuAbout"),
        QStringLiteral("Help"),
    };
    return !missing.contains(name);
}

} // namespace Tarvel
