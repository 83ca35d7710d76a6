#pragma once

#include "AnswerQueue.h"
#include "PtyPort.h"
#include "SimServer.h"
#include "WireLog.h"

#include <QTimer>

#include <memory>

namespace Tarvel::Sim {

// The drive on a serial line: frames the bytes from the pseudo-terminal
// in RTU or ASCII, answers only requests sent with the line settings the
// drive is set to, and times the answers (wire timing, slow answers).
class SerialLink : public QObject
{
    Q_OBJECT
public:
    SerialLink(SimServer &server, const SimOptions &options, PtyPort &port, QObject *parent = nullptr);

    WireLog &wire() { return m_wire; }

private:
    void readPort();
    void dropIncomplete();
    void scanBuffer(AnswerQueue::Clock::time_point arrival);
    void take(const QByteArray &frame, AnswerQueue::Clock::time_point arrival);

    SimServer &m_server;
    PtyPort &m_port;
    std::unique_ptr<ModbusTransport> m_transport;
    SerialFormat m_format;
    bool m_wireTiming;
    std::chrono::milliseconds m_turnaround;
    std::chrono::milliseconds m_slow;
    int m_pieces;
    QByteArray m_buffer;
    QTimer m_silence;
    AnswerQueue m_answers;
    WireLog m_wire;
};

} // namespace Tarvel::Sim
