#include "DriveStatusReport.h"

#include "comm/CommLink.h"
#include "comm/DriveStatusText.h"
#include "comm/SerialLinkMonitor.h"
#include "model/AppContext.h"
#include "base/ErrorCodes.h"

namespace Tarvel {

namespace {

constexpr int StatusLines = 15; // ST00.02 .. ST00.16, the serial status block

} // namespace

QStringList DriveStatusReport::lines(const AppState &state, bool linkGood)
{
    QStringList lines;
    lines << (linkGood ? DriveStatusText::panel2(state.DriveRunState, state.DriveDirection, state.DriveJogState)
                       : QStringLiteral("Drive Status - Communication Error"));
    lines << QStringLiteral("Series: ") + state.strDriveSeries << QStringLiteral("Model: ") + state.strDriveModel
          << QStringLiteral("Rev: ") + state.strDriveRev;
    lines << QStringLiteral("Fault code: %1").arg(state.DriveFaultCode);
    if (!linkGood)
        return lines;
    for (int k = 0; k < StatusLines; ++k)
        lines << QStringLiteral("ST00.%1 = %2").arg(k + 2, 2, 10, QLatin1Char('0')).arg(state.StatusValues[k]);
    return lines;
}

DriveStatusReport::Result DriveStatusReport::run(AppContext &ctx, const SerialLinkSettings &settings)
{
    Result result;
    CommLink &link = ctx.link();
    int code = ModbusMaster::NotStarted;
    try {
        code = link.openSerial(settings);
    } catch (const TrappedError &e) {
        if (e.number() != Err::InvalidPropertyValue)
            throw;
        result.error
            = QStringLiteral("Com Error: Selected Com port does not exist or is in use by another application.");
        return result;
    }
    if (code != ModbusMaster::Success) {
        link.closeConnection();
        result.error = QStringLiteral("Drive Not Found.: Drive not found. Please check your settings. (%1)")
                           .arg(ModbusMaster::resultText(code));
        return result;
    }
    SerialLinkMonitor monitor(ctx);
    result.ok = monitor.pollDrive();
    result.lines = lines(ctx.state, result.ok);
    if (!result.ok)
        result.error = QStringLiteral("Communication Error: Communication with the drive has been lost.");
    link.closeConnection();
    return result;
}

} // namespace Tarvel
