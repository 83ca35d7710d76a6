// bench_tcp [CATALOGUE]: a full upload and a full download with read-back
// verification of the largest drive (03,06,104) over Modbus/TCP on the
// loopback against qxsim --tcp, beside the same over the serial link
// (qxsim --wire-timing at 19200,E,8,1 RTU on a pseudo-terminal), one
// register per transaction and in blocks.
//
// The serial figures are bound by the line; the TCP ones show what the
// program and the simulator cost per transaction once the line is gone.
// Printed: time, transactions, milliseconds per transaction, and the ratio
// serial / TCP for each operation (how many times faster the Ethernet
// route moves the same parameter set). Each figure is the fastest of a few
// runs.
#include "BenchProgram.h"
#include "comm/CommLink.h"
#include "comm/SerialLinkMonitor.h"
#include "ports/Prompter.h"
#include "ports/TransferWindows.h"
#include "transfer/DownloadOperation.h"
#include "transfer/UploadOperation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include <optional>

using namespace Tarvel;

namespace {

const QString Drive = QStringLiteral("03,06,104");
const QString LineSettings = QStringLiteral("19200,E,8,1");
constexpr int Rounds = 2;

QTextStream out(stdout);

enum class Route { Serial, Tcp };

// Yes to go on, No to saving the upload (the save is no part of a transfer).
class BenchPrompter : public Prompter
{
public:
    int msgBox(const QString &text, int style, const QString &title) override
    {
        if (Msg::icon(style) == Msg::Critical)
            failures << title + QStringLiteral(": ") + QString(text).replace(u'\r', u' ');
        if (Msg::buttons(style) != Msg::YesNo)
            return Msg::OK;
        return title == QLatin1String("Upload Status") ? Msg::No : Msg::Yes;
    }
    QStringList failures;
};

class NoWindows : public TransferWindows
{
public:
    void showAutoDetect() override { }
    void showConfigInfo() override { }
    void saveConfiguration() override { }
    void showDetailedEditor() override { }
};

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
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qxsim"), arguments);
    while (sim.waitForReadyRead(10000)) {
        if (!sim.canReadLine())
            continue;
        const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
        if (!line.startsWith(QLatin1String("ready ")))
            return std::nullopt;
        return route == Route::Tcp ? QStringLiteral("tcp://") + line.mid(6) : line.mid(6);
    }
    return std::nullopt;
}

// Times `operation`, counting the transactions Mod1 finished meanwhile.
template<typename Operation> Timing timed(CommLink &link, Operation operation)
{
    Timing t;
    const QMetaObject::Connection counter
        = QObject::connect(&link.mod1(), &ModbusMaster::done, &link, [&t] { ++t.transactions; });
    QElapsedTimer clock;
    clock.start();
    operation();
    t.ns = clock.nsecsElapsed();
    QObject::disconnect(counter);
    return t;
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
    SerialLinkSettings settings;
    settings.target = *where;
    settings.portSettings = LineSettings;
    NoWindows windows;
    CommLink &link = ctx.link();
    if (link.openSerial(settings) != ModbusMaster::Success || !SerialLinkMonitor(ctx).pollDrive()) {
        run.error = QStringLiteral("no drive answered at ") + *where;
    } else {
        link.setBlockTransfer(block);
        bool uploaded = false;
        run.upload = timed(
            link, [&] { uploaded = UploadOperation(ctx, windows).run() == UploadOperation::Outcome::Completed; });
        bool verified = false;
        if (uploaded)
            run.download = timed(link,
                [&] { verified = DownloadOperation(ctx, windows).run() == DownloadOperation::Outcome::Verified; });
        if (!uploaded || !verified)
            run.error = QStringLiteral("transfer did not complete");
    }
    if (!prompter.failures.isEmpty())
        run.error = prompter.failures.join(QStringLiteral("; "));
    link.closeConnection();
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

void printRow(const QString &what, const std::optional<Timing> &serial, const std::optional<Timing> &tcp)
{
    if (!serial || !tcp) {
        out << what << ": did not run\n";
        return;
    }
    out << QStringLiteral("%1 serial %2 ms (%3 transactions, %4 ms each) | TCP %5 ms (%6 transactions, %7 ms "
                          "each) | serial / TCP %8\n")
               .arg(what, -26)
               .arg(serial->ms(), 0, 'f', 1)
               .arg(serial->transactions)
               .arg(serial->ms() / qMax(1, serial->transactions), 0, 'f', 3)
               .arg(tcp->ms(), 0, 'f', 1)
               .arg(tcp->transactions)
               .arg(tcp->ms() / qMax(1, tcp->transactions), 0, 'f', 3)
               .arg(serial->ms() / tcp->ms(), 0, 'f', 2);
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
        << " RTU; TCP = qxsim --tcp on the loopback; fastest of " << Rounds << " runs\n";
    out.flush();
    Run tcpOf[2];
    QStringList errors;
    for (const bool block : {false, true}) {
        const Run serial = bestOf(argc, argv, Route::Serial, block);
        const Run &tcp = tcpOf[block] = bestOf(argc, argv, Route::Tcp, block);
        const QString mode = block ? QStringLiteral("block") : QStringLiteral("single");
        printRow(QStringLiteral("Upload, ") + mode, serial.upload, tcp.upload);
        printRow(QStringLiteral("Download+verify, ") + mode, serial.download, tcp.download);
        out.flush();
        if (!serial.error.isEmpty())
            errors << mode + QStringLiteral(" serial: ") + serial.error;
        if (!tcp.error.isEmpty())
            errors << mode + QStringLiteral(" TCP: ") + tcp.error;
    }
    printBlockGain(QStringLiteral("TCP upload"), tcpOf[0].upload, tcpOf[1].upload);
    printBlockGain(QStringLiteral("TCP download+verify"), tcpOf[0].download, tcpOf[1].download);
    for (const QString &e : std::as_const(errors))
        out << e << '\n';
    return errors.isEmpty() ? 0 : 1;
}
