#include "SimServer.h"

#include "SimLogging.h"

namespace Tarvel::Sim {

namespace {

constexpr quint8 BroadcastUnit = 0;
constexpr quint8 AnyUnit = 255;

bool isWrite(const QByteArray &pdu)
{
    const quint8 function = pdu.isEmpty() ? 0 : quint8(pdu[0]);
    return function == quint8(ModbusFunction::WriteSingleRegister)
        || function == quint8(ModbusFunction::WriteMultipleRegisters);
}

} // namespace

SimServer::SimServer(DriveSlave &slave, const SimOptions &options, int node)
    : m_slave(slave)
    , m_node(node)
    , m_faults(options)
{ }

SimServer::Reply SimServer::handle(const ModbusAdu &request, bool anyUnit)
{
    // Modbus/TCP reaches a server by its address; units 0 and 255 there
    // mean "the device itself", and TCP has no broadcast.
    const bool itself
        = request.unit == m_node || (anyUnit && (request.unit == AnyUnit || request.unit == BroadcastUnit));
    if (!itself && request.unit == BroadcastUnit) {
        // Every drive on the line carries a broadcast write out; none answers.
        if (isWrite(request.pdu))
            m_slave.handle(request.pdu);
        qCDebug(lcSim) << "broadcast" << request.pdu.toHex(' ');
        return {};
    }
    if (!itself) {
        qCDebug(lcSim) << "for node" << request.unit << "- not ours";
        return {};
    }
    const FaultInjector::Verdict verdict = m_faults.next();
    if (!verdict.execute) {
        qCDebug(lcSim) << "request" << m_faults.requests() << "dropped:" << request.pdu.toHex(' ');
        return {};
    }
    Reply reply;
    reply.pdu = m_slave.handle(request.pdu);
    reply.pdu = verdict.misbehaviour.answerPdu(reply.pdu, request.pdu);
    reply.misbehaviour = verdict.misbehaviour;
    reply.send = verdict.answer;
    reply.corrupt = verdict.corrupt;
    reply.slow = verdict.slow;
    qCDebug(lcSim).nospace() << "request " << m_faults.requests() << ": " << request.pdu.toHex(' ') << " -> "
                             << reply.pdu.toHex(' ') << (reply.corrupt ? " (corrupted)" : "")
                             << (reply.slow ? " (slow)" : "");
    return reply;
}

} // namespace Tarvel::Sim
