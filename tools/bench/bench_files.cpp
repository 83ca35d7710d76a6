// bench_files [CATALOGUE]: times opening, saving, comparing and reporting a
// configuration of the largest QX3 drive (the one with the most parameters)
// with default pacing, and prints each median beside the 100 ms target.
#include "BenchProgram.h"
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"
#include "files/CompareOperation.h"
#include "files/ConfigFile.h"
#include "files/ConfigReport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace Tarvel;

namespace {

constexpr int Runs = 15;
constexpr double TargetMs = 100.0;

struct Drive
{
    QString series, model, rev;
    int rows = 0;
};

Drive largestQx3(AppContext &ctx)
{
    std::unique_ptr<Catalogue> cat = connectDB(ctx);
    RecordSet rs = cat->query(QStringLiteral("Select Series, Model, REV, count(*) AS n From tblDriveParameters "
                                             "WHERE Series = '03' GROUP BY Series, Model, REV "
                                             "ORDER BY n DESC, Model DESC, REV DESC"));
    Drive d {rs.field(QStringLiteral("Series")).toString(), rs.field(QStringLiteral("Model")).toString(),
        rs.field(QStringLiteral("REV")).toString(), rs.field(QStringLiteral("n")).toInt()};
    cat->release();
    return d;
}

// Median of the runs in milliseconds; false when any run failed.
bool timeRuns(AppContext &ctx, const std::function<bool()> &operation, QVector<double> &ms)
{
    for (int i = 0; i < Runs; ++i) {
        ctx.statusList.clear(); // the list would otherwise grow run by run
        QElapsedTimer t;
        t.start();
        if (!operation())
            return false;
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    return true;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BenchProgram program(argc, argv);
    if (!program.ok()) {
        out << "bench_files: " << program.error() << "\n";
        return 2;
    }
    AppContext &ctx = program.ctx();

    const Drive drive = largestQx3(ctx);
    if (!ParamLoader(ctx).getParamData(ctx.editor, QStringLiteral("qryTabParams"), u'\'' + drive.series + u'\'',
            u'\'' + drive.model + u'\'', u'\'' + drive.rev + u'\'')) {
        out << "bench_files: load failed\n";
        return 1;
    }
    BenchProgram::moveValuesAway(ctx);
    ctx.state.strConfigName = QStringLiteral("bench.qxc");
    const QString path = program.filePath(QStringLiteral("Configs/bench.qxc"));

    ConfigFile file(ctx);
    QVector<double> save, open, compare, report;
    const bool ok = timeRuns(
                        ctx, [&] { return file.saveFile(path); }, save)
        && timeRuns(
            ctx, [&] { return file.openFile(path); }, open)
        && timeRuns(
            ctx,
            [&] {
                CompareOperation(ctx).compare();
                return ctx.statusList.lines().size() > 2;
            },
            compare)
        && timeRuns(
            ctx,
            [&] {
                ConfigReport r(ctx);
                r.configReport();
                return QFile::exists(r.reportPath());
            },
            report);
    if (!ok) {
        out << "bench_files: an operation failed (see " << ctx.errorLog().path() << ")\n";
        return 1;
    }
    out << "configuration files of " << drive.series << "/" << drive.model << "/" << drive.rev << " (" << drive.rows
        << " parameters), " << Runs << " runs each, default pacing\n";
    BenchProgram::printMedian(out, QStringLiteral("open"), 8, open, TargetMs);
    BenchProgram::printMedian(out, QStringLiteral("save"), 8, save, TargetMs);
    BenchProgram::printMedian(out, QStringLiteral("compare"), 8, compare, TargetMs);
    BenchProgram::printMedian(out, QStringLiteral("report"), 8, report, TargetMs);
    return 0;
}
