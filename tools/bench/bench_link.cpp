// bench_link [READS]: the Modbus master against the drive simulator.
//  1. Waited single-register reads per second over a pseudo-terminal (RTU,
//     ASCII) and over loopback Modbus/TCP, the simulator answering at once.
//  2. With --wire-timing at 19200,E,8,1 (RTU) and 19200,E,7,1 (ASCII): the
//     time of 200 waited reads over their wire-time limit. The limit per
//     read is what the line itself takes: request and answer characters at
//     11 (RTU) or 10 (ASCII) bits each, plus, in RTU, the 3.5-character
//     silence the master must leave before its next request (the simulator
//     already counts the time up to its answer). A ratio of 1.00 would be a
//     master that adds nothing; the target is 1.15 or less.
//  3. The same through the program's waited read UploadWhile (timer hooks,
//     wait for an idle link, error log on failure) at fast pacing: reads
//     per second at once, and the 200-read ratio with --wire-timing RTU.
// Needs qxsim beside it and the built catalogue (Data/QX.qxd).
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"
#include "comm/AsciiTransport.h"
#include "comm/CommLink.h"
#include "comm/ModbusMaster.h"
#include "comm/ModbusPdu.h"
#include "comm/RegisterTransactions.h"
#include "comm/RtuTransport.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <cstdio>
#include <optional>

using namespace Tarvel;

namespace {

constexpr int kRegister = 8450; // ST00.01, the status word the polling reads
constexpr int kWireReads = 200;

struct Line
{
    const char *name;
    QStringList simArguments;
    int asciiMode;
    QString settings;
};

struct Timing
{
    qint64 ns = 0;
    int failures = 0;
    int reads = 0;
};

QTextStream out(stdout);

// Starts the simulator and returns where it serves, or nothing.
std::optional<QString> startSimulator(QProcess &sim, const QStringList &arguments)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qxsim"),
        QStringList {QStringLiteral("--drive"), QStringLiteral("02,05,120")} + arguments);
    while (sim.waitForReadyRead(10000)) {
        if (!sim.canReadLine())
            continue;
        const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("ready ")))
            return std::nullopt;
        return line.mid(6);
    }
    return std::nullopt;
}

Timing readMany(ModbusMaster &master, int reads)
{
    master.setFunctionCode(ModbusMaster::ReadRegisters);
    master.setStartOffset(0);
    master.setStartRegister(kRegister);
    master.setRegisterCount(1);
    Timing timing;
    timing.reads = reads;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < reads; ++i) {
        master.trigger();
        master.waitWhileBusy();
        if (master.resultCode() != 0)
            ++timing.failures;
    }
    timing.ns = clock.nsecsElapsed();
    return timing;
}

// One simulator, one master, a few warm-up reads, then `reads` timed ones.
std::optional<Timing> measure(const Line &line, const QStringList &extra, int reads)
{
    QTemporaryDir dir;
    QProcess sim;
    const bool tcp = line.simArguments.contains(QLatin1String("--tcp"));
    QStringList arguments = line.simArguments + extra;
    if (!tcp)
        arguments << QStringLiteral("--pty") << dir.filePath(QStringLiteral("qx"));
    const std::optional<QString> where = startSimulator(sim, arguments);
    if (!where)
        return std::nullopt;
    ModbusMaster master;
    master.setConnectionTarget(
        tcp && !where->startsWith(QLatin1String("tcp://")) ? QStringLiteral("tcp://") + *where : *where);
    master.setNodeAddress(QStringLiteral("1"));
    master.setAsciiMode(line.asciiMode);
    master.setPortSettings(line.settings);
    master.setPortOpen(true);
    readMany(master, 5);
    const Timing timing = readMany(master, reads);
    master.setPortOpen(false);
    sim.terminate();
    if (!sim.waitForFinished(3000))
        sim.kill();
    return timing;
}

