#pragma once

#include "comm/ModbusPdu.h"
#include "comm/ModbusTransport.h"

#include <QProcess>
#include <QSerialPort>
#include <QTemporaryDir>

#include <memory>
#include <optional>

namespace Tarvel::Test {

// A qxsim process for a test: started on a pseudo-terminal linked inside a
// temporary folder (or on a TCP port), with the built catalogue, and
// stopped with SIGTERM when the object goes.
class SimProcess
{
public:
    // `arguments` without --pty, --tcp and --catalogue.
    explicit SimProcess(QStringList arguments);
    ~SimProcess();

    // Waits for the "ready" line; false with `error` (the process's
    // stderr) when it does not come.
    bool startPty(QString *error);
    bool startTcp(QString *error);

    QString link() const { return m_dir.filePath(QStringLiteral("qx")); }
    QString readyTarget() const { return m_target; }
    QProcess &process() { return m_process; }
    // Sends SIGTERM and waits; the exit code, or -1 when it did not end.
    int terminate();

private:
    bool start(const QStringList &where, QString *error);

    QStringList m_arguments;
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_target;
};

// The master's end of a serial line to the simulator, framing with the
// shared transports.
class SimLine
{
public:
    explicit SimLine(ModbusTransport::Framing framing = ModbusTransport::Framing::Rtu);

    bool open(const QString &path, const QString &format, QString *error);
    // The answer to a request, checked against it; null for silence (none
    // within `waitMs`) or a frame that failed its check.
    std::optional<ModbusReply> ask(quint8 unit, const ModbusRequest &request, int waitMs = 1000);

private:
    std::unique_ptr<ModbusTransport> m_transport;
    QSerialPort m_port;
};

} // namespace Tarvel::Test
