#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class Catalogue;

// The serial-link setting lists of the catalogue's tblComSet: ports,
// speeds and the six protocol entries, with the rows flagged as default
// and the default node address (row 99).
class ComSetTable
{
public:
    struct Protocol
    {
        int asciiMode;
        const char *format; // appended to the baud rate
    };
    // The protocol list by index; the code relies on this order, not on
    // the catalogue's descriptions.
    static const Protocol Protocols[6];

    // Runs the two tblComSet queries on an open catalogue.
    static ComSetTable read(Catalogue &catalogue);

    QStringList ports;
    QStringList speeds;
    QStringList protocols; // "8, E, 1, RTU"
    int defaultPort = -1;
    int defaultSpeed = -1;
    int defaultProtocol = -1;
    QString defaultAddress;

    // "19200,E,8,1" for a speed text and a protocol index.
    static QString portSettings(const QString &speed, int protocol);
};

} // namespace Tarvel
