#pragma once

#include "comm/ModbusTransport.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QMap>
#include <QObject>
#include <QTcpServer>

#include <memory>

class QSocketNotifier;
class QTcpSocket;

namespace Tarvel::Test {

// A tiny Modbus slave for the master's tests, on the far side of a
// pseudo-terminal (RTU, ASCII) or a loopback TCP socket. It answers from
// a register bank and can be told to answer wrongly in one chosen way.
class ScriptedSlave : public QObject
{
    Q_OBJECT
public:
    enum class Fault {
        None,
        Exception, // refuse with `exceptionCode`
        Silent, // never answer
        OtherNode, // answer as node + 1
        BadCheck, // spoil the CRC or LRC
        WrongFunction, // answer a read as if it were a write
        Short, // send only the first half of the answer
        EchoMismatch, // acknowledge a write with another value
        Noise, // send bytes that form no frame
        OldTransaction, // TCP: an answer with a stale transaction number first
        Flood, // 64 KiB of bytes that form no frame, in pieces for 640 ms, instead of the answer
    };

    ScriptedSlave(ModbusTransport::Framing framing, quint8 unit);
    ~ScriptedSlave() override;

    bool isReady() const { return m_ready; }
    // What the master opens: a device path or tcp://127.0.0.1:port.
    QString target() const;
    // The pseudo-terminal's slave side, for reading its line settings.
    int ttyFd() const { return m_ttyFd; }

    Fault fault = Fault::None;
    quint8 exceptionCode = 2;
    int pieces = 1; // answer split into this many writes, 5 ms apart
    QMap<quint16, quint16> bank; // protocol address -> value; absent reads as address * 3
    QList<QByteArray> requests; // every request frame received, as on the wire
    // For each request after an answer: the quiet time from the end of
    // writing that answer to the first byte of the request, in microseconds.
    QList<qint64> quietBeforeRequest;

    void dropConnection(); // TCP: close the master's connection

private:
    void readTty();
    void readSocket();
    void take(QByteArray &buffer);
    QByteArray answer(const ModbusAdu &request);
    QByteArray spoil(QByteArray frame) const;
    void sendPieces(const QByteArray &bytes);
    void write(const QByteArray &bytes);

    std::unique_ptr<ModbusTransport> m_transport;
    quint8 m_unit;
    bool m_ready = false;
    int m_ptyFd = -1;
    int m_ttyFd = -1;
    QString m_ttyName;
    QSocketNotifier *m_notifier = nullptr;
    QTcpServer m_server;
    QTcpSocket *m_client = nullptr;
    QByteArray m_buffer;
    QElapsedTimer m_sinceAnswer;
};

} // namespace Tarvel::Test
