#pragma once

#include "transfer/DownloadOperation.h"
#include "transfer/UploadOperation.h"

#include <QString>

#include <optional>

namespace Tarvel {

class CliSession;
struct SerialLinkSettings;

// upload and download on the command line: connect as status does, poll the
// drive once for its identity and run state, run the desktop program's
// Upload or Download command, and close the link again.
class TransferCommands
{
public:
    // upload LINK -o FILE.qxc [--block] [link options]
    static int upload(CliSession &s);
    // download FILE.qxc LINK [--block] [link options]
    static int download(CliSession &s);
    // diff A.qxc B.qxc, or diff FILE.qxc LINK [--block] [link options]
    static int diff(CliSession &s);

    // The exit status of an operation that ran: 0 done, 1 done with
    // problems, 2 refused or broken off. For an upload `finished` is the
    // session's tally (values out of range, a failed save).
    static int uploadExit(UploadOperation::Outcome outcome, int finished);
    static int downloadExit(DownloadOperation::Outcome outcome);

    // The link settings from the link word (or --port) and the options.
    static std::optional<SerialLinkSettings> linkSettings(CliSession &s, const QString &linkWord);
    // Opens the port, checks that the drive answers, polls it once. False
    // after telling why (the link is closed again then).
    static bool connect(CliSession &s, const SerialLinkSettings &settings);

private:
    static bool connectEthernet(CliSession &s);
    static bool pollOnce(CliSession &s);
    static int diffFiles(CliSession &s, const QString &first, const QString &second);
    static int diffDrive(CliSession &s);
};

} // namespace Tarvel
