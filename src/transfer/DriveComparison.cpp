#include "DriveComparison.h"

#include "DownloadOperation.h"
#include "DownloadVerification.h"
#include "DriveReadout.h"
#include "base/TextFile.h"
#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "ports/TransferWindows.h"

namespace Tarvel {

namespace {

const QString CompareLocation = QStringLiteral("frmMain, mnuCompareDrive_Click");
const QString Activity = QStringLiteral("Comparing Configuration With Drive");

} // namespace

DriveComparison::DriveComparison(AppContext &ctx, TransferWindows &windows)
    : m_ctx(ctx)
    , m_windows(windows)
{ }

DriveComparison::Outcome DriveComparison::run()
{
    Outcome outcome = Outcome::Trapped;
    m_differences.clear();
    if (!m_ctx.trap(CompareLocation, [&] { outcome = steps(); })) {
        endDisplay();
        outcome = Outcome::Trapped;
    }
    return outcome;
}

bool DriveComparison::refused(Outcome *outcome)
{
    Prompter &prompter = m_ctx.prompter();
    const AppState &s = m_ctx.state;
    if (!m_ctx.link().linkOpen()) {
        if (prompter.msgBox(QStringLiteral("You don't appear to be connected to a drive.\r"
                                           "Would you like to connect now?"),
                Msg::YesNo | Msg::Critical, QStringLiteral("No Connection Present"))
            == Msg::Yes)
            m_windows.showAutoDetect();
        *outcome = Outcome::NoLink;
    } else if (const int tag = m_ctx.editor.tagNumber(); tag != 1 && tag != 3) {
        prompter.msgBox(QStringLiteral("You must have a configuration loaded to compare it with the drive."),
            Msg::Critical, QStringLiteral("Missing Configuration"));
        *outcome = Outcome::NoConfiguration;
    } else if (!DownloadOperation::identityMatches(s)) {
        prompter.msgBox(QStringLiteral("The connected drive (series %1, model %2, revision %3) is not the drive of "
                                       "this configuration (series %4, model %5, revision %6).\r"
                                       "Nothing was compared.")
                            .arg(s.strDriveSeries, s.strDriveModel, s.strDriveRev, s.strSeries, s.strModel, s.strRev),
            Msg::Critical, QStringLiteral("Drive Mismatch"));
        *outcome = Outcome::Mismatch;
    } else {
        return false;
    }
    return true;
}

DriveComparison::Outcome DriveComparison::steps()
{
    Outcome outcome = Outcome::Trapped;
    if (refused(&outcome))
        return outcome;
    ShellHooks &hooks = m_ctx.hooks();
    hooks.setBusyPointer(true);
    hooks.setMainEnabled(false);
    StatusList &list = m_ctx.statusList;
    list.show();
    list.setActivity(Activity);
    list.setStatus(Activity);
    list.setBarVisible(true);
    list.addLine(QStringLiteral("Compare with drive started ") + TextFile::generalDate() + u'.');
    DriveReadout readout(m_ctx);
    const bool read = readout.readAll(QStringLiteral(" in basCom_CompareDrive()."));
    m_transactions = readout.transactions();
    if (!read) {
        hooks.setMainEnabled(true);
        return Outcome::CommError;
    }
    compareValues(readout);
    list.addLine(QStringLiteral("Compare with drive complete %1. Parameters that differ: %2.")
                     .arg(TextFile::generalDate())
                     .arg(m_differences.size()));
    endDisplay();
    return m_differences.isEmpty() ? Outcome::Same : Outcome::Differs;
}

void DriveComparison::compareValues(const DriveReadout &readout)
{
    const QString configuration = QStringLiteral("Configuration");
    const QString drive = QStringLiteral("Drive");
    for (const DriveReadout::Value &v : readout.values()) {
        const int i = v.row.parameter;
        if (DownloadVerification::configuredRegister(m_ctx, i) == double(v.registerValue))
            continue;
        const ParamDifference d {
            i, ParamText::name(m_ctx.editor.lblP(i).caption()), m_ctx.editor.txtP(i).text(), v.text()};
        m_differences << d;
        m_ctx.statusList.addLine(FileDifferences::line(d, configuration, drive));
    }
}

void DriveComparison::endDisplay()
{
    StatusList &list = m_ctx.statusList;
    list.setBarVisible(false);
    list.setCaption(StatusList::DefaultCaption);
    list.setStatus(QStringLiteral(" "));
    m_ctx.hooks().setMainEnabled(true);
    m_ctx.hooks().setBusyPointer(false);
    m_ctx.hooks().setPollTimerEnabled(true);
}

} // namespace Tarvel
