#include "CommSettingsModel.h"

#include "base/ErrorCodes.h"
#include "base/Logging.h"
#include "catalogue/Catalogue.h"
#include "comm/CommLink.h"
#include "comm/PortAccess.h"
#include "ethernet/EthernetRoute.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"

namespace Tarvel {

const QString CommSettingsModel::Caption = QStringLiteral("  Connection Settings");

namespace {

QString entry(const QStringList &list, int index)
{
    return index >= 0 && index < list.size() ? list.at(index) : QString();
}

// The dialog shows where each port leads on this machine.
QString portDisplay(const PortMap &map, const QString &name)
{
    for (int i = 0; i < PortMap::Count; ++i) {
        if (name.compare(PortMap::portName(i), Qt::CaseInsensitive) == 0)
            return map.displayName(i);
    }
    return name;
}

} // namespace

CommSettingsModel::CommSettingsModel(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_link(ctx.link())
{ }

void CommSettingsModel::load()
{
    m_ctx.trap(QStringLiteral("frmCommSettings, Form_Load"), [this] {
        std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
        m_table = ComSetTable::read(*catalogue);
        catalogue->release();
        m_txtAddress = m_table.defaultAddress;
        fillServers();
    });
    chooseServer(0);
}

// Servers that cannot be browsed are not offered.
void CommSettingsModel::fillServers()
{
    m_servers = QStringList {QStringLiteral("None")};
    EthernetRoute *route = m_ctx.ethernet();
    if (!route)
        return;
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    RecordSet rows = catalogue->query(QStringLiteral("Select * from tblOPCSevers"));
    QStringList progIds;
    for (; !rows.eof(); rows.moveNext())
        progIds << rows.field(QStringLiteral("ProgId")).toString().trimmed();
    catalogue->release();
    const DeviceBrowser browser = route->browser();
    for (const QString &progId : std::as_const(progIds)) {
        QStringList devices;
        QString error;
        if (browser.getDevices(progId, &devices, &error, true) == DeviceBrowser::Browsed)
            m_servers << progId;
        else
            qCInfo(lcComm).noquote() << "server" << progId << "not offered:" << error;
    }
}

void CommSettingsModel::chooseServer(int index)
{
    m_ctx.trap(QStringLiteral("frmCommSettings, cmbOPCVer_Click"), [this, index] {
        m_server = index;
        fillPorts();
        choosePort(m_table.defaultPort);
        chooseSpeed(m_table.defaultSpeed);
        chooseProtocol(m_table.defaultProtocol);
        m_portLabel = QStringLiteral("Com Port:");
        if (index > 0 && index < m_servers.size())
            listDevices(m_servers.at(index));
    });
    Q_EMIT changed();
}

void CommSettingsModel::listDevices(const QString &progId)
{
    EthernetRoute *route = m_ctx.ethernet();
    QStringList devices;
    QString error;
    const int status = route ? route->browser().getDevices(progId, &devices, &error, true) : DeviceBrowser::Refused;
    if (status != DeviceBrowser::Browsed) {
        qCWarning(lcComm).noquote() << "server" << progId << "not browsed:" << error;
        m_ctx.errorLog().write(QStringLiteral("OPC"), QStringLiteral("OPC Server Not Present"), status, QString());
        return;
    }
    m_ports << devices;
    m_targets << QVector<QString>(devices.size());
    m_portLabel = QStringLiteral("Com Port / OPC Device:");
    route->setServerProgID(progId);
}

void CommSettingsModel::fillPorts()
{
    m_ports.clear();
    m_targets.clear();
    for (const QString &name : std::as_const(m_table.ports)) {
        m_ports << portDisplay(m_link.mod1().portMap(), name);
        m_targets << QString();
    }
    m_comCount = int(m_ports.size());
    for (const PortMap::Device &device : PortMap::devices()) {
        m_ports << device.label;
        m_targets << device.path;
    }
    m_opcFirst = m_ports.size();
}

QStringList CommSettingsModel::devicePaths() const
{
    return m_targets.mid(m_comCount);
}

QString CommSettingsModel::comTarget() const
{
    return isComEntry(m_port) ? m_link.mod1().portMap().target(m_port) : QString();
}

void CommSettingsModel::pointComPort(const QString &device)
{
    if (!isComEntry(m_port))
        return;
    PortMap map = m_link.mod1().portMap();
    map.store(m_port, device);
    m_link.mod1().setPortMap(map);
    const int chosen = m_port;
    fillPorts();
    choosePort(chosen);
}

void CommSettingsModel::choosePort(int index)
{
    m_port = index;
    m_txtPort = entry(m_ports, index);
    // The open link's device keeps its path until it is disconnected.
    if (isOpcEntry(index) && !m_link.linkOpen())
        m_ctx.state.OPCDevicePath = m_txtPort + u'.';
    Q_EMIT changed();
}

void CommSettingsModel::chooseSpeed(int index)
{
    m_speed = index;
    m_txtSpeed = entry(m_table.speeds, index);
    Q_EMIT changed();
}

void CommSettingsModel::chooseProtocol(int index)
{
    m_protocol = index;
    m_txtProtocol = entry(m_table.protocols, index);
    Q_EMIT changed();
}

void CommSettingsModel::setAddress(const QString &text)
{
    m_txtAddress = text;
}

QString CommSettingsModel::typedSpeed(const QString &typed) const
{
    (void)typed;
    return m_txtSpeed;
}

QString CommSettingsModel::typedProtocol(const QString &typed) const
{
    (void)typed;
    return m_txtProtocol;
}

QString CommSettingsModel::connectedPanelText(
    const QString &address, const QString &framingWord, const QString &settings)
{
    return QStringLiteral("Node ") + address + QStringLiteral(" - ") + framingWord + QStringLiteral("-") + settings
        + QStringLiteral("  ");
}

void CommSettingsModel::setBusy(bool busy)
{
    ShellHooks &hooks = m_ctx.hooks();
    hooks.setBusyPointer(busy);
    hooks.setPollTimerEnabled(!busy);
}

bool CommSettingsModel::connectLink()
{
    setBusy(true);
    m_ctx.trap(QStringLiteral("frmCommSettings, cmdConnect_Click"), [this] {
        if (refuseWhileOpen())
            return;
        if (isOpcEntry(m_port)) {
            if (EthernetRoute *route = m_ctx.ethernet())
                route->connectDevice(m_txtPort);
            return;
        }
        if (refuseAddress())
            return;
        try {
            connectSerial();
        } catch (const TrappedError &e) {
            const auto message = PortAccess::forError(e);
            if (!message)
                throw;
            m_ctx.prompter().msgBox(message->text, Msg::Exclamation, message->title);
        }
    });
    setBusy(false);
    return isOpcEntry(m_port) ? m_link.ethernetOpen() : m_link.serialOpen();
}

bool CommSettingsModel::refuseWhileOpen()
{
    if (!m_link.linkOpen())
        return false;
    m_ctx.prompter().msgBox(QStringLiteral("Tarvel is currently communicating with a device.\r"
                                           "To connect to another device, first disconnect the current connection."),
        Msg::Exclamation, QStringLiteral("Port In Use"));
    return true;
}

bool CommSettingsModel::refuseAddress()
{
    bool numeric = false;
    m_txtAddress.trimmed().toDouble(&numeric);
    if (numeric)
        return false;
    m_ctx.prompter().msgBox(QStringLiteral(" Please enter a node address. Address must be numeric."), Msg::Exclamation,
        QStringLiteral("Information Missing Or Incorrect Format"));
    return true;
}

void CommSettingsModel::connectSerial()
{
    SerialLinkSettings settings;
    settings.nodeAddress = m_txtAddress;
    settings.commPort = isComEntry(m_port) ? m_port : 0;
    settings.target = m_targets.value(m_port);
    settings.asciiMode = m_protocol >= 0 && m_protocol < 6 ? ComSetTable::Protocols[m_protocol].asciiMode : 0;
    settings.portSettings = ComSetTable::portSettings(m_txtSpeed, m_protocol);
    if (m_link.openSerial(settings) != ModbusMaster::Success) {
        qCInfo(lcComm) << "no drive at node" << m_txtAddress << "on" << m_txtPort << settings.portSettings;
        m_ctx.prompter().msgBox(QStringLiteral("Drive not found. Please check your settings."), Msg::Exclamation,
            QStringLiteral("Drive Not Found."));
        m_link.closeConnection();
        return;
    }
    m_link.setPanel4Text(connectedPanelText(m_txtAddress, settings.framingWord(), settings.portSettings));
    m_link.setPanel4Connected(true);
    m_ctx.hooks().setPollTimerEnabled(true);
    m_ctx.prompter().msgBox(QStringLiteral("Connected to Node ") + m_txtAddress
            + QStringLiteral(" using protocol settings:\r") + m_txtProtocol,
        Msg::Information, QStringLiteral("Serial Connection Established"));
    m_ctx.state.strConnected = QStringLiteral("False");
}

void CommSettingsModel::disconnectLink()
{
    m_ctx.trap(QStringLiteral("frmCommSettings, cmdDisconnect_Click"), [this] { m_link.disconnectLink(); });
}

} // namespace Tarvel
