// bench_update [CATALOGUE]: times Change Drive Rating of the largest drive
// (03/06/104) onto itself and from a QX2 drive onto it, with default
// pacing, and prints each median beside the 1 s target.
#include "BenchProgram.h"
#include "catalogue/ParamLoader.h"
#include "files/RatingUpdate.h"
#include "model/AppContext.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

using namespace Tarvel;

namespace {

constexpr int Runs = 9;
constexpr double TargetMs = 1000.0;
const QString Largest = QStringLiteral("QX-3-045H @ rev. 104");

bool load(AppContext &ctx, const char *series, const char *model, const char *rev)
{
    return ParamLoader(ctx).loadDrive(
        {QString::fromLatin1(series), QString::fromLatin1(model), QString::fromLatin1(rev)});
}

// Median of the runs in milliseconds, each from a freshly loaded drive;
// false when a run failed.
bool timeRuns(AppContext &ctx, const char *series, const char *model, const char *rev, QVector<double> &ms)
{
    for (int i = 0; i < Runs; ++i) {
        if (!load(ctx, series, model, rev))
            return false;
        BenchProgram::moveValuesAway(ctx);
        ctx.statusList.clear();
        QElapsedTimer t;
        t.start();
        if (!RatingUpdate(ctx).update(Largest))
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
        out << "bench_update: " << program.error() << "\n";
        return 2;
    }
    AppContext &ctx = program.ctx();

    QVector<double> same, upward;
    if (!timeRuns(ctx, "03", "06", "104", same) || !timeRuns(ctx, "02", "10", "120", upward)) {
        out << "bench_update: an update failed (see " << ctx.errorLog().path() << ")\n";
        return 1;
    }
    out << "change of drive rating to " << Largest << ", " << Runs << " runs each, "
        << (ctx.pacing.mode() == Pacing::Classic ? "classic" : "default") << " pacing\n";
    BenchProgram::printMedian(out, QStringLiteral("03/06/104 -> same"), 22, same, TargetMs);
    BenchProgram::printMedian(out, QStringLiteral("02/10/120 -> 03/06/104"), 22, upward, TargetMs);
    return 0;
}
