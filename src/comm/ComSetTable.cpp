#include "ComSetTable.h"

#include "catalogue/Catalogue.h"

namespace Tarvel {

namespace {

// One list column of a row: empty columns add no entry.
void addEntry(const RecordSet &rows, const QString &text, const char *defaultColumn, QStringList &list, int &selected)
{
    if (text.isEmpty())
        return;
    if (rows.field(QLatin1String(defaultColumn)).toBool())
        selected = int(list.size());
    list << text;
}

QString text(const RecordSet &rows, const char *column)
{
    return rows.field(QLatin1String(column)).toString().trimmed();
}

} // namespace

const ComSetTable::Protocol ComSetTable::Protocols[6] = {
    {1, ",N,7,2"},
    {1, ",E,7,1"},
    {1, ",O,7,1"},
    {0, ",N,8,2"},
    {0, ",E,8,1"},
    {0, ",O,8,1"},
};

ComSetTable ComSetTable::read(Catalogue &catalogue)
{
    ComSetTable table;
    RecordSet rows = catalogue.query(QStringLiteral("Select * from tblcomset order By Code"));
    for (; !rows.eof(); rows.moveNext()) {
        addEntry(rows, text(rows, "Port"), "PortDefault", table.ports, table.defaultPort);
        addEntry(rows, text(rows, "Baud"), "BaudDefault", table.speeds, table.defaultSpeed);
        // A protocol entry is a whole character format; the row that only
        // carries the node address (its description says so) adds none.
        const QStringList format {text(rows, "Bits"), text(rows, "Parity"), text(rows, "StopBit")};
        const QString entry = format.contains(QString())
            ? QString()
            : (format + QStringList {text(rows, "Description")}).join(QStringLiteral(", "));
        addEntry(rows, entry, "ProtocolDefault", table.protocols, table.defaultProtocol);
    }
    RecordSet node = catalogue.query(QStringLiteral("Select * from tblComSet WHERE Code = 99 order by Code"));
    if (!node.eof())
        table.defaultAddress = text(node, "Address");
    return table;
}

QString ComSetTable::portSettings(const QString &speed, int protocol)
{
    if (protocol < 0 || protocol >= int(std::size(Protocols)))
        return speed;
    return speed + QLatin1String(Protocols[protocol].format);
}

} // namespace Tarvel
