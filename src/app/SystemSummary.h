#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class ProgramPaths;

// The built-in system information: the platform, the Qt version and, for
// each serial port, whether this user may open it. Shown when the desktop
// has no system-information tool of its own.
class SystemSummary
{
public:
    static QStringList lines(const ProgramPaths &paths);

    // One port: "/dev/ttyUSB0 - group dialout - read and write allowed",
    // or with what to do when this user may not open it.
    static QString portLine(const QString &device, const QString &description = {});
    // The groups the user of this process belongs to.
    static QStringList userGroups();

    // The desktop's own system-information tools, first found wins: the
    // program and its arguments.
    static QStringList desktopTool();
};

} // namespace Tarvel
