#pragma once

#include "ethernet/OpcDataLink.h"

#include <QList>
#include <QObject>
#include <QString>

namespace Tarvel {

class AppContext;

// A monitoring screen's own OPC data link on the Ethernet route: OPCData2
// for the keypad, OPCData3 for the PID screen, OPCData4 for the trend. Its
// items are subscribed while the screen is open, and each changed value of
// an item the screen takes is stored in the shared drive values where the
// serial polling would have put it, so the screen reads them as on the
// serial link. On the serial link it does nothing.
class ScreenItems : public QObject
{
    Q_OBJECT

public:
    struct Item
    {
        const char *tag; // "ST00.02@WORD"
        int rateMs;
        bool taken = true; // stored when it changes; else only subscribed
    };

    ScreenItems(AppContext &ctx, int linkNumber, QList<Item> items, QObject *parent = nullptr);
    ~ScreenItems() override;

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
    void store(const QString &itemName, const QVariant &value);

    AppContext &m_ctx;
    int m_linkNumber;
    QList<Item> m_items;
    bool m_started = false;
};

} // namespace Tarvel
