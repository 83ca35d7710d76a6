#include "UploadOperation.h"

#include "base/Logging.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "catalogue/DriveLookup.h"
#include "catalogue/ParamLoader.h"
#include "comm/CommFailureEnd.h"
#include "comm/CommLink.h"
#include "comm/ParameterReads.h"
#include "comm/RegisterTransactions.h"
#include "comm/TransferRows.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "ports/TransferWindows.h"
#include "rules/LoadedValueCheck.h"
#include "rules/UploadValidation.h"

namespace Tarvel {

namespace {

const QString UploadLocation = QStringLiteral("frmMain, mnuUpload_Click");
constexpr int CurvePatternIndex = 200; // P2.00

// 101 is written 1.01.
QString revisionText(const QString &rev)
{
    return rev.left(1) + u'.' + rev.right(2);
}

} // namespace

UploadOperation::UploadOperation(AppContext &ctx, TransferWindows &windows)
    : m_ctx(ctx)
    , m_windows(windows)
{ }

UploadOperation::Outcome UploadOperation::run()
{
    Outcome outcome = Outcome::Trapped;
    m_transactions = 0;
    m_replaced = 0;
    m_ctx.trap(UploadLocation, [&] { outcome = steps(); });
    return outcome;
}

UploadOperation::Outcome UploadOperation::steps()
{
    offerToSaveFirst();
    Prompter &prompter = m_ctx.prompter();
    if (!linkOpen()) {
        const int answer = prompter.msgBox(QStringLiteral("You don't appear to be connected to a drive.\r"
                                                          "Would you like to connect now?"),
            Msg::YesNo | Msg::Critical, QStringLiteral("No Connection Present"));
        if (answer == Msg::Yes)
            m_windows.showAutoDetect();
        return Outcome::NoLink;
    }
    const int proceed = prompter.msgBox(QStringLiteral("Any configuration information loaded in PC memory will be "
                                                       "overwritten. Do you wish to proceed?"),
        Msg::YesNo | Msg::Question, QStringLiteral("Verification Required"));
    if (proceed != Msg::Yes) {
        m_ctx.statusList.setCaption(StatusList::DefaultCaption);
        m_ctx.statusList.setStatus(QStringLiteral(" "));
        setPoll(true);
        return Outcome::Declined;
    }

    setBusy(true);
    setMain(false);
    setPoll(false);
    if (!DriveLookup(m_ctx).getDrive())
        return refuseUnsupportedDrive();

    prepare();
    const AppState &s = m_ctx.state;
    const QStringList fileDrive {s.strSeries, s.strModel, s.strRev};
    if (!ParamLoader(m_ctx).loadDrive({s.strDriveSeriesCode, s.strDriveModelCode, s.strDriveRevCode}))
        return loadFailed();
    releaseFileOfOtherDrive(fileDrive);
    return readAll();
}

// The editor now holds another drive's set than the open file may be for.
// Saved under that file's name it would turn the file into another drive's,
// so the file is let go and the next save asks for a name, as for a new
// configuration. The file of the very drive uploaded from stays open.
void UploadOperation::releaseFileOfOtherDrive(const QStringList &fileDrive)
{
    AppState &s = m_ctx.state;
    if (!s.hasConfigFile())
        return;
    const QStringList uploaded {s.strSeries, s.strModel, s.strRev};
    for (int i = 0; i < uploaded.size(); ++i) {
        if (NumberText::val(uploaded.at(i)) != NumberText::val(fileDrive.at(i))) {
            qCInfo(lcComm).noquote() << "upload from another drive than" << s.strConfigPath
                                     << "- the next save asks for a file name";
            s.strConfigPath = s.strConfigName = QStringLiteral(" ");
            m_ctx.hooks().updateCaption();
            return;
        }
    }
}

void UploadOperation::offerToSaveFirst()
{
    if (!m_ctx.state.blnConfigChanged || m_ctx.editor.tagNumber() == 0)
        return;
    const int answer = m_ctx.prompter().msgBox(
        QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?"),
        Msg::YesNo | Msg::Question, QStringLiteral("Unsaved Drive Config Data Exists"));
    if (answer == Msg::Yes)
        m_windows.saveConfiguration();
}

bool UploadOperation::linkOpen() const
{
    return m_ctx.link().serialOpen() || m_ctx.state.strConnected == QLatin1String("True");
}

UploadOperation::Outcome UploadOperation::refuseUnsupportedDrive()
{
    const int answer
        = m_ctx.prompter().msgBox(QStringLiteral("Program does not support connected drive model/rev.\r"
                                                 "Would you like to open the Current Config screen to view details?"),
            Msg::YesNo | Msg::Critical, QStringLiteral("Drive not supported"));
    if (answer == Msg::Yes)
        m_windows.showConfigInfo();
    m_ctx.errorLog().write(QStringLiteral("Connected Drive Not Supported"), QStringLiteral("Communication"),
        int(NumberText::val(m_ctx.state.strDriveRev)), QString());
    setMain(true);
    setBusy(false);
    setPoll(true);
    return Outcome::Unsupported;
}

void UploadOperation::prepare()
{
    setPoll(false);
    setPoll2Sec(false);
    StatusList &list = m_ctx.statusList;
    list.show();
    list.setPosition(0);
    list.setBarVisible(true);
    list.setActivity(QStringLiteral("Preparing To Upload"));
    list.setStatus(QStringLiteral("Preparing To Upload"));
    m_ctx.pause(1);
    list.addLine(QStringLiteral("Upload started ") + TextFile::generalDate() + u'.');
    list.setPosition(10);
}

UploadOperation::Outcome UploadOperation::loadFailed()
{
    setMain(true);
    setPoll(true);
    StatusList &list = m_ctx.statusList;
    list.setCaption(StatusList::DefaultCaption);
    list.setStatus(QStringLiteral(" "));
    list.addLine(QStringLiteral("Problem with retrieving Drive Information from database. Operation aborted."));
    list.setBarVisible(false);
    m_ctx.errHandler(0, QString(), UploadLocation + QStringLiteral(", getParamData Returned False"));
    return Outcome::LoadFailed;
}

UploadOperation::Outcome UploadOperation::readAll()
{
    StatusList &list = m_ctx.statusList;
    list.setActivity(QStringLiteral("Uploading Data From Drive"));
    list.setStatus(QStringLiteral("Uploading Data From Drive"));
    list.setPosition(1);

    // Every row is taken before the first read: no catalogue work between
    // two transactions, and the reads know the whole plan.
    const QVector<TransferRow> rows = TransferRows::load(m_ctx);
    const bool ethernet = m_ctx.state.strConnected == QLatin1String("True");
    ModbusMaster &mod1 = m_ctx.link().mod1();
    ParameterReads reads(m_ctx);
    reads.plan(TransferRows::addresses(rows));
    for (const TransferRow &row : rows) {
        list.setPosition(row.parameter);
        const qint16 value = reads.read(row.address, row.resolution, row.parameterText);
        m_transactions = reads.transactions();
        if (!ethernet) {
            mod1.waitWhileBusy();
            if (reads.resultCode() != 0)
                return commError(reads.resultCode());
        } else if (value == RegisterTransactions::FailureValue) {
            return aborted();
        }
        store(row, value);
    }
    return completed();
}

// One value read from the drive into the configuration. The value goes into
// the box first and is checked there, so that a value the check replaces by
// the default stays replaced, as the check's status-list line says.
void UploadOperation::store(const TransferRow &row, qint16 value)
{
    const int i = row.parameter;
    const float scaled = row.engineering(value);
    EditorForm &form = m_ctx.editor;
    form.txtP(i).setText(NumberText::single(scaled));
    if (m_ctx.params.blnListShown[i])
        selectEntry(i, scaled);
    if (!UploadValidation(m_ctx).validateUpload(i, NumberText::single(scaled)))
        ++m_replaced;
    if (i == CurvePatternIndex)
        LoadedValueCheck::setCustomCurveBoxes(form);
    m_ctx.params.varLastChance[i] = form.txtP(i).text();
}

// A choice list holds the position of its entry; the box then holds the
// entry's two-character code. P0.00 and P0.02 list the values themselves.
void UploadOperation::selectEntry(int index, float value)
{
    EditorForm &form = m_ctx.editor;
    ComboField &list = form.cmbP(index);
    if (ParamTables::listHoldsValue(index)) {
        list.setText(form.txtP(index).text());
        return;
    }
    const int k = int(value);
    if (index >= 302 && index <= 310) {
        // The multi-function inputs keep the drive's number in the box; 99
        // is their last entry ("not used").
        list.setListIndex(value == 99.0f ? list.listCount() - 1 : k);
        return;
    }
    if (k < 0 || k >= list.listCount()) {
        // No such entry: the check that follows replaces the value.
        list.setListIndex(-1);
        return;
    }
    list.setListIndex(k);
    form.txtP(index).setText(list.list().at(k).left(2));
}

UploadOperation::Outcome UploadOperation::completed()
{
    m_windows.showDetailedEditor();
    m_ctx.editor.setTag(QStringLiteral("1"));
    setBusy(false);
    StatusList &list = m_ctx.statusList;
    list.setCaption(StatusList::DefaultCaption);
    list.setStatus(QStringLiteral(" "));
    list.setBarVisible(false);
    const QString model = m_ctx.editor.cmbP(ParamTables::ModelIndex).text().mid(3);
    list.addLine(QStringLiteral("Upload of ") + QStringLiteral("Drive Model ") + model + QStringLiteral(", Rev. ")
        + revisionText(m_ctx.state.strDriveRev) + QStringLiteral(" completed ") + TextFile::generalDate() + u'.');
    m_ctx.state.blnConfigChanged = true;
    setPoll(true);
    setPoll2Sec(true);
    qCInfo(lcComm) << "upload completed in" << m_transactions << "transactions";
    const int answer = m_ctx.prompter().msgBox(QStringLiteral("The upload is complete.\r"
                                                              "Would you like to save your data?"),
        Msg::YesNo | Msg::Question, QStringLiteral("Upload Status"));
    if (answer == Msg::Yes)
        m_windows.saveConfiguration();
    setMain(true);
    list.show();
    return Outcome::Completed;
}

UploadOperation::Outcome UploadOperation::commError(int resultCode)
{
    CommFailureEnd::Ending ending;
    ending.caption = QStringLiteral(" Status List ");
    ending.logField1 = QStringLiteral("ModOCX Error");
    ending.logField2 = QStringLiteral("Communication");
    CommFailureEnd(m_ctx, ending).finish(resultCode);
    return Outcome::CommError;
}

UploadOperation::Outcome UploadOperation::aborted()
{
    m_ctx.prompter().msgBox(QStringLiteral("Upload was interrupted due to a communication issue.\r"
                                           "Some data may not have been retrieved from the drive."),
        Msg::Critical, QStringLiteral("Upload Aborted"));
    setMain(true);
    setPoll(true);
    StatusList &list = m_ctx.statusList;
    list.setCaption(StatusList::DefaultCaption);
    list.setStatus(QStringLiteral(" "));
    list.setBarVisible(false);
    m_ctx.errHandler(0, QString(), UploadLocation + QStringLiteral(", uploadWhile returned 32766"));
    return Outcome::Aborted;
}

void UploadOperation::setMain(bool enabled)
{
    m_ctx.hooks().setMainEnabled(enabled);
}

void UploadOperation::setBusy(bool busy)
{
    m_ctx.hooks().setBusyPointer(busy);
}

void UploadOperation::setPoll(bool enabled)
{
    m_ctx.hooks().setPollTimerEnabled(enabled);
}

void UploadOperation::setPoll2Sec(bool enabled)
{
    m_ctx.hooks().setPoll2SecTimerEnabled(enabled);
}

} // namespace Tarvel
