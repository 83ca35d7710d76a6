// bench_transfer [CATALOGUE]: a full upload and a full download with
// read-back verification of the largest drive (03,06,104) against qxsim
// with --wire-timing at 19200,E,8,1 (RTU, node 1), first one register per
// transaction, then in blocks.
//
// Beside each time stands its wire-time limit: for every transaction the
// operation actually made (counted by Mod1's done()), request and answer
// characters at 11 bits each plus the 3.5-character silence the master
// leaves before its next request. The simulator already answers no sooner
// than the line would let it, so a ratio of 1.00 is a program that adds
// nothing. Targets: single-register ratio 1.15 or less; block at least 5
// times faster than single. Each operation is also split into its phases
// (the status list's status label), so a missed target shows where the time
// goes. Each figure is the fastest of three runs. A second download with
// the backup of the drive's settings before it stands beside the first:
// the backup's cost is the difference, and its own phase.
#include "BenchProgram.h"
#include "BenchPrompter.h"
#include "NoWindows.h"
#include "comm/CommLink.h"
#include "comm/ModbusPdu.h"
#include "comm/RtuTransport.h"
#include "comm/SerialLinkMonitor.h"
#include "ports/Prompter.h"
#include "ports/TransferWindows.h"
#include "transfer/DownloadOperation.h"
#include "transfer/UploadOperation.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <optional>

using namespace Tarvel;

namespace {

const QString Drive = QStringLiteral("03,06,104");
const QString LineSettings = QStringLiteral("19200,E,8,1");
constexpr int Rounds = 3;

QTextStream out(stdout);

// The wire time of one finished transaction, from the function and
// register count Mod1 was set to.
double transactionLimitMs(const ModbusMaster &mod1, const SerialFormat &format)
{
    const auto count = quint16(mod1.registerCount());
    const auto address = quint16(mod1.startRegister() - 1);
    ModbusRequest request;
    if (mod1.functionCode() == ModbusMaster::ReadRegisters)
        request = ModbusPdu::readHoldingRegisters(address, count);
    else if (mod1.functionCode() == ModbusMaster::DownloadRegisters)
        request = ModbusPdu::writeMultipleRegisters(address, QList<quint16>(count));
    else
        request = ModbusPdu::writeSingleRegister(address, 0);
    const int result = mod1.resultCode();
    const QByteArray answer = result > 0 && result < 256
        ? ModbusPdu::encodeException(quint8(request.function), ModbusException(result))
        : ModbusPdu::encodeResponse(
            request, QList<quint16>(request.function == ModbusFunction::ReadHoldingRegisters ? count : 0));
    const RtuTransport rtu;
    const qsizetype characters
        = rtu.encode({1, ModbusPdu::encodeRequest(request), 0}).size() + rtu.encode({1, answer, 0}).size();
    return double(characters) * format.bitsPerCharacter() * 1000.0 / format.baud
        + double(rtu.frameSilence(format).count()) / 1000.0;
}

struct Phase
{
    QString name;
    qint64 ns = 0;
    int transactions = 0;
    double limitMs = 0;
    // A row starts when the progress bar moves to its parameter: the time
    // from there to the answer, and from the answer to the next row's start
    // (the work the program does per row between transactions).
    qint64 askNs = 0;
    int asked = 0;
    qint64 afterNs = 0;
    int after = 0;
};

// Times one operation: the whole, and per phase (a new non-blank status
// label starts a phase), with the transactions made and their wire limit.
class Stopwatch
{
public:
    Stopwatch(AppContext &ctx, const SerialFormat &format)
        : m_format(format)
    {
        ModbusMaster &mod1 = ctx.link().mod1();
        m_connections << QObject::connect(&mod1, &ModbusMaster::done, &mod1, [this, &mod1] {
            Phase &p = current();
            ++p.transactions;
            p.limitMs += transactionLimitMs(mod1, m_format);
            const qint64 now = m_clock.nsecsElapsed();
            if (m_rowStart >= 0) {
                p.askNs += now - m_rowStart;
                ++p.asked;
            }
            m_rowStart = -1;
            m_lastAnswer = now;
        });
        m_connections << QObject::connect(&ctx.statusList, &StatusList::positionChanged, &ctx.statusList, [this](int) {
            Phase &p = current();
            const qint64 now = m_clock.nsecsElapsed();
            if (m_lastAnswer >= 0) {
                p.afterNs += now - m_lastAnswer;
                ++p.after;
            }
            m_lastAnswer = -1;
            m_rowStart = now;
        });
        m_connections << QObject::connect(
            &ctx.statusList, &StatusList::statusChanged, &ctx.statusList, [this](const QString &status) {
                if (!status.trimmed().isEmpty())
                    startPhase(status);
            });
        m_clock.start();
        startPhase(QStringLiteral("(start)"));
    }
    ~Stopwatch()
    {
        for (const QMetaObject::Connection &c : std::as_const(m_connections))
            QObject::disconnect(c);
    }
    Stopwatch(const Stopwatch &) = delete;
    Stopwatch &operator=(const Stopwatch &) = delete;

