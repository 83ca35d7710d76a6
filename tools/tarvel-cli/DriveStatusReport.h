#pragma once

#include <QStringList>

namespace Tarvel {

class AppContext;
struct AppState;
struct SerialLinkSettings;

// What the command line's status shows of a drive: connect as the
// connection dialog does, one round of polling, then the status-bar text,
// the drive's identity, its fault code and each status value read.
class DriveStatusReport
{
public:
    struct Result
    {
        bool ok = false;
        QStringList lines; // for stdout
        QString error; // for stderr when !ok
    };

    static Result run(AppContext &ctx, const SerialLinkSettings &settings);
    // The lines for the values in `state` after a poll that was good or not.
    static QStringList lines(const AppState &state, bool linkGood);
};

} // namespace Tarvel
