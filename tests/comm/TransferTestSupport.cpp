#include "TransferTestSupport.h"

#include "catalogue/EditorForm.h"
#include "catalogue/NumberText.h"

#include <cmath>

namespace Tarvel::Test {

QStringList editorSnapshot(const AppContext &ctx)
{
    QStringList out;
    for (int i : EditorForm::fieldIndices()) {
        if (ctx.editor.hasTxtP(i))
            out << QStringLiteral("txtP(%1)=%2").arg(i).arg(ctx.editor.txtP(i).text());
        if (ctx.editor.hasCmbP(i))
            out << QStringLiteral("cmbP(%1)=%2").arg(i).arg(ctx.editor.cmbP(i).text());
    }
    return out;
}

QVector<TransferRow> driveRows(AppContext &ctx)
{
    const AppState saved = ctx.state;
    ctx.state.strSeries = QStringLiteral("02");
    ctx.state.strModel = QStringLiteral("05");
    ctx.state.strRev = QStringLiteral("120");
    const QVector<TransferRow> rows = TransferRows::load(ctx);
    ctx.state = saved;
    return rows;
}

void setPolledIdentity(AppContext &ctx, const QString &series, const QString &model, const QString &rev)
{
    ctx.state.strDriveSeries = series;
    ctx.state.strDriveModel = model;
    ctx.state.strDriveRev = rev;
}

QString logEntry(const QString &line)
{
    return line.section(QStringLiteral(" - "), 1);
}

qint16 nonDefaultRegister(const AppContext &ctx, const TransferRow &row)
{
    const ParamTables &t = ctx.params;
    const int i = row.parameter;
    const double def = t.varDefault[i].toDouble();
    const double step = row.resolution;
    const double up = def + step;
    const double value = up <= t.varMax[i].toDouble() ? up : def - step;
    return qint16(std::lround(value / step));
}

} // namespace Tarvel::Test
