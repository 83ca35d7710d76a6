// bench_tcp [CATALOGUE]: a full upload and a full download with read-back
// verification of the largest drive (03,06,104) over Modbus/TCP on the
// loopback against qxsim --tcp, beside the same over the serial link
// (qxsim --wire-timing at 19200,E,8,1 RTU on a pseudo-terminal), one
// register per transaction and in blocks; and once more through the
// Ethernet route's OPC data links, which move one item per transaction.
//
// The serial figures are bound by the line; the TCP ones show what the
// program and the simulator cost per transaction once the line is gone.
// Printed: time, transactions, milliseconds per transaction, and the ratio
// serial / TCP (and serial / OPC items) for each operation: how many times
// faster the Ethernet route moves the same parameter set. Each figure is
// the fastest of a few runs.
#include "BenchProgram.h"
#include "BenchPrompter.h"
#include "NoWindows.h"
#include "comm/CommLink.h"
#include "comm/DriveValues.h"
#include "comm/SerialLinkMonitor.h"
#include "ethernet/EthernetRoute.h"
#include "ethernet/ServerDefinition.h"
#include "ports/Prompter.h"
#include "ports/TransferWindows.h"
#include "transfer/DownloadOperation.h"
#include "transfer/UploadOperation.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTextStream>

#include <functional>
#include <optional>

using namespace Tarvel;

namespace {

const QString Drive = QStringLiteral("03,06,104");
const QString LineSettings = QStringLiteral("19200,E,8,1");
const QString ProgId = QStringLiteral("Bench.KOLV");
const QString Device = QStringLiteral("Channel1.Drive1");
constexpr int Rounds = 2;

QTextStream out(stdout);

enum class Route { Serial, Tcp, OpcItems };

struct Timing
{
    qint64 ns = 0;
    int transactions = 0;
    double ms() const { return double(ns) / 1e6; }
};

struct Run
{
    std::optional<Timing> upload;
    std::optional<Timing> download;
    QString error;
};

// The simulator on a pseudo-terminal (line-timed) or a loopback port; the
// link target the master opens.
std::optional<QString> startSimulator(QProcess &sim, Route route, const QString &pty)
{
    QStringList arguments {QStringLiteral("--drive"), Drive};
    if (route == Route::Serial)
        arguments << QStringLiteral("--wire-timing") << QStringLiteral("--settings") << LineSettings
                  << QStringLiteral("--pty") << pty;
    else
        arguments << QStringLiteral("--tcp") << QStringLiteral("127.0.0.1:0");
    const QString tcpTarget = route == Route::Serial ? QString() : QStringLiteral("tcp://");
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qxsim"), arguments);
    while (sim.waitForReadyRead(10000)) {
        if (!sim.canReadLine())
            continue;
        const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("ready ")))
            return std::nullopt;
        return tcpTarget + line.mid(6);
    }
    return std::nullopt;
}

// Times `operation`, with the transactions that went out meanwhile.
template<typename Operation> Timing timed(const std::function<int()> &transactions, Operation operation)
{
    Timing t;
    const int before = transactions();
    QElapsedTimer clock;
    clock.start();
    operation();
    t.ns = clock.nsecsElapsed();
    t.transactions = transactions() - before;
    return t;
}

// The Ethernet connect to the simulator at `where` ("tcp://host:port")
// through a server definition of its own; the device's channel, or null.
DeviceChannel *connectDevice(AppContext &ctx, EthernetRoute &route, const QString &where)
{
    const QString servers = ctx.paths().serversDir();
    QDir().mkpath(servers);
    QFile file(ServerDefinition::filePath(servers, ProgId));
    const QStringList hostPort = where.mid(6).split(u':');
    if (!file.open(QIODevice::WriteOnly)
        || file.write(QStringLiteral("[%1]\r\nhost=%2\r\nport=%3\r\n")
                          .arg(Device, hostPort.value(0), hostPort.value(1))
                          .toLatin1())
            < 0)
        return nullptr;
    file.close();
    route.setServerProgID(ProgId);
    route.connectDevice(Device);
    QString error;
    return route.pool().channel(ProgId, Device, &error);
}

