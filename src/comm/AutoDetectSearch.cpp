#include "AutoDetectSearch.h"

#include "CommLink.h"
#include "PortAccess.h"
#include "base/ErrorCodes.h"
#include "base/Logging.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"

#include <algorithm>

namespace Tarvel {

const QString AutoDetectSearch::Caption = QStringLiteral("  Auto-Detect Drive");
const QString AutoDetectSearch::NoPortText = QStringLiteral("Select Port");

namespace {

// Speeds from slow to fast, each with the three character formats of the
// protocol list; drives leave the factory at the slow end.
const char *const kSpeeds[] = {"4800", "9600", "19200", "38400"};
const char *const kAsciiFormats[] = {",N,7,2", ",E,7,1", ",O,7,1"};
const char *const kRtuFormats[] = {",N,8,2", ",E,8,1", ",O,8,1"};

// The quick search's time-out: the link test's request and answer on the
// wire, half again for adapters that hand bytes over late, and the drive's
// turnaround; never below what a USB adapter's latency needs.
constexpr int kRtuTestChars = 8 + 7;
constexpr int kAsciiTestChars = 17 + 15;
constexpr int kTurnaroundMs = 20;
constexpr int kQuickMinimumMs = 30;

} // namespace

AutoDetectSearch::AutoDetectSearch(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_link(ctx.link())
    , m_devices(PortMap::devices())
{ }

QStringList AutoDetectSearch::ports() const
{
    QStringList names;
    for (int i = 0; i < PortMap::Count; ++i)
        names << m_link.mod1().portMap().displayName(i);
    for (const PortMap::Device &device : m_devices)
        names << device.label;
    return names;
}

void AutoDetectSearch::choosePort(int index)
{
    const bool device = index >= PortMap::Count && index < PortMap::Count + m_devices.size();
    m_port = device ? -1 : index;
    m_target = device ? m_devices.at(index - PortMap::Count).path : QString();
}

QString AutoDetectSearch::format(int asciiMode, int position)
{
    if (position < 0 || position >= FormatsPerFraming)
        return {};
    const char *const *formats = asciiMode ? kAsciiFormats : kRtuFormats;
    return QLatin1String(kSpeeds[position / 3]) + QLatin1String(formats[position % 3]);
}

QString AutoDetectSearch::modeText(int asciiMode)
{
    return asciiMode ? QStringLiteral(" - ASCII Mode - ") : QStringLiteral(" - RTU Mode - ");
}

void AutoDetectSearch::setNodeRange(int first, int last)
{
    m_firstNode = std::clamp(first, FirstNode, QuickLastNode);
    m_lastNode = std::clamp(last, m_firstNode, QuickLastNode);
}

QList<AutoDetectSearch::Attempt> AutoDetectSearch::quickOrder()
{
    QList<Attempt> order {{0, QStringLiteral("19200,E,8,1")}, {0, QStringLiteral("9600,E,8,1")},
        {1, QStringLiteral("19200,E,7,1")}, {1, QStringLiteral("9600,E,7,1")}};
    const QList<Attempt> common = order;
    for (int asciiMode : {0, 1}) {
        for (int position = 0; position < FormatsPerFraming; ++position) {
            const Attempt attempt {asciiMode, format(asciiMode, position)};
            const bool listed = std::any_of(common.cbegin(), common.cend(), [&](const Attempt &a) {
                return a.asciiMode == attempt.asciiMode && a.portSettings == attempt.portSettings;
            });
            if (!listed)
                order << attempt;
        }
    }
    return order;
}

int AutoDetectSearch::quickTimeOut(int asciiMode, const QString &portSettings)
{
    const std::optional<SerialFormat> parsed = SerialFormat::parse(portSettings);
    if (!parsed)
        return TimeOut;
    const auto wire = parsed->characterTime() * (asciiMode ? kAsciiTestChars : kRtuTestChars);
    const int ms = int(wire.count() * 3 / 2 / 1000) + kTurnaroundMs;
    return std::max(ms, kQuickMinimumMs);
}

bool AutoDetectSearch::detect()
{
    m_cancel = false;
    m_found = {};
    ShellHooks &hooks = m_ctx.hooks();
    hooks.setBusyPointer(true);
    hooks.setPollTimerEnabled(false);
    m_searching = true;
    const bool ran = m_ctx.trap(QStringLiteral("frmAutoDetect, cmdTryComPort_Click"), [this] {
        try {
            search();
        } catch (const TrappedError &e) {
            const auto message = PortAccess::forError(e);
            if (!message)
                throw;
            // No try can work on a port that cannot be opened; the search
            // ends with the message and nothing left open.
            m_link.mod1().setPortOpen(false);
            restoreWindow();
            m_ctx.prompter().msgBox(message->text, Msg::Exclamation, message->title);
        }
    });
    if (!ran)
        m_link.mod1().setPortOpen(false);
    m_searching = false;
    Q_EMIT changed();
    return m_found.node != 0;
}

void AutoDetectSearch::search()
{
    if (m_port < 0 && m_target.isEmpty()) {
        restoreWindow();
        m_ctx.prompter().msgBox(QStringLiteral("Please select a com port from the drop down box."), Msg::Exclamation,
            QStringLiteral("Information Needed."));
        Q_EMIT portFocusRequested();
        return;
    }
    m_link.closeConnection();
    m_state = QStringLiteral(" ");
    m_lines.clear();
    m_tries = 0;
    Q_EMIT changed();
    if (m_quick) {
        if (searchQuick())
            restoreWindow();
        return;
    }
    ModbusMaster &mod1 = prepareLinkTest();
    mod1.setTimeOut(TimeOut);
    for (int node = FirstNode; node <= LastNode; ++node) {
        mod1.setNodeAddress(QString::number(node));
        for (int asciiMode : {1, 0}) {
            for (int position = 0; position < FormatsPerFraming; ++position) {
                switch (tryOne(node, asciiMode, format(asciiMode, position))) {
                case Try::Answered:
                    succeed(node, asciiMode, format(asciiMode, position));
                    restoreWindow();
                    return;
                case Try::Cancelled:
                    return; // pointer and poll timer stay as they are
                case Try::NoAnswer:
                    break;
                }
            }
        }
    }
    restoreWindow();
}

// Both searches ask each combination the link test's question: one
// register read from the chosen port.
ModbusMaster &AutoDetectSearch::prepareLinkTest()
{
    ModbusMaster &mod1 = m_link.mod1();
    mod1.setCommPort(std::max(0, m_port));
    mod1.setConnectionTarget(m_target);
    mod1.setStartOffset(0);
    mod1.setRegisterCount(1);
    mod1.setStartRegister(CommLink::LinkTestRegister);
    mod1.setFunctionCode(ModbusMaster::ReadRegisters);
    return mod1;
}

bool AutoDetectSearch::searchQuick()
{
    ModbusMaster &mod1 = prepareLinkTest();
    // One format over every node on a port that stays open: reopening the
    // port for each try would cost more than the try itself.
    for (const Attempt &attempt : quickOrder()) {
        mod1.setTimeOut(quickTimeOut(attempt.asciiMode, attempt.portSettings));
        for (int node = m_firstNode; node <= m_lastNode; ++node) {
            mod1.setNodeAddress(QString::number(node));
            int at = node;
            Try outcome = tryOne(at, attempt.asciiMode, attempt.portSettings);
            // An answer from another node is most likely the previous node's,
            // later than the short time-out: that node gets a full one.
            if (outcome == Try::NoAnswer && mod1.resultCode() == ModbusMaster::WrongNode && node > m_firstNode) {
                at = node - 1;
                mod1.setNodeAddress(QString::number(at));
                mod1.setTimeOut(TimeOut);
                outcome = tryOne(at, attempt.asciiMode, attempt.portSettings);
                mod1.setTimeOut(quickTimeOut(attempt.asciiMode, attempt.portSettings));
            }
            switch (outcome) {
            case Try::Answered:
                succeed(at, attempt.asciiMode, attempt.portSettings);
                return true;
            case Try::Cancelled:
                return false; // pointer and poll timer stay as they are
            case Try::NoAnswer:
                break;
            }
        }
        mod1.setPortOpen(false);
    }
    return true;
}

AutoDetectSearch::Try AutoDetectSearch::tryOne(int node, int asciiMode, const QString &settings)
{
    ModbusMaster &mod1 = m_link.mod1();
    if (m_cancel) {
        mod1.setPortOpen(false);
        m_cancel = false;
        return Try::Cancelled;
    }
    mod1.setAsciiMode(asciiMode);
    // Set only when it changes: on a port kept open (the quick search) each
    // setting reconfigures the line.
    if (mod1.portSettings() != settings)
        mod1.setPortSettings(settings);
    mod1.setPortOpen(true);
    ++m_tries;
    report(QStringLiteral("Trying Node Address ") + QString::number(node) + modeText(asciiMode) + settings);
    mod1.trigger();
    mod1.waitWhileBusy();
    // Only a real answer counts: a read the component refused to start
    // (-1, e.g. node addresses past 247) found nothing either.
    if (mod1.resultCode() == ModbusMaster::Success && !m_cancel)
        return Try::Answered;
    if (!m_quick)
        mod1.setPortOpen(false);
    return Try::NoAnswer;
}

void AutoDetectSearch::report(const QString &line)
{
    m_lines.prepend(line);
    m_state = line;
    Q_EMIT changed();
}

void AutoDetectSearch::succeed(int node, int asciiMode, const QString &settings)
{
    m_found = {node, asciiMode, settings};
    const QString where = QString::number(node) + modeText(asciiMode) + settings;
    m_lines.prepend(QStringLiteral("Node Address ") + where + QStringLiteral(" - Succeeded"));
    m_link.setPanel4Text(QStringLiteral("Node ") + where + QStringLiteral(" "));
    m_state = QStringLiteral("Connection established to Node Address ") + where;
    qCInfo(lcComm).noquote() << "auto-detect found node" << where;
    Q_EMIT changed();
}

void AutoDetectSearch::restoreWindow()
{
    ShellHooks &hooks = m_ctx.hooks();
    hooks.setBusyPointer(false);
    hooks.setPollTimerEnabled(true);
}

void AutoDetectSearch::cancel()
{
    m_cancel = true;
    // Closing the port ends the try on the line at once instead of at its
    // time-out; the search then sees the flag before its next try.
    if (m_searching)
        m_link.mod1().setPortOpen(false);
}

} // namespace Tarvel
