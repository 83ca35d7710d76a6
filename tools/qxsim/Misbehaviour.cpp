#include "Misbehaviour.h"

namespace Tarvel::Sim {

namespace {

using Kind = Misbehaviour::Kind;

const std::pair<const char *, Kind> Names[]
    = {{"silent", Kind::Silent}, {"other-node", Kind::OtherNode}, {"bad-check", Kind::BadCheck},
        {"wrong-function", Kind::WrongFunction}, {"short", Kind::Short}, {"echo-mismatch", Kind::EchoMismatch},
        {"noise", Kind::Noise}, {"stale-transaction", Kind::StaleTransaction}, {"flood", Kind::Flood}};

constexpr qsizetype FloodBytes = 64 * 1024;
constexpr int FloodPieces = 128;

QByteArray junk(const ModbusTransport &transport, Kind kind)
{
    const bool ascii = transport.framing() == ModbusTransport::Framing::Ascii;
    if (kind == Kind::Flood)
        return QByteArray(FloodBytes, ascii ? 'A' : '\x11');
    return ascii ? QByteArrayLiteral("zz?!\r\n") : QByteArrayLiteral("\xFF\xFF\xFF");
}

QList<QByteArray> split(const QByteArray &bytes, int pieces)
{
    const qsizetype step = std::max<qsizetype>(1, (bytes.size() + pieces - 1) / std::max(pieces, 1));
    QList<QByteArray> out;
    for (qsizetype at = 0; at < bytes.size(); at += step)
        out << bytes.mid(at, step);
    return out;
}

} // namespace

std::optional<Misbehaviour> Misbehaviour::parse(const QString &text)
{
    if (text.startsWith(QLatin1String("exception:"))) {
        bool ok = false;
        const int code = text.mid(10).toInt(&ok);
        if (!ok || code < 1 || code > 255)
            return std::nullopt;
        return Misbehaviour {Kind::Exception, quint8(code)};
    }
    for (const auto &[name, kind] : Names) {
        if (text == QLatin1String(name))
            return Misbehaviour {kind};
    }
    return std::nullopt;
}

QStringList Misbehaviour::names()
{
    QStringList out {QStringLiteral("exception:CODE")};
    for (const auto &entry : Names)
        out << QString::fromLatin1(entry.first);
    return out;
}

QByteArray Misbehaviour::answerPdu(const QByteArray &pdu, QByteArrayView requestPdu) const
{
    if (kind != Kind::Exception && kind != Kind::WrongFunction && kind != Kind::EchoMismatch)
        return pdu;
    const std::optional<ModbusRequest> request = ModbusPdu::decodeRequest(requestPdu).request;
    if (!request)
        return pdu;
    switch (kind) {
    case Kind::Exception:
        return ModbusPdu::encodeException(quint8(request->function), ModbusException(exceptionCode));
    case Kind::WrongFunction:
        return ModbusPdu::encodeResponse(ModbusPdu::writeSingleRegister(request->address, 1));
    case Kind::EchoMismatch: {
        // The last word of a write's echo is its value or its count.
        QByteArray echo = pdu;
        const bool refused = quint8(echo.front()) & 0x80;
        if (request->function != ModbusFunction::ReadHoldingRegisters && !refused)
            echo.back() = char(echo.back() ^ 0x01);
        return echo;
    }
    default:
        return pdu;
    }
}

QList<QByteArray> Misbehaviour::onWire(
    ModbusAdu answer, const ModbusTransport &transport, bool corrupt, int pieces) const
{
    if (kind == Kind::Noise || kind == Kind::Flood)
        return split(junk(transport, kind), kind == Kind::Flood ? FloodPieces : pieces);
    if (kind == Kind::OtherNode)
        ++answer.unit;
    QByteArray bytes = transport.encode(answer);
    if (corrupt || kind == Kind::BadCheck)
        bytes = spoil(bytes, transport.framing());
    if (kind == Kind::Short)
        bytes.truncate(bytes.size() / 2);
    if (kind == Kind::StaleTransaction) {
        const ModbusAdu stale {answer.unit,
            ModbusPdu::encodeException(quint8(answer.pdu.front() & 0x7F), ModbusException::SlaveDeviceBusy),
            quint16(answer.transactionId - 1)};
        bytes.prepend(transport.encode(stale));
    }
    return split(bytes, pieces);
}

QByteArray Misbehaviour::spoil(QByteArray frame, ModbusTransport::Framing framing)
{
    if (frame.isEmpty())
        return frame;
    if (framing == ModbusTransport::Framing::Tcp && frame.size() > 3) {
        frame[3] = char(quint8(frame[3]) ^ 0x01);
        return frame;
    }
    if (framing == ModbusTransport::Framing::Ascii && frame.size() >= 5) {
        // ':' ... LRC-high LRC-low CR LF
        char &digit = frame[frame.size() - 3];
        digit = digit == '0' ? '1' : '0';
        return frame;
    }
    frame[frame.size() - 1] = char(quint8(frame[frame.size() - 1]) ^ 0xFF);
    return frame;
}

} // namespace Tarvel::Sim
