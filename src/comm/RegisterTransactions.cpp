#include "RegisterTransactions.h"

#include "CommLink.h"
#include "EthernetItems.h"
#include "base/Logging.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"

namespace Tarvel {

namespace {

constexpr int EthernetErrorNumber = 9999;
constexpr int KolvLinkGoodSlot = 16; // ST00.18 among StatusValues

} // namespace

RegisterTransactions::RegisterTransactions(AppContext &ctx)
    : m_ctx(ctx)
    , m_link(ctx.link())
{ }

bool RegisterTransactions::ethernet() const
{
    return m_ctx.state.strConnected == QLatin1String("True");
}

void RegisterTransactions::settleBefore(double classicSeconds)
{
    // The classic pause gave a polling read still on the line time to end.
    // Waiting for the component to be idle does that exactly; the master
    // itself keeps the silence the line needs between frames, so nothing
    // more is added unless the user asked for the classic pacing.
    m_ctx.pause(classicSeconds);
    m_link.mod1().waitWhileBusy();
}

void RegisterTransactions::logResult(int code, const QString &location)
{
    qCWarning(lcComm).noquote() << "Mod1 returned" << code << ModbusMaster::resultText(code) << location.trimmed();
    m_ctx.errorLog().write(QStringLiteral("Mod1 retuned "), QStringLiteral("status code "), code, location);
}

void RegisterTransactions::setPollTimer(bool enabled)
{
    m_ctx.hooks().setPollTimerEnabled(enabled);
}

void RegisterTransactions::setBothTimers(bool enabled)
{
    setPollTimer(enabled);
    m_ctx.hooks().setPoll2SecTimerEnabled(enabled);
}

// The Ethernet module reports in ST00.18 whether it still reaches the drive;
// without that nothing it would answer can be trusted.
bool RegisterTransactions::moduleLost(const QString &location)
{
    if (m_ctx.state.StatusValues[KolvLinkGoodSlot] != 0)
        return false;
    m_ctx.prompter().msgBox(QStringLiteral("The QX KOLV is indicating a loss of communication to the drive.\r"
                                           "Check all connections and settings."),
        Msg::Critical, QStringLiteral("Communication Problem"));
    m_ctx.errorLog().write(
        QStringLiteral("QX KOLV sending "), QStringLiteral("1 for ST0.18 "), EthernetErrorNumber, location);
    return true;
}

void RegisterTransactions::logState(int state, const QString &location)
{
    qCWarning(lcComm).noquote() << "OPCData1 returned state" << state << location.trimmed();
    m_ctx.errorLog().write(
        QStringLiteral("OPCData1 retuned state "), QString::number(state), EthernetErrorNumber, location);
}

QString RegisterTransactions::itemName(int address, const QString &suffix) const
{
    return m_ctx.state.OPCDevicePath + ParamText::registerTag(address) + suffix;
}

qint16 RegisterTransactions::ethernetRead(int address, const QString &parameterText, const QString &location)
{
    m_lastResult = ModbusMaster::NotStarted;
    if (moduleLost(location))
        return FailureValue;
    // A caller may name the item's tag itself ("P06.31@Word"); a catalogue
    // parameter is named by its index, anything else by its register.
    QString name;
    bool isIndex = false;
    const int index = parameterText.toInt(&isIndex);
    if (parameterText.contains(u'@'))
        name = m_ctx.state.OPCDevicePath + parameterText;
    else if (isIndex)
        name = m_ctx.state.OPCDevicePath + ParamText::linkTag(index, QStringLiteral("@Word"));
    else
        name = itemName(address, QStringLiteral("@Word"));
    QVariant value;
    int quality = 0;
    EthernetItems *items = m_link.ethernetItems();
    const int state = items ? items->readItem(name, &value, &quality) : ModbusMaster::NotStarted;
    if (state != EthernetItems::Success || quality != EthernetItems::GoodQuality) {
        m_lastResult = state != EthernetItems::Success ? state : ModbusMaster::NotStarted;
        logState(state, location);
        return FailureValue;
    }
    m_lastResult = ModbusMaster::Success;
    return qint16(value.toInt());
}

int RegisterTransactions::ethernetWrite(int address, qint16 value, const QString &location)
{
    EthernetItems *items = m_link.ethernetItems();
    const QString name = itemName(address, QStringLiteral("@WORD"));
    const int state = items ? items->writeItem(name, value) : ModbusMaster::NotStarted;
    // Callers go on either way; the log keeps the failure.
    if (state != EthernetItems::Success)
        logState(state, location);
    return state;
}

qint16 RegisterTransactions::uploadWhile(int address, int count, float resolution, const QString &parameterText)
{
    (void)resolution; // the transactions never scale
    const QString location = QStringLiteral(" in basCom_UploadWhile().");
    if (ethernet())
        return ethernetRead(address, parameterText, location);
    ModbusMaster &mod1 = m_link.mod1();
    setPollTimer(false);
    settleBefore(0.4);
    mod1.setStartOffset(0);
    mod1.setRegisterCount(count);
    mod1.setStartRegister(address);
    mod1.setFunctionCode(ModbusMaster::ReadRegisters);
    mod1.trigger();
    mod1.waitWhileBusy();
    // A refused start (-1: port closed, bad address) is as much a failure
    // as an answer that never came: the values would be an older read's.
    const int code = mod1.resultCode();
    m_lastResult = code;
    if (code != ModbusMaster::Success) {
        logResult(code, location);
        return FailureValue; // the poll timer stays off; the caller decides
    }
    const qint16 value = mod1.registerValue(0);
    setPollTimer(true);
    return value;
}

void RegisterTransactions::upload(int address, int count)
{
    if (ethernet())
        return; // the OPC data links deliver their values themselves
    ModbusMaster &mod1 = m_link.mod1();
    setPollTimer(false);
    mod1.setStartOffset(0);
    mod1.setRegisterCount(count);
    mod1.setStartRegister(address);
    mod1.setFunctionCode(ModbusMaster::ReadRegisters);
    mod1.trigger();
    // Read at once: this is the outcome of the read before, which is how a
    // failed polling read reaches the log without anyone waiting for it.
    const int code = mod1.resultCode();
    if (code > 0)
        logResult(code, QStringLiteral(" in basCom_Upload()."));
    setPollTimer(true);
}

int RegisterTransactions::download1(int address, qint16 value)
{
    const QString location = QStringLiteral(" in basCom_Download1().");
    if (ethernet()) {
        setBothTimers(false);
        const int state = ethernetWrite(address, value, location);
        setBothTimers(true);
        return state;
    }
    ModbusMaster &mod1 = m_link.mod1();
    mod1.waitWhileBusy();
    setBothTimers(false);
    mod1.setStartOffset(0);
    mod1.setRegisterValue(0, value);
    mod1.setStartRegister(address);
    mod1.setFunctionCode(ModbusMaster::WriteRegister);
    mod1.trigger();
    m_ctx.pause(0.1);
    // The write's own result, not the one before it, even when the line is
    // slower than the classic 0.1 s.
    mod1.waitWhileBusy();
    const int code = mod1.resultCode();
    if (code != ModbusMaster::Success)
        logResult(code, location);
    setBothTimers(true);
    return code;
}

} // namespace Tarvel
