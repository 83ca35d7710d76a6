#include "DriveStatusReport.h"

#include "base/ErrorCodes.h"
#include "comm/CommLink.h"
#include "comm/DriveStatusText.h"
#include "comm/PortAccess.h"
#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"
#include "model/AppContext.h"

#include <algorithm>

namespace Tarvel {

namespace {

constexpr int StatusLines = 15; // ST00.02 .. ST00.16, the serial status block
enum PollRead { FaultRead, StatusRead, IdentityRead };
const char *const ReadNames[] = {"fault code", "status block", "series and model"};

} // namespace

QStringList DriveStatusReport::lines(const AppState &state, const ReadCodes &codes)
{
    const auto read = [&](PollRead r) { return codes[r] == ModbusMaster::Success; };
    QStringList lines;
    if (read(StatusRead))
        lines << DriveStatusText::panel2(state.DriveRunState, state.DriveDirection, state.DriveJogState);
    if (read(IdentityRead))
        lines << QStringLiteral("Series: ") + state.strDriveSeries << QStringLiteral("Model: ") + state.strDriveModel;
    if (read(StatusRead))
        lines << QStringLiteral("Rev: ") + state.strDriveRev;
    if (read(FaultRead))
        lines << QStringLiteral("Fault code: %1").arg(state.DriveFaultCode);
    if (read(StatusRead)) {
        for (int k = 0; k < StatusLines; ++k)
            lines << QStringLiteral("ST00.%1 = %2").arg(k + 2, 2, 10, QLatin1Char('0')).arg(state.StatusValues[k]);
    }
    for (int r = FaultRead; r <= IdentityRead; ++r) {
        const SerialLinkMonitor::PollRead &poll = SerialLinkMonitor::PollReads[r];
        if (!read(PollRead(r)))
            lines << QStringLiteral("Not read: %1 (%2 registers from %3): %4")
                         .arg(QLatin1String(ReadNames[r]))
                         .arg(poll.count)
                         .arg(poll.startRegister)
                         .arg(ModbusMaster::resultText(codes[r]));
    }
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
        const auto message = PortAccess::forError(e);
        if (!message)
            throw;
        result.error = message->title + QStringLiteral(": ") + message->text;
        return result;
    }
    if (code != ModbusMaster::Success) {
        link.closeConnection();
        result.error = QStringLiteral("Drive Not Found.: Drive not found. Please check your settings. (%1)")
                           .arg(ModbusMaster::resultText(code));
        return result;
    }
    // The polling reads one by one, as the main window's timer makes them,
    // so that each one's outcome is known.
    ReadCodes codes {};
    RegisterTransactions transactions(ctx);
    ModbusMaster &mod1 = link.mod1();
    for (int r = FaultRead; r <= IdentityRead; ++r) {
        const SerialLinkMonitor::PollRead &poll = SerialLinkMonitor::PollReads[r];
        transactions.upload(poll.startRegister, poll.count);
        mod1.waitWhileBusy();
        codes[r] = mod1.resultCode();
    }
    result.ok = std::all_of(codes.cbegin(), codes.cend(), [](int code) { return code == ModbusMaster::Success; });
    result.lines = lines(ctx.state, codes);
    const bool lost = std::any_of(codes.cbegin(), codes.cend(),
        [](int code) { return code != ModbusMaster::Success && !ModbusMaster::isException(code); });
    if (lost)
        result.error = QStringLiteral("Communication Error: Communication with the drive has been lost.");
    else if (!result.ok)
        result.error = QStringLiteral("Read Error: The drive refused a read.");
    link.closeConnection();
    return result;
}

} // namespace Tarvel
