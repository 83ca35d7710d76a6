#include "ModbusMaster.h"

#include "PortAccess.h"
#include "RtuTransport.h"
#include "base/ErrorCodes.h"
#include "base/Logging.h"
#include "base/TrappedError.h"

#include <QEventLoop>
#include <QFileInfo>
#include <QMetaMethod>
#include <QSerialPort>
#include <QStringList>
#include <QTcpSocket>
#include <QUrl>

#include <algorithm>
#include <thread>

namespace Tarvel {

namespace {

using std::chrono::microseconds;

// How long a frame whose length its bytes do not tell may pause before it
// is taken as ended. Far above 3.5 characters: a USB serial adapter hands
// bytes over in bursts some milliseconds apart, and this path only serves
// answers that are already wrong.
constexpr int kEndOfUnknownFrameMs = 50;
constexpr quint16 kModbusTcpPort = 502;

[[noreturn]] void raisePortError(const QString &why)
{
    qCWarning(lcComm) << "Mod1 port not opened:" << why;
    throw TrappedError(Err::InvalidPropertyValue, why);
}

QSerialPort::Parity serialParity(char parity)
{
    switch (parity) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    case 'M':
        return QSerialPort::MarkParity;
    case 'S':
        return QSerialPort::SpaceParity;
    default:
        return QSerialPort::NoParity;
    }
}

void applyFormat(QSerialPort &port, const SerialFormat &format, bool pseudoTerminal)
{
    // Each setting on its own, so one the device refuses does not keep the
    // others from being set.
    QStringList refused;
    if (!port.setBaudRate(format.baud))
        refused << QStringLiteral("baud rate");
    if (!port.setDataBits(QSerialPort::DataBits(format.dataBits)))
        refused << QStringLiteral("data bits");
    if (!port.setParity(serialParity(format.parity)))
        refused << QStringLiteral("parity");
    if (!port.setStopBits(format.stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop))
        refused << QStringLiteral("stop bits");
    if (!port.setFlowControl(QSerialPort::NoFlowControl))
        refused << QStringLiteral("flow control");
    if (refused.isEmpty())
        return;
    // A pseudo-terminal (a simulated drive) carries 8-bit characters
    // without parity whatever is asked; that is no fault of the link.
    refused.removeIf([pseudoTerminal](const QString &setting) {
        return pseudoTerminal && (setting == QLatin1String("parity") || setting == QLatin1String("data bits"));
    });
    if (refused.isEmpty())
        qCDebug(lcComm) << "Mod1: pseudo-terminal" << port.portName() << "keeps 8 bits, no parity";
    else
        qCWarning(lcComm).noquote() << "Mod1 could not set" << refused.join(QStringLiteral(", ")) << "of"
                                    << format.toString() << "on" << port.portName();
}

} // namespace

ModbusMaster::ModbusMaster(QObject *parent)
    : QObject(parent)
    , m_format(*SerialFormat::parse(m_portSettings))
{
    m_timeOutTimer.setSingleShot(true);
    m_silenceTimer.setSingleShot(true);
    m_sendTimer.setSingleShot(true);
    m_sendTimer.setTimerType(Qt::PreciseTimer);
    connect(&m_timeOutTimer, &QTimer::timeout, this, &ModbusMaster::onTimeOut);
    connect(&m_silenceTimer, &QTimer::timeout, this, &ModbusMaster::onSilence);
    connect(&m_sendTimer, &QTimer::timeout, this, &ModbusMaster::send);
}

ModbusMaster::~ModbusMaster()
{
    // No done() from a dying object: whoever waits goes with it.
    blockSignals(true);
    closePort();
}

void ModbusMaster::setCommPort(int index)
{
    if (index < 0 || index >= PortMap::Count)
        throw TrappedError(Err::InvalidPropertyValue);
    m_commPort = index;
}

void ModbusMaster::setPortSettings(const QString &settings)
{
    const auto format = SerialFormat::parse(settings);
    if (!format)
        throw TrappedError(Err::InvalidPropertyValue);
    m_portSettings = settings;
    m_format = *format;
    if (m_serial)
        applyFormat(*m_serial, m_format, m_pseudoTerminal);
}

