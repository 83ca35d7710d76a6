#include "CommLink.h"

#include "DriveValues.h"
#include "EthernetItems.h"
#include "base/Logging.h"
#include "model/AppState.h"

namespace Tarvel {

QString SerialLinkSettings::framingWord() const
{
    return asciiMode ? QStringLiteral("ASCII MODE") : QStringLiteral("RTU MODE");
}

CommLink::CommLink(AppState &state, QObject *parent)
    : QObject(parent)
    , m_state(state)
{
    connect(&m_mod1, &ModbusMaster::done, this, &CommLink::onDone);
}

bool CommLink::ethernetOpen() const
{
    return m_state.strConnected == QLatin1String("True");
}

int CommLink::openSerial(const SerialLinkSettings &settings)
{
    m_mod1.setNodeAddress(settings.nodeAddress);
    m_mod1.setCommPort(settings.commPort);
    m_mod1.setConnectionTarget(settings.target);
    m_mod1.setAsciiMode(settings.asciiMode);
    m_mod1.setPortSettings(settings.portSettings);
    m_mod1.setPortOpen(true);
    return testRead();
}

int CommLink::testRead()
{
    m_mod1.waitWhileBusy();
    m_mod1.setTimeOut(LinkTestTimeOut);
    m_mod1.setStartOffset(0);
    m_mod1.setRegisterCount(1);
    m_mod1.setStartRegister(LinkTestRegister);
    m_mod1.setFunctionCode(ModbusMaster::ReadRegisters);
    m_mod1.trigger();
    m_mod1.waitWhileBusy();
    return m_mod1.resultCode();
}

void CommLink::closeConnection()
{
    m_mod1.setPortOpen(false);
    if (m_ethernet)
        m_ethernet->stopItems();
    // A route whose subscription ended is no open link: nothing would keep
    // ST00.18 current, so the polling would trust a stale "good".
    m_state.strConnected = QStringLiteral("False");
    qCInfo(lcComm) << "link closed";
    setPanel4Text(QStringLiteral("Off-Line "));
    setPanel4Connected(false);
}

void CommLink::disconnectLink()
{
    closeConnection();
    m_state.strConnected = QStringLiteral("False");
}

void CommLink::setPanel4Text(const QString &text)
{
    if (text == m_panel4Text)
        return;
    m_panel4Text = text;
    Q_EMIT panel4Changed();
}

void CommLink::setPanel4Connected(bool connected)
{
    if (connected == m_panel4Connected)
        return;
    m_panel4Connected = connected;
    Q_EMIT panel4Changed();
}

void CommLink::onDone()
{
    // Mod1_Done: only a successful read carries drive values; a failed one
    // leaves the old values in the component, and writes echo what we sent.
    if (m_mod1.resultCode() != ModbusMaster::Success || m_mod1.functionCode() != ModbusMaster::ReadRegisters)
        return;
    DriveValues::store(
        m_state, m_mod1.startRegister(), m_mod1.registerCount(), [this](int i) { return m_mod1.registerValue(i); });
}

} // namespace Tarvel
