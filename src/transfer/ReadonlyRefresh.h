#pragma once

namespace Tarvel {

class AppContext;

// GetReadonly: before a download, the read-only parameters of the open
// configuration are refreshed from the drive so the file matches what the
// drive will keep whatever is written.
class ReadonlyRefresh
{
public:
    explicit ReadonlyRefresh(AppContext &ctx);

    // False when it ended through its communication-failure end (every
    // line, message and log entry done, the link closed). The download
    // then stops at once: with the link closed nothing more can be written,
    // and a second error message would tell the user nothing new. A fault
    // caught by the trap is reported by the handler and gives true, so the
    // download goes on as it always has after the refresh.
    bool getReadonly();

private:
    // Puts the drive's engineering value r of parameter `index` into the
    // configuration, with a line when it differs from what was there.
    void refresh(int index, float r);
    void report(int index);

    AppContext &m_ctx;
};

} // namespace Tarvel
