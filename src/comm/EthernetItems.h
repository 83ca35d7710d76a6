#pragma once

#include <QString>
#include <QVariant>

namespace Tarvel {

// What the register transactions and CloseConnection need of the Ethernet
// route: synchronous reads and writes through the first OPC data link and
// the end of its subscription. The route itself lives a layer above the
// link and attaches itself to it.
class EthernetItems
{
public:
    static constexpr int Success = 0;
    static constexpr int GoodQuality = 192;

    virtual ~EthernetItems() = default;

    // ReadItem: returns the state, 0 for success; `quality` 192 is good.
    virtual int readItem(const QString &itemName, QVariant *value, int *quality) = 0;
    // WriteItem: returns the state, 0 when the drive took the value.
    virtual int writeItem(const QString &itemName, const QVariant &value) = 0;
    // StopItems of the first data link: the connection's subscription ends.
    virtual void stopItems() = 0;
};

} // namespace Tarvel
