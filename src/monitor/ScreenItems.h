#pragma once

#include "ethernet/OpcDataLink.h"

#include <QList>
#include <QString>

namespace Tarvel {

class AppContext;

// A monitoring screen's own OPC data link on the Ethernet route: OPCData2
// for the keypad, OPCData3 for the PID screen, OPCData4 for the trend, with
// the screen's item table (each item at its own update rate). Its items
// are subscribed while the screen is open; the route stores their changed
// values in the shared drive values where the serial polling would have
// put them, so the screen reads them as on the serial link. On the serial
// link it does nothing.
class ScreenItems
{
public:
    struct Item
    {
        const char *tag; // "ST00.02@WORD"
        int rateMs;
    };

    ScreenItems(AppContext &ctx, int linkNumber, QList<Item> items);
    ~ScreenItems();
    ScreenItems(const ScreenItems &) = delete;
    ScreenItems &operator=(const ScreenItems &) = delete;

    // ResetItems, StartItems with the screen's item table, then the pause
    // of 1.5 s in which the first values arrive. False (nothing done) when
    // the Ethernet route is not the open link.
    bool start();
    // StopItems, when started.
    void stop();
    bool started() const { return m_started; }

    // The item table for a device path ("Channel1.Drive1."): one row per
    // item, name "tag", initial value "0.0".
    static OpcItemTable table(const QString &devicePath, const QList<Item> &items);

private:
    OpcDataLink *link() const;

    AppContext &m_ctx;
    int m_linkNumber;
    QList<Item> m_items;
    bool m_started = false;
};

} // namespace Tarvel
