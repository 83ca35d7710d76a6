#pragma once

#include "SimProcess.h"
#include "TestSupport.h"

#include "app/PollDisplay.h"
#include "comm/CommLink.h"
#include "ports/ShellHooks.h"

#include <QStringList>

namespace Tarvel::Test {

// Records what core code asks of the main window, in order:
// "poll on", "poll off", "2s on", "2s off", "busy", "idle"; the window's
// enabled state and caption updates apart from them.
class RecordingHooks : public ShellHooks
{
public:
    QStringList calls;
    bool mainEnabled = true;
    int captionUpdates = 0;
    void setPollTimerEnabled(bool enabled) override { calls << (enabled ? "poll on" : "poll off"); }
    void setPoll2SecTimerEnabled(bool enabled) override { calls << (enabled ? "2s on" : "2s off"); }
    void setBusyPointer(bool busy) override { calls << (busy ? "busy" : "idle"); }
    void setMainEnabled(bool enabled) override { mainEnabled = enabled; }
    void updateCaption() override { ++captionUpdates; }
};

// The main window's status bar as the poll timers change it: panel 2, each
// change once.
class Panel2Recorder : public PollDisplay
{
public:
    QStringList panel2;
    void setPanelText(int panel, const QString &text) override
    {
        if (panel == 2 && (panel2.isEmpty() || panel2.last() != text))
            panel2 << text;
    }
    void setConnectedPicture(bool) override { }
    void setCommandEnabled(Command, bool) override { }
};

// A program with a simulated QX2 drive (02,05,120).
class LinkFixture
{
public:
    explicit LinkFixture(const QStringList &simArguments = {});
    ~LinkFixture();
    // Starts the simulator behind Com 1; false (with the reason in `error`) when not.
    bool start(QString *error);
    // Starts it and opens the link as connectSimulator does, then forgets
    // the hook calls so far.
    bool connect(QString *error, bool ethernet = false);
    // Starts it on TCP behind the device connectSimulator names, not connected.
    bool serve(QString *error);
    TempProgram &program() { return m_program; }
    AppContext &ctx() { return m_program.ctx(); }
    ScriptedPrompter &prompter() { return m_program.prompter(); }
    QStringList errorLogLines() const { return m_program.errorLogLines(); }
    CommLink &link() { return m_program.ctx().link(); }
    SimProcess &sim() { return m_sim; }
    RecordingHooks hooks;

    // Opens the link as the connection dialog would, node 1 RTU 19200,E,8,1.
    int openRtu();

private:
    TempProgram m_program;
    SimProcess m_sim;
};

// Starts `sim` and opens the link to it as a user does: on the serial link
// behind Com 1, node 1 RTU 19200,E,8,1; on the Ethernet route as device
// Channel1.Drive1 of server Tarvel.KOLV.1, whose definition file in the
// program folder is pointed at the simulator. Only the link's own message
// box ("Ethernet Connection Established") is left in the prompter.
bool connectSimulator(TempProgram &program, SimProcess &sim, bool ethernet, QString *error);

} // namespace Tarvel::Test

// Verifies an expression that sets `error` when it fails, showing the reason.
#define VERIFY_WITH_ERROR(expression)                                                                                  \
    do {                                                                                                               \
        QString error;                                                                                                 \
        QVERIFY2((expression), qPrintable(error));                                                                     \
    } while (false)
