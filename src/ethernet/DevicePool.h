#pragma once

#include "DeviceChannel.h"

#include <QHash>
#include <QObject>
#include <QString>

#include <memory>

namespace Tarvel {

// The connections of the Ethernet route, one per device of a server,
// shared by the four data links so that a module sees one master however
// many screens are open. A device is looked up in its server's definition
// file the first time a link names it.
class DevicePool : public QObject
{
    Q_OBJECT

public:
    explicit DevicePool(QString serversDir, QObject *parent = nullptr);
    ~DevicePool() override;

    const QString &serversDir() const { return m_serversDir; }

    // The device "Channel.Device" of a server; null with `error` set when
    // the server has no valid definition or no such device.
    DeviceChannel *channel(const QString &progId, const QString &device, QString *error);
    // Closes every connection and forgets the devices, so that a changed
    // definition file counts from the next connect on.
    void closeAll();

Q_SIGNALS:
    // A transaction of any device's connection.
    void transactionTraced(const Tarvel::BusTransaction &transaction);

private:
    QString m_serversDir;
    QHash<QString, DeviceChannel *> m_channels; // key: ProgID, newline, device
};

} // namespace Tarvel
