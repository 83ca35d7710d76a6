#pragma once

#include <QList>
#include <QMetaType>
#include <QTime>

namespace Tarvel {

// One Modbus transaction of the master as the bus monitor shows it.
struct BusTransaction
{
    QTime time; // when the request went out
    int node = 0;
    int function = 0; // the Modbus function on the wire: 3, 6 or 16
    int startRegister = 0; // register number, counted from 1
    int count = 0;
    QList<qint16> values; // written values; read values when the read succeeded
    int result = 0; // the master's ResultCode
    qint64 roundTripUs = 0; // request sent to answer taken (or given up)

    bool failed() const { return result != 0; }
};

} // namespace Tarvel

Q_DECLARE_METATYPE(Tarvel::BusTransaction)
