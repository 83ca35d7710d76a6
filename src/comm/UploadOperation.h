#pragma once

namespace Tarvel {

class AppContext;
class TransferWindows;

// The Upload command: reads every parameter of the connected drive into a
// new configuration in the detailed editor.
class UploadOperation
{
public:
    enum class Outcome { NoLink, Declined, Unsupported, LoadFailed, Completed, CommError, Aborted, Trapped };

    UploadOperation(AppContext &ctx, TransferWindows &windows);

    // Runs the command under its trap.
    Outcome run();

private:
    AppContext &m_ctx;
    TransferWindows &m_windows;
};

} // namespace Tarvel
