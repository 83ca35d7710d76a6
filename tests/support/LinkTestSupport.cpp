#include "LinkTestSupport.h"

#include "comm/PortMap.h"

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

} // namespace Tarvel::Test
