#pragma once

#include <QString>

namespace Tarvel {

class AppContext;
class LinkMonitor;
class PollDisplay;

// The decisions of the main window's two timers: tmrMain (every second)
// polls an open link, shows the drive's state and enables the commands
// that need a link or a file; tmrMain2Sec (every two seconds) compares the
// connected drive with the configuration and keeps the editor's caption.
// The window owns the timers and applies what a tick decides through
// PollDisplay, so the whole logic runs without a window in tests.
class PollTimers
{
public:
    PollTimers(AppContext &ctx, PollDisplay &display);

    // The drive link; none means no link can be open.
    void setLinkMonitor(LinkMonitor *link) { m_link = link; }
    LinkMonitor *linkMonitor() const { return m_link; }

    // tmrMain_Timer and tmrMain2Sec_Timer.
    void mainTick();
    void twoSecondTick();

    // "Drive Status - " + run state + ", " + direction + 4 blanks + jog.
    QString driveStatusText() const;
    // "  Detailed Config - Current Drive Model = ..." for the editor.
    QString editorCaption() const;

    static const QString OfflineText; // "Drive Status - Offline"
    static const QString CommErrorText; // "Drive Status - Communication Error"

private:
    bool linkOpen() const;
    void linkGood();
    void linkLost();
    void noLink();
    void setLinkCommands(bool linkUsable);
    void setFileCommands();
    void setIdentityNotConnected();
    QString identityComparison() const;

    AppContext &m_ctx;
    PollDisplay &m_display;
    LinkMonitor *m_link = nullptr;
    // A tick that waits for the drive lets events run, among them the next
    // timer event; that one must not start a second poll inside the first.
    bool m_inTick = false;
};

} // namespace Tarvel
