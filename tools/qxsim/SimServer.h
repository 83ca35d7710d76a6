#pragma once

#include "DriveSlave.h"
#include "FaultInjector.h"

#include "comm/ModbusTransport.h"

namespace Tarvel::Sim {

// What a link does with one request that arrived intact: the node filter,
// broadcasts and the injected faults, in front of the drive itself. The
// links (pseudo-terminal, TCP) only frame bytes and time the answers.
class SimServer
{
public:
    struct Reply
    {
        bool send = false;
        QByteArray pdu;
        bool corrupt = false;
        bool slow = false;
        Misbehaviour misbehaviour; // what the link still does to the frame
    };

    SimServer(DriveSlave &slave, const SimOptions &options, int node);

    // `anyUnit` (Modbus/TCP): units 0 and 255 also reach the drive.
    Reply handle(const ModbusAdu &request, bool anyUnit = false);
    const FaultInjector &faults() const { return m_faults; }
    void setMisbehaviour(const Misbehaviour &misbehaviour) { m_faults.setMisbehaviour(misbehaviour); }
    int node() const { return m_node; }

private:
    DriveSlave &m_slave;
    int m_node;
    FaultInjector m_faults;
};

} // namespace Tarvel::Sim
