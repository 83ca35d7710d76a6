#pragma once

#include "SimProcess.h"
#include "TestSupport.h"

namespace Tarvel::Test {

// A program on the Ethernet route to a simulated QX2 drive (02,05,120):
// qxsim --tcp, a server definition file naming it, and the connect of the
// connection dialog's OPC branch (link 1 started).
class EthernetFixture
{
public:
    static constexpr const char *ProgId = "Tarvel.KOLV.1";
    static constexpr const char *Device = "Channel1.Drive1";

    explicit EthernetFixture(const QStringList &simArguments = {});
    // Disconnects before the simulator goes.
    ~EthernetFixture();
    // Starts the simulator and connects; false with the reason in `error`.
    bool connect(QString *error);

    AppContext &ctx() { return m_program.ctx(); }
    ScriptedPrompter &prompter() { return m_program.prompter(); }
    EthernetRoute &route() { return *m_program.ctx().ethernet(); }
    SimProcess &sim() { return m_sim; }

private:
    TempProgram m_program;
    SimProcess m_sim;
};

} // namespace Tarvel::Test
