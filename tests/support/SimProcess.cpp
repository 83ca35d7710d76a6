#include "SimProcess.h"

#include "TestSupport.h"

#include "comm/SerialFormat.h"

#include <QDeadlineTimer>

#include <csignal>

namespace Tarvel::Test {

namespace {

constexpr int StartMs = 10000;

QSerialPort::Parity parityOf(char parity)
{
    switch (parity) {
    case 'E':
        return QSerialPort::EvenParity;
    case 'O':
        return QSerialPort::OddParity;
    default:
        return QSerialPort::NoParity;
    }
}

} // namespace

SimProcess::SimProcess(QStringList arguments)
    : m_arguments(std::move(arguments))
{ }

SimProcess::~SimProcess()
{
    if (m_process.state() != QProcess::NotRunning) {
        terminate();
        if (m_process.state() != QProcess::NotRunning) {
            m_process.kill();
            m_process.waitForFinished(2000);
        }
    }
}

bool SimProcess::startPty(QString *error)
{
    return start({QStringLiteral("--pty"), link()}, error);
}

bool SimProcess::startTcp(QString *error)
{
    return start({QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}, error);
}

bool SimProcess::start(const QStringList &where, QString *error)
{
    m_process.setProgram(QStringLiteral(QXSIM_PATH));
    m_process.setArguments(m_arguments + where + QStringList {QStringLiteral("--catalogue"), builtCatalogue()});
    m_process.start();
    QDeadlineTimer deadline(StartMs);
    while (!m_process.canReadLine() && m_process.state() != QProcess::NotRunning && !deadline.hasExpired())
        m_process.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    const QString line = QString::fromLocal8Bit(m_process.readLine()).trimmed();
    if (!line.startsWith(QStringLiteral("ready "))) {
        m_process.waitForFinished(1000);
        *error = QString::fromLocal8Bit(m_process.readAllStandardError()) + line;
        return false;
    }
    m_target = line.mid(6);
    return true;
}

int SimProcess::terminate()
{
    if (m_process.state() == QProcess::NotRunning)
        return m_process.exitCode();
    ::kill(pid_t(m_process.processId()), SIGTERM);
    if (!m_process.waitForFinished(5000))
        return -1;
    return m_process.exitStatus() == QProcess::NormalExit ? m_process.exitCode() : -1;
}

SimLine::SimLine(ModbusTransport::Framing framing)
    : m_transport(ModbusTransport::create(framing))
{ }

bool SimLine::open(const QString &path, const QString &format, QString *error)
{
    m_port.setPortName(path);
    const std::optional<SerialFormat> f = SerialFormat::parse(format);
    if (!f || !m_port.open(QIODevice::ReadWrite)) {
        *error = f ? m_port.errorString() : QStringLiteral("bad format %1").arg(format);
        return false;
    }
    // A pseudo-terminal takes even parity and 7 data bits but does not keep
    // them, and QSerialPort reports that as a failure: those two may fail.
    m_port.setDataBits(QSerialPort::DataBits(f->dataBits));
    m_port.setParity(parityOf(f->parity));
    if (!m_port.setBaudRate(f->baud)
        || !m_port.setStopBits(f->stopBits == 2 ? QSerialPort::TwoStop : QSerialPort::OneStop)) {
        *error = QStringLiteral("cannot set %1: %2").arg(format, m_port.errorString());
        return false;
    }
    return true;
}

std::optional<ModbusReply> SimLine::ask(quint8 unit, const ModbusRequest &request, int waitMs)
{
    m_port.readAll(); // nothing left over from an earlier exchange
    m_port.write(m_transport->encode({unit, ModbusPdu::encodeRequest(request), 0}));
    m_port.waitForBytesWritten(1000);
    QByteArray buffer;
    QDeadlineTimer deadline(waitMs);
    for (;;) {
        // Bytes may already wait in the port's buffer (taken in while the
        // write was waited for), so look before waiting for more.
        buffer += m_port.readAll();
        const ModbusTransport::Scan scan = m_transport->scan(buffer, ModbusDirection::Response);
        if (scan.state == ModbusTransport::ScanState::Complete) {
            const auto decoded = m_transport->decode(QByteArrayView(buffer).first(scan.length));
            if (decoded.error != ModbusTransport::DecodeError::None || decoded.adu.unit != unit)
                return std::nullopt;
            return ModbusPdu::decodeResponse(decoded.adu.pdu, request);
        }
        if (deadline.hasExpired())
            return std::nullopt;
        m_port.waitForReadyRead(int(std::max<qint64>(1, deadline.remainingTime())));
    }
}

} // namespace Tarvel::Test
