#include "ServerDefinition.h"

#include "base/Logging.h"

#include <QDir>
#include <QFileInfo>
#include <QSettings>

namespace Tarvel {

namespace {

// A whole number within limits, or the default when the key is absent.
std::optional<int> number(const QSettings &ini, const QString &key, int fallback, int lowest, int highest)
{
    if (!ini.contains(key))
        return fallback;
    bool ok = false;
    const int value = ini.value(key).toString().trimmed().toInt(&ok);
    if (!ok || value < lowest || value > highest)
        return std::nullopt;
    return value;
}

struct Limits
{
    const char *key;
    int fallback;
    int lowest;
    int highest;
};

// Unit numbers 1..247 as on any Modbus link: 0 would be a broadcast, which
// no one answers.
constexpr Limits PortLimits {"port", ServerDefinition::DefaultPort, 1, 65535};
constexpr Limits UnitLimits {"unit", ServerDefinition::DefaultUnit, 1, 247};
constexpr Limits TimeoutLimits {"timeout", ServerDefinition::DefaultTimeout, 1, 60000};

} // namespace

QString ServerDefinition::filePath(const QString &serversDir, const QString &progId)
{
    return QDir(serversDir).filePath(progId + QStringLiteral(".ini"));
}

std::optional<ServerDefinition> ServerDefinition::read(const QString &serversDir, const QString &progId, QString *error)
{
    // A ProgID is a file name here: no way out of the servers folder.
    if (progId.isEmpty() || progId.contains(u'/') || progId.startsWith(u'.')) {
        *error = QStringLiteral("'%1' is not a server name").arg(progId);
        return std::nullopt;
    }
    return load(filePath(serversDir, progId), error);
}

std::optional<ServerDefinition> ServerDefinition::load(const QString &path, QString *error)
{
    const QFileInfo info(path);
    const QString file = QDir::toNativeSeparators(path);
    if (!info.exists()) {
        *error = QStringLiteral("%1: no such server definition").arg(file);
        return std::nullopt;
    }
    if (!info.isFile() || !info.isReadable()) {
        *error = QStringLiteral("%1: cannot be read").arg(file);
        return std::nullopt;
    }
    QSettings ini(path, QSettings::IniFormat);
    if (ini.status() != QSettings::NoError) {
        *error = QStringLiteral("%1: not in INI form").arg(file);
        return std::nullopt;
    }
    if (!ini.childKeys().isEmpty()) {
        *error = QStringLiteral("%1: the key %2 stands outside a [Channel.Device] group")
                     .arg(file, ini.childKeys().constFirst());
        return std::nullopt;
    }
    ServerDefinition definition;
    for (const QString &group : ini.childGroups()) {
        const QStringList parts = group.split(u'.');
        if (parts.size() != 2 || parts.at(0).isEmpty() || parts.at(1).isEmpty()) {
            *error = QStringLiteral("%1: the group [%2] is not named Channel.Device").arg(file, group);
            return std::nullopt;
        }
        ini.beginGroup(group);
        DeviceAddress device {parts.at(0), parts.at(1), ini.value(QStringLiteral("host")).toString().trimmed()};
        QString fault;
        if (device.host.isEmpty())
            fault = QStringLiteral("has no host");
        for (const auto &[limits, target] :
            {std::pair {PortLimits, &device.port}, {UnitLimits, &device.unit}, {TimeoutLimits, &device.timeout}}) {
            const QString key = QLatin1String(limits.key);
            const std::optional<int> value = number(ini, key, limits.fallback, limits.lowest, limits.highest);
            if (value)
                *target = *value;
            else if (fault.isEmpty())
                fault = QStringLiteral("%1 \"%2\" is not a whole number from %3 to %4")
                            .arg(key, ini.value(key).toString())
                            .arg(limits.lowest)
                            .arg(limits.highest);
        }
        ini.endGroup();
        if (!fault.isEmpty()) {
            *error = QStringLiteral("%1: [%2] %3").arg(file, group, fault);
            return std::nullopt;
        }
        definition.m_devices << device;
    }
    qCInfo(lcEthernet) << "server" << path << "with" << definition.m_devices.size() << "devices";
    return definition;
}

const DeviceAddress *ServerDefinition::device(const QString &name) const
{
    for (const DeviceAddress &device : m_devices) {
        if (device.name() == name)
            return &device;
    }
    return nullptr;
}

} // namespace Tarvel
