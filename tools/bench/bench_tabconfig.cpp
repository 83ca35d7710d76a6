// bench_tabconfig [CATALOGUE]: the detailed editor window's costs. Prints
// the time to build its 227 parameter rows beside the 200 ms target, what
// rendering adds to loading the largest drive, and what one field change
// costs and repaints. Runs off-screen when there is no display.
#include "BenchProgram.h"
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"
#include "ui/editors/TabConfigWindow.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QPaintEvent>
#include <QTextStream>

#include <algorithm>
#include <functional>

using namespace Tarvel;

namespace {

double median(QVector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.at(v.size() / 2);
}

double timeMs(const std::function<void()> &work)
{
    QElapsedTimer t;
    t.start();
    work();
    return t.nsecsElapsed() / 1e6;
}

// Collects the window area that paints, to show that a change repaints its
// field and not the window.
class PaintCounter : public QObject
{
public:
    QRegion painted;
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *widget = qobject_cast<QWidget *>(watched);
        if (event->type() == QEvent::Paint && widget) {
            const QRegion region = static_cast<QPaintEvent *>(event)->region();
            painted += region.translated(widget->mapTo(widget->window(), QPoint(0, 0)));
        }
        return false;
    }
};

qint64 area(const QRegion &region)
{
    qint64 sum = 0;
    for (const QRect &r : region)
        sum += qint64(r.width()) * r.height();
    return sum;
}

} // namespace

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") && qEnvironmentVariableIsEmpty("DISPLAY"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTextStream out(stdout);
    BenchProgram program(argc, argv);
    if (!program.ok()) {
        out << "bench_tabconfig: " << program.error() << "\n";
        return 2;
    }
    AppContext &ctx = program.ctx();

    const int runs = 15;
    QVector<double> build;
    for (int i = 0; i < runs; ++i)
        build << timeMs([&] { TabConfigWindow window(ctx); });
    const double buildMs = median(build);
    out << "TabConfigWindow: " << EditorForm::fieldIndices().size() << " parameter rows, " << runs << " builds\n";
    out << QStringLiteral("  build median %1 ms: %2 of the 200 ms target\n")
               .arg(buildMs, 0, 'f', 2)
               .arg(buildMs / 200.0, 0, 'f', 3);

    std::unique_ptr<Catalogue> cat = connectDB(ctx);
    RecordSet largest = cat->query(QStringLiteral("Select Series, Model, REV, count(*) AS n From tblDriveParameters "
                                                  "GROUP BY Series, Model, REV ORDER BY n DESC"));
    const QString key = u'\'' + largest.field(QStringLiteral("Series")).toString() + u'\'';
    const QString model = u'\'' + largest.field(QStringLiteral("Model")).toString() + u'\'';
    const QString rev = u'\'' + largest.field(QStringLiteral("REV")).toString() + u'\'';
    cat->release();
    ParamLoader loader(ctx);
    const auto load = [&] { loader.getParamData(ctx.editor, QStringLiteral("qryTabParams"), key, model, rev); };

    QVector<double> bare;
    for (int i = 0; i < runs; ++i)
        bare << timeMs(load);
    TabConfigWindow window(ctx);
    window.show();
    QVector<double> shown;
    for (int i = 0; i < runs; ++i)
        shown << timeMs([&] {
            load();
            QCoreApplication::processEvents();
        });
    const double bareMs = median(bare);
    const double shownMs = median(shown);
    out << QStringLiteral("Loading the largest drive (%1/%2/%3), median of %4\n").arg(key, model, rev).arg(runs);
    out << QStringLiteral("  without the window %1 ms, with it shown and repainted %2 ms: %3 times\n")
               .arg(bareMs, 0, 'f', 2)
               .arg(shownMs, 0, 'f', 2)
               .arg(shownMs / bareMs, 0, 'f', 2);

    PaintCounter counter;
    app.installEventFilter(&counter);
    QCoreApplication::processEvents();
    counter.painted = QRegion();
    QVector<double> change;
    for (int i = 0; i < 1000; ++i)
        change << timeMs([&] { ctx.editor.txtP(3).setText(QString::number(i % 50 + 1)); }) * 1000.0;
    QCoreApplication::processEvents();
    const double share = double(area(counter.painted)) / double(window.width() * window.height());
    out << QStringLiteral("One field change (P0.03 text, on the tab in front), 1000 changes\n");
    out << QStringLiteral("  median %1 us; repainted afterwards: %2% of the window\n")
               .arg(median(change), 0, 'f', 1)
               .arg(share * 100.0, 0, 'f', 2);
    return 0;
}
