#pragma once

#include <QStringList>

#include <array>

namespace Tarvel {

class AppContext;
struct AppState;
struct SerialLinkSettings;

// What the command line's status shows of a drive: connect as the
// connection dialog does, one round of polling reads, then what each read
// gave (the status-bar text, the drive's identity, its fault code, each
// status value) and which reads failed. Nothing is shown that this run did
// not read.
class DriveStatusReport
{
public:
    struct Result
    {
        bool ok = false; // every read answered
        QStringList lines; // for stdout
        QString error; // for stderr when !ok
    };
    // Mod1's ResultCode of each polling read, in SerialLinkMonitor::PollReads order.
    using ReadCodes = std::array<int, 3>;

    static Result run(AppContext &ctx, const SerialLinkSettings &settings);
    // The lines for the values in `state` after polling reads that ended with `codes`.
    static QStringList lines(const AppState &state, const ReadCodes &codes);
};

} // namespace Tarvel
