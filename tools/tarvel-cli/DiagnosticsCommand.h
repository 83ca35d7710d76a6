#pragma once

namespace Tarvel {

class CliSession;

// diagnostics [-o FILE] [--config FILE.qxc] [LINK link options]: the
// About window's diagnostics file, for a support request from a machine
// without a display. With --config the configuration is in memory as after
// Open; with a link the drive is connected and polled once, as the main
// window's timers would have done.
class DiagnosticsCommand
{
public:
    static int run(CliSession &s);
};

} // namespace Tarvel
