#pragma once

#include "Command.h"

class QString;

namespace Tarvel {

// What the poll timers change on the main window: status bar panels, the
// connection picture and which commands may be used (a command's menu item
// and toolbar buttons together).
class PollDisplay
{
public:
    virtual ~PollDisplay() = default;
    virtual void setPanelText(int panel, const QString &text) = 0;
    virtual void setConnectedPicture(bool connected) = 0;
    virtual void setCommandEnabled(Command command, bool enabled) = 0;
};

} // namespace Tarvel
