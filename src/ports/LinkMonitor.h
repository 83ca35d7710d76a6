#pragma once

namespace Tarvel {

// The drive link as the main window's timers see it. The drive-link code
// implements it; the timers decide panel texts and which commands are
// enabled from its answers, so that logic exists once for every route.
class LinkMonitor
{
public:
    virtual ~LinkMonitor() = default;
    // A link is open: the serial port (PortOpen) or the Ethernet route
    // (strConnected "True").
    virtual bool linkOpen() const = 0;
    // One round of polling reads; the shared drive values in AppState are
    // updated as the answers arrive. True when the link is still good.
    virtual bool pollDrive() = 0;
    // CloseConnection, after a lost link.
    virtual void closeConnection() = 0;
};

} // namespace Tarvel
