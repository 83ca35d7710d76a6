#pragma once

#include "ModbusMaster.h"

#include <QObject>
#include <QString>

namespace Tarvel {

struct AppState;
class EthernetItems;

// How a serial link is opened: the properties the connection dialog, the
// auto-detect search and the command line set on Mod1 before PortOpen.
struct SerialLinkSettings
{
    QString nodeAddress = QStringLiteral("1");
    int commPort = 0; // 0 is "Com 1"
    QString target; // a device path or tcp:// target in place of commPort
    int asciiMode = 0;
    QString portSettings = QStringLiteral("19200,E,8,1");

    // "ASCII MODE" or "RTU MODE", as the connection panel shows it.
    QString framingWord() const;
};

// The program's one drive link: the Modbus master Mod1 and the link state
// every communication procedure reads, with the connection panel of the
// main window's status bar (panel 4) that the window renders.
class CommLink : public QObject
{
    Q_OBJECT

public:
    static constexpr int LinkTestRegister = 1;
    static constexpr int LinkTestTimeOut = 3000;

    explicit CommLink(AppState &state, QObject *parent = nullptr);

    ModbusMaster &mod1() { return m_mod1; }
    const ModbusMaster &mod1() const { return m_mod1; }

    bool serialOpen() const { return m_mod1.portOpen(); }
    bool ethernetOpen() const;
    // A link is open: the serial port or the Ethernet route.
    bool linkOpen() const { return serialOpen() || ethernetOpen(); }

    // Whether parameter transfers move runs of consecutive registers in one
    // transaction instead of one register per transaction. Off by default:
    // every drive answers single-register requests, not every one answers
    // blocks. The setting is kept by whoever offers it to the user.
    bool blockTransfer() const { return m_blockTransfer; }
    void setBlockTransfer(bool on) { m_blockTransfer = on; }

    // Sets the settings in the order the component expects them and opens
    // the port (raises 380 for a missing or held port), then reads register
    // 1 to see whether a drive answers. Returns Mod1's ResultCode; the port
    // stays open either way so the caller decides what a failure means.
    int openSerial(const SerialLinkSettings &settings);
    // The link test alone, on the port already open.
    int testRead();

    // The Ethernet route's items, attached by the route itself; null while
    // the program has none.
    EthernetItems *ethernetItems() const { return m_ethernet; }
    void attachEthernet(EthernetItems *items) { m_ethernet = items; }

    // CloseConnection: closes either kind of link (on the Ethernet route the
    // first data link stops and strConnected becomes "False"); panel 4
    // "Off-Line " with the not-connected picture.
    void closeConnection();
    // Disconnect (the dialog's button and the main window's command):
    // CloseConnection, and no Ethernet link either.
    void disconnectLink();

    // Status panel 4: text and whether the connected picture shows.
    const QString &panel4Text() const { return m_panel4Text; }
    bool panel4Connected() const { return m_panel4Connected; }
    void setPanel4Text(const QString &text);
    void setPanel4Connected(bool connected);

Q_SIGNALS:
    void panel4Changed();
    // A transaction of the Ethernet route with one of its devices, for the
    // bus monitor as Mod1's own are.
    void routeTransaction(const Tarvel::BusTransaction &transaction);

private:
    void onDone();

    AppState &m_state;
    ModbusMaster m_mod1;
    EthernetItems *m_ethernet = nullptr;
    QString m_panel4Text = QStringLiteral("Off-Line ");
    bool m_panel4Connected = false;
    bool m_blockTransfer = false;
};

} // namespace Tarvel
