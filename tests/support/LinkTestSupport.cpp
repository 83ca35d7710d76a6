#include "LinkTestSupport.h"

#include "comm/PortMap.h"
#include "ethernet/EthernetRoute.h"

#include <QDir>
#include <QSettings>

namespace Tarvel::Test {

namespace {

bool serveSimulator(TempProgram &program, SimProcess &sim, QString *error)
{
    if (!sim.startTcp(error) || !QDir(program.dir()).mkpath(QStringLiteral("Data/Servers")))
        return false;
    QSettings server(program.path(QStringLiteral("Data/Servers/Tarvel.KOLV.1.ini")), QSettings::IniFormat);
    server.setValue(QStringLiteral("Channel1.Drive1/host"), sim.readyTarget().section(u':', 0, 0));
    server.setValue(QStringLiteral("Channel1.Drive1/port"), sim.readyTarget().section(u':', 1));
    server.sync();
    return true;
}

} // namespace

LinkFixture::LinkFixture(const QStringList &simArguments)
    : m_sim(QStringList {QStringLiteral("--drive"), QStringLiteral("02,05,120")} + simArguments)
{
    m_program.ctx().setHooks(&hooks);
}

LinkFixture::~LinkFixture()
{
    link().disconnectLink(); // before the simulator goes
}

bool LinkFixture::start(QString *error)
{
    if (!m_sim.startPty(error))
        return false;
    link().mod1().setPortMap(PortMap(QStringList {m_sim.link()}));
    return true;
}

bool LinkFixture::connect(QString *error, bool ethernet)
{
    if (!connectSimulator(m_program, m_sim, ethernet, error)) {
        if (error->isEmpty())
            *error = QStringLiteral("the link did not open");
        return false;
    }
    hooks.calls.clear();
    return true;
}

bool LinkFixture::serve(QString *error)
{
    return serveSimulator(m_program, m_sim, error);
}

int LinkFixture::openRtu()
{
    SerialLinkSettings settings;
    return link().openSerial(settings);
}

bool connectSimulator(TempProgram &program, SimProcess &sim, bool ethernet, QString *error)
{
    AppContext &ctx = program.ctx();
    if (!ethernet) {
        if (!sim.startPty(error))
            return false;
        ctx.link().mod1().setPortMap(PortMap(QStringList {sim.link()}));
        return ctx.link().openSerial(SerialLinkSettings {}) == 0;
    }
    if (!serveSimulator(program, sim, error))
        return false;
    ctx.ethernet()->setServerProgID(QStringLiteral("Tarvel.KOLV.1"));
    ctx.ethernet()->connectDevice(QStringLiteral("Channel1.Drive1"));
    return ctx.link().linkOpen();
}

} // namespace Tarvel::Test
