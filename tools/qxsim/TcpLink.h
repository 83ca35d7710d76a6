#pragma once

#include "AnswerQueue.h"
#include "SimServer.h"
#include "WireLog.h"

#include <QHash>
#include <QTcpServer>

#include <memory>

namespace Tarvel::Sim {

// The drive behind a Modbus/TCP address, as an Ethernet module would
// offer it, or several drives behind one gateway, each at its own unit id.
// Several masters may connect; each connection has its own receive buffer.
class TcpLink : public QObject
{
    Q_OBJECT
public:
    // One server: the drive answers units 0 and 255 too. Several: each
    // answers its own unit id only.
    TcpLink(QList<SimServer *> servers, const SimOptions &options, QObject *parent = nullptr);
    ~TcpLink() override;

    bool listen(QString *error);
    // "127.0.0.1:1502", with the port the system chose for port 0.
    QString address() const;
    WireLog &wire() { return m_wire; }
    // Closes every master's connection, as a module that restarts would.
    void dropConnections();

private:
    void accept();
    void readSocket(QTcpSocket *socket);
    SimServer::Reply route(const ModbusAdu &request);

    QList<SimServer *> m_servers;
    QHostAddress m_host;
    quint16 m_port;
    std::chrono::milliseconds m_turnaround;
    std::chrono::milliseconds m_slow;
    int m_pieces;
    QTcpServer m_listener;
    std::unique_ptr<ModbusTransport> m_transport;
    QHash<QTcpSocket *, QByteArray> m_buffers;
    AnswerQueue m_answers;
    WireLog m_wire;
};

} // namespace Tarvel::Sim
