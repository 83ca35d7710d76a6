#include "TransferRows.h"

#include "model/AppContext.h"
#include "catalogue/Catalogue.h"
#include "base/NumberText.h"

namespace Tarvel {

// The catalogue's resolution is a decimal step (0.01) whose single-precision
// form is a hair off it; multiplied by the register value that hair shows
// (120 x 0.01 would be 1.19999993, 10 x 0.01 0.09999999). The step is taken
// as the decimal it stands for, and the product kept in single precision,
// so 120 reads 1.2 and is the same number the box's text "1.2" gives.
float TransferRow::engineering(qint16 value) const
{
    return float(double(value) * NumberText::val(NumberText::single(resolution)));
}

QString TransferRows::query(const AppContext &ctx, const QString &condition)
{
    const AppState &s = ctx.state;
    return QStringLiteral("Select * From qryTabParams") + QStringLiteral(" WHERE Series = '") + s.strSeries
        + QStringLiteral("'") + QStringLiteral(" AND Model = '") + s.strModel + QStringLiteral("'")
        + QStringLiteral(" AND REV = '") + s.strRev + QStringLiteral("'") + condition;
}

QVector<TransferRow> TransferRows::load(AppContext &ctx, const QString &condition)
{
    std::unique_ptr<Catalogue> catalogue = connectDB(ctx);
    RecordSet rs = catalogue->query(query(ctx, condition));
    QVector<TransferRow> rows;
    rows.reserve(rs.recordCount());
    for (; !rs.eof(); rs.moveNext()) {
        TransferRow row;
        row.parameterText = rs.field(QStringLiteral("Parameter")).toString();
        bool ok = false;
        row.parameter = row.parameterText.trimmed().toInt(&ok);
        if (!ok)
            throw TrappedError(Err::TypeMismatch);
        if (row.parameter < 0 || row.parameter >= ParamTables::Size)
            throw TrappedError(Err::SubscriptOutOfRange);
        row.address = rs.field(QStringLiteral("Address")).toInt();
        row.resolution = rs.field(QStringLiteral("Resolution")).toFloat();
        rows << row;
    }
    catalogue->release();
    return rows;
}

QVector<int> TransferRows::addresses(const QVector<TransferRow> &rows)
{
    QVector<int> list;
    list.reserve(rows.size());
    for (const TransferRow &row : rows)
        list << row.address;
    return list;
}

} // namespace Tarvel
