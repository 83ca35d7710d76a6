#include "ScreenItems.h"

#include "base/Logging.h"
#include "ethernet/EthernetRoute.h"
#include "model/AppContext.h"

namespace Tarvel {

ScreenItems::ScreenItems(AppContext &ctx, int linkNumber, QList<Item> items)
    : m_ctx(ctx)
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
    if (OpcDataLink *data = link())
        data->stopItems();
    qCInfo(lcMonitor) << "OPCData" << m_linkNumber << "stopped";
}

} // namespace Tarvel
