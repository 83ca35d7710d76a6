// bench_loader [CATALOGUE]: times getParamData for the largest drive of the
// catalogue (the one with the most parameters) with default pacing, and
// prints the figures beside the 50 ms target.
#include "BenchProgram.h"
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

using namespace Tarvel;

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BenchProgram program(argc, argv);
    if (!program.ok()) {
        out << "bench_loader: " << program.error() << "\n";
        return 2;
    }
    AppContext &ctx = program.ctx();

    std::unique_ptr<Catalogue> cat = connectDB(ctx);
    RecordSet largest = cat->query(QStringLiteral("Select Series, Model, REV, count(*) AS n From tblDriveParameters "
                                                  "GROUP BY Series, Model, REV ORDER BY n DESC"));
    const QString series = largest.field(QStringLiteral("Series")).toString();
    const QString model = largest.field(QStringLiteral("Model")).toString();
    const QString rev = largest.field(QStringLiteral("REV")).toString();
    const int rows = largest.field(QStringLiteral("n")).toInt();
    cat->release();

    ParamLoader loader(ctx);
    const int runs = 20;
    QVector<double> ms;
    for (int i = 0; i < runs; ++i) {
        QElapsedTimer t;
        t.start();
        if (!loader.getParamData(ctx.editor, QStringLiteral("qryTabParams"), u'\'' + series + u'\'',
                u'\'' + model + u'\'', u'\'' + rev + u'\'')) {
            out << "bench_loader: load failed\n";
            return 1;
        }
        ms << t.nsecsElapsed() / 1e6;
    }
    std::sort(ms.begin(), ms.end());
    const double median = ms.at(runs / 2);
    out << "getParamData " << series << "/" << model << "/" << rev << " (" << rows << " parameters), " << runs
        << " runs, default pacing\n";
    out << QStringLiteral("  median %1 ms, best %2 ms, worst %3 ms\n")
               .arg(median, 0, 'f', 2)
               .arg(ms.first(), 0, 'f', 2)
               .arg(ms.last(), 0, 'f', 2);
    out << QStringLiteral("  target 50 ms: median is %1 of the target\n").arg(median / 50.0, 0, 'f', 3);
    // What the same load waits in classic pacing: 0.3 s twice and 0.01 s a row.
    const double classic = 600.0 + 10.0 * rows;
    out << QStringLiteral("  classic pacing would wait %1 ms: default pacing is %2 times faster\n")
               .arg(classic, 0, 'f', 0)
               .arg(classic / median, 0, 'f', 1);
    return 0;
}
