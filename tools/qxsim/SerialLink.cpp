#include "SerialLink.h"

#include "PtyFormat.h"
#include "SimLogging.h"

#include <algorithm>

namespace Tarvel::Sim {

namespace {

// A pseudo-terminal hands over whatever was written at once, so the
// 3.5-character silence of RTU cannot be seen on it; an unfinished frame is
// given this long before it is thrown away. ASCII allows a second between
// characters.
constexpr std::chrono::milliseconds RtuPatience(20);
constexpr std::chrono::milliseconds AsciiPatience(1000);

} // namespace

SerialLink::SerialLink(SimServer &server, const SimOptions &options, PtyPort &port, QObject *parent)
    : QObject(parent)
    , m_server(server)
    , m_port(port)
    , m_transport(
          ModbusTransport::create(options.framing == SimOptions::Framing::Ascii ? ModbusTransport::Framing::Ascii
                                                                                : ModbusTransport::Framing::Rtu))
    , m_format(options.settings)
    , m_wireTiming(options.wireTiming)
    , m_turnaround(options.turnaroundMs)
    , m_slow(options.slowMs)
    , m_pieces(options.answerPieces)
{
    m_silence.setSingleShot(true);
    const auto silence = std::chrono::duration_cast<std::chrono::milliseconds>(m_transport->frameSilence(m_format));
    m_silence.setInterval(
        m_transport->framing() == ModbusTransport::Framing::Ascii ? AsciiPatience : std::max(RtuPatience, silence));
    connect(&m_silence, &QTimer::timeout, this, &SerialLink::dropIncomplete);
    connect(&m_port, &PtyPort::readyRead, this, &SerialLink::readPort);
}

void SerialLink::readPort()
{
    const auto arrival = AnswerQueue::Clock::now();
    if (m_buffer.isEmpty())
        m_wire.requestBegins();
    m_buffer += m_port.readAll();
    scanBuffer(arrival);
}

void SerialLink::scanBuffer(AnswerQueue::Clock::time_point arrival)
{
    while (!m_buffer.isEmpty()) {
        const ModbusTransport::Scan scan = m_transport->scan(m_buffer, ModbusDirection::Request);
        if (scan.state == ModbusTransport::ScanState::Garbage) {
            qCDebug(lcSim) << "garbage dropped:" << m_buffer.first(scan.length).toHex(' ');
            m_buffer.remove(0, std::max<qsizetype>(scan.length, 1));
            continue;
        }
        if (scan.state != ModbusTransport::ScanState::Complete) {
            // The rest comes later or, for a frame whose end only a pause
            // tells, the pause ends it.
            m_silence.start();
            return;
        }
        const QByteArray frame = m_buffer.first(scan.length);
        m_buffer.remove(0, scan.length);
        take(frame, arrival);
    }
    m_silence.stop();
}

void SerialLink::dropIncomplete()
{
    if (m_buffer.isEmpty())
        return;
    // An RTU frame of an unknown function ends with the pause: decode it
    // whole (it is answered with exception 01 when intact).
    const ModbusTransport::Scan scan = m_transport->scan(m_buffer, ModbusDirection::Request);
    const QByteArray rest = std::exchange(m_buffer, {});
    if (scan.state == ModbusTransport::ScanState::UntilSilence)
        take(rest, AnswerQueue::Clock::now());
    else
        qCDebug(lcSim) << "incomplete frame dropped:" << rest.toHex(' ');
}

void SerialLink::take(const QByteArray &frame, AnswerQueue::Clock::time_point arrival)
{
    m_wire.request(frame);
    const ModbusTransport::Decoded decoded = m_transport->decode(frame);
    if (decoded.error != ModbusTransport::DecodeError::None) {
        qCDebug(lcSim) << "bad frame ignored:" << frame.toHex(' ');
        return;
    }
    // A master set to another speed or character format would only produce
    // noise on a real line; the drive does not answer noise.
    const SerialFormat applied = m_port.appliedFormat();
    if (!PtyFormat::agrees(m_format, applied)) {
        qCDebug(lcSim) << "line set to" << applied.toString() << "not" << m_format.toString() << "- ignored";
        return;
    }
    const SimServer::Reply reply = m_server.handle(decoded.adu);
    if (!reply.send)
        return;
    const QList<QByteArray> pieces
        = reply.misbehaviour.onWire({decoded.adu.unit, reply.pdu, 0}, *m_transport, reply.corrupt, m_pieces);
    std::chrono::nanoseconds delay(0);
    if (m_wireTiming)
        delay = PtyFormat::transferTime(m_format, frame.size() + pieces.join().size()) + m_turnaround;
    if (reply.slow)
        delay = std::max<std::chrono::nanoseconds>(delay, m_slow);
    m_answers.schedulePieces(arrival + delay, pieces, Misbehaviour::PieceGap, [this](const QByteArray &piece) {
        m_port.write(piece);
        m_wire.answerSent();
    });
}

} // namespace Tarvel::Sim