bool ModbusMaster::portOpen() const
{
    if (m_lost)
        return true;
    if (m_tcp)
        return m_tcp->state() == QAbstractSocket::ConnectedState;
    return m_serial && m_serial->isOpen();
}

void ModbusMaster::setPortOpen(bool open)
{
    if (open == portOpen() && !m_lost)
        return;
    if (!open) {
        closePort();
        return;
    }
    closePort(); // a link that died keeps no half-open object
    const QString target = m_target.isEmpty() ? m_portMap.target(m_commPort) : m_target;
    if (target.isEmpty())
        raisePortError(QStringLiteral("no port for %1").arg(PortMap::portName(m_commPort)));
    if (PortMap::isTcpTarget(target))
        openTcp(target);
    else
        openSerial(target);
    m_lineQuietSince.invalidate();
    qCInfo(lcComm) << "Mod1 opened" << target << (m_tcp ? QString() : m_portSettings)
                   << (m_asciiMode ? "ASCII" : "RTU");
}

void ModbusMaster::openSerial(const QString &path)
{
    if (!QFileInfo::exists(path))
        raisePortError(QStringLiteral("%1 does not exist").arg(path));
    auto *port = new QSerialPort(path, this);
    if (!port->open(QIODevice::ReadWrite)) {
        const QString why = QStringLiteral("%1: %2").arg(path, port->errorString());
        delete port;
        // Present but not ours to open: the user can fix that, so it gets
        // its own error and message.
        if (PortAccess::denied(path)) {
            qCWarning(lcComm) << "Mod1 port not opened:" << why;
            throw TrappedError(Err::PermissionDenied, path);
        }
        raisePortError(why);
    }
    // Simulated drives sit behind a pseudo-terminal, often through a link.
    m_pseudoTerminal = QFileInfo(path).canonicalFilePath().startsWith(QLatin1String("/dev/pts/"));
    applyFormat(*port, m_format, m_pseudoTerminal);
    port->clear();
    connect(port, &QSerialPort::readyRead, this, &ModbusMaster::onReadyRead);
    connect(port, &QSerialPort::errorOccurred, this, [this, port](QSerialPort::SerialPortError error) {
        // Only a vanished device ends the link; other errors show in the
        // transaction that meets them.
        if (error == QSerialPort::ResourceError)
            onLinkError(port->errorString());
    });
    m_serial = port;
    m_device = port;
}

void ModbusMaster::openTcp(const QString &target)
{
    const QUrl url(target);
    if (!url.isValid() || url.host().isEmpty())
        raisePortError(QStringLiteral("%1 is not a tcp://host:port target").arg(target));
    auto *socket = new QTcpSocket(this);
    // Small request/answer frames: waiting to coalesce them only adds delay.
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    QEventLoop wait;
    connect(socket, &QTcpSocket::connected, &wait, &QEventLoop::quit);
    connect(socket, &QTcpSocket::errorOccurred, &wait, &QEventLoop::quit);
    QTimer::singleShot(m_timeOut > 0 ? m_timeOut : DefaultTimeOut, &wait, &QEventLoop::quit);
    socket->connectToHost(url.host(), quint16(url.port(kModbusTcpPort)));
    if (socket->state() != QAbstractSocket::ConnectedState)
        wait.exec();
    if (socket->state() != QAbstractSocket::ConnectedState) {
        const QString why = QStringLiteral("%1: %2").arg(target, socket->errorString());
        delete socket;
        raisePortError(why);
    }
    socket->setSocketOption(QAbstractSocket::LowDelayOption, 1);
    connect(socket, &QTcpSocket::readyRead, this, &ModbusMaster::onReadyRead);
    connect(socket, &QTcpSocket::disconnected, this,
        [this] { onLinkError(QStringLiteral("connection closed by the peer")); });
    m_tcp = socket;
    m_device = socket;
}

void ModbusMaster::closePort()
{
    m_lost = false;
    if (m_busy)
        finish(LinkLost);
    m_sendTimer.stop();
    if (!m_device)
        return;
    m_device->disconnect(this);
    m_device->close();
    // Deleted later: this may run inside one of the device's own signals.
    m_device->deleteLater();
    m_device = nullptr;
    m_serial = nullptr;
    m_tcp = nullptr;
    qCInfo(lcComm) << "Mod1 closed";
}

