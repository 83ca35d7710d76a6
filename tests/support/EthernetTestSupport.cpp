#include "EthernetTestSupport.h"

#include "ethernet/ServerDefinition.h"

#include <QDir>
#include <QFile>

namespace Tarvel::Test {

EthernetFixture::EthernetFixture(const QStringList &simArguments)
    : m_sim(QStringList {QStringLiteral("--drive"), QStringLiteral("02,05,120")} + simArguments)
{ }

EthernetFixture::~EthernetFixture()
{
    ctx().link().disconnectLink();
}

bool EthernetFixture::connect(QString *error)
{
    if (!m_sim.startTcp(error))
        return false;
    const QString servers = ctx().paths().serversDir();
    QDir().mkpath(servers);
    QFile file(ServerDefinition::filePath(servers, QLatin1String(ProgId)));
    const QString host = m_sim.readyTarget().section(u':', 0, 0);
    const QString port = m_sim.readyTarget().section(u':', 1);
    if (!file.open(QIODevice::WriteOnly)
        || file.write(
               QStringLiteral("[%1]\r\nhost=%2\r\nport=%3\r\n").arg(QLatin1String(Device), host, port).toLatin1())
            < 0) {
        *error = file.errorString();
        return false;
    }
    file.close();
    route().setServerProgID(QLatin1String(ProgId));
    route().connectDevice(QLatin1String(Device));
    if (ctx().state.StatusValues[16] != 1) {
        *error = QStringLiteral("the device did not answer: ST00.18 is not 1");
        return false;
    }
    return true;
}

} // namespace Tarvel::Test
