#include "EthernetRoute.h"

#include "base/Logging.h"
#include "comm/CommLink.h"
#include "comm/DriveValues.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

namespace Tarvel {

namespace {

const QString DefaultRate = QStringLiteral("1500");

// Link 1's rows; 8 to 16 stay empty.
const std::pair<int, const char *> ConnectionTags[] = {
    {0, "ST00.00@WORD"},
    {1, "ST00.01@WORD"},
    {2, "P09.41@WORD"},
    {3, "P09.42@WORD"},
    {4, "ST00.16@WORD"},
    {5, "ST00.10@WORD"},
    {6, "ST00.12@WORD"},
    {7, "ST00.13@WORD"},
    {17, "_System._DeviceId"},
    {18, "_System._Enabled"},
    {19, "ST00.18@WORD"},
};

} // namespace

EthernetRoute::EthernetRoute(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_pool(ctx.paths().serversDir())
{
    // Every link's changes go where the serial polling would put them.
    for (std::unique_ptr<OpcDataLink> &link : m_links) {
        link = std::make_unique<OpcDataLink>(m_pool);
        connect(link.get(), &OpcDataLink::valueChanged, this, &EthernetRoute::storeValue);
    }
    connect(&m_pool, &DevicePool::transactionTraced, &ctx.link(), &CommLink::routeTransaction);
    ctx.attachEthernet(this);
    ctx.link().attachEthernet(this);
}

EthernetRoute::~EthernetRoute()
{
    for (std::unique_ptr<OpcDataLink> &link : m_links)
        link->stopItems();
    if (m_ctx.ethernet() == this)
        m_ctx.attachEthernet(nullptr);
    if (m_ctx.link().ethernetItems() == this)
        m_ctx.link().attachEthernet(nullptr);
}

DeviceBrowser EthernetRoute::browser() const
{
    return DeviceBrowser(m_pool.serversDir());
}

void EthernetRoute::setServerProgID(const QString &progId)
{
    for (std::unique_ptr<OpcDataLink> &link : m_links)
        link->setServerProgID(progId);
}

void EthernetRoute::connectDevice(const QString &device)
{
    m_ctx.state.OPCDevicePath = device + u'.';
    CommLink &link = m_ctx.link();
    link.setPanel4Text(QStringLiteral("OPC Device ") + m_ctx.state.OPCDevicePath + QStringLiteral("  "));
    link.setPanel4Connected(true);
    m_ctx.prompter().msgBox(QStringLiteral("Connected via Ethernet to ") + m_ctx.state.OPCDevicePath, Msg::Information,
        QStringLiteral("Ethernet Connection Established"));
    m_ctx.state.strConnected = QStringLiteral("True");
    qCInfo(lcEthernet).noquote() << "connected to" << device << "of" << serverProgID();
    startConnectionItems();
}

OpcItemTable EthernetRoute::connectionTable(const QString &devicePath, const QString &updateRate)
{
    OpcItemTable table;
    for (const auto &[row, tag] : ConnectionTags)
        table[row] = {QStringLiteral("tag"), devicePath + QLatin1String(tag), updateRate, QStringLiteral("0.0")};
    return table;
}

void EthernetRoute::startConnectionItems(const QString &updateRate)
{
    OpcDataLink &link1 = link(1);
    link1.resetItems();
    const QString rate = updateRate.isEmpty() ? DefaultRate : updateRate;
    link1.startItems(connectionTable(m_ctx.state.OPCDevicePath, rate));
    m_ctx.pause(1.5);
    link1.waitForFirstValues(1500);
}

int EthernetRoute::readItem(const QString &itemName, QVariant *value, int *quality)
{
    return link(1).readItem(itemName, value, quality);
}

int EthernetRoute::writeItem(const QString &itemName, const QVariant &value)
{
    return link(1).writeItem(itemName, value);
}

void EthernetRoute::stopItems()
{
    link(1).stopItems();
    // No screen left on the route: its connections end with the link.
    const bool anyRunning
        = std::any_of(m_links.begin(), m_links.end(), [](const auto &link) { return link->subscribed(); });
    if (!anyRunning)
        m_pool.closeAll();
}

// The ValueChanged handlers of the links: the item's value into the shared
// drive value the serial polling would have filled.
void EthernetRoute::storeValue(const QString &item, const QVariant &value)
{
    const std::optional<OpcItemName> name = OpcItemName::parse(item);
    if (!name || name->device() + u'.' != m_ctx.state.OPCDevicePath)
        return;
    if (name->isRegister() || name->kind() == OpcItemName::Kind::ModuleLink)
        DriveValues::storeItem(m_ctx.state, name->registerNumber(), qint16(value.toInt()));
}

} // namespace Tarvel