    QList<Phase> stop()
    {
        current().ns = m_phaseClock.nsecsElapsed();
        return m_phases;
    }

private:
    Phase &current() { return m_phases.last(); }
    void startPhase(const QString &name)
    {
        if (!m_phases.isEmpty())
            current().ns = m_phaseClock.nsecsElapsed();
        m_phases.append({name});
        m_phaseClock.start();
    }

    SerialFormat m_format;
    QList<Phase> m_phases;
    QElapsedTimer m_phaseClock;
    QElapsedTimer m_clock;
    qint64 m_rowStart = -1;
    qint64 m_lastAnswer = -1;
    QList<QMetaObject::Connection> m_connections;
};

struct Figures
{
    QString outcome;
    QList<Phase> phases;

    qint64 ns() const
    {
        qint64 sum = 0;
        for (const Phase &p : phases)
            sum += p.ns;
        return sum;
    }
    double limitMs() const
    {
        double sum = 0;
        for (const Phase &p : phases)
            sum += p.limitMs;
        return sum;
    }
    int transactions() const
    {
        int sum = 0;
        for (const Phase &p : phases)
            sum += p.transactions;
        return sum;
    }
};

struct Run
{
    std::optional<Figures> upload;
    std::optional<Figures> download;
    std::optional<Figures> backedUp; // the same download with its backup
    QString error;
};

std::optional<QString> startSimulator(QProcess &sim, const QString &pty)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qxsim"),
        {QStringLiteral("--drive"), Drive, QStringLiteral("--wire-timing"), QStringLiteral("--settings"), LineSettings,
            QStringLiteral("--pty"), pty});
    while (sim.waitForReadyRead(10000)) {
        if (!sim.canReadLine())
            continue;
        const QString line = QString::fromLocal8Bit(sim.readLine()).trimmed();
        return line.startsWith(QLatin1String("ready ")) ? std::optional<QString>(line.mid(6)) : std::nullopt;
    }
    return std::nullopt;
}

QString uploadText(UploadOperation::Outcome o)
{
    return o == UploadOperation::Outcome::Completed ? QStringLiteral("completed")
                                                    : QStringLiteral("outcome %1").arg(int(o));
}

QString downloadText(DownloadOperation::Outcome o)
{
    return o == DownloadOperation::Outcome::Verified ? QStringLiteral("verified")
                                                     : QStringLiteral("outcome %1").arg(int(o));
}

// Upload, then download of what was uploaded, on one fresh simulator.
Run measure(int argc, char *argv[], bool block)
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
    const std::optional<QString> where = startSimulator(sim, program.filePath(QStringLiteral("qx")));
    if (!where) {
        run.error = QStringLiteral("simulator did not start");
        return run;
    }
    SerialLinkSettings settings;
    settings.target = *where;
    settings.portSettings = LineSettings;
    const SerialFormat format = *SerialFormat::parse(LineSettings);
    NoWindows windows;
    // The identity and run state the main window's polling would hold.
    if (ctx.link().openSerial(settings) != ModbusMaster::Success || !SerialLinkMonitor(ctx).pollDrive()) {
        run.error = QStringLiteral("no drive answered");
    } else {
        ctx.link().setBlockTransfer(block);
        Stopwatch upload(ctx, format);
        const UploadOperation::Outcome up = UploadOperation(ctx, windows).run();
        run.upload = Figures {uploadText(up), upload.stop()};
        if (up == UploadOperation::Outcome::Completed && ctx.link().serialOpen()) {
            Stopwatch download(ctx, format);
            const DownloadOperation::Outcome down = DownloadOperation(ctx, windows).run();
            run.download = Figures {downloadText(down), download.stop()};
        }
        if (run.download && ctx.link().serialOpen()) {
            Stopwatch backedUp(ctx, format);
            DownloadOperation operation(ctx, windows);
            operation.setBackupBeforeDownload(true);
            const DownloadOperation::Outcome down = operation.run();
            run.backedUp = Figures {downloadText(down), backedUp.stop()};
        }
    }
    if (!prompter.failures.isEmpty())
        run.error = prompter.failures.join(QStringLiteral("; "));
    ctx.link().closeConnection();
    sim.terminate();
    if (!sim.waitForFinished(3000))
        sim.kill();
    return run;
}

