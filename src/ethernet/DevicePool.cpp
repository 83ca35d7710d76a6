#include "DevicePool.h"

namespace Tarvel {

DevicePool::DevicePool(QString serversDir, QObject *parent)
    : QObject(parent)
    , m_serversDir(std::move(serversDir))
{ }

DevicePool::~DevicePool()
{
    closeAll();
}

DeviceChannel *DevicePool::channel(const QString &progId, const QString &device, QString *error)
{
    const QString key = progId + u'\n' + device;
    if (DeviceChannel *known = m_channels.value(key))
        return known;
    const std::optional<ServerDefinition> definition = ServerDefinition::read(m_serversDir, progId, error);
    if (!definition)
        return nullptr;
    const DeviceAddress *address = definition->device(device);
    if (!address) {
        *error = QStringLiteral("server %1 has no device %2").arg(progId, device);
        return nullptr;
    }
    auto *channel = new DeviceChannel(*address, this);
    connect(channel, &DeviceChannel::transactionTraced, this, &DevicePool::transactionTraced);
    m_channels.insert(key, channel);
    return channel;
}

void DevicePool::closeAll()
{
    const QHash<QString, DeviceChannel *> channels = std::exchange(m_channels, {});
    for (DeviceChannel *channel : channels) {
        channel->close();
        // Replies of the closed connection may still be on their way out.
        channel->deleteLater();
    }
}

} // namespace Tarvel
