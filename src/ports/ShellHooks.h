#pragma once

class QString;

namespace Tarvel {

// What core code may ask of the main window without knowing it: the error
// handler puts the window back into a usable state through these, and long
// operations show their progress in the window's caption.
class ShellHooks
{
public:
    virtual ~ShellHooks() = default;
    virtual void setMainEnabled(bool enabled) { (void)enabled; }
    virtual void setBusyPointer(bool busy) { (void)busy; }
    // tmrMain, the one-second poll of the drive.
    virtual void setPollTimerEnabled(bool enabled) { (void)enabled; }
    // tmrMain2Sec, the identity comparison; a register write stops both.
    virtual void setPoll2SecTimerEnabled(bool enabled) { (void)enabled; }
    // A temporary caption such as "Tarvel - Saving Configuration File".
    virtual void setMainCaption(const QString &caption) { (void)caption; }
    // Rebuild the caption from strConfigName.
    virtual void updateCaption() { }
    // Open a document with the desktop's default handler (the report).
    virtual bool openDocument(const QString &path)
    {
        (void)path;
        return false;
    }
};

} // namespace Tarvel
