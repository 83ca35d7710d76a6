// bench_rules [CATALOGUE]: times one leave-field sequence of the entry checks
// (number test, dependency rules, decimals, rounding, range, label, last
// accepted value) on the largest series-3 drive, fast pacing, no message
// shown: for a plain parameter (P1.01) and for P7.01, whose rule walks the
// eight PID set-points. Prints medians and their ratio.
#include "BenchProgram.h"
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"
#include "catalogue/ParamLoader.h"
#include "rules/EntryChecks.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QTextStream>

#include <algorithm>

using namespace Tarvel;

namespace {

constexpr int Runs = 5000;

// Median time in microseconds of leaving `index` after typing one of two
// accepted values in turn; entering and typing are not timed.
double medianLeave(AppContext &ctx, EntryChecks &checks, int index, const QStringList &values)
{
    QVector<double> us;
    us.reserve(Runs);
    for (int i = 0; i < Runs; ++i) {
        checks.enterValueBox(index);
        ctx.editor.txtP(index).setText(values.at(i % values.size()));
        QElapsedTimer t;
        t.start();
        checks.leaveValueBox(index);
        us << t.nsecsElapsed() / 1e3;
    }
    std::sort(us.begin(), us.end());
    return us.at(Runs / 2);
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    BenchProgram program(argc, argv);
    if (!program.ok()) {
        out << "bench_rules: " << program.error() << "\n";
        return 2;
    }
    AppContext &ctx = program.ctx();
    ScriptedPrompter &prompter = program.prompter();
    if (!ParamLoader(ctx).getParamData(ctx.editor, QStringLiteral("qryTabParams"), QStringLiteral("'03'"),
            QStringLiteral("'06'"), QStringLiteral("'104'"))) {
        out << "bench_rules: load failed\n";
        return 1;
    }
    EntryChecks checks(ctx);
    // Set-points below every full scale typed, so the walk visits all eight
    // and refuses none.
    for (int k = 710; k <= 717; ++k)
        checks.typeValue(k, QString::number(10 + k - 710));
    prompter.clear();

    const double plain = medianLeave(ctx, checks, 101, {QStringLiteral("12.3"), QStringLiteral("45.6")});
    const double walk = medianLeave(ctx, checks, 701, {QStringLiteral("100"), QStringLiteral("200.5")});
    if (!prompter.messages().isEmpty()) {
        out << "bench_rules: a message was shown: " << prompter.messages().first().title << "\n";
        return 1;
    }
    out << "leave-field sequence, 03/06/104, " << Runs << " runs each, fast pacing, no message\n";
    out << QStringLiteral("  P1.01 (no rule):       median %1 us\n").arg(plain, 0, 'f', 2);
    out << QStringLiteral("  P7.01 (set-point walk): median %1 us\n").arg(walk, 0, 'f', 2);
    out << QStringLiteral("  walk / plain: %1\n").arg(walk / plain, 0, 'f', 2);
    out << QStringLiteral("  P7.01 is %1 of a 60 Hz frame (16.7 ms)\n").arg(walk / 16667.0, 0, 'e', 2);
    return 0;
}
