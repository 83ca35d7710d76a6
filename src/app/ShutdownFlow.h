#pragma once

#include <QString>

#include <functional>

namespace Tarvel {

class AppContext;

// The close path of the main window: "Are your sure you want to quit?",
// then the offer to save unsaved changes.
class ShutdownFlow
{
public:
    explicit ShutdownFlow(AppContext &ctx);

    // True when the program may end. caption is "Closing Tarvel" for the
    // close box and "Tarvel Closing" for File > Exit; save runs the main
    // window's Save command.
    bool confirmQuit(const QString &caption, const std::function<void()> &save);

    // The unsaved-changes test: blnConfigChanged and an editor Tag that is
    // a number other than 0.
    bool hasUnsavedChanges() const;

private:
    AppContext &m_ctx;
};

} // namespace Tarvel
