#pragma once

#include "DriveModel.h"
#include "RegisterMap.h"

#include "comm/ModbusPdu.h"

#include <QElapsedTimer>
#include <QSet>

namespace Tarvel::Sim {

// The drive's Modbus application layer: takes a request PDU, reads or
// writes the parameter and status registers, and builds the answer PDU.
// Register number N is protocol address N - 1.
class DriveSlave
{
public:
    DriveSlave(RegisterMap &params, DriveModel &model, bool rangeCheck);

    // Requests touching these register numbers are answered with
    // exception 04 (slave device failure).
    void setFailingRegisters(const QList<int> &numbers);
    // Writes to these register numbers are acknowledged but not stored,
    // as by a drive that silently loses what it is sent.
    void setIgnoredWrites(const QList<int> &numbers);
    // Requests for more than one register are answered with exception 01
    // (illegal function), as by a drive that takes single registers only.
    void setRefuseBlocks(bool refuse) { m_refuseBlocks = refuse; }

    // The answer PDU for a request PDU. The model is first brought up to
    // the present moment, so every answer shows the drive as it is now.
    QByteArray handle(QByteArrayView pdu);

private:
    QByteArray read(const ModbusRequest &request);
    QByteArray write(const ModbusRequest &request);
    bool touchesFailing(const ModbusRequest &request) const;
    void catchUp();

    RegisterMap &m_params;
    DriveModel &m_model;
    bool m_rangeCheck;
    bool m_refuseBlocks = false;
    QSet<int> m_failing;
    QSet<int> m_ignoredWrites;
    QElapsedTimer m_clock;
    qint64 m_lastNs = 0;
};

} // namespace Tarvel::Sim
