#pragma once

#include "comm/TransferRows.h"

#include <QMap>
#include <QString>
#include <QVector>

namespace Tarvel {

class AppContext;

// Every parameter of the configuration's drive read from the connected
// drive, nothing written: what a comparison with the drive and the backup
// before a download start from. Reads single registers or blocks as the
// link's Block Transfers setting says.
class DriveReadout
{
public:
    struct Value
    {
        TransferRow row;
        qint16 registerValue = 0;
        // The engineering value as text, as an upload puts it in the box.
        QString text() const;
    };

    explicit DriveReadout(AppContext &ctx);

    // False when the link failed: the communication failure end is done
    // with `routine` in its log entry and the link is closed. The main
    // window stays as the caller left it.
    bool readAll(const QString &routine);

    const QVector<Value> &values() const { return m_values; }
    // The value texts by parameter index.
    QMap<int, QString> texts() const;
    int transactions() const { return m_transactions; }

private:
    AppContext &m_ctx;
    QVector<Value> m_values;
    int m_transactions = 0;
};

} // namespace Tarvel
