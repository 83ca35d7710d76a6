#include "LogCommand.h"

#include "CliOptions.h"
#include "CliSession.h"
#include "LinkOptions.h"
#include "TransferCommands.h"
#include "comm/SerialLinkMonitor.h"
#include "ethernet/EthernetRoute.h"
#include "monitor/ChartCsv.h"
#include "monitor/TrendModel.h"

#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QTimer>

namespace Tarvel {

const QString LogCommand::IntervalOption = QStringLiteral("interval");
const QString LogCommand::DurationOption = QStringLiteral("duration");

namespace {

constexpr int TrendLink = 4; // OPCData4 carries the trend's pens
constexpr int FirstValuesMs = 1500;

constexpr int ShortestIntervalMs = 10;

// Lets the link's events run until `ms` have passed on `clock`.
void waitUntil(const QElapsedTimer &clock, qint64 ms)
{
    const qint64 left = ms - clock.elapsed();
    if (left <= 0)
        return;
    QEventLoop loop;
    QTimer::singleShot(int(left), Qt::PreciseTimer, &loop, &QEventLoop::quit);
    loop.exec();
}

bool writeLine(QFile &file, const QString &line)
{
    const QByteArray bytes = line.toLatin1() + "\r\n";
    return file.write(bytes) == bytes.size() && file.flush();
}

} // namespace

int LogCommand::run(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() > 1 || args.isEmpty() == !(s.isSet(PortOption) || LinkOptions::ethernet(s.parser())))
        return s.usageError(QStringLiteral("log takes one link: a device path or \"Com N\""));
    bool ok = false;
    const int interval = s.value(IntervalOption).toInt(&ok);
    if (!ok || interval < ShortestIntervalMs)
        return s.usageError(QStringLiteral("log needs --interval MS, at least %1").arg(ShortestIntervalMs));
    const double duration = s.value(DurationOption).toDouble(&ok);
    if (!ok || duration <= 0)
        return s.usageError(QStringLiteral("log needs --duration S, more than 0 seconds"));
    if (!s.isSet(OutOption))
        return s.usageError(QStringLiteral("log needs -o FILE.csv to record to"));
    if (s.isSet(ConfigOption) && !s.openConfig(s.value(ConfigOption))) {
        s.finish();
        return ExitCannotRun;
    }
    const std::optional<SerialLinkSettings> settings
        = TransferCommands::linkSettings(s, args.isEmpty() ? s.value(PortOption) : args.first());
    if (!settings)
        return ExitCannotRun;
    QFile file(CliSession::absolutePath(s.value(OutOption)));
    if (!QFileInfo(file.fileName()).dir().exists())
        return s.cannotRun(QStringLiteral("no folder for %1").arg(s.value(OutOption)));
    if (!TransferCommands::connect(s, *settings)) {
        s.finish();
        return ExitCannotRun;
    }
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) {
        s.ctx().link().closeConnection();
        return s.cannotRun(QStringLiteral("%1 cannot be written: %2").arg(s.value(OutOption), file.errorString()));
    }

    AppContext &ctx = s.ctx();
    TrendModel trend(ctx); // the trend's pens and scaling, P8.01 included
    trend.open();
    // On the Ethernet route the trend's open subscribed its own data link;
    // the first row waits for its first values.
    if (LinkOptions::ethernet(s.parser()))
        ctx.ethernet()->link(TrendLink).waitForFirstValues(std::max(interval, FirstValuesMs));
    SerialLinkMonitor poll(ctx);
    bool written = writeLine(file, ChartCsv::header(trend.table().channelNames()));
    bool lost = false;
    QElapsedTimer clock;
    clock.start();
    double first = 0;
    for (qint64 due = 0; written && due < qint64(duration * 1000); due += interval) {
        waitUntil(clock, due);
        // The first poll was the connection's own.
        if (due > 0 && !poll.pollDrive()) {
            lost = true;
            break;
        }
        const double now = double(QDateTime::currentMSecsSinceEpoch());
        if (due == 0)
            first = now;
        trend.tick(now);
        const SampleTable &t = trend.table();
        std::vector<double> row;
        for (int c = 0; c < t.channelCount(); ++c)
            row.push_back(t.value(t.size() - 1, c));
        written = writeLine(file, ChartCsv::row(first, now, row));
    }
    if (ctx.link().linkOpen())
        ctx.link().closeConnection();
    if (lost)
        ctx.prompter().msgBox(QStringLiteral("Communication with the drive has been lost.\rPlease correct the problem "
                                             "and try again."),
            Msg::Critical, QStringLiteral("Communication Error"));
    if (!written)
        s.problem(QStringLiteral("%1 could not be written: %2").arg(s.value(OutOption), file.errorString()));
    s.finish();
    return lost || !written ? ExitProblems : ExitOk;
}

} // namespace Tarvel
