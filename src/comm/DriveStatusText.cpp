#include "DriveStatusText.h"

namespace Tarvel {

DriveStatusText::Decoded DriveStatusText::decode(qint16 statusWord)
{
    static const char *const runStates[] = {"STOP", "Run To Stop Transition", "Standby", "RUN"};
    static const char *const directions[] = {"FWD", "Rev To Fwd Transition", "Fwd To Rev Transition", "REV"};
    const auto bits = quint16(statusWord);
    Decoded decoded;
    decoded.runState = QLatin1String(runStates[bits & 0x3]);
    decoded.jogState = (bits & 0x4) ? QStringLiteral("JOG Active") : QStringLiteral(" ");
    decoded.direction = QLatin1String(directions[(bits >> 3) & 0x3]);
    return decoded;
}

QString DriveStatusText::panel2(const QString &runState, const QString &direction, const QString &jogState)
{
    return QStringLiteral("Drive Status - ") + runState + QStringLiteral(", ") + direction + QStringLiteral("    ")
        + jogState;
}

QString DriveStatusText::panel2(const Decoded &decoded)
{
    return panel2(decoded.runState, decoded.direction, decoded.jogState);
}

} // namespace Tarvel
