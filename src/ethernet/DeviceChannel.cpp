#include "DeviceChannel.h"

#include "base/Logging.h"
#include "base/TrappedError.h"

namespace Tarvel {

DeviceChannel::DeviceChannel(const DeviceAddress &address, QObject *parent)
    : QObject(parent)
    , m_address(address)
{
    connect(&m_master, &ModbusMaster::done, this, &DeviceChannel::onDone);
    connect(&m_master, &ModbusMaster::transactionTraced, this, &DeviceChannel::transactionTraced);
}

void DeviceChannel::read(int startRegister, int count, Reply reply)
{
    submit({false, startRegister, count, 0, std::move(reply)});
}

void DeviceChannel::write(int registerNumber, qint16 value, Reply reply)
{
    submit({true, registerNumber, 1, value, std::move(reply)});
}

void DeviceChannel::close()
{
    // What waits would only open the connection again.
    m_closing = true;
    m_master.setPortOpen(false);
    failQueued(ModbusMaster::LinkLost);
    m_closing = false;
}

void DeviceChannel::submit(Request request)
{
    m_queue.enqueue(std::move(request));
    // While a connection is being made, the request waits its turn there.
    if (!m_pending && !m_opening && !m_closing)
        startNext();
}

void DeviceChannel::startNext()
{
    while (!m_pending && !m_queue.isEmpty()) {
        if (!ensureOpen()) {
            failQueued(ModbusMaster::LinkLost);
            return;
        }
        const Request &request = m_queue.head();
        m_master.setStartOffset(0);
        m_master.setStartRegister(request.start);
        m_master.setRegisterCount(request.count);
        if (request.write) {
            m_master.setRegisterValue(0, request.value);
            m_master.setFunctionCode(ModbusMaster::WriteRegister);
        } else {
            m_master.setFunctionCode(ModbusMaster::ReadRegisters);
        }
        m_pending = true;
        m_master.trigger();
        if (m_master.busy()) {
            ++m_transactions;
        } else {
            // Refused before it went out (a register out of range).
            m_pending = false;
            finishHead(m_master.resultCode());
        }
    }
}

bool DeviceChannel::ensureOpen()
{
    if (m_master.portOpen())
        return true;
    m_master.setNodeAddress(QString::number(m_address.unit));
    m_master.setConnectionTarget(QStringLiteral("tcp://%1:%2").arg(m_address.host).arg(m_address.port));
    m_master.setTimeOut(m_address.timeout);
    m_opening = true;
    bool opened = true;
    try {
        m_master.setPortOpen(true);
    } catch (const TrappedError &e) {
        qCInfo(lcEthernet).noquote() << m_address.name() << "not reached:" << e.description();
        opened = false;
    }
    m_opening = false;
    return opened;
}

// A device that cannot be reached fails everything that waited for it; a
// request its replies submit tries the connection again.
void DeviceChannel::failQueued(int result)
{
    QQueue<Request> failed;
    failed.swap(m_queue);
    m_answering = false;
    for (const Request &request : std::as_const(failed))
        request.reply(result, {});
}

void DeviceChannel::onDone()
{
    if (!m_pending)
        return;
    m_pending = false;
    const int result = m_master.resultCode();
    // A connection that died stays open to its users; closed here, the
    // next request connects again.
    if (result == ModbusMaster::LinkLost)
        m_master.setPortOpen(false);
    finishHead(result);
    if (!m_closing)
        startNext();
}

void DeviceChannel::finishHead(int result)
{
    const Request request = m_queue.dequeue();
    m_answering = result == ModbusMaster::Success || ModbusMaster::isException(result);
    QList<qint16> values;
    if (result == ModbusMaster::Success && !request.write) {
        for (int i = 0; i < request.count; ++i)
            values << m_master.registerValue(i);
    }
    if (result != ModbusMaster::Success)
        qCInfo(lcEthernet).noquote() << m_address.name() << "register" << request.start
                                     << ModbusMaster::resultText(result);
    request.reply(result, values);
}

} // namespace Tarvel
