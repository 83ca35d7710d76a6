#include "SystemSummary.h"

#include "base/ProgramPaths.h"
#include "comm/PortMap.h"

#include <QDir>
#include <QFile>
#include <QLibraryInfo>
#include <QSerialPortInfo>
#include <QStandardPaths>
#include <QSysInfo>

#include <algorithm>
#include <vector>

#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

namespace Tarvel {

namespace {

QString groupName(gid_t gid)
{
    const group *g = getgrgid(gid);
    return g ? QString::fromLocal8Bit(g->gr_name) : QString::number(gid);
}

QString userName()
{
    const passwd *p = getpwuid(geteuid());
    return p ? QString::fromLocal8Bit(p->pw_name) : QString::number(geteuid());
}

} // namespace

QStringList SystemSummary::userGroups()
{
    QStringList names {groupName(getegid())};
    const int count = getgroups(0, nullptr);
    std::vector<gid_t> gids(size_t(std::max(count, 0)));
    if (count > 0 && getgroups(count, gids.data()) == count) {
        for (const gid_t gid : gids)
            if (!names.contains(groupName(gid)))
                names << groupName(gid);
    }
    return names;
}

QString SystemSummary::portLine(const QString &device, const QString &description)
{
    QString line = device;
    if (!description.isEmpty())
        line += QStringLiteral(" (") + description + u')';
    struct stat st
    {
    };
    const QByteArray path = QFile::encodeName(device);
    if (::stat(path.constData(), &st) != 0)
        return line + QStringLiteral(" - not present");
    const QString group = groupName(st.st_gid);
    line += QStringLiteral(" - group ") + group;
    if (::access(path.constData(), R_OK | W_OK) == 0)
        return line + QStringLiteral(" - read and write allowed");
    line += QStringLiteral(" - NOT allowed for ") + userName();
    if (!userGroups().contains(group))
        line += QStringLiteral(": add the user to the group (sudo usermod -aG ") + group + u' ' + userName()
            + QStringLiteral("), then log in again");
    return line;
}

QStringList SystemSummary::lines(const ProgramPaths &paths)
{
    QStringList out;
    out << QStringLiteral("Operating system: ") + QSysInfo::prettyProductName()
        << QStringLiteral("Architecture: ") + QSysInfo::currentCpuArchitecture()
        << QStringLiteral("Kernel: ") + QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion()
        << QStringLiteral("Qt: ") + QString::fromLatin1(qVersion()) + QStringLiteral(" (built with ")
            + QStringLiteral(QT_VERSION_STR) + u')'
        << QStringLiteral("Program folder: ") + QDir::toNativeSeparators(paths.programDir())
        << QStringLiteral("User: ") + userName() + QStringLiteral(", groups: ") + userGroups().join(u' ') << QString()
        << QStringLiteral("Serial ports found:");
    const QList<QSerialPortInfo> ports = QSerialPortInfo::availablePorts();
    if (ports.isEmpty())
        out << QStringLiteral("  none");
    for (const QSerialPortInfo &port : ports)
        out << QStringLiteral("  ") + portLine(port.systemLocation(), port.description());
    out << QString() << QStringLiteral("Ports of the link settings:");
    const PortMap map;
    for (int i = 0; i < PortMap::Count; ++i) {
        const QString target = map.target(i);
        out << QStringLiteral("  ") + PortMap::portName(i) + QStringLiteral(" = ")
                + (PortMap::isTcpTarget(target) ? target : portLine(target));
    }
    return out;
}

QStringList SystemSummary::desktopTool()
{
    const QList<QStringList> tools {
        {QStringLiteral("kinfocenter")},
        {QStringLiteral("hardinfo")},
        {QStringLiteral("gnome-control-center"), QStringLiteral("info-overview")},
    };
    for (const QStringList &tool : tools) {
        const QString program = QStandardPaths::findExecutable(tool.first());
        if (!program.isEmpty())
            return QStringList {program} + tool.mid(1);
    }
    return {};
}

} // namespace Tarvel
