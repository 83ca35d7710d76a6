// bench_update [CATALOGUE]: times Change Drive Rating of the largest drive
// (03/06/104) onto itself and from a QX2 drive onto it, with default
// pacing, and prints each median beside the 1 s target.
#include "BenchProgram.h"
#include "app/AppContext.h"
#include "catalogue/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "files/RatingUpdate.h"

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
    const auto quoted = [](const char *text) { return u'\'' + QString::fromLatin1(text) + u'\''; };
    return ParamLoader(ctx).getParamData(
        ctx.editor, QStringLiteral("qryTabParams"), quoted(series), quoted(model), quoted(rev));
}

// Every editable value box at its maximum, so that every kept value is
// put back and coloured: the verify pass's heaviest case.
void moveValuesAway(AppContext &ctx)
{
    for (int i : EditorForm::fieldIndices()) {
        TextBoxField &box = ctx.editor.txtP(i);
        if (ctx.params.blnTextShown[i] && box.enabled() && !ctx.params.varMax[i].isNull())
            box.setText(NumberText::variant(ctx.params.varMax[i]));
    }
}

// Median of the runs in milliseconds, each from a freshly loaded drive;
// false when a run failed.
bool timeRuns(AppContext &ctx, const char *series, const char *model, const char *rev, QVector<double> &ms)
{
    for (int i = 0; i < Runs; ++i) {
        if (!load(ctx, series, model, rev))
            return false;
        moveValuesAway(ctx);
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

void print(QTextStream &out, const QString &name, const QVector<double> &ms)
{
    const double median = ms.at(ms.size() / 2);
    out << QStringLiteral("  %1 median %2 ms (best %3, worst %4); target %5 ms: ratio %6\n")
               .arg(name.leftJustified(22))
               .arg(median, 8, 'f', 2)
               .arg(ms.first(), 0, 'f', 2)
               .arg(ms.last(), 0, 'f', 2)
               .arg(TargetMs, 0, 'f', 0)
               .arg(median / TargetMs, 0, 'f', 3);
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
    print(out, QStringLiteral("03/06/104 -> same"), same);
    print(out, QStringLiteral("02/10/120 -> 03/06/104"), upward);
    return 0;
}
