#pragma once

#include "DeviceBrowser.h"
#include "DevicePool.h"
#include "OpcDataLink.h"
#include "comm/EthernetItems.h"

#include <QObject>

#include <array>
#include <memory>

namespace Tarvel {

class AppContext;

// The Ethernet route of the program: the four OPC data links (link 1 for
// the connection and the main window's status, 2 the keypad, 3 the PID
// screen, 4 the trend) over one pool of device connections, and the device
// browse. It attaches itself to the context and to its drive link, so the
// register transactions reach the drive through link 1 and CloseConnection
// stops it; link 1's values land in the shared drive values as the serial
// polling's would.
class EthernetRoute : public QObject, public EthernetItems
{
    Q_OBJECT

public:
    static constexpr int LinkCount = 4;
    static constexpr int ConnectionRows = 20;

    // Needs the context's drive link attached.
    explicit EthernetRoute(AppContext &ctx, QObject *parent = nullptr);
    ~EthernetRoute() override;

    // OPCData1 .. OPCData4 by their number.
    OpcDataLink &link(int number) { return *m_links.at(number - 1); }
    DevicePool &pool() { return m_pool; }
    DeviceBrowser browser() const;

    // All four links get the server's ProgID.
    void setServerProgID(const QString &progId);
    QString serverProgID() const { return m_links.front()->serverProgID(); }

    // The Ethernet connect to a device ("Channel1.Drive1") of the chosen
    // server: OPCDevicePath, panel 4 "OPC Device ..." with the connected
    // picture, the "Ethernet Connection Established" message, strConnected
    // "True", then link 1 started.
    void connectDevice(const QString &device);
    // Link 1 started after a connect: ResetItems, the connection's item
    // table at `updateRate` ("1500" when empty), StartItems, and a pause of
    // 1.5 s for the first values (in the fast pacing: until they came, at
    // most 1.5 s).
    void startConnectionItems(const QString &updateRate = QString());
    // Link 1's item table for a device path ("Channel1.Drive1.").
    static OpcItemTable connectionTable(const QString &devicePath, const QString &updateRate);

    // EthernetItems, through link 1.
    int readItem(const QString &itemName, QVariant *value, int *quality) override;
    int writeItem(const QString &itemName, const QVariant &value) override;
    void stopItems() override;

private:
    void storeValue(const QString &item, const QVariant &value);

    AppContext &m_ctx;
    DevicePool m_pool;
    std::array<std::unique_ptr<OpcDataLink>, LinkCount> m_links;
};

} // namespace Tarvel
