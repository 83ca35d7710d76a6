#pragma once

#include "OpcItemName.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QVariant>

#include <array>
#include <memory>

class QTimer;

namespace Tarvel {

class DeviceChannel;
class DevicePool;

// One row of the item table a data link is started with.
struct OpcItemRow
{
    QString name; // the caller's name for the row ("tag")
    QString itemName; // OPCDevicePath + tag; an empty row is skipped
    QString updateRate; // milliseconds
    QString initialValue; // the value until the first poll answers
};
using OpcItemTable = std::array<OpcItemRow, 20>;

// An OPC data link of the Ethernet route (OPCData1 .. OPCData4): the items
// of a table subscribed and polled over Modbus/TCP at each item's update
// rate, with valueChanged for every value that differs from the one told
// before (the first answer always tells); and single items read and
// written synchronously. A poll reads each run of neighbouring registers
// of a device in one transaction. ST00.18 is the route's own report on the
// device: 1 while it answers, 0 when it stopped answering.
//
// States: 0 success; a Modbus ResultCode (exception 1..255, 300..308) when
// the device failed the request; and the route's own below.
class OpcDataLink : public QObject
{
    Q_OBJECT

public:
    enum State : int {
        Success = 0,
        UnknownItem = -2, // the name names no item of the route
        NoDevice = -3, // no server chosen, no valid definition, or no such device
        ReadOnlyItem = -4, // a device item or ST00.18: the route answers them, nothing is written
        BadValue = -5, // not a whole number that fits a 16-bit register
    };
    static constexpr int GoodQuality = 192;
    static constexpr int CommFailureQuality = 24;
    static constexpr int BadQuality = 0;
    static constexpr int ReadTimeOut = 1000;
    static constexpr int DefaultUpdateRate = 1500;

    explicit OpcDataLink(DevicePool &pool, QObject *parent = nullptr);
    ~OpcDataLink() override;

    QString serverProgID() const { return m_progId; }
    void setServerProgID(const QString &progId) { m_progId = progId; }

    // ResetItems: ends the subscription and forgets the table.
    void resetItems();
    // StartItems: subscribes the table's items and polls each group at
    // once, then at its update rate. Rows whose item name the route does not
    // know, or whose device is not defined, are left out (logged). Returns
    // how many items were subscribed.
    int startItems(const OpcItemTable &table);
    // StopItems: no more polls and no more valueChanged.
    void stopItems();
    bool subscribed() const { return !m_groups.empty(); }

    // ReadItem; `timeOut` ms for the answer.
    int readItem(const QString &itemName, QVariant *value, int *quality, int timeOut = ReadTimeOut);
    // WriteItem: one register, waited for.
    int writeItem(const QString &itemName, const QVariant &value);

    // Processes events until every subscribed group has answered its first
    // poll or `ms` have passed; whether all answered.
    bool waitForFirstValues(int ms);
    // The value last told for a subscribed item; invalid before.
    QVariant value(const QString &itemName) const;

Q_SIGNALS:
    void valueChanged(const QString &item, const QVariant &value);

private:
    struct Item;
    struct Group;
    struct Answer;

    DeviceChannel *channelFor(const QString &device, QString *error);
    Group &groupFor(const QString &device, int rate);
    void poll(Group &group);
    void runAnswered(Group &group, quint64 generation, int result, int first, const QList<qint16> &values);
    void pollEnded(Group &group);
    void tell(Item &item, const QVariant &value);
    QVariant deviceItem(const OpcItemName &name, DeviceChannel &channel) const;
    bool waitFor(const std::shared_ptr<Answer> &answer, int ms);

    DevicePool &m_pool;
    QString m_progId;
    std::vector<std::unique_ptr<Group>> m_groups;
    quint64 m_generation = 0; // replies of an earlier subscription are dropped
};

} // namespace Tarvel
