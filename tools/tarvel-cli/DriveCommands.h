#pragma once

#include <QString>

#include <optional>

namespace Tarvel {

class CliSession;

// The commands of tarvel-cli that talk to a drive over the serial link or
// the Ethernet route: the auto-detect search, one round of polling and the
// devices of a server. They take the link options of LinkOptions; the
// link is closed again before they return.
class DriveCommands
{
public:
    // detect LINK | detect --port LINK
    static int detect(CliSession &s);
    // status [LINK] [--node N] [--mode rtu|ascii] [--settings BAUD,P,D,S]
    static int status(CliSession &s);
    // devices PROGID: the server's devices, one a line.
    static int devices(CliSession &s);

private:
    // The port as the one word after the command or the --port value; an
    // empty string when neither was given, nothing after a usage error.
    static std::optional<QString> linkWord(CliSession &s);
    // The link options that reach the drive the search found.
    static QString optionsText(int node, int asciiMode, const QString &portSettings);
    static int statusEthernet(CliSession &s);
};

} // namespace Tarvel
