#include "DownloadOperation.h"

#include "DownloadVerification.h"
#include "DriveBackup.h"
#include "ReadonlyRefresh.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "comm/CommLink.h"
#include "comm/EthernetItems.h"
#include "comm/ModbusMaster.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "ports/TransferWindows.h"

namespace Tarvel {

namespace {

const QString Location = QStringLiteral("frmMain, mnuDownload_Click");
const QString CommErrorLocation = QStringLiteral(" in basCom_DownloadAll().");
constexpr int EthernetErrorNumber = 9999;

QString stamped(const QString &words)
{
    return words + TextFile::generalDate() + u'.';
}

} // namespace

DownloadOperation::DownloadOperation(AppContext &ctx, TransferWindows &windows)
    : m_ctx(ctx)
    , m_windows(windows)
{ }

DownloadOperation::Outcome DownloadOperation::run()
{
    Outcome outcome = Outcome::Trapped;
    m_ctx.trap(Location, [&] { outcome = command(); });
    return outcome;
}

DownloadOperation::Outcome DownloadOperation::downloadAll(
    const QString &table, const QString &series, const QString &model, const QString &rev)
{
    // Called from the command, DownloadAll has no trap of its own: its
    // faults end under the command's.
    Outcome outcome = Outcome::Trapped;
    m_ctx.trap(Location, [&] { outcome = downloadSteps(table, series, model, rev); });
    return outcome;
}

DownloadOperation::Outcome DownloadOperation::command()
{
    if (const std::optional<Outcome> refused = refusal())
        return *refused;
    const int answer
        = m_ctx.prompter().msgBox(QStringLiteral("The setup in the QX AC Drive is about to be overwritten!\r"
                                                 "Are you sure you want to continue?"),
            Msg::YesNo | Msg::Exclamation, QStringLiteral("Confirm Download"));
    if (answer == Msg::No)
        return Outcome::Declined;
    m_backupPath.clear();
    if (m_backup && !backUp())
        return Outcome::BackupFailed;
    m_ctx.prompter().msgBox(QStringLiteral("Please ensure the drive keypad is in 'Display Mode'."), Msg::Information,
        QStringLiteral("Prepare Drive"));
    const AppState &s = m_ctx.state;
    return downloadSteps(QStringLiteral("qryTabParams"), s.strSeries, s.strModel, s.strRev);
}

std::optional<DownloadOperation::Outcome> DownloadOperation::refusal()
{
    Prompter &prompter = m_ctx.prompter();
    if (!m_ctx.link().linkOpen()) {
        const int answer = prompter.msgBox(QStringLiteral("You don't appear to be connected to a drive.\r"
                                                          "Would you like to connect now?"),
            Msg::YesNo | Msg::Critical, QStringLiteral("No Connection Present"));
        if (answer == Msg::Yes)
            m_windows.showAutoDetect();
        return Outcome::NoLink;
    }
    const int tag = m_ctx.editor.tagNumber();
    if (tag != 1 && tag != 3) {
        prompter.msgBox(QStringLiteral("You must have a configuration loaded to download to the drive."), Msg::Critical,
            QStringLiteral("Missing Configuration"));
        setPollTimer(true);
        return Outcome::NoConfiguration;
    }
    if (!identityMatches(m_ctx.state)) {
        prompter.msgBox(QStringLiteral("Current configuration does not match connected drive type and/or firmware "
                                       "version.\r"
                                       "From the 'Utilities' menu, click 'Current Config' and then 'Display Config "
                                       "Information' \r"
                                       "for details on the model and firmware version of the currently connected "
                                       "drive."),
            Msg::Critical, QStringLiteral("Drive Mismatch"));
        return Outcome::Mismatch;
    }
    if (m_ctx.state.DriveRunState != QLatin1String("STOP")) {
        prompter.msgBox(QStringLiteral("Drive must be stopped before downloading.\r"
                                       "Press the Stop button on the drive's keypad and try again."),
            Msg::Critical, QStringLiteral("Drive Is Running!"));
        setPollTimer(true);
        return Outcome::DriveRunning;
    }
    return std::nullopt;
}

bool DownloadOperation::identityMatches(const AppState &s)
{
    // The drive reports plain numbers ("2", "5", "120") where the
    // configuration holds codes ("02", "05", "120"): compared as numbers.
    return NumberText::val(s.strDriveSeries) == NumberText::val(s.strSeries)
        && NumberText::val(s.strDriveModel) == NumberText::val(s.strModel)
        && NumberText::val(s.strDriveRev) == NumberText::val(s.strRev);
}

// The drive may hold the only good copy of its settings: they are saved
// before anything is written, and a download that cannot save them does
// not write.
bool DownloadOperation::backUp()
{
    StatusList &list = m_ctx.statusList;
    setBusy(true);
    list.show();
    const QString activity = QStringLiteral("Saving Drive Settings");
    list.setActivity(activity);
    list.setStatus(activity);
    list.setBarVisible(true);
    DriveBackup backup(m_ctx);
    const bool saved = backup.save();
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
    list.setCaption(StatusList::DefaultCaption);
    setBusy(false);
    if (saved) {
        m_backupPath = backup.path();
        list.addLine(QStringLiteral("Drive settings saved to ") + m_backupPath);
        return true;
    }
    list.addLine(QStringLiteral("Download stopped: ") + backup.failure()
        + QStringLiteral(". The drive's settings were not saved, so nothing was written."));
    // A link failure has had its own message.
    if (!backup.linkFailed())
        m_ctx.prompter().msgBox(QStringLiteral("The drive's settings could not be saved before the download:\r")
                + backup.failure() + QStringLiteral(".\rNothing was written to the drive."),
            Msg::Critical, QStringLiteral("Backup Failed"));
    setPollTimer(true);
    return false;
}

DownloadOperation::Outcome DownloadOperation::downloadSteps(
    const QString &table, const QString &series, const QString &model, const QString &rev)
{
    m_writeTransactions = 0;
    StatusList &list = m_ctx.statusList;
    setBusy(true);
    list.show();
    list.addLine(stamped(QStringLiteral("Download started ")));
    list.setBarVisible(true);

    const QString readonlyActivity = QStringLiteral("Getting 'Read Only' Info From Drive");
    list.setActivity(readonlyActivity);
    list.setStatus(readonlyActivity);
    // Its failure end has done every line, message and log entry.
    if (!ReadonlyRefresh(m_ctx).getReadonly())
        return Outcome::CommError;

    list.setActivity(QStringLiteral("Downloading Config To Drive"));
    list.setStatus(QStringLiteral("Downloading Configuration To Drive"));
    const Plan plan = planWrites(table, series, model, rev);
    if (!writePlan(plan))
        return Outcome::CommError;

    const Outcome outcome = verify();
    setBusy(false);
    return outcome;
}

DownloadOperation::Plan DownloadOperation::planWrites(
    const QString &table, const QString &series, const QString &model, const QString &rev)
{
    // Every value is worked out before the first write: a value that does
    // not fit a register would otherwise stop the download halfway, and a
    // drive left with half of one configuration and half of another may run
    // a motor with settings nobody chose.
    Plan plan(GroupCount);
    std::unique_ptr<Catalogue> db = connectDB(m_ctx);
    for (int g = 0; g < GroupCount; ++g) {
        RecordSet rows = db->query(QStringLiteral("Select * From ") + table + QStringLiteral(" WHERE Series = '")
            + series + QStringLiteral("' AND MODEL = '") + model + QStringLiteral("' AND REV = '") + rev
            + QStringLiteral("' AND P = '") + QString::number(g) + QStringLiteral("' AND READONLY = False"));
        plan[g].reserve(rows.recordCount());
        for (; !rows.eof(); rows.moveNext())
            plan[g] << planRow(
                rows.field(QStringLiteral("Parameter")).toInt(), rows.field(QStringLiteral("Address")).toInt());
    }
    db->release();
    return plan;
}

ParameterWrite DownloadOperation::planRow(int index, int address)
{
    const QString &text = m_ctx.editor.txtP(index).text();
    ParameterWrite row {index, address, 0};
    if (!ParameterWrites::registerValue(NumberText::val(text), m_ctx.params.sngResolution[index], &row.value))
        refuseOverflow(index, text);
    return row;
}

void DownloadOperation::refuseOverflow(int index, const QString &text)
{
    // The trap only logs; the status list tells the user why the download
    // stopped and that the drive was not touched.
    StatusList &list = m_ctx.statusList;
    list.addLine(QStringLiteral("Download stopped: the value ") + text.trimmed() + QStringLiteral(" of ")
        + ParamText::parameterNumber(index) + QStringLiteral(" does not fit a drive register. Nothing was written."));
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
    list.setCaption(StatusList::DefaultCaption);
    throw TrappedError(Err::Overflow);
}

bool DownloadOperation::writePlan(const Plan &plan)
{
    const bool ethernet = m_ctx.state.strConnected == QLatin1String("True");
    ParameterWrites writes(m_ctx);
    for (int g = 0; g < GroupCount; ++g) {
        m_ctx.statusList.setPosition(g * 100);
        if (plan[g].isEmpty())
            continue;
        setPollTimer(false);
        if (ethernet) {
            if (!writeItems(plan[g]))
                return false;
            continue;
        }
        const int code = writes.writeGroup(plan[g]);
        m_writeTransactions = writes.transactions();
        if (code != ModbusMaster::Success) {
            commErrorEnd(QStringLiteral("Mod1 retuned "), QStringLiteral("status code "), code);
            return false;
        }
    }
    return true;
}

// The Ethernet route writes item by item through the first data link.
bool DownloadOperation::writeItems(const QVector<ParameterWrite> &rows)
{
    EthernetItems *items = m_ctx.link().ethernetItems();
    for (const ParameterWrite &row : rows) {
        const QString name = m_ctx.state.OPCDevicePath + ParamText::linkTag(row.index);
        const int state = items ? items->writeItem(name, row.value) : ModbusMaster::NotStarted;
        ++m_writeTransactions;
        m_ctx.pause(0.1);
        if (state != EthernetItems::Success) {
            commErrorEnd(QStringLiteral("OPCData1 retuned state "), QString::number(state), EthernetErrorNumber);
            return false;
        }
    }
    return true;
}

DownloadOperation::Outcome DownloadOperation::verify()
{
    StatusList &list = m_ctx.statusList;
    const QString activity = QStringLiteral("Verifying Download");
    list.setActivity(activity);
    list.setStatus(activity);
    list.addLine(stamped(QStringLiteral("Verification started ")));
    const bool agreed = DownloadVerification(m_ctx).logicCheck();
    if (agreed) {
        list.addLine(stamped(QStringLiteral("Download & Verification complete ")));
        list.setBarVisible(false);
        list.setCaption(StatusList::DefaultCaption);
        list.setStatus(QStringLiteral(" "));
        m_ctx.prompter().msgBox(
            QStringLiteral("Download Complete."), Msg::Information, QStringLiteral("Download Status"));
        setPollTimer(true);
        return Outcome::Verified;
    }
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
    list.setCaption(StatusList::DefaultCaption);
    m_ctx.prompter().msgBox(
        QStringLiteral("A validation check has indicated that some data may not have been written \r"
                       "to the drive. Check the Status List for details."),
        Msg::Critical, QStringLiteral("Download Failure"));
    // A check that lost the link closed it after its own error message: the
    // values were not all compared, which is not the same as a difference.
    return m_ctx.link().linkOpen() ? Outcome::VerifyFailed : Outcome::CommError;
}

void DownloadOperation::commErrorEnd(const QString &logText1, const QString &logText2, int number)
{
    StatusList &list = m_ctx.statusList;
    m_ctx.hooks().setMainEnabled(true);
    m_ctx.link().closeConnection();
    list.addLine(stamped(QStringLiteral("Operation aborted due to comm error ")));
    list.setStatus(QStringLiteral(" "));
    list.setBarVisible(false);
    list.setCaption(QStringLiteral(" Status List "));
    m_ctx.prompter().msgBox(QStringLiteral("A communication problem has been encountered.\r"
                                           "Please correct the problem and restart the operation."),
        Msg::Critical, QStringLiteral("Error"));
    m_ctx.errorLog().write(logText1, logText2, number, CommErrorLocation);
    // The window must not be left with the hourglass, nor without the poll
    // that shows the link is now closed.
    m_ctx.hooks().setBusyPointer(false);
    setPollTimer(true);
}

void DownloadOperation::setBusy(bool busy)
{
    ShellHooks &hooks = m_ctx.hooks();
    if (busy) {
        hooks.setBusyPointer(true);
        hooks.setMainEnabled(false);
    } else {
        hooks.setMainEnabled(true);
        hooks.setBusyPointer(false);
    }
}

void DownloadOperation::setPollTimer(bool enabled)
{
    m_ctx.hooks().setPollTimerEnabled(enabled);
}

} // namespace Tarvel
