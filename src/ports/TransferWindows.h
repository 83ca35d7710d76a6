#pragma once

namespace Tarvel {

// What the drive transfer commands need of the program's windows. The main
// window implements it with its dialogs; the command line with its own
// messages. Kept to four calls so the core operations stay free of widgets.
class TransferWindows
{
public:
    virtual ~TransferWindows() = default;
    // "Would you like to connect now?" answered Yes.
    virtual void showAutoDetect() = 0;
    // "Drive not supported" answered Yes; the window may not exist yet.
    virtual void showConfigInfo() = 0;
    // The main window's Save command.
    virtual void saveConfiguration() = 0;
    // Shown after a completed upload.
    virtual void showDetailedEditor() = 0;
};

} // namespace Tarvel
