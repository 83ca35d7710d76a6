#pragma once

#include <QString>

namespace Tarvel {

// The drive's status word ST00.01 in words, and the status-bar text built
// from it. Kept apart from the polling so that every route (serial, the
// Ethernet module's items) and the command-line status use one decoding.
class DriveStatusText
{
public:
    struct Decoded
    {
        QString runState; // bits 1..0: DriveRunState
        QString jogState; // bit 2: DriveJogState
        QString direction; // bits 4..3: DriveDirection
    };

    static Decoded decode(qint16 statusWord);
    // Status panel 2 while the link is good:
    // "Drive Status - RUN, REV    " + jog text.
    static QString panel2(const QString &runState, const QString &direction, const QString &jogState);
    static QString panel2(const Decoded &decoded);
};

} // namespace Tarvel
