#include "TcpLink.h"

#include "SimLogging.h"

#include <QPointer>
#include <QTcpSocket>

namespace Tarvel::Sim {

TcpLink::TcpLink(QList<SimServer *> servers, const SimOptions &options, QObject *parent)
    : QObject(parent)
    , m_servers(std::move(servers))
    , m_host(options.tcpHost)
    , m_port(options.tcpPort)
    , m_turnaround(options.turnaroundMs)
    , m_slow(options.slowMs)
    , m_pieces(options.answerPieces)
    , m_transport(ModbusTransport::create(ModbusTransport::Framing::Tcp))
{
    connect(&m_listener, &QTcpServer::newConnection, this, &TcpLink::accept);
}

TcpLink::~TcpLink()
{
    // The connections close with the listener, after the buffers are gone.
    const QList<QTcpSocket *> sockets = m_buffers.keys();
    for (QTcpSocket *socket : sockets)
        socket->disconnect(this);
}

bool TcpLink::listen(QString *error)
{
    if (m_listener.listen(m_host, m_port))
        return true;
    *error
        = QStringLiteral("cannot listen on %1:%2: %3").arg(m_host.toString()).arg(m_port).arg(m_listener.errorString());
    return false;
}

QString TcpLink::address() const
{
    return QStringLiteral("%1:%2").arg(m_listener.serverAddress().toString()).arg(m_listener.serverPort());
}

void TcpLink::dropConnections()
{
    const QList<QTcpSocket *> sockets = m_buffers.keys();
    for (QTcpSocket *socket : sockets)
        socket->disconnectFromHost();
}

void TcpLink::accept()
{
    while (QTcpSocket *socket = m_listener.nextPendingConnection()) {
        m_buffers.insert(socket, {});
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { readSocket(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            m_buffers.remove(socket);
            socket->deleteLater();
        });
        qCDebug(lcSim) << "connection from" << socket->peerAddress().toString() << socket->peerPort();
    }
}

void TcpLink::readSocket(QTcpSocket *socket)
{
    QByteArray &buffer = m_buffers[socket];
    buffer += socket->readAll();
    for (;;) {
        const ModbusTransport::Scan scan = m_transport->scan(buffer, ModbusDirection::Request);
        if (scan.state == ModbusTransport::ScanState::NeedMore)
            return;
        if (scan.state != ModbusTransport::ScanState::Complete) {
            // A stream out of step cannot be resynchronised: drop the peer.
            qCDebug(lcSim) << "unframed bytes, closing:" << buffer.toHex(' ');
            socket->abort();
            return;
        }
        const QByteArray frame = buffer.first(scan.length);
        buffer.remove(0, scan.length);
        m_wire.request(frame);
        const ModbusTransport::Decoded decoded = m_transport->decode(frame);
        if (decoded.error != ModbusTransport::DecodeError::None)
            continue;
        const SimServer::Reply reply = route(decoded.adu);
        if (!reply.send)
            continue;
        const QList<QByteArray> pieces = reply.misbehaviour.onWire(
            {decoded.adu.unit, reply.pdu, decoded.adu.transactionId}, *m_transport, reply.corrupt, m_pieces);
        const auto due = AnswerQueue::Clock::now() + (reply.slow ? m_slow : m_turnaround);
        m_answers.schedulePieces(
            due, pieces, Misbehaviour::PieceGap, [socket = QPointer<QTcpSocket>(socket)](const QByteArray &piece) {
                if (socket)
                    socket->write(piece);
            });
    }
}

SimServer::Reply TcpLink::route(const ModbusAdu &request)
{
    if (m_servers.size() == 1)
        return m_servers.front()->handle(request, true);
    if (request.unit == 0) {
        // A gateway passes a broadcast on to its serial line: every drive
        // carries a write out and none answers.
        for (SimServer *server : std::as_const(m_servers))
            server->handle(request);
        return {};
    }
    for (SimServer *server : std::as_const(m_servers)) {
        if (server->node() == request.unit)
            return server->handle(request);
    }
    // A gateway answers for a unit id it has no drive behind with exception
    // 0B (gateway target device failed to respond), as it would after its
    // own wait on the serial line: the master learns at once instead of
    // waiting out its time-out.
    SimServer::Reply reply;
    reply.send = true;
    reply.pdu = ModbusPdu::encodeException(
        request.pdu.isEmpty() ? 0 : quint8(request.pdu[0]), ModbusException::GatewayTargetFailed);
    qCDebug(lcSim) << "no drive at unit" << request.unit;
    return reply;
}

} // namespace Tarvel::Sim
