#pragma once

#include "ports/LinkMonitor.h"

namespace Tarvel {

class AppContext;
class CommLink;

// The drive link as the main window's timers see it: whether a link is
// open, one round of polling reads, and closing a lost link. The answers
// land in the shared drive values through the link's Mod1_Done handling.
class SerialLinkMonitor : public LinkMonitor
{
public:
    // The polling reads, in the order they go out.
    struct PollRead
    {
        int startRegister;
        int count;
    };
    static const PollRead PollReads[3];

    explicit SerialLinkMonitor(AppContext &ctx);

    bool linkOpen() const override;
    // Serial: the three polling reads one after the other, waiting (with
    // events processed) between them; good while the port is open and the
    // last read did not fail. A port that went away stays open until
    // closed, so its loss fails the reads here. A link closed by the user
    // while a read waited is not good either, but no longer open.
    // Ethernet: the module's link status ST00.18.
    bool pollDrive() override;
    void closeConnection() override;

private:
    AppContext &m_ctx;
    CommLink &m_link;
};

} // namespace Tarvel
