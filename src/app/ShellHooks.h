#pragma once

namespace Tarvel {

// What core code may ask of the main window without knowing it: the error
// handler puts the window back into a usable state through these.
class ShellHooks
{
public:
    virtual ~ShellHooks() = default;
    virtual void setMainEnabled(bool enabled) { (void)enabled; }
    virtual void setBusyPointer(bool busy) { (void)busy; }
    virtual void setPollTimerEnabled(bool enabled) { (void)enabled; }
};

} // namespace Tarvel