// Upload, then download of what was uploaded, on one fresh simulator.
Run measure(int argc, char *argv[], Route route, bool block)
{
    Run run;
    BenchProgram program(argc, argv);
    if (!program.ok()) {
        run.error = program.error();
        return run;
    }
    AppContext &ctx = program.ctx();
    BenchPrompter prompter;
    ctx.setPrompter(&prompter);
    QProcess sim;
    const std::optional<QString> where = startSimulator(sim, route, program.filePath(QStringLiteral("qx")));
    if (!where) {
        run.error = QStringLiteral("simulator did not start");
        return run;
    }
    NoWindows windows;
    CommLink &link = ctx.link();
    EthernetRoute ethernet(ctx);
    int done = 0;
    QObject::connect(&link.mod1(), &ModbusMaster::done, &link, [&done] { ++done; });
    std::function<int()> transactions = [&done] { return done; };
    bool connected = false;
    if (route == Route::OpcItems) {
        DeviceChannel *channel = connectDevice(ctx, ethernet, *where);
        if (channel)
            transactions = [channel] { return channel->transactions(); };
        connected = channel && ctx.state.StatusValues[DriveValues::KolvLinkSlot] == 1;
    } else {
        SerialLinkSettings settings;
        settings.target = *where;
        settings.portSettings = LineSettings;
        connected = link.openSerial(settings) == ModbusMaster::Success;
    }
    // The identity and run state the main window's polling would hold.
    if (!connected || !SerialLinkMonitor(ctx).pollDrive()) {
        run.error = QStringLiteral("no drive answered at ") + *where;
    } else {
        link.setBlockTransfer(block);
        bool uploaded = false;
        run.upload = timed(transactions,
            [&] { uploaded = UploadOperation(ctx, windows).run() == UploadOperation::Outcome::Completed; });
        bool verified = false;
        if (uploaded)
            run.download = timed(transactions,
                [&] { verified = DownloadOperation(ctx, windows).run() == DownloadOperation::Outcome::Verified; });
        if (!uploaded || !verified)
            run.error = QStringLiteral("transfer did not complete");
    }
    if (!prompter.failures.isEmpty())
        run.error = prompter.failures.join(QStringLiteral("; "));
    link.disconnectLink();
    sim.terminate();
    if (!sim.waitForFinished(3000))
        sim.kill();
    return run;
}

void keepFaster(std::optional<Timing> &best, const std::optional<Timing> &t)
{
    if (t && (!best || t->ns < best->ns))
        best = t;
}

Run bestOf(int argc, char *argv[], Route route, bool block)
{
    Run best;
    for (int k = 0; k < Rounds; ++k) {
        const Run run = measure(argc, argv, route, block);
        if (!run.error.isEmpty())
            return run;
        keepFaster(best.upload, run.upload);
        keepFaster(best.download, run.download);
    }
    return best;
}

void printTiming(const QString &route, const std::optional<Timing> &t, const std::optional<Timing> &serial)
{
    if (!t) {
        out << QStringLiteral(" | %1 did not run").arg(route);
        return;
    }
    out << QStringLiteral(" | %1 %2 ms (%3 transactions, %4 ms each)")
               .arg(route)
               .arg(t->ms(), 0, 'f', 1)
               .arg(t->transactions)
               .arg(t->ms() / qMax(1, t->transactions), 0, 'f', 3);
    if (serial && route != QLatin1String("serial"))
        out << QStringLiteral(", serial / %1 %2").arg(route).arg(serial->ms() / t->ms(), 0, 'f', 2);
}

// One line per operation: the serial figure, then each route beside it.
void printRow(const QString &what, const std::optional<Timing> &serial,
    const QList<std::pair<QString, std::optional<Timing>>> &routes)
{
    out << what.leftJustified(24);
    printTiming(QStringLiteral("serial"), serial, serial);
    for (const auto &[route, t] : routes)
        printTiming(route, t, serial);
    out << '\n';
}

void printBlockGain(const QString &what, const std::optional<Timing> &single, const std::optional<Timing> &block)
{
    if (single && block)
        out << QStringLiteral("%1 block speed-up over single: %2 x\n")
                   .arg(what, -26)
                   .arg(single->ms() / block->ms(), 0, 'f', 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    out << "Drive " << Drive << ": serial = qxsim --wire-timing " << LineSettings
        << " RTU; TCP = qxsim --tcp on the loopback; OPC items = the Ethernet route's data links to qxsim --tcp; "
        << "fastest of " << Rounds << " runs\n";
    out.flush();
    Run tcpOf[2];
    QStringList errors;
    const auto check = [&errors](const QString &what, const Run &run) {
        if (!run.error.isEmpty())
            errors << what + QStringLiteral(": ") + run.error;
    };
    // The route of the data links moves one item per transaction: it has
    // no block mode, so its figures stand beside the single-register ones.
    const Run opc = bestOf(argc, argv, Route::OpcItems, false);
    check(QStringLiteral("OPC items"), opc);
    for (const bool block : {false, true}) {
        const Run serial = bestOf(argc, argv, Route::Serial, block);
        const Run &tcp = tcpOf[block] = bestOf(argc, argv, Route::Tcp, block);
        const QString mode = block ? QStringLiteral("block") : QStringLiteral("single");
        QList<std::pair<QString, std::optional<Timing>>> uploads {{QStringLiteral("TCP"), tcp.upload}};
        QList<std::pair<QString, std::optional<Timing>>> downloads {{QStringLiteral("TCP"), tcp.download}};
        if (!block) {
            uploads.append({QStringLiteral("OPC items"), opc.upload});
            downloads.append({QStringLiteral("OPC items"), opc.download});
        }
        printRow(QStringLiteral("Upload, ") + mode, serial.upload, uploads);
        printRow(QStringLiteral("Download+verify, ") + mode, serial.download, downloads);
        out.flush();
        check(mode + QStringLiteral(" serial"), serial);
        check(mode + QStringLiteral(" TCP"), tcp);
    }
    printBlockGain(QStringLiteral("TCP upload"), tcpOf[0].upload, tcpOf[1].upload);
    printBlockGain(QStringLiteral("TCP download+verify"), tcpOf[0].download, tcpOf[1].download);
    for (const QString &e : std::as_const(errors))
        out << e << '\n';
    return errors.isEmpty() ? 0 : 1;
}