qint16 ModbusMaster::registerValue(int index) const
{
    if (index < 0 || index >= ValueSlots)
        throw TrappedError(Err::InvalidArrayIndex);
    return m_values[index];
}

void ModbusMaster::setRegisterValue(int index, qint16 value)
{
    if (index < 0 || index >= ValueSlots)
        throw TrappedError(Err::InvalidArrayIndex);
    m_values[index] = value;
}

void ModbusMaster::trigger()
{
    if (m_busy) {
        refuse(QStringLiteral("a transaction is pending"));
        return;
    }
    if (!portOpen()) {
        refuse(QStringLiteral("port not open"));
        return;
    }
    if (!prepareRequest())
        return;
    if (m_lost) {
        m_busy = true;
        finishLater(LinkLost);
        return;
    }
    const auto framing = m_tcp ? ModbusTransport::Framing::Tcp
        : m_asciiMode          ? ModbusTransport::Framing::Ascii
                               : ModbusTransport::Framing::Rtu;
    if (!m_transport || m_transport->framing() != framing)
        m_transport = ModbusTransport::create(framing);
    m_busy = true;
    m_sentAt.start();
    m_sentTime = QTime::currentTime();
    m_received.clear();
    m_sawNoise = false;
    m_device->readAll(); // a late answer to an earlier request is no answer to this one
    ++m_transactionId;
    m_timeOutTimer.start(m_timeOut > 0 ? m_timeOut : DefaultTimeOut);
    // Whole milliseconds by the timer, the rest in send(): rounding the
    // 2 ms silence of 19200 baud up to the next millisecond would cost a
    // tenth of a read's line time.
    const microseconds wait = silenceBeforeSend();
    if (wait >= std::chrono::milliseconds(1))
        m_sendTimer.start(int(wait.count() / 1000));
    else
        send();
}

bool ModbusMaster::refuse(const QString &why)
{
    m_result = NotStarted;
    qCWarning(lcComm) << "Mod1 transaction not started:" << why;
    return false;
}

bool ModbusMaster::prepareRequest()
{
    bool numeric = false;
    const int node = m_nodeAddress.trimmed().toInt(&numeric);
    // Every transaction waits for the drive's answer, so node 0 (the
    // broadcast address, which no drive answers) has no use here.
    if (!numeric || node < 1 || node > 247)
        return refuse(QStringLiteral("node address \"%1\" is not 1..247").arg(m_nodeAddress));
    if (m_startRegister < 1 || m_startRegister > 0x10000)
        return refuse(QStringLiteral("register number %1").arg(m_startRegister));
    const auto address = quint16(m_startRegister - 1);
    const int count = m_functionCode == WriteRegister ? 1 : m_registerCount;
    if (m_startOffset < 0 || count < 1 || m_startOffset + count > ValueSlots)
        return refuse(QStringLiteral("offset %1 and count %2").arg(m_startOffset).arg(count));
    QList<quint16> values;
    for (int i = 0; i < count; ++i)
        values.append(quint16(m_values[m_startOffset + i]));
    switch (m_functionCode) {
    case ReadRegisters:
        m_request = ModbusPdu::readHoldingRegisters(address, quint16(count));
        break;
    case WriteRegister:
        m_request = ModbusPdu::writeSingleRegister(address, values.first());
        break;
    case DownloadRegisters:
        m_request = ModbusPdu::writeMultipleRegisters(address, values);
        break;
    default:
        return refuse(QStringLiteral("function code %1").arg(m_functionCode));
    }
    if (!ModbusPdu::isValid(m_request))
        return refuse(QStringLiteral("%1 registers from %2").arg(count).arg(m_startRegister));
    m_unit = quint8(node);
    return true;
}

microseconds ModbusMaster::silenceBeforeSend() const
{
    // RTU frames need a quiet line between them, counted from the last
    // byte the slave sent.
    if (!m_serial || m_asciiMode || !m_lineQuietSince.isValid())
        return microseconds(0);
    const microseconds needed = RtuTransport().frameSilence(m_format);
    const microseconds quiet(m_lineQuietSince.nsecsElapsed() / 1000);
    return std::max(microseconds(0), needed - quiet);
}

