#pragma once

#include "CliOptions.h"
#include "comm/CommLink.h"

#include <optional>

class QCommandLineParser;

namespace Tarvel {

class ComSetTable;

// The link options of the command-line drive commands:
//   --port PATH|"Com N"   --node N   --mode rtu|ascii   --settings BAUD,P,D,S
// Whatever is not given comes from the catalogue's tblComSet defaults, as
// the connection dialog would preset it. In place of a serial link:
//   --opc PROGID --device CHANNEL.DEVICE   (the Ethernet route)
class LinkOptions
{
public:
    static void addTo(QCommandLineParser &parser);
    // --opc: the drive is reached over the Ethernet route, not a port.
    static bool ethernet(const QCommandLineParser &parser);
    // The settings the options describe; nothing, with `error` set, for an
    // option that makes no sense.
    static std::optional<SerialLinkSettings> fromParser(
        const QCommandLineParser &parser, const ComSetTable &defaults, QString *error);
    // --port alone, for the detect search: a port index or a device path.
    static bool parsePort(const QString &port, SerialLinkSettings &settings, QString *error);
};

} // namespace Tarvel
