#include "ScriptedSlave.h"

#include <QSocketNotifier>
#include <QTcpSocket>
#include <QTimer>

#include <fcntl.h>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

namespace Tarvel::Test {

ScriptedSlave::ScriptedSlave(ModbusTransport::Framing framing, quint8 unit)
    : m_transport(ModbusTransport::create(framing))
    , m_unit(unit)
{
    if (framing == ModbusTransport::Framing::Tcp) {
        m_ready = m_server.listen(QHostAddress::LocalHost);
        connect(&m_server, &QTcpServer::newConnection, this, [this] {
            m_client = m_server.nextPendingConnection();
            connect(m_client, &QTcpSocket::readyRead, this, &ScriptedSlave::readSocket);
        });
        return;
    }
    char name[256] = {};
    termios raw {};
    cfmakeraw(&raw);
    if (openpty(&m_ptyFd, &m_ttyFd, name, &raw, nullptr) != 0)
        return;
    fcntl(m_ptyFd, F_SETFL, fcntl(m_ptyFd, F_GETFL) | O_NONBLOCK);
    m_ttyName = QString::fromLocal8Bit(name);
    m_notifier = new QSocketNotifier(m_ptyFd, QSocketNotifier::Read, this);
    connect(m_notifier, &QSocketNotifier::activated, this, &ScriptedSlave::readTty);
    m_ready = true;
}

ScriptedSlave::~ScriptedSlave()
{
    delete m_notifier;
    if (m_ptyFd >= 0)
        ::close(m_ptyFd);
    if (m_ttyFd >= 0)
        ::close(m_ttyFd);
}

QString ScriptedSlave::target() const
{
    if (m_server.isListening())
        return QStringLiteral("tcp://127.0.0.1:%1").arg(m_server.serverPort());
    return m_ttyName;
}

void ScriptedSlave::dropConnection()
{
    if (m_client)
        m_client->disconnectFromHost();
}

void ScriptedSlave::readTty()
{
    if (m_buffer.isEmpty() && m_sinceAnswer.isValid()) {
        quietBeforeRequest.append(m_sinceAnswer.nsecsElapsed() / 1000);
        m_sinceAnswer.invalidate();
    }
    char chunk[512];
    ssize_t n = 0;
    while ((n = ::read(m_ptyFd, chunk, sizeof chunk)) > 0)
        m_buffer.append(chunk, n);
    take(m_buffer);
}

void ScriptedSlave::readSocket()
{
    m_buffer.append(m_client->readAll());
    take(m_buffer);
}

void ScriptedSlave::take(QByteArray &buffer)
{
    for (;;) {
        const auto scan = m_transport->scan(buffer, ModbusDirection::Request);
        if (scan.state == ModbusTransport::ScanState::Garbage) {
            buffer.remove(0, scan.length);
            continue;
        }
        if (scan.state != ModbusTransport::ScanState::Complete)
            return;
        const QByteArray frame = buffer.first(scan.length);
        buffer.remove(0, scan.length);
        requests.append(frame);
        const auto decoded = m_transport->decode(frame);
        if (decoded.error == ModbusTransport::DecodeError::None && decoded.adu.unit == m_unit)
            sendPieces(answer(decoded.adu));
    }
}

QByteArray ScriptedSlave::answer(const ModbusAdu &request)
{
    const auto parsed = ModbusPdu::decodeRequest(request.pdu);
    ModbusAdu reply {m_unit, {}, request.transactionId};
    if (!parsed.request || fault == Fault::Exception) {
        const auto code = parsed.request ? ModbusException(exceptionCode) : parsed.exception;
        reply.pdu = ModbusPdu::encodeException(parsed.functionByte, code);
        return m_transport->encode(reply);
    }
    ModbusRequest asked = *parsed.request;
    QList<quint16> values;
    if (asked.function == ModbusFunction::ReadHoldingRegisters) {
        for (quint16 i = 0; i < asked.count; ++i)
            values.append(bank.value(quint16(asked.address + i), quint16((asked.address + i) * 3)));
    } else {
        for (int i = 0; i < asked.values.size(); ++i)
            bank[quint16(asked.address + i)] = asked.values[i];
    }
    reply.pdu = ModbusPdu::encodeResponse(asked, values);
    switch (fault) {
    case Fault::Silent:
        return {};
    case Fault::OtherNode:
        reply.unit = quint8(m_unit + 1);
        break;
    case Fault::WrongFunction:
        reply.pdu = ModbusPdu::encodeResponse(ModbusPdu::writeSingleRegister(asked.address, 1));
        break;
    case Fault::EchoMismatch:
        if (!asked.values.isEmpty())
            ++asked.values[0];
        ++asked.count;
        reply.pdu = ModbusPdu::encodeResponse(asked, values);
        break;
    case Fault::Noise:
        return m_transport->framing() == ModbusTransport::Framing::Ascii ? QByteArray("zz?!\r\n")
                                                                         : QByteArray("\xFF\xFF\xFF", 3);
    case Fault::Flood:
        return QByteArray(64 * 1024, m_transport->framing() == ModbusTransport::Framing::Ascii ? 'A' : '\x11');
    case Fault::OldTransaction: {
        ModbusAdu stale = reply;
        stale.transactionId = quint16(reply.transactionId - 1);
        stale.pdu = ModbusPdu::encodeException(quint8(asked.function), ModbusException::SlaveDeviceBusy);
        return m_transport->encode(stale) + m_transport->encode(reply);
    }
    default:
        break;
    }
    const QByteArray frame = m_transport->encode(reply);
    if (fault == Fault::BadCheck)
        return spoil(frame);
    if (fault == Fault::Short)
        return frame.first(frame.size() / 2);
    return frame;
}

QByteArray ScriptedSlave::spoil(QByteArray frame) const
{
    if (m_transport->framing() == ModbusTransport::Framing::Ascii) {
        // Last LRC digit, just before CR LF: still hex, but wrong.
        char &digit = frame[frame.size() - 3];
        digit = digit == '0' ? '1' : '0';
    } else {
        frame[frame.size() - 1] = char(frame.back() ^ 0x5A);
    }
    return frame;
}

void ScriptedSlave::sendPieces(const QByteArray &bytes)
{
    if (bytes.isEmpty())
        return;
    const int count = fault == Fault::Flood ? 128 : pieces;
    const qsizetype step = std::max<qsizetype>(1, (bytes.size() + count - 1) / count);
    for (qsizetype at = 0, n = 0; at < bytes.size(); at += step, ++n) {
        const QByteArray piece = bytes.mid(at, step);
        if (n == 0)
            write(piece);
        else
            QTimer::singleShot(int(5 * n), this, [this, piece] { write(piece); });
    }
}

void ScriptedSlave::write(const QByteArray &bytes)
{
    if (m_client) {
        m_client->write(bytes);
        return;
    }
    if (::write(m_ptyFd, bytes.constData(), size_t(bytes.size())) != bytes.size())
        qWarning("scripted slave could not write its answer");
    m_sinceAnswer.start();
}

} // namespace Tarvel::Test
