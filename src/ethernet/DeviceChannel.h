#pragma once

#include "ServerDefinition.h"
#include "comm/ModbusMaster.h"

#include <QList>
#include <QObject>
#include <QQueue>

#include <functional>

namespace Tarvel {

// The Modbus/TCP connection to one device of a server, shared by every
// data link that names the device. Requests queue and go out one after
// another on the device's own master; each ends in its reply, called from
// the event loop with the master's ResultCode and the values read. The
// connection opens with the first request and again after it was lost, so
// a module that comes back is reached without a new connect.
class DeviceChannel : public QObject
{
    Q_OBJECT

public:
    using Reply = std::function<void(int result, const QList<qint16> &values)>;
    static constexpr int MaxReadCount = 125; // Modbus 03 carries at most 125 registers

    explicit DeviceChannel(const DeviceAddress &address, QObject *parent = nullptr);

    const DeviceAddress &address() const { return m_address; }

    void read(int startRegister, int count, Reply reply);
    void write(int registerNumber, qint16 value, Reply reply);

    // Whether the device answered the last request (an exception answer is
    // an answer); false before the first.
    bool answering() const { return m_answering; }
    // Requests that went out on the wire; for figures and tests.
    int transactions() const { return m_transactions; }
    // Closes the connection; a pending request ends with LinkLost.
    void close();

Q_SIGNALS:
    // Every transaction with the device, as the bus monitor shows Mod1's.
    void transactionTraced(const Tarvel::BusTransaction &transaction);

private:
    struct Request
    {
        bool write = false;
        int start = 0;
        int count = 1;
        qint16 value = 0;
        Reply reply;
    };

    void submit(Request request);
    void startNext();
    bool ensureOpen();
    void failQueued(int result);
    void onDone();
    void finishHead(int result);

    DeviceAddress m_address;
    ModbusMaster m_master;
    QQueue<Request> m_queue;
    bool m_pending = false;
    bool m_opening = false;
    bool m_closing = false;
    bool m_answering = false;
    int m_transactions = 0;
};

} // namespace Tarvel
