#include "LinkTestSupport.h"

#include "comm/PortMap.h"
#include "ethernet/EthernetRoute.h"

#include <QDir>
#include <QSettings>

namespace Tarvel::Test {

LinkFixture::LinkFixture(const QStringList &simArguments)
    : m_sim(QStringList {QStringLiteral("--drive"), QStringLiteral("02,05,120")} + simArguments)
{
    m_program.ctx().setHooks(&hooks);
}

bool LinkFixture::start(QString *error)
{
    if (!m_sim.startPty(error))
        return false;
    link().mod1().setPortMap(PortMap(QStringList {m_sim.link()}));
    return true;
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
    if (!sim.startTcp(error) || !QDir(program.dir()).mkpath(QStringLiteral("Data/Servers")))
        return false;
    QSettings server(program.path(QStringLiteral("Data/Servers/Tarvel.KOLV.1.ini")), QSettings::IniFormat);
    server.setValue(QStringLiteral("Channel1.Drive1/host"), sim.readyTarget().section(u':', 0, 0));
    server.setValue(QStringLiteral("Channel1.Drive1/port"), sim.readyTarget().section(u':', 1));
    server.sync();
    ctx.ethernet()->setServerProgID(QStringLiteral("Tarvel.KOLV.1"));
    ctx.ethernet()->connectDevice(QStringLiteral("Channel1.Drive1"));
    return ctx.link().linkOpen();
}

} // namespace Tarvel::Test
