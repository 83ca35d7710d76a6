#include "PidTrendCommands.h"

#include "comm/CommLink.h"
#include "comm/DriveValues.h"
#include "comm/RegisterTransactions.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

namespace Tarvel {

PidTrendCommands::PidTrendCommands(AppContext &ctx, Windows &windows)
    : m_ctx(ctx)
    , m_windows(windows)
{ }

bool PidTrendCommands::linkOrOffer()
{
    if (m_ctx.link().linkOpen())
        return true;
    if (m_ctx.prompter().msgBox(
            QStringLiteral("You don't appear to be connected to a drive.\rWould you like to connect now?"),
            Msg::YesNo | Msg::Critical, QStringLiteral("No Connection Present"))
        == Msg::Yes)
        m_windows.showConnectDialog();
    return false;
}

void PidTrendCommands::trend()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuTrend_Click"), [&] {
        if (linkOrOffer())
            m_windows.showTrend();
    });
}

void PidTrendCommands::pid()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuPID_Click"), [&] {
        if (!linkOrOffer())
            return;
        // P7.00, read as every read is: the answer also lands in PidValues.
        const qint16 operation = RegisterTransactions(m_ctx).uploadWhile(DriveValues::PidBlock, 1);
        Prompter &prompter = m_ctx.prompter();
        if (operation <= 0) {
            prompter.msgBox(QStringLiteral("P7.00 must be > 00 prior to PID operations."), Msg::Exclamation,
                QStringLiteral("Incorrect Settings"));
            return;
        }
        const int answer
            = prompter.msgBox(QStringLiteral("Warning: This function is intended for maintenance purposes only.\r"
                                             "The drive must be stopped to change to the proper settings\r"
                                             "and to exit the PID tuning function.\r"
                                             "For proper operation, please ensure the following settings are correct:\r"
                                             "P3.00 = 03 or 04 (RS-485 Interface)\r"
                                             "P4.00 = 05 (RS-485 Interface)\r"
                                             "P7.00 > 00 (PID Operation NOT inhibited)\r"
                                             "P7.02 = 01 (Serial Communications)"),
                Msg::OKCancel | Msg::Information, QStringLiteral("Proper Settings Required"));
        if (answer == Msg::OK)
            m_windows.showPid();
    });
}

} // namespace Tarvel
