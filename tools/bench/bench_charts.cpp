// bench_charts [--seconds S]: the processor time of the trend and PID
// screens while they run: every pen on with full 15,000-sample buffers,
// sampling every 100 ms and redrawing at 5 frames a second for S seconds
// (30 by default), as a share of one core. Each chart runs twice: drawing
// the decimated samples (at most the extremes of each pixel column), then
// every sample; the ratio says what the decimation saves. Run under the
// virtual display (xvfb-run -a); without a display it runs off-screen.
#include "BenchProgram.h"
#include "model/AppContext.h"
#include "monitor/PidTuning.h"
#include "monitor/TrendModel.h"
#include "ui/pid/DecimatedChart.h"
#include "ui/pid/PidWindow.h"
#include "ui/pid/TrendWindow.h"

#include <QApplication>
#include <QDateTime>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QTextStream>
#include <QTimer>

#include <sys/resource.h>

#include <cmath>
#include <functional>

using namespace Tarvel;

namespace {

double cpuSeconds()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    const auto seconds = [](const timeval &t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; };
    return seconds(usage.ru_utime) + seconds(usage.ru_stime);
}

// Moving values, as a running drive gives them: slow waves with noise.
double wave(int channel, double t)
{
    return 150 + 100 * std::sin(t / (3 + channel)) + 20 * std::sin(t * 7.3 + channel) + (channel * 13) % 40;
}

void fill(SampleTable &table, double endMs, int channels)
{
    std::vector<double> row(size_t(table.channelCount()), SampleTable::Missing);
    for (int i = table.capacity(); i > 0; --i) {
        const double t = endMs - i * 100.0;
        for (int c = 0; c < channels; ++c)
            row[size_t(c)] = wave(c, t / 1000);
        table.append(t, row);
    }
}

// Runs the event loop for `seconds` while `poll` changes the shared values
// every 100 ms; the share of one core the process used meanwhile.
double share(double seconds, const std::function<void()> &poll)
{
    QTimer polling;
    polling.setInterval(100);
    QObject::connect(&polling, &QTimer::timeout, poll);
    polling.start();
    const double cpu0 = cpuSeconds();
    QElapsedTimer wall;
    wall.start();
    // A loop of its own: quitting the application would close the windows,
    // and they ask first.
    QEventLoop loop;
    QTimer::singleShot(int(seconds * 1000), &loop, &QEventLoop::quit);
    loop.exec();
    return (cpuSeconds() - cpu0) / (wall.nsecsElapsed() / 1e9);
}

double trendShare(AppContext &ctx, double seconds, bool naive)
{
    TrendWindow window(ctx);
    window.model().setXSpanDays(TrendModel::Capacity * 0.1 / 86400); // the whole buffer in view
    fill(window.model().table(), double(QDateTime::currentMSecsSinceEpoch()), TrendPens::Count);
    window.model().setAllVisible(true);
    window.chart()->setNaive(naive);
    window.show();
    int k = 0;
    const double result = share(seconds, [&] {
        ++k;
        for (int i = 0; i < 15; ++i)
            ctx.state.StatusValues[size_t(i)] = qint16(10 * wave(i, k / 10.0));
    });
    window.sampleTimer().stop();
    window.chart()->frameTimer().stop();
    return result;
}

double pidShare(AppContext &ctx, double seconds, bool naive)
{
    PidWindow window(ctx, [] { return QStringLiteral("Drive Status - STOP, FWD     "); });
    window.model().setXSpanDays(PidTuning::Capacity * 0.1 / 86400);
    fill(window.model().table(), double(QDateTime::currentMSecsSinceEpoch()), PidTuning::Feedback + 1);
    window.chart()->setLeftSpan(400);
    window.chart()->setNaive(naive);
    window.chartTimer().start();
    window.show();
    int k = 0;
    const double result = share(seconds, [&] {
        ++k;
        ctx.state.PidValues[10] = float(10 * wave(0, k / 10.0));
        ctx.state.PidValues[11] = float(10 * wave(1, k / 10.0));
    });
    window.chartTimer().stop();
    window.chart()->frameTimer().stop();
    return result;
}

void print(QTextStream &out, const QString &name, double decimated, double naive, double target)
{
    out << QStringLiteral("  %1 decimated %2 % of one core, every sample %3 %: ratio %4")
               .arg(name, -22)
               .arg(decimated * 100, 0, 'f', 1)
               .arg(naive * 100, 0, 'f', 1)
               .arg(naive / std::max(decimated, 1e-9), 0, 'f', 1);
    if (target > 0)
        out << QStringLiteral("; target %1 %").arg(target * 100, 0, 'f', 0);
    out << Qt::endl;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    double seconds = 30;
    const QStringList args = QCoreApplication::arguments();
    if (const qsizetype at = args.indexOf(QStringLiteral("--seconds")); at > 0 && at + 1 < args.size())
        seconds = std::max(args.at(at + 1).toDouble(), 1.0);
    char *programArgs[] = {argv[0]};
    BenchProgram program(1, programArgs);
    if (!program.ok()) {
        out << "bench_charts: " << program.error() << "\n";
        return 2;
    }
    AppContext &ctx = program.ctx();
    out << QStringLiteral("Charts with full 15000-sample buffers, sampled every 100 ms, redrawn at 5 frames/s, "
                          "%1 s each on %2:")
               .arg(seconds)
               .arg(QGuiApplication::platformName())
        << Qt::endl;
    const double trend = trendShare(ctx, seconds, false);
    const double trendNaive = trendShare(ctx, seconds, true);
    print(out, QStringLiteral("trend, 10 pens"), trend, trendNaive, 0.15);
    const double pid = pidShare(ctx, seconds, false);
    const double pidNaive = pidShare(ctx, seconds, true);
    print(out, QStringLiteral("PID, set-point+feedback"), pid, pidNaive, 0);
    return 0;
}
