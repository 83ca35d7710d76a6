#pragma once

#include <QString>
#include <QVector>
#include <QtGlobal>

namespace Tarvel {

class AppContext;

// One catalogue row of the current configuration's drive, as a transfer
// reads or writes it.
struct TransferRow
{
    int parameter = 0; // the index, group * 100 + number
    QString parameterText; // the catalogue's Parameter text ("941")
    int address = 0; // register number
    float resolution = 0; // engineering value = register value * resolution

    // The engineering value of a register value, in single precision as
    // the drive holds it.
    float engineering(qint16 value) const;

    bool operator==(const TransferRow &) const = default;
};

// The rows of qryTabParams for the drive of the current configuration
// (strSeries, strModel, strRev) in catalogue order, taken in one query
// before any traffic so the transfer loop costs no catalogue work per row.
class TransferRows
{
public:
    // `condition` continues the WHERE clause (" AND READONLY = true").
    static QVector<TransferRow> load(AppContext &ctx, const QString &condition = QString());
    static QString query(const AppContext &ctx, const QString &condition = QString());
    static QVector<int> addresses(const QVector<TransferRow> &rows);
};

} // namespace Tarvel
