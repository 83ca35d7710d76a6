#include "PollTimers.h"

#include "comm/DriveStatusText.h"

#include "PollDisplay.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "ports/LinkMonitor.h"
#include "ports/Prompter.h"

namespace Tarvel {

namespace {

const QString NotConnected = QStringLiteral("Not Connected");

// The commands a link makes usable ...
constexpr Command LinkCommands[] = {Command::Disconnect, Command::Upload, Command::Download, Command::Trend};
// ... and those a link makes pointless: one drive at a time.
constexpr Command OfflineCommands[] = {Command::AutoDetect, Command::Connect};

} // namespace

const QString PollTimers::OfflineText = QStringLiteral("Drive Status - Offline");
const QString PollTimers::CommErrorText = QStringLiteral("Drive Status - Communication Error");

PollTimers::PollTimers(AppContext &ctx, PollDisplay &display)
    : m_ctx(ctx)
    , m_display(display)
{ }

bool PollTimers::linkOpen() const
{
    return m_link && m_link->linkOpen();
}

void PollTimers::mainTick()
{
    if (m_inTick)
        return;
    m_inTick = true;
    m_ctx.trap(QStringLiteral("frmMain, tmrMain_Timer"), [&] {
        if (linkOpen()) {
            m_display.setConnectedPicture(true);
            // pollDrive reads status, status word and identity; its answer
            // already weighs the route (result code, or ST00.18 on Ethernet).
            if (m_link->pollDrive())
                linkGood();
            else if (!linkOpen())
                noLink(); // the user disconnected while a read waited: not a loss
            else
                linkLost();
        } else {
            noLink();
        }
        setFileCommands();
    });
    m_inTick = false;
}

void PollTimers::linkGood()
{
    m_display.setPanelText(2, driveStatusText());
    setLinkCommands(true);
    m_display.setCommandEnabled(Command::Keypad, true);
    // The series-1 drives have no PID loop to tune.
    m_display.setCommandEnabled(Command::Pid, NumberText::val(m_ctx.state.strDriveSeries) != 1);
}

void PollTimers::linkLost()
{
    m_display.setPanelText(2, CommErrorText);
    setLinkCommands(false);
    setIdentityNotConnected();
    // Closed before the message, so that ticks during the message box find
    // no link and the loss is told once.
    m_link->closeConnection();
    m_ctx.prompter().msgBox(QStringLiteral("Communication with the drive has been lost.\rPlease correct the problem "
                                           "and try again."),
        Msg::Critical, QStringLiteral("Communication Error"));
    m_ctx.state.strConnected = QStringLiteral("False");
}

void PollTimers::noLink()
{
    m_display.setPanelText(2, OfflineText);
    m_display.setConnectedPicture(false);
    setLinkCommands(false);
    setIdentityNotConnected();
}

void PollTimers::setLinkCommands(bool linkUsable)
{
    for (const Command c : LinkCommands)
        m_display.setCommandEnabled(c, linkUsable);
    for (const Command c : OfflineCommands)
        m_display.setCommandEnabled(c, !linkUsable);
    if (!linkUsable) {
        m_display.setCommandEnabled(Command::Pid, false);
        m_display.setCommandEnabled(Command::Keypad, false);
    }
}

void PollTimers::setFileCommands()
{
    const bool file = m_ctx.state.hasConfigFile();
    for (const Command c : {Command::Save, Command::Close, Command::Compare, Command::Update})
        m_display.setCommandEnabled(c, file);
    // Save As needs a configuration to write, not a file: a new one that
    // was never saved is what it is for.
    m_display.setCommandEnabled(Command::SaveAs, m_ctx.editor.tagNumber() != 0);
}

void PollTimers::setIdentityNotConnected()
{
    m_ctx.state.strDriveSeries = NotConnected;
    m_ctx.state.strDriveModel = NotConnected;
    m_ctx.state.strDriveRev = NotConnected;
}

QString PollTimers::driveStatusText() const
{
    const AppState &s = m_ctx.state;
    return DriveStatusText::panel2(s.DriveRunState, s.DriveDirection, s.DriveJogState);
}

void PollTimers::twoSecondTick()
{
    m_ctx.trap(QStringLiteral("frmMain, tmrMain2Sec_Timer"), [&] {
        const int tag = m_ctx.editor.tagNumber();
        m_display.setPanelText(1, linkOpen() && tag != 0 ? identityComparison() : QStringLiteral(" "));
        if (tag != 0)
            m_ctx.editor.setCaption(editorCaption());
        const bool ordinary = tag == 1;
        m_display.setCommandEnabled(Command::Schematic, ordinary);
        m_display.setCommandEnabled(Command::PrintConfig, ordinary);
    });
}

QString PollTimers::identityComparison() const
{
    const AppState &s = m_ctx.state;
    const auto same = [](const QString &a, const QString &b) { return NumberText::val(a) == NumberText::val(b); };
    const bool equal
        = same(s.strDriveSeries, s.strSeries) && same(s.strDriveModel, s.strModel) && same(s.strDriveRev, s.strRev);
    return equal ? QStringLiteral("Drive Series/Model/Rev Equal ")
                 : QStringLiteral("Drive Series/Model/Rev Not Equal ");
}

// The list text of P9.42 begins with the model code and a separator ("05 -
// ..."); from the fourth character on it names the model.
QString PollTimers::editorCaption() const
{
    const QString &rev = m_ctx.state.strRev;
    return QStringLiteral("  Detailed Config - Current Drive Model = ")
        + m_ctx.editor.cmbP(ParamTables::ModelIndex).text().mid(3) + QStringLiteral(",  Rev ") + rev.left(1) + u'.'
        + rev.right(2);
}

} // namespace Tarvel