void printFigures(const char *what, const char *mode, const std::optional<Figures> &f)
{
    if (!f) {
        out << QStringLiteral("%1, %2: did not run\n").arg(QLatin1String(what), QLatin1String(mode));
        return;
    }
    const double tookMs = double(f->ns()) / 1e6;
    out << QStringLiteral("%1, %2: %3 ms, %4 transactions, wire-time limit %5 ms, ratio %6 (%7)\n")
               .arg(QLatin1String(what), QLatin1String(mode))
               .arg(tookMs, 0, 'f', 1)
               .arg(f->transactions())
               .arg(f->limitMs(), 0, 'f', 1)
               .arg(tookMs / f->limitMs(), 0, 'f', 3)
               .arg(f->outcome);
    for (const Phase &p : f->phases) {
        const double ms = double(p.ns) / 1e6;
        out << QStringLiteral("    %1: %2 ms, %3 transactions, limit %4 ms, over the limit %5 ms (%6 ms each)\n")
                   .arg(p.name, -40)
                   .arg(ms, 0, 'f', 1)
                   .arg(p.transactions)
                   .arg(p.limitMs, 0, 'f', 1)
                   .arg(ms - p.limitMs, 0, 'f', 1)
                   .arg(p.transactions ? (ms - p.limitMs) / p.transactions : 0.0, 0, 'f', 3);
        if (p.asked > 0 && p.transactions > 0)
            out << QStringLiteral("        per row: answer %1 ms after the row's start (wire limit %2 ms), next row "
                                  "%3 ms after the answer\n")
                       .arg(double(p.askNs) / 1e6 / p.asked, 0, 'f', 3)
                       .arg(p.limitMs / p.transactions, 0, 'f', 3)
                       .arg(p.after ? double(p.afterNs) / 1e6 / p.after : 0.0, 0, 'f', 3);
    }
}

void printBackupCost(const char *mode, const std::optional<Figures> &plain, const std::optional<Figures> &backedUp)
{
    if (!plain || !backedUp || plain->ns() == 0)
        return;
    const double plainMs = double(plain->ns()) / 1e6;
    const double backedMs = double(backedUp->ns()) / 1e6;
    out << QStringLiteral("Download with backup, %1: %2 ms beside %3 ms without: the backup adds %4 ms (x %5)\n")
               .arg(QLatin1String(mode))
               .arg(backedMs, 0, 'f', 1)
               .arg(plainMs, 0, 'f', 1)
               .arg(backedMs - plainMs, 0, 'f', 1)
               .arg(backedMs / plainMs, 0, 'f', 3);
}

void printSpeedUp(const char *what, const std::optional<Figures> &single, const std::optional<Figures> &block)
{
    if (!single || !block || block->ns() == 0)
        return;
    out << QStringLiteral("%1 block speed-up: %2 x (target >= 5)\n")
               .arg(QLatin1String(what))
               .arg(double(single->ns()) / double(block->ns()), 0, 'f', 2);
}

// The fastest of a few runs: on a shared machine a slow run measures the
// other programs more than this one.
Run bestOf(int argc, char *argv[], bool block)
{
    Run best;
    for (int k = 0; k < Rounds; ++k) {
        const Run run = measure(argc, argv, block);
        if (!run.error.isEmpty())
            return run;
        if (!best.upload || (run.upload && run.upload->ns() < best.upload->ns()))
            best.upload = run.upload;
        if (!best.download || (run.download && run.download->ns() < best.download->ns()))
            best.download = run.download;
        if (!best.backedUp || (run.backedUp && run.backedUp->ns() < best.backedUp->ns()))
            best.backedUp = run.backedUp;
    }
    return best;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    out << "Drive " << Drive << ", qxsim --wire-timing " << LineSettings << " RTU node 1, fastest of " << Rounds
        << " runs (target ratio <= 1.15)\n";
    out.flush();
    const Run single = bestOf(argc, argv, false);
    printFigures("Upload", "single", single.upload);
    printFigures("Download+verify", "single", single.download);
    printFigures("Backup+download+verify", "single", single.backedUp);
    out.flush();
    const Run block = bestOf(argc, argv, true);
    printFigures("Upload", "block", block.upload);
    printFigures("Download+verify", "block", block.download);
    printFigures("Backup+download+verify", "block", block.backedUp);
    printBackupCost("single", single.download, single.backedUp);
    printBackupCost("block", block.download, block.backedUp);
    printSpeedUp("Upload", single.upload, block.upload);
    printSpeedUp("Download+verify", single.download, block.download);
    for (const Run *run : {&single, &block}) {
        if (!run->error.isEmpty())
            out << (run == &single ? "single: " : "block: ") << run->error << '\n';
    }
    return single.error.isEmpty() && block.error.isEmpty() ? 0 : 1;
}
