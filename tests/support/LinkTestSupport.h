#pragma once

#include "SimProcess.h"
#include "TestSupport.h"

#include "comm/CommLink.h"
#include "ports/ShellHooks.h"

#include <QStringList>

namespace Tarvel::Test {

// Records what core code asks of the main window, in order:
// "poll on", "poll off", "2s on", "2s off", "busy", "idle".
class RecordingHooks : public ShellHooks
{
public:
    QStringList calls;
    void setPollTimerEnabled(bool enabled) override { calls << (enabled ? "poll on" : "poll off"); }
    void setPoll2SecTimerEnabled(bool enabled) override { calls << (enabled ? "2s on" : "2s off"); }
    void setBusyPointer(bool busy) override { calls << (busy ? "busy" : "idle"); }
};

// A program with a simulated QX2 drive (02,05,120) behind Com 1.
class LinkFixture
{
public:
    explicit LinkFixture(const QStringList &simArguments = {});
    // Starts the simulator; false (with the reason in `error`) when not.
    bool start(QString *error);
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
