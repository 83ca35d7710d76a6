#pragma once

#include "comm/ModbusTransport.h"

#include <QStringList>

#include <chrono>
#include <optional>

namespace Tarvel::Sim {

// One way of answering wrongly, for trying out a master's checks by hand
// (--misbehave) or from a test: it strikes every request that reaches the
// drive. The answer's content is spoilt by answerPdu(), its frame and the
// way it goes out on the line by onWire().
struct Misbehaviour
{
    enum class Kind {
        None,
        Exception, // refuse with `exceptionCode`
        Silent, // carry the request out, answer nothing
        OtherNode, // answer as the next node
        BadCheck, // spoil the check bytes
        WrongFunction, // answer as if a single write had been asked
        Short, // send only the first half of the answer
        EchoMismatch, // acknowledge a write with another value or count
        Noise, // bytes that form no frame instead of the answer
        StaleTransaction, // TCP: an answer with the previous transaction number first
        Flood, // 64 KiB of bytes that form no frame, in pieces, instead of the answer
    };

    // Between the pieces of an answer sent in pieces.
    static constexpr std::chrono::milliseconds PieceGap {5};

    Kind kind = Kind::None;
    quint8 exceptionCode = 4;

    // "exception:CODE" or one of names(); null when unknown.
    static std::optional<Misbehaviour> parse(const QString &text);
    static QStringList names();

    // The drive's answer `pdu` to `requestPdu` as this misbehaviour sends it.
    QByteArray answerPdu(const QByteArray &pdu, QByteArrayView requestPdu) const;
    // The bytes of `answer` as they go out, in `pieces` writes (a flood
    // always goes out in many).
    QList<QByteArray> onWire(ModbusAdu answer, const ModbusTransport &transport, bool corrupt, int pieces) const;
    // The check bytes of a frame spoilt so that the receiver sees a CRC or
    // LRC error (and not a malformed frame); on TCP, which has no check
    // bytes, a wrong protocol number in the header.
    static QByteArray spoil(QByteArray frame, ModbusTransport::Framing framing);
};

} // namespace Tarvel::Sim
