#pragma once

#include <QList>
#include <QString>

#include <optional>

namespace Tarvel {

// One device of a server: an Ethernet module reached over Modbus/TCP.
struct DeviceAddress
{
    QString channel;
    QString device;
    QString host;
    int port = 502;
    int unit = 1;
    int timeout = 1000; // ms for an answer, and for the connection

    // "Channel1.Drive1", as the device list and the item names show it.
    QString name() const { return channel + u'.' + device; }
};

// A server of the Ethernet route: the file Data/Servers/<ProgID>.ini, one
// INI group per device named channel, ".", device, with the keys host,
// port (502), unit (1) and timeout (1000 ms). A file that cannot be read or
// does not follow that form gives no definition and an error text naming
// the file and the fault.
class ServerDefinition
{
public:
    static constexpr int DefaultPort = 502;
    static constexpr int DefaultUnit = 1;
    static constexpr int DefaultTimeout = 1000;

    // The definition file of a ProgID in the servers folder.
    static QString filePath(const QString &serversDir, const QString &progId);
    // Reads the definition; none, with `error` set, when it is missing or malformed.
    static std::optional<ServerDefinition> read(const QString &serversDir, const QString &progId, QString *error);
    static std::optional<ServerDefinition> load(const QString &path, QString *error);

    // The devices in the file's group order as the INI reader gives it
    // (sorted by name).
    const QList<DeviceAddress> &devices() const { return m_devices; }
    // The device named "Channel.Device"; null when the server has none.
    const DeviceAddress *device(const QString &name) const;

private:
    QList<DeviceAddress> m_devices;
};

} // namespace Tarvel
