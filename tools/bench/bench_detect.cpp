// bench_detect [--no-classic]: the quick and the classic drive search side
// by side, against the simulator answering after its wire time (plus 5 ms
// turnaround) on a pseudo-terminal.
//  1. A drive at node 2 and at node 200, RTU 19200,E,8,1 and ASCII
//     19200,E,7,1: the quick search is run each time. The classic search is
//     run for the RTU drive at node 2 (skipped with --no-classic); every
//     other classic figure is computed from its position in the classic
//     order (tries before it x the time a try without answer takes, 3 s
//     time-out), since the one at node 200 would take hours.
//  2. A port with nothing on it: the time a try without answer takes at
//     each of the 24 formats, measured over three nodes, times 247 nodes
//     (quick) or 254 nodes at 3 s a try (classic).
// Needs qxsim beside it and the built catalogue (Data/QX.qxd).
#include "BenchProgram.h"
#include "comm/AutoDetectSearch.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTextStream>

#include <cmath>
#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

using namespace Tarvel;

namespace {

QTextStream out(stdout);

struct Drive
{
    const char *name;
    QStringList simArguments;
    int asciiMode;
    QString settings;
};

bool startSimulator(QProcess &sim, const QStringList &arguments, const QString &link)
{
    sim.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qxsim"),
        QStringList {"--drive", "02,05,120", "--pty", link, "--wire-timing", "--turnaround", "5"} + arguments);
    return sim.waitForReadyRead(10000) && sim.readLine().startsWith("ready ");
}

// Seconds the search took, or -1 when it did not find the drive.
double timeSearch(AppContext &ctx, const QString &target, bool quick, int firstNode = 1, int lastNode = 247)
{
    AutoDetectSearch search(ctx);
    search.setTarget(target);
    search.setQuick(quick);
    search.setNodeRange(firstNode, lastNode);
    QElapsedTimer clock;
    clock.start();
    const bool found = search.detect();
    const double seconds = double(clock.nsecsElapsed()) / 1e9;
    ctx.link().closeConnection();
    return found || !quick ? seconds : -seconds;
}

// Classic tries before the drive's: every format of the nodes below it,
// then its framing's formats before it (ASCII comes first).
int classicTriesBefore(int node, int asciiMode, const QString &settings)
{
    int position = 0;
    while (AutoDetectSearch::format(asciiMode, position) != settings)
        ++position;
    return (node - 1) * AutoDetectSearch::FormatCount + (asciiMode ? 0 : AutoDetectSearch::FormatsPerFraming)
        + position;
}

QString duration(double seconds)
{
    if (seconds < 120)
        return QStringLiteral("%1 s").arg(seconds, 0, 'f', 1);
    if (seconds < 7200)
        return QStringLiteral("%1 min").arg(seconds / 60, 0, 'f', 1);
    return QStringLiteral("%1 h").arg(seconds / 3600, 0, 'f', 1);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const bool runClassic = !app.arguments().contains(QStringLiteral("--no-classic"));
    BenchProgram program(1, argv);
    if (!program.ok()) {
        out << "bench_detect: " << program.error() << Qt::endl;
        return 2;
    }
    AppContext &ctx = program.ctx();
    const QString link = program.filePath(QStringLiteral("qx"));

    // A try without answer costs the time-out and the request's own time.
    const double classicTry = AutoDetectSearch::TimeOut / 1000.0;
    out << "Drive search: quick (measured) against classic (3 s a try)\n";
    const Drive drives[] = {
        {"RTU 19200,E,8,1", {}, 0, QStringLiteral("19200,E,8,1")},
        {"ASCII 19200,E,7,1", {"--mode", "ascii", "--settings", "19200,E,7,1"}, 1, QStringLiteral("19200,E,7,1")},
    };
    for (const Drive &drive : drives) {
        for (int node : {2, 200}) {
            QProcess sim;
            if (!startSimulator(sim, drive.simArguments + QStringList {"--node", QString::number(node)}, link)) {
                out << "bench_detect: the simulator did not start" << Qt::endl;
                return 2;
            }
            const double quick = timeSearch(ctx, link, true);
            const int before = classicTriesBefore(node, drive.asciiMode, drive.settings);
            double classic = before * classicTry;
            QString how = QStringLiteral("computed: %1 tries x 3 s").arg(before);
            if (runClassic && node == 2 && drive.asciiMode == 0) {
                classic = timeSearch(ctx, link, false);
                how = QStringLiteral("measured");
            }
            out << QStringLiteral("  %1 node %2: quick %3, classic %4 (%5); ratio %6\n")
                       .arg(QString::fromLatin1(drive.name).leftJustified(18))
                       .arg(node, 3)
                       .arg(quick < 0 ? QStringLiteral("NOT FOUND") : duration(quick), 8)
                       .arg(duration(classic), 8)
                       .arg(how)
                       .arg(classic / std::abs(quick), 0, 'f', 0);
            out.flush();
            sim.terminate();
            sim.waitForFinished(5000);
        }
    }

    // Nothing on the line: a pseudo-terminal nobody answers on.
    const int master = ::posix_openpt(O_RDWR | O_NOCTTY);
    if (master < 0 || ::grantpt(master) != 0 || ::unlockpt(master) != 0) {
        out << "bench_detect: no pseudo-terminal" << Qt::endl;
        return 2;
    }
    const QString silent = QString::fromLocal8Bit(::ptsname(master));
    constexpr int nodes = 3;
    const double sweep = -timeSearch(ctx, silent, true, 1, nodes);
    const double quickFull = sweep / nodes * AutoDetectSearch::QuickLastNode;
    const double classicFull = AutoDetectSearch::LastNode * AutoDetectSearch::FormatCount * classicTry;
    out << QStringLiteral("  no drive, every node and format: quick %1 (computed: %2 tries measured over %3 nodes, "
                          "x %4 nodes), classic %5 (computed: %6 tries x 3 s); ratio %7; target for quick 10 min\n")
               .arg(duration(quickFull))
               .arg(nodes * AutoDetectSearch::FormatCount)
               .arg(nodes)
               .arg(AutoDetectSearch::QuickLastNode)
               .arg(duration(classicFull))
               .arg(AutoDetectSearch::LastNode * AutoDetectSearch::FormatCount)
               .arg(classicFull / quickFull, 0, 'f', 0);
    ::close(master);
    return 0;
}
