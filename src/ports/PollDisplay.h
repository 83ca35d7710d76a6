#pragma once

class QString;

namespace Tarvel {

// What the poll timers change on the main window: status bar panels, the
// connection picture and which commands may be used. Commands are named as
// the window names them: menu items by their item name ("mnuUpload"),
// toolbar buttons by their key ("Upload").
class PollDisplay
{
public:
    virtual ~PollDisplay() = default;
    virtual void setPanelText(int panel, const QString &text) = 0;
    virtual void setConnectedPicture(bool connected) = 0;
    virtual void setCommandEnabled(const QString &name, bool enabled) = 0;
};

} // namespace Tarvel