void ModbusMaster::send()
{
    if (!m_busy || !m_device)
        return;
    // Under a millisecond left of the silence: too short for a timer.
    const microseconds rest = silenceBeforeSend();
    if (rest.count() > 0)
        std::this_thread::sleep_for(std::min<microseconds>(rest, std::chrono::milliseconds(1)));
    const QByteArray frame = m_transport->encode({m_unit, ModbusPdu::encodeRequest(m_request), m_transactionId});
    qCDebug(lcComm) << "Mod1 sends" << frame.toHex(' ');
    m_sentAt.start();
    if (m_device->write(frame) != frame.size())
        finishLater(WriteFailure);
}

void ModbusMaster::onReadyRead()
{
    if (!m_device)
        return;
    const QByteArray bytes = m_device->readAll();
    m_lineQuietSince.start();
    if (!m_busy || m_sendTimer.isActive()) {
        // Stray bytes (a late answer) break the silence a request must wait for.
        if (m_sendTimer.isActive())
            m_sendTimer.start(int(RtuTransport().frameSilence(m_format).count() / 1000));
        qCDebug(lcComm) << "Mod1 ignores" << bytes.size() << "bytes outside a transaction";
        return;
    }
    qCDebug(lcComm) << "Mod1 receives" << bytes.toHex(' ');
    m_received.append(bytes);
    scanAnswer();
}

void ModbusMaster::scanAnswer()
{
    using State = ModbusTransport::ScanState;
    m_silenceTimer.stop();
    while (m_busy && !m_received.isEmpty()) {
        const auto scan = m_transport->scan(m_received, ModbusDirection::Response);
        switch (scan.state) {
        case State::NeedMore:
            // A frame cut short ends at the time-out as a short frame.
            dropSurplus();
            return;
        case State::UntilSilence:
            dropSurplus();
            m_silenceTimer.start(kEndOfUnknownFrameMs);
            return;
        case State::Garbage:
            m_sawNoise = true;
            m_received.remove(0, scan.length);
            // A TCP stream out of step cannot find its frames again.
            if (m_tcp)
                finish(GarbledFrame);
            break;
        case State::Complete: {
            const QByteArray frame = m_received.first(scan.length);
            m_received.remove(0, scan.length);
            takeFrame(frame);
            break;
        }
        }
    }
}

void ModbusMaster::dropSurplus()
{
    // No answer is longer than the longest frame: bytes beyond it are
    // noise, and keeping them would let a flooding peer fill the memory.
    const qsizetype limit = m_transport->maxFrame();
    if (m_received.size() <= limit)
        return;
    m_received.truncate(limit);
    m_sawNoise = true;
}

bool ModbusMaster::takeFrame(QByteArrayView frame)
{
    const auto decoded = m_transport->decode(frame);
    if (decoded.error == ModbusTransport::DecodeError::Checksum) {
        finish(ChecksumError);
        return true;
    }
    if (decoded.error != ModbusTransport::DecodeError::None) {
        finish(GarbledFrame);
        return true;
    }
    if (m_tcp && decoded.adu.transactionId != m_transactionId) {
        qCDebug(lcComm) << "Mod1 drops the answer to transaction" << decoded.adu.transactionId;
        return false;
    }
    if (decoded.adu.unit != m_unit) {
        finish(WrongNode);
        return true;
    }
    const ModbusReply reply = ModbusPdu::decodeResponse(decoded.adu.pdu, m_request);
    switch (reply.status) {
    case ModbusReply::Status::Ok:
        for (int i = 0; i < reply.values.size(); ++i)
            m_values[m_startOffset + i] = qint16(reply.values[i]);
        finish(Success);
        break;
    case ModbusReply::Status::Exception:
        finish(reply.exception == ModbusException::None ? GarbledFrame : int(reply.exception));
        break;
    case ModbusReply::Status::WrongFunction:
        finish(WrongFunction);
        break;
    case ModbusReply::Status::Mismatch:
        finish(EchoMismatch);
        break;
    case ModbusReply::Status::Malformed:
        finish(GarbledFrame);
        break;
    }
    return true;
}

