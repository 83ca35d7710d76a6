#pragma once

namespace Tarvel {

class AppContext;

// The main window's Trend and PID Tuning commands: what each checks and
// asks before its screen opens. The screens are reached through Windows.
class PidTrendCommands
{
public:
    class Windows
    {
    public:
        virtual ~Windows() = default;
        virtual void showConnectDialog() = 0;
        virtual void showTrend() = 0;
        virtual void showPid() = 0;
    };

    PidTrendCommands(AppContext &ctx, Windows &windows);

    // mnuTrend_Click, mnuPID_Click
    void trend();
    void pid();

private:
    // The no-link test; on Yes the connection dialog. True when a link is open.
    bool linkOrOffer();

    AppContext &m_ctx;
    Windows &m_windows;
};

} // namespace Tarvel
