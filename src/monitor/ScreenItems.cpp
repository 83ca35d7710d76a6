#include "ScreenItems.h"

#include "base/Logging.h"
#include "comm/DriveValues.h"
#include "ethernet/EthernetRoute.h"
#include "ethernet/OpcItemName.h"
#include "model/AppContext.h"

#include <algorithm>

namespace Tarvel {

ScreenItems::ScreenItems(AppContext &ctx, int linkNumber, QList<Item> items, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_linkNumber(linkNumber)
    , m_items(std::move(items))
{ }

ScreenItems::~ScreenItems()
{
    stop();
}

OpcDataLink *ScreenItems::link() const
{
    EthernetRoute *route = m_ctx.ethernet();
    return route ? &route->link(m_linkNumber) : nullptr;
}

OpcItemTable ScreenItems::table(const QString &devicePath, const QList<Item> &items)
{
    OpcItemTable table;
    for (qsizetype row = 0; row < items.size() && row < qsizetype(table.size()); ++row) {
        const Item &item = items.at(row);
        table[size_t(row)] = {QStringLiteral("tag"), devicePath + QLatin1String(item.tag), QString::number(item.rateMs),
            QStringLiteral("0.0")};
    }
    return table;
}

bool ScreenItems::start()
{
    OpcDataLink *data = link();
    if (!data || m_ctx.state.strConnected != QLatin1String("True"))
        return false;
    data->resetItems();
    connect(data, &OpcDataLink::valueChanged, this, &ScreenItems::store, Qt::UniqueConnection);
    const int subscribed = data->startItems(table(m_ctx.state.OPCDevicePath, m_items));
    m_started = true;
    qCInfo(lcMonitor) << "OPCData" << m_linkNumber << "started with" << subscribed << "items";
    m_ctx.pause(1.5);
    data->waitForFirstValues(1500);
    return true;
}

void ScreenItems::stop()
{
    if (!m_started)
        return;
    m_started = false;
    if (OpcDataLink *data = link()) {
        data->stopItems();
        disconnect(data, &OpcDataLink::valueChanged, this, &ScreenItems::store);
    }
    qCInfo(lcMonitor) << "OPCData" << m_linkNumber << "stopped";
}

// The link's ValueChanged: an item of this screen's device that the screen
// takes goes where its register's value goes on the serial link.
void ScreenItems::store(const QString &itemName, const QVariant &value)
{
    const QString &path = m_ctx.state.OPCDevicePath;
    if (!itemName.startsWith(path))
        return;
    const QStringView tag = QStringView(itemName).mid(path.size());
    const bool taken = std::any_of(m_items.cbegin(), m_items.cend(), [tag](const Item &item) {
        return item.taken && tag.compare(QLatin1String(item.tag), Qt::CaseInsensitive) == 0;
    });
    const std::optional<OpcItemName> name = OpcItemName::parse(itemName);
    if (taken && name && name->isRegister())
        DriveValues::storeItem(m_ctx.state, name->registerNumber(), qint16(value.toInt()));
}

} // namespace Tarvel
