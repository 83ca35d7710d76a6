#include "DeviceBrowser.h"

#include "ServerDefinition.h"
#include "base/Logging.h"

namespace Tarvel {

DeviceBrowser::DeviceBrowser(QString serversDir)
    : m_serversDir(std::move(serversDir))
{ }

int DeviceBrowser::getDevices(const QString &server, QStringList *devices, QString *error, bool omitSystemGroups) const
{
    devices->clear();
    error->clear();
    if (server.isEmpty()) {
        *error = QStringLiteral("Invalid Parameter 'OPCServer' cannot be zero-length");
        return Refused;
    }
    const std::optional<ServerDefinition> definition = ServerDefinition::read(m_serversDir, server, error);
    if (!definition) {
        qCInfo(lcEthernet).noquote() << "browse of" << server << "failed:" << *error;
        return NotReadable;
    }
    if (definition->devices().isEmpty()) {
        *error = QStringLiteral("No Channels Defined");
        return Refused;
    }
    for (const DeviceAddress &device : definition->devices()) {
        if (device.channel.startsWith(u'_'))
            continue;
        if (omitSystemGroups && device.device.startsWith(u'_'))
            continue;
        *devices << device.name();
    }
    return Browsed;
}

QString DeviceBrowser::errorText(int number)
{
    return qt_error_string(number);
}

} // namespace Tarvel
