#pragma once

#include "comm/ComSetTable.h"

#include <QObject>
#include <QStringList>

namespace Tarvel {

class AppContext;
class CommLink;

// The connection dialog frmCommSettings without its window: the setting
// lists from tblComSet, the chosen entries with their text twins, and
// Connect / Disconnect with every message they show. The Qt dialog only
// renders this and forwards the user's choices.
class CommSettingsModel : public QObject
{
    Q_OBJECT

public:
    static const QString Caption; // "  Connection Settings"

    explicit CommSettingsModel(AppContext &ctx, QObject *parent = nullptr);

    // Form_Load: the lists, the defaults and the default node address.
    void load();

    // "None" and the ProgID of every server of tblOPCSevers that answers a
    // device browse.
    const QStringList &opcServers() const { return m_servers; }
    int serverIndex() const { return m_server; }
    // cmbOPCVer_Click: the lists again from the catalogue; with a server
    // chosen its devices follow the serial ports in the port list.
    void chooseServer(int index);
    // "Com Port:", or "Com Port / OPC Device:" while devices are listed.
    const QString &portLabel() const { return m_portLabel; }
    // An entry of the port list that is an Ethernet device.
    bool isOpcEntry(int index) const { return index >= m_opcFirst && index < m_ports.size(); }

    const QStringList &ports() const { return m_ports; }
    const QStringList &speeds() const { return m_table.speeds; }
    const QStringList &protocols() const { return m_table.protocols; }
    int portIndex() const { return m_port; }
    int speedIndex() const { return m_speed; }
    int protocolIndex() const { return m_protocol; }
    const QString &txtPort() const { return m_txtPort; }
    const QString &txtSpeed() const { return m_txtSpeed; }
    const QString &txtProtocol() const { return m_txtProtocol; }
    const QString &txtAddress() const { return m_txtAddress; }

    // The serial devices of this machine follow the catalogue's Com names
    // in the port list; choosing one connects to that device.
    bool isComEntry(int index) const { return index >= 0 && index < m_comCount; }
    // The devices a Com name can be pointed at, and where the chosen Com
    // name leads now.
    QStringList devicePaths() const;
    QString comTarget() const;
    // Points the chosen Com name at a device path (kept in the settings).
    void pointComPort(const QString &device);

    void choosePort(int index);
    void chooseSpeed(int index);
    void chooseProtocol(int index);
    void setAddress(const QString &text);
    // Typing into the speed or protocol list is not a choice: the text of
    // the last chosen entry comes back.
    QString typedSpeed(const QString &typed) const;
    QString typedProtocol(const QString &typed) const;

    // cmdConnect_Click; true when the chosen kind of link is open (for a
    // serial port: a drive answered).
    bool connectLink();
    // cmdDisconnect_Click, also the main window's Disconnect.
    void disconnectLink();

    // "Node 1 - RTU MODE-19200,E,8,1  "
    static QString connectedPanelText(const QString &address, const QString &framingWord, const QString &settings);

Q_SIGNALS:
    void changed();

private:
    bool refuseWhileOpen();
    bool refuseAddress();
    void connectSerial();
    void fillServers();
    void listDevices(const QString &progId);
    void setBusy(bool busy);

    AppContext &m_ctx;
    CommLink &m_link;
    ComSetTable m_table;
    void fillPorts();

    QStringList m_ports;
    QStringList m_targets; // device path of each port entry; empty for a Com name
    int m_comCount = 0;
    QStringList m_servers {QStringLiteral("None")};
    int m_server = 0;
    QString m_portLabel = QStringLiteral("Com Port:");
    qsizetype m_opcFirst = 0; // the first Ethernet device in the port list
    int m_port = -1;
    int m_speed = -1;
    int m_protocol = -1;
    QString m_txtPort;
    QString m_txtSpeed;
    QString m_txtProtocol;
    QString m_txtAddress;
};

} // namespace Tarvel