// Waited reads through UploadWhile, in a program folder of its own (a
// failed read writes to its error log).
std::optional<Timing> measureUploadWhile(const Line &line, const QStringList &extra, int reads)
{
    QTemporaryDir program;
    QDir(program.path()).mkpath(QStringLiteral("Data"));
    ScriptedPrompter prompter;
    AppContext ctx {ProgramPaths(program.path()), &prompter};
    ctx.pacing.setMode(Pacing::Fast);
    QProcess sim;
    const std::optional<QString> where = startSimulator(
        sim, line.simArguments + extra + QStringList {QStringLiteral("--pty"), program.filePath(QStringLiteral("qx"))});
    if (!where)
        return std::nullopt;
    SerialLinkSettings settings;
    settings.target = *where;
    settings.asciiMode = line.asciiMode;
    settings.portSettings = line.settings;
    if (ctx.link().openSerial(settings) != 0)
        return std::nullopt;
    RegisterTransactions transactions(ctx);
    for (int i = 0; i < 5; ++i)
        transactions.uploadWhile(kRegister, 1);
    Timing timing;
    timing.reads = reads;
    QElapsedTimer clock;
    clock.start();
    for (int i = 0; i < reads; ++i) {
        if (transactions.uploadWhile(kRegister, 1) == RegisterTransactions::FailureValue)
            ++timing.failures;
    }
    timing.ns = clock.nsecsElapsed();
    ctx.link().closeConnection();
    sim.terminate();
    if (!sim.waitForFinished(3000))
        sim.kill();
    return timing;
}

// The line time of one waited single-register read.
double wireLimitMs(const Line &line)
{
    const SerialFormat format = *SerialFormat::parse(line.settings);
    const ModbusRequest request = ModbusPdu::readHoldingRegisters(kRegister - 1, 1);
    const ModbusAdu asked {1, ModbusPdu::encodeRequest(request), 0};
    const ModbusAdu answered {1, ModbusPdu::encodeResponse(request, {0}), 0};
    const double charMs = format.bitsPerCharacter() * 1000.0 / format.baud;
    if (line.asciiMode) {
        const AsciiTransport ascii;
        return double(ascii.encode(asked).size() + ascii.encode(answered).size()) * charMs;
    }
    const RtuTransport rtu;
    return double(rtu.encode(asked).size() + rtu.encode(answered).size()) * charMs
        + double(rtu.frameSilence(format).count()) / 1000.0;
}

void printRate(const Line &line, const std::optional<Timing> &timing)
{
    if (!timing) {
        out << line.name << ": simulator did not start\n";
        return;
    }
    const double seconds = double(timing->ns) / 1e9;
    out << QStringLiteral("%1: %2 waited reads/s (%3 reads, %4 ms each, %5 failed)\n")
               .arg(QLatin1String(line.name))
               .arg(timing->reads / seconds, 0, 'f', 0)
               .arg(timing->reads)
               .arg(seconds * 1000.0 / timing->reads, 0, 'f', 3)
               .arg(timing->failures);
}

void printRatio(const Line &line, const std::optional<Timing> &timing)
{
    if (!timing) {
        out << line.name << ": simulator did not start\n";
        return;
    }
    const double limitMs = wireLimitMs(line) * timing->reads;
    const double tookMs = double(timing->ns) / 1e6;
    out << QStringLiteral("%1 --wire-timing %2: %3 reads in %4 ms, wire-time limit %5 ms, ratio %6 (%7 failed)\n")
               .arg(QLatin1String(line.name), line.settings)
               .arg(timing->reads)
               .arg(tookMs, 0, 'f', 1)
               .arg(limitMs, 0, 'f', 1)
               .arg(tookMs / limitMs, 0, 'f', 3)
               .arg(timing->failures);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const int reads = argc > 1 ? std::max(1, QString::fromLocal8Bit(argv[1]).toInt()) : 2000;
    const Line rtu {"RTU pty", {}, 0, QStringLiteral("19200,E,8,1")};
    const Line ascii {
        "ASCII pty", {QStringLiteral("--mode"), QStringLiteral("ascii")}, 1, QStringLiteral("19200,E,7,1")};
    const Line tcp {
        "Modbus/TCP", {QStringLiteral("--tcp"), QStringLiteral("127.0.0.1:0")}, 0, QStringLiteral("19200,E,8,1")};

    out << "Waited single-register reads, simulator answering at once:\n";
    for (const Line &line : {rtu, ascii, tcp}) {
        printRate(line, measure(line, {}, reads));
        out.flush();
    }
    out << "Against the wire-time limit (target ratio <= 1.15):\n";
    for (const Line &line : {rtu, ascii}) {
        printRatio(line, measure(line, {QStringLiteral("--wire-timing")}, kWireReads));
        out.flush();
    }
    out << "Through UploadWhile (fast pacing):\n";
    const Line viaUploadWhile {"UploadWhile RTU pty", {}, 0, QStringLiteral("19200,E,8,1")};
    printRate(viaUploadWhile, measureUploadWhile(viaUploadWhile, {}, reads));
    printRatio(viaUploadWhile, measureUploadWhile(viaUploadWhile, {QStringLiteral("--wire-timing")}, kWireReads));
    return 0;
}