void ModbusMaster::onSilence()
{
    if (!m_busy || m_received.isEmpty())
        return;
    if (m_sawNoise) {
        // Bytes beyond the longest frame were dropped: what is left is
        // the head of that noise, not an answer.
        m_received.clear();
        finish(GarbledFrame);
        return;
    }
    const QByteArray frame = m_received;
    m_received.clear();
    if (!takeFrame(frame))
        m_sawNoise = true;
}

void ModbusMaster::onTimeOut()
{
    if (!m_busy)
        return;
    // Bytes in hand after noise are more noise, not the start of an answer.
    if (!m_received.isEmpty() && !m_sawNoise)
        finish(ShortFrame);
    else
        finish(m_sawNoise ? GarbledFrame : TimeOut);
}

void ModbusMaster::onLinkError(const QString &what)
{
    qCWarning(lcComm) << "Mod1 lost the link:" << what;
    closePort();
    m_lost = true;
}

void ModbusMaster::finish(int result)
{
    m_timeOutTimer.stop();
    m_silenceTimer.stop();
    m_sendTimer.stop();
    m_busy = false;
    m_result = result;
    if (result == Success)
        qCDebug(lcComm) << "Mod1 function" << m_functionCode << "register" << m_startRegister << "done";
    else
        qCWarning(lcComm).noquote() << "Mod1 function" << m_functionCode << "register" << m_startRegister
                                    << "failed with" << result << "-" << resultText(result);
    if (isSignalConnected(QMetaMethod::fromSignal(&ModbusMaster::transactionTraced)))
        trace();
    Q_EMIT done();
}

void ModbusMaster::trace()
{
    BusTransaction t;
    t.time = m_sentTime;
    t.node = m_unit;
    t.function = int(m_request.function);
    t.startRegister = m_request.address + 1;
    t.count = m_request.count;
    t.result = m_result;
    t.roundTripUs = m_sentAt.nsecsElapsed() / 1000;
    const bool read = m_request.function == ModbusFunction::ReadHoldingRegisters;
    if (!read || m_result == Success) {
        for (int i = 0; i < t.count; ++i)
            t.values << (read ? m_values[m_startOffset + i] : qint16(m_request.values.value(i)));
    }
    Q_EMIT transactionTraced(t);
}

void ModbusMaster::finishLater(int result)
{
    QTimer::singleShot(0, this, [this, result] {
        if (m_busy)
            finish(result);
    });
}

void ModbusMaster::waitWhileBusy()
{
    QEventLoop wait;
    connect(this, &ModbusMaster::done, &wait, &QEventLoop::quit);
    // Again after a handler inside the wait started the next transaction.
    while (m_busy)
        wait.exec();
}

QString ModbusMaster::resultText(int code)
{
    static const char *const exceptions[] = {nullptr, "illegal function", "illegal data address", "illegal data value",
        "slave device failure", "acknowledge", "slave device busy", nullptr, "memory parity error", nullptr,
        "gateway path unavailable", "gateway target failed to respond"};
    switch (code) {
    case NotStarted:
        return QStringLiteral("not started");
    case Success:
        return QStringLiteral("success");
    case TimeOut:
        return QStringLiteral("time-out");
    case ChecksumError:
        return QStringLiteral("checksum error");
    case WrongNode:
        return QStringLiteral("answer from another node");
    case ShortFrame:
        return QStringLiteral("short frame");
    case GarbledFrame:
        return QStringLiteral("garbled frame");
    case WrongFunction:
        return QStringLiteral("wrong function in answer");
    case EchoMismatch:
        return QStringLiteral("write echo mismatch");
    case LinkLost:
        return QStringLiteral("link lost");
    case WriteFailure:
        return QStringLiteral("write failure");
    default:
        break;
    }
    if (code > 0 && code < 256) {
        const char *name = code < int(std::size(exceptions)) ? exceptions[code] : nullptr;
        return QStringLiteral("exception %1 (%2)").arg(code).arg(QLatin1String(name ? name : "unknown"));
    }
    return QStringLiteral("code %1").arg(code);
}

} // namespace Tarvel
