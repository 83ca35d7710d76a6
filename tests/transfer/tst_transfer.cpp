// Parameter transfers against the simulated drive: upload, the read-only
// refresh, download and the check after it.
#include "TransferTestSupport.h"
#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"
#include "files/ConfigFile.h"
#include "model/ParamText.h"
#include "transfer/DownloadOperation.h"
#include "transfer/DownloadVerification.h"
#include "transfer/DriveBackup.h"
#include "transfer/DriveComparison.h"
#include "transfer/ReadonlyRefresh.h"
#include "transfer/UploadOperation.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <climits>
#include <cmath>

#include "TestMain.h"

using namespace Tarvel;
using namespace Tarvel::Test;

Q_DECLARE_METATYPE(Tarvel::DownloadOperation::Outcome)

namespace {

constexpr int ShortTimeOut = 300; // for transactions meant to fail

// Values that differ from the defaults, by parameter index, and the
// registers the drive must then hold (box value x 1 / resolution).
const QMap<int, QString> Changes {{101, "50.5"}, {203, "3"}, {209, "1.25"}, {403, "-60.5"}, {501, "60.5"}};
const QMap<int, int> ChangedRegisters {{258, 505}, {516, 3}, {522, 125}, {1028, -605}, {1282, 605}};

// A program linked to the simulated drive 02,05,120.
struct Session : LinkFixture
{
    using LinkFixture::LinkFixture;
    // The identity the polling reads from the simulated drive.
    void polled(const QString &rev = QStringLiteral("120"))
    {
        ctx().state.strDriveSeries = QStringLiteral("2");
        ctx().state.strDriveModel = QStringLiteral("5");
        ctx().state.strDriveRev = rev;
    }
    // Linked, with the identity the polling reads and the drive stopped.
    bool start(QString *error)
    {
        if (!connect(error))
            return false;
        ctx().state.DriveRunState = QStringLiteral("STOP");
        polled();
        return true;
    }
    // The drive's defaults as the configuration, the status list empty.
    bool load()
    {
        if (!ParamLoader(ctx()).getParamData(ctx().editor, "qryTabParams", "'02'", "'05'", "'120'"))
            return false;
        ctx().state.strSeries = QStringLiteral("02");
        ctx().state.strModel = QStringLiteral("05");
        ctx().state.strRev = QStringLiteral("120");
        ctx().editor.setTag(QStringLiteral("1"));
        ctx().statusList.clear();
        hooks.calls.clear();
        return true;
    }
    // Started with Changes on the defaults as the configuration, and polled
    // (polling reads blocks: a drive that refuses them is taken as polled).
    bool configure(QString *error, bool poll = true)
    {
        if (!start(error) || !load())
            return false;
        for (auto it = Changes.cbegin(); it != Changes.cend(); ++it)
            ctx().editor.txtP(it.key()).setText(it.value());
        return !poll || SerialLinkMonitor(ctx()).pollDrive();
    }
    UploadOperation::Outcome upload() { return UploadOperation(ctx(), windows).run(); }
    DownloadOperation::Outcome run(bool yes = true)
    {
        prompter().setAnswerYes(yes);
        return DownloadOperation(ctx(), windows).run();
    }
    // Every parameter register of the drive, by address.
    QMap<int, int> registers()
    {
        QMap<int, int> values;
        for (const TransferRow &row : driveRows(ctx()))
            values[row.address] = RegisterTransactions(ctx()).uploadWhile(row.address, 1);
        return values;
    }
    QStringList lines(const QString &part = QString()) { return ctx().statusList.lines().filter(part); }
    ScriptedPrompter::Message lastMessage() { return prompter().messages().constLast(); }
    int writableRows() { return int(TransferRows::load(ctx(), QStringLiteral(" AND READONLY = False")).size()); }

    RecordingWindows windows;
};

} // namespace

// The Upload command against the simulated drive, in single-register and
// block mode.
namespace Upload {

namespace {

constexpr int FailingRow = 10; // the row a fault test makes fail, counted from 1

// Values the drive is given before the upload, away from its defaults, by
// register: P0.07 1.2 (default 1.1) in row 8 and P9.33 60.5 (default 0) in
// row 212, on either side of the row the fault tests make fail.
const QMap<int, qint16> Marks {{8, 12}, {2338, 605}};

void writeMarks(AppContext &ctx)
{
    for (auto it = Marks.cbegin(); it != Marks.cend(); ++it)
        RegisterTransactions(ctx).download1(it.key(), it.value());
}

} // namespace

class TestUpload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void uploadRound_data()
    {
        // How blocks fall back when the drive refuses them is ParameterReads' own test.
        QTest::addColumn<int>("saveAnswer");
        QTest::addColumn<QString>("openFileDrive"); // empty: no file open
        QTest::addColumn<bool>("fileKept");
        QTest::addColumn<bool>("block");
        QTest::newRow("saved") << int(Msg::Yes) << QString() << false << false;
        QTest::newRow("file of this drive kept") << int(Msg::Yes) << "02,05,120" << true << false;
        // Saving must ask for a name rather than turn a QX-1 file into a QX-2's.
        QTest::newRow("file of another drive let go") << int(Msg::Yes) << "01,03,104" << false << false;
        QTest::newRow("block reads, not saved") << int(Msg::No) << QString() << false << true;
    }
    void uploadRound()
    {
        QFETCH(int, saveAnswer);
        QFETCH(QString, openFileDrive);
        QFETCH(bool, fileKept);
        Session bench;
        VERIFY_WITH_ERROR(bench.start(&error));
        AppContext &ctx = bench.ctx();
        // The drive differs from its defaults: a plain number, a choice list and
        // the custom V/Hz curve that unlocks P2.04 to P2.07.
        writeMarks(ctx);
        RegisterTransactions(ctx).download1(ParamText::registerNumber(300), 2);
        RegisterTransactions(ctx).download1(ParamText::registerNumber(200), 3);
        ctx.state.blnConfigChanged = false;
        if (!openFileDrive.isEmpty()) {
            const QStringList drive = openFileDrive.split(u',');
            ctx.state.strSeries = drive.at(0);
            ctx.state.strModel = drive.at(1);
            ctx.state.strRev = drive.at(2);
            ctx.state.strConfigPath = QDir::temp().filePath("F.qxc");
            ctx.state.strConfigName = "F.qxc";
        }
        bench.prompter().enqueue(Msg::Yes);
        bench.prompter().enqueue(saveAnswer);
        bench.hooks.calls.clear();
        QFETCH(bool, block);
        ctx.link().setBlockTransfer(block);
        QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

        // The window keeps repainting while the upload waits on the drive (a
        // block upload is too short to count on).
        int ticks = 0;
        QTimer repaint;
        QObject::connect(&repaint, &QTimer::timeout, [&] { ++ticks; });
        repaint.start(5);
        QCOMPARE(bench.upload(), UploadOperation::Outcome::Completed);
        repaint.stop();
        QVERIFY2(block || ticks >= 10, qPrintable(QString::number(ticks)));
        const QVector<TransferRow> rows = driveRows(ctx);
        QVERIFY2(block ? transactions.count() * 5 <= rows.size() : transactions.count() == rows.size(),
            qPrintable(QStringLiteral("%1 transactions").arg(transactions.count())));

        // Every value is the drive's register times its resolution.
        for (const TransferRow &row : rows) {
            const QString text = ctx.editor.txtP(row.parameter).text();
            const qint16 reg = RegisterTransactions(ctx).uploadWhile(row.address, 1, row.resolution, QString());
            QVERIFY2(std::lround(NumberText::val(text) / row.resolution) == reg,
                qPrintable(QStringLiteral("P%1 %2 vs %3").arg(row.parameter).arg(text).arg(reg)));
            QCOMPARE(ctx.params.varLastChance[row.parameter].toString(), text);
        }
        QCOMPARE(ctx.editor.txtP(7).text(), "1.2");
        QCOMPARE(ctx.editor.cmbP(300).listIndex(), 2);
        QCOMPARE(ctx.editor.txtP(300).text(), ctx.editor.cmbP(300).list().at(2).left(2));
        QVERIFY(ctx.editor.txtP(204).enabled() && ctx.editor.txtP(207).enabled());

        const QStringList lines = ctx.statusList.lines();
        QVERIFY(lines.first().startsWith("Upload started "));
        QVERIFY2(
            lines.last().startsWith("Upload of Drive Model QX-2-0P7H, Rev. 1.20 completed "), qPrintable(lines.last()));
        QVERIFY(lines.filter(" - P3.00 - Value different from default. Value = 2 Default = 0").size() == 1);
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QCOMPARE(ctx.statusList.status(), " ");
        QVERIFY(!ctx.statusList.barVisible() && ctx.statusList.isShown());

        QCOMPARE(ctx.editor.tag(), "1");
        QVERIFY(ctx.state.blnConfigChanged);
        QCOMPARE(bench.prompter().titles(), (QStringList {"Verification Required", "Upload Status"}));
        QCOMPARE(bench.prompter().messages().last().text, "The upload is complete.\rWould you like to save your data?");
        const QStringList expectedWindows
            = saveAnswer == Msg::Yes ? QStringList {"editor", "save"} : QStringList {"editor"};
        QCOMPARE(bench.windows.calls, expectedWindows);
        QVERIFY(bench.hooks.mainEnabled);
        QCOMPARE(bench.hooks.calls.first(), "busy");
        QVERIFY(bench.hooks.calls.contains("2s off") && bench.hooks.calls.contains("2s on"));
        QCOMPARE(bench.errorLogLines(), QStringList());
        QCOMPARE(ctx.state.hasConfigFile(), fileKept);
        QCOMPARE(bench.hooks.captionUpdates > 0, !openFileDrive.isEmpty() && !fileKept);
    }
    void refusals_data()
    {
        // The drive is asked nothing and the configuration stays. Without a
        // link an unsaved configuration is offered for saving first, then the
        // search for a drive.
        QTest::addColumn<QString>("rev"); // of the simulated drive; empty: no link
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<QStringList>("titles");
        QTest::addColumn<QString>("text"); // of the last message
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("windows");
        QTest::addColumn<QStringList>("log");
        QTest::addColumn<QString>("hooks");
        const int noLink = int(UploadOperation::Outcome::NoLink);
        const QStringList offer {"No Connection Present"};
        const QString connect = "You don't appear to be connected to a drive.\rWould you like to connect now?";
        const int critical = Msg::YesNo | Msg::Critical;
        QTest::newRow("no link, connect now")
            << "" << false << "1" << QList<int> {Msg::Yes} << noLink << offer << connect << critical
            << QStringList {"auto detect"} << QStringList() << "";
        QTest::newRow("no link, not now") << "" << false << "1" << QList<int> {Msg::No} << noLink << offer << connect
                                          << critical << QStringList() << QStringList() << "";
        QTest::newRow("no link, changed, saved")
            << "" << true << "1" << QList<int> {Msg::Yes, Msg::No} << noLink
            << QStringList {"Unsaved Drive Config Data Exists", "No Connection Present"} << connect << critical
            << QStringList {"save"} << QStringList() << "";
        QTest::newRow("no link, editor never loaded") << "" << true << "0" << QList<int> {Msg::No} << noLink << offer
                                                      << connect << critical << QStringList() << QStringList() << "";
        QTest::newRow("declined")
            << "120" << false << "0" << QList<int> {Msg::No} << int(UploadOperation::Outcome::Declined)
            << QStringList {"Verification Required"}
            << "Any configuration information loaded in PC memory will be overwritten. Do you wish to proceed?"
            << (Msg::YesNo | Msg::Question) << QStringList() << QStringList() << "poll on";
        const int unsupported = int(UploadOperation::Outcome::Unsupported);
        const QStringList titles {"Verification Required", "Drive not supported"};
        const QString text = "Program does not support connected drive model/rev.\r"
                             "Would you like to open the Current Config screen to view details?";
        const QStringList logged {"Connected Drive Not Supported, Communication, 199, "};
        const QString reads = "busy,poll off,poll off,poll on,idle,poll on";
        QTest::newRow("unsupported, view details")
            << "199" << false << "0" << QList<int> {Msg::Yes, Msg::Yes} << unsupported << titles << text << critical
            << QStringList {"config info"} << logged << reads;
        QTest::newRow("unsupported, do not") << "199" << false << "0" << QList<int> {Msg::Yes, Msg::No} << unsupported
                                             << titles << text << critical << QStringList() << logged << reads;
    }
    void refusals()
    {
        QFETCH(QString, rev);
        Session bench({"--identity", "02,05," + rev});
        if (!rev.isEmpty())
            VERIFY_WITH_ERROR(bench.start(&error));
        AppContext &ctx = bench.ctx();
        bench.polled(rev.isEmpty() ? "120" : rev);
        ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'");
        ctx.editor.txtP(101).setText("33.3");
        ctx.state.blnConfigChanged = cell<bool>("changed");
        ctx.editor.setTag(cell<QString>("tag"));
        const QStringList before = editorSnapshot(ctx);
        const QStringList linesBefore = ctx.statusList.lines();
        for (int answer : cell<QList<int>>("answers"))
            bench.prompter().enqueue(answer);
        bench.hooks.calls.clear();
        QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

        QTEST(int(bench.upload()), "outcome");
        QTEST(bench.prompter().titles(), "titles");
        QTEST(bench.prompter().messages().last().text, "text");
        QTEST(bench.prompter().messages().last().style, "style");
        QTEST(bench.windows.calls, "windows");
        QCOMPARE(transactions.count(), 0);
        QCOMPARE(editorSnapshot(ctx), before);
        QCOMPARE(ctx.statusList.lines(), linesBefore);
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QCOMPARE(ctx.statusList.status(), rev == "120" ? " " : ""); // a declined upload clears the label
        QStringList log;
        for (const QString &line : bench.errorLogLines())
            log << logEntry(line);
        QTEST(log, "log");
        QVERIFY(bench.hooks.mainEnabled);
        QTEST(bench.hooks.calls.join(u','), "hooks");
    }
    void linkFault()
    {
        // Before the upload the simulator answers the link test and the two
        // mark writes, then the upload's rows up to FailingRow. How each kind
        // of failure gets its code is the master's own test.
        Session bench({"--stop-after", QString::number(FailingRow + 2)});
        VERIFY_WITH_ERROR(bench.start(&error));
        AppContext &ctx = bench.ctx();
        ctx.link().mod1().setTimeOut(ShortTimeOut);
        writeMarks(ctx);
        ctx.state.blnConfigChanged = false;
        bench.prompter().enqueue(Msg::Yes);

        QCOMPARE(bench.upload(), UploadOperation::Outcome::CommError);

        // Rows before the failure hold the drive's values, the failing row and
        // the rows after it the catalogue defaults.
        QCOMPARE(ctx.editor.txtP(7).text(), "1.2");
        QCOMPARE(ctx.editor.txtP(933).text(), "0");
        QCOMPARE(ctx.params.varLastChance[7].toString(), "1.2");
        QVERIFY(ctx.editor.tag() != "1");

        QCOMPARE(ctx.statusList.position(), 101); // P1.01, the failing row
        QCOMPARE(bench.prompter().titles(), (QStringList {"Verification Required", "Error"}));
        const QStringList log = bench.errorLogLines();
        QCOMPARE(commFailureEnd(bench, " Status List ", "basCom_UploadWhile()", ModbusMaster::TimeOut), QString());
        QCOMPARE(log.size(), 2);
        QCOMPARE(logEntry(log.last()), "ModOCX Error, Communication, 300, "); // the time-out's code
        QVERIFY(bench.hooks.mainEnabled);
        QCOMPARE(bench.windows.calls, QStringList()); // nothing saved: the upload saves only through the window
    }
    void ethernetAbortedEnd()
    {
        // No Ethernet device was chosen: the first read fails, and the upload
        // ends through its aborted end instead of waiting on a link it lacks.
        Session bench;
        AppContext &ctx = bench.ctx();
        ctx.state.strConnected = "True";
        ctx.state.StatusValues[16] = 1; // the module still reaches the drive
        bench.polled();
        bench.prompter().enqueue(Msg::Yes);

        QCOMPARE(bench.upload(), UploadOperation::Outcome::Aborted);
        QCOMPARE(bench.prompter().titles(), (QStringList {"Verification Required", "Upload Aborted"}));
        QCOMPARE(bench.prompter().messages().last().text,
            "Upload was interrupted due to a communication issue.\rSome data may not have been retrieved from the "
            "drive.");
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QVERIFY(!ctx.statusList.barVisible());
        const QStringList log = bench.errorLogLines();
        QVERIFY(!log.isEmpty());
        QCOMPARE(logEntry(log.last()), "frmMain, mnuUpload_Click, uploadWhile returned 32766, Program, 0, ");
        QVERIFY(bench.hooks.mainEnabled);
    }
};

} // namespace Upload

// The Download command against the simulated drive, and the safety net
// around it: Compare With Drive and the backup before a download writes.
namespace Download {

using Outcome = DownloadOperation::Outcome;

class TestDownload : public QObject
{
    Q_OBJECT

    // Write transactions Mod1 made from now on.
    static std::shared_ptr<int> countWrites(ModbusMaster &mod1)
    {
        auto writes = std::make_shared<int>(0);
        QObject::connect(&mod1, &ModbusMaster::done, [writes, &mod1] {
            if (mod1.functionCode() == ModbusMaster::DownloadRegisters)
                ++*writes;
        });
        return writes;
    }

private Q_SLOTS:
    void registerValue_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<float>("resolution");
        QTest::addColumn<int>("expected"); // INT_MIN: does not fit
        QTest::newRow("50.5 at 0.1") << 50.5 << 0.1f << 505;
        QTest::newRow("1.25 at 0.01") << 1.25 << 0.01f << 125;
        QTest::newRow("tie to even down") << 2.5 << 1.0f << 2;
        QTest::newRow("tie to even up") << 3.5 << 1.0f << 4;
        QTest::newRow("negative tie") << -2.5 << 1.0f << -2;
        QTest::newRow("largest register") << 3276.7 << 0.1f << 32767;
        QTest::newRow("smallest register") << -3276.8 << 0.1f << -32768;
        QTest::newRow("one past largest") << 3276.8 << 0.1f << INT_MIN;
        QTest::newRow("one past smallest") << -32769.0 << 1.0f << INT_MIN;
        QTest::newRow("no resolution") << 1.0 << 0.0f << INT_MIN;
    }
    void registerValue()
    {
        QFETCH(double, value);
        QFETCH(float, resolution);
        QFETCH(int, expected);
        qint16 out = 0;
        QCOMPARE(ParameterWrites::registerValue(value, resolution, &out), expected != INT_MIN);
        if (expected != INT_MIN)
            QCOMPARE(int(out), expected);
    }
    void refusals_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<QString>("setup");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QString>("title");
        QTest::addColumn<QString>("text");
        const QString mismatch = QStringLiteral(
            "Current configuration does not match connected drive type and/or firmware version.\r"
            "From the 'Utilities' menu, click 'Current Config' and then 'Display Config Information' \r"
            "for details on the model and firmware version of the currently connected drive.");
        QTest::newRow("no link") << QStringList() << "close" << Outcome::NoLink << "No Connection Present"
                                 << "You don't appear to be connected to a drive.\rWould you like to connect now?";
        QTest::newRow("no configuration")
            << QStringList() << "tag 0" << Outcome::NoConfiguration << "Missing Configuration"
            << "You must have a configuration loaded to download to the drive.";
        for (const char *identity : {"03,05,120", "02,06,120", "02,05,121"})
            QTest::addRow("drive %s", identity)
                << QStringList {"--identity", identity} << "" << Outcome::Mismatch << "Drive Mismatch" << mismatch;
        QTest::newRow("running") << QStringList() << "run" << Outcome::DriveRunning << "Drive Is Running!"
                                 << "Drive must be stopped before downloading.\r"
                                    "Press the Stop button on the drive's keypad and try again.";
        QTest::newRow("not confirmed") << QStringList() << "no" << Outcome::Declined << "Confirm Download"
                                       << "The setup in the QX AC Drive is about to be overwritten!\r"
                                          "Are you sure you want to continue?";
    }
    void refusals()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(QString, setup);
        Session s(simArguments);
        VERIFY_WITH_ERROR(s.configure(&error));
        if (setup == "run") {
            RegisterTransactions(s.ctx()).download1(2332, 1); // P9.27 run
            QVERIFY(SerialLinkMonitor(s.ctx()).pollDrive());
        }
        const auto writes = countWrites(s.link().mod1());
        if (setup == "close")
            s.link().closeConnection();
        if (setup == "tag 0")
            s.ctx().editor.setTag(QStringLiteral("0"));
        s.hooks.calls.clear();
        QFETCH(Outcome, outcome);
        QCOMPARE(s.run(setup != "no"), outcome);
        QTEST(s.lastMessage().title, "title");
        QTEST(s.lastMessage().text, "text");
        QCOMPARE(s.windows.calls, setup == "close" ? QStringList {"auto detect"} : QStringList());
        QCOMPARE(s.lines(), QStringList());
        // Two refusals start the poll timer; the others leave the timers alone.
        const bool restartsPoll = setup == "tag 0" || setup == "run";
        QCOMPARE(s.hooks.calls, restartsPoll ? QStringList {"poll on"} : QStringList());
        QCOMPARE(*writes, 0);
    }
    void downloads_data()
    {
        QTest::addColumn<bool>("block");
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<Outcome>("outcome");
        QTest::addColumn<QStringList>("differences");
        const QStringList none;
        QTest::newRow("single") << false << none << Outcome::Verified << none;
        QTest::newRow("block") << true << none << Outcome::Verified << none;
        QTest::newRow("block, drive refuses blocks")
            << true << QStringList {"--refuse-blocks"} << Outcome::Verified << none;
        QTest::newRow("drive loses a write")
            << false << QStringList {"--ignore-write-at", "1282"} << Outcome::VerifyFailed
            << QStringList {"Validation indicates P5.01 differs between configuration and drive."};
    }
    void downloads()
    {
        QFETCH(bool, block);
        QFETCH(QStringList, simArguments);
        Session s(simArguments);
        VERIFY_WITH_ERROR(s.configure(&error, !simArguments.contains("--refuse-blocks")));
        s.link().setBlockTransfer(block);
        s.ctx().editor.txtP(934).setText("0.1"); // the drive holds 2.7
        const QMap<int, int> before = s.registers();
        DownloadOperation download(s.ctx(), s.windows);
        s.prompter().setAnswerYes(true);
        QFETCH(Outcome, outcome);
        QCOMPARE(download.run(), outcome);

        QTEST(s.lines("Validation indicates"), "differences");
        QCOMPARE(NumberText::val(s.ctx().editor.txtP(934).text()), 2.7); // the refresh ran first
        const bool verified = outcome == Outcome::Verified;
        QCOMPARE(s.lastMessage().title, verified ? "Download Status" : "Download Failure");
        QCOMPARE(s.lastMessage().text,
            verified ? "Download Complete."
                     : "A validation check has indicated that some data may not have been written \rto the drive. "
                       "Check the Status List for details.");
        QCOMPARE(s.lines("Download & Verification complete ").size(), verified ? 1 : 0);
        QCOMPARE(s.ctx().statusList.caption(), StatusList::DefaultCaption);
        QVERIFY(!s.ctx().statusList.barVisible());
        QCOMPARE(s.errorLogLines(), QStringList());

        // The drive's defaults with the changes, P9.34 kept by the drive.
        QMap<int, int> expected = before;
        const int ignored = simArguments.value(simArguments.indexOf("--ignore-write-at") + 1).toInt();
        for (auto it = ChangedRegisters.cbegin(); it != ChangedRegisters.cend(); ++it) {
            if (it.key() != ignored)
                expected[it.key()] = it.value();
        }
        QCOMPARE(s.registers(), expected);
        if (!block)
            QCOMPARE(download.writeTransactions(), s.writableRows());
        else if (simArguments.isEmpty())
            QVERIFY2(download.writeTransactions() * 5 <= s.writableRows(),
                qPrintable(QString::number(download.writeTransactions())));
        else
            QCOMPARE(download.writeTransactions(), s.writableRows() + 1); // one block refused, then rows
    }
    void writeFaults_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<bool>("block");
        QTest::addColumn<int>("killAtWrite"); // 0: the drive stays
        QTest::addColumn<int>("minCode");
        QTest::addColumn<int>("maxCode");
        const QStringList exception {"--exception-at", "1282"};
        QTest::newRow("exception") << exception << false << 0 << 4 << 4;
        QTest::newRow("drive gone, block") << QStringList() << true << 3 << 300 << 308;
    }
    void writeFaults()
    {
        QFETCH(QStringList, simArguments);
        Session s(simArguments);
        VERIFY_WITH_ERROR(s.configure(&error));
        ModbusMaster &mod1 = s.link().mod1();
        mod1.setTimeOut(ShortTimeOut);
        QFETCH(bool, block);
        s.link().setBlockTransfer(block);
        QFETCH(int, killAtWrite);
        int writes = 0;
        QObject::connect(&mod1, &ModbusMaster::done, [&] {
            if (mod1.functionCode() == ModbusMaster::DownloadRegisters && ++writes == killAtWrite)
                s.sim().process().kill();
        });
        QCOMPARE(s.run(), Outcome::CommError);

        QCOMPARE(s.lastMessage().title, QStringLiteral("Error"));
        QCOMPARE(s.lines("Verification started"), QStringList());
        const QStringList log = s.errorLogLines();
        QCOMPARE(log.size(), 1);
        QCOMPARE(commFailureEnd(s, " Status List ", "basCom_DownloadAll()", cell<int>("minCode"), cell<int>("maxCode")),
            QString());
        QCOMPARE(s.hooks.calls.mid(s.hooks.calls.size() - 2), (QStringList {"idle", "poll on"}));
    }
    void verificationLinkLost()
    {
        Session s;
        VERIFY_WITH_ERROR(s.configure(&error));
        ModbusMaster &mod1 = s.link().mod1();
        mod1.setTimeOut(ShortTimeOut);
        bool wrote = false;
        QObject::connect(&mod1, &ModbusMaster::done, [&] {
            wrote = wrote || mod1.functionCode() == ModbusMaster::DownloadRegisters;
            if (wrote && mod1.functionCode() == ModbusMaster::ReadRegisters)
                s.sim().process().kill();
        });
        // Everything was written, but not everything compared: not a difference.
        QCOMPARE(s.run(), Outcome::CommError);
        const QStringList titles = s.prompter().titles();
        QCOMPARE(titles.mid(titles.size() - 2), (QStringList {"Error", "Download Failure"}));
        QCOMPARE(s.lines("Verification started").size(), 1);
        QCOMPARE(s.lines("Download & Verification complete"), QStringList());
    }
    // Either limit of a register is registerValue's; here what a value
    // beyond one does to the download.
    void overflowWritesNothing()
    {
        Session s;
        VERIFY_WITH_ERROR(s.configure(&error));
        const QMap<int, int> before = s.registers();
        s.ctx().editor.txtP(408).setText("400"); // 40000 at 0.01
        QCOMPARE(s.run(), Outcome::Trapped);
        QCOMPARE(s.registers(), before);
        const QStringList log = s.errorLogLines();
        QCOMPARE(log.size(), 1);
        QCOMPARE(logEntry(log.first()), QStringLiteral("frmMain, mnuDownload_Click, Program, 6, Overflow"));
        QCOMPARE(s.lines("Verification started"), QStringList());
        QVERIFY(s.lines().constLast().contains("P4.08"));
    }
    void ethernetFailsVisibly()
    {
        Session s;
        QVERIFY(s.load());
        s.ctx().state.strConnected = QStringLiteral("True");
        s.ctx().state.StatusValues[16] = 1; // the module still reaches the drive
        s.ctx().state.DriveRunState = QStringLiteral("STOP");
        s.polled();
        QCOMPARE(s.run(), Outcome::CommError);
        QCOMPARE(s.lastMessage().title, QStringLiteral("Error"));
        QCOMPARE(s.lines("Download & Verification complete"), QStringList());
        QVERIFY(!s.errorLogLines().isEmpty());
    }

    void compareWithDrive_data()
    {
        QTest::addColumn<bool>("block");
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<int>("outcome");
        QTest::addColumn<int>("count"); // differences
        QTest::newRow("single") << false << QStringList() << int(DriveComparison::Outcome::Differs) << 6;
        QTest::newRow("block") << true << QStringList() << int(DriveComparison::Outcome::Differs) << 6;
        QTest::newRow("other drive") << false << QStringList {"--identity", "02,06,120"}
                                     << int(DriveComparison::Outcome::Mismatch) << 0;
    }
    // The configuration holds five changes, the drive one of its own.
    void compareWithDrive()
    {
        QFETCH(QStringList, simArguments);
        Session s(simArguments);
        VERIFY_WITH_ERROR(s.configure(&error));
        QFETCH(bool, block);
        s.link().setBlockTransfer(block);
        RegisterTransactions(s.ctx()).download1(260, 125); // P1.03 12.5 on the drive
        const auto writes = countWrites(s.link().mod1());
        DriveComparison compare(s.ctx(), s.windows);
        QFETCH(int, outcome);
        QCOMPARE(int(compare.run()), outcome);
        QCOMPARE(*writes, 0);
        QFETCH(int, count);
        QCOMPARE(compare.differences().size(), count);
        if (count == 0) {
            QCOMPARE(s.lastMessage().title, "Drive Mismatch");
            QCOMPARE(s.lines(), QStringList());
            return;
        }
        QCOMPARE(
            s.lines("P1.01 - "), QStringList {"P1.01 - Configuration = 50.5 Drive = 10 (Acceleration Time 1 (s))"});
        QCOMPARE(
            s.lines("P1.03 - "), QStringList {"P1.03 - Configuration = 10 Drive = 12.5 (Acceleration Time 2 (s))"});
        QVERIFY(s.lines().constLast().endsWith(". Parameters that differ: 6."));
        if (block)
            QVERIFY(compare.transactions() * 5 < int(driveRows(s.ctx()).size()));
        QCOMPARE(s.errorLogLines(), QStringList());
    }

    void backup_data()
    {
        QTest::addColumn<QString>("failure"); // empty: none
        QTest::newRow("made") << "";
        QTest::newRow("folder cannot be made") << "folder";
        QTest::newRow("link lost while reading") << "link";
    }
    // A failed backup writes nothing. The file holds what the drive held
    // before the download, and opens like any configuration.
    void backup()
    {
        QFETCH(QString, failure);
        Session s;
        VERIFY_WITH_ERROR(s.configure(&error));
        RegisterTransactions(s.ctx()).download1(258, 123); // P1.01 12.3
        const QMap<int, int> before = s.registers();
        ModbusMaster &mod1 = s.link().mod1();
        mod1.setTimeOut(ShortTimeOut);
        if (failure == "folder") {
            QVERIFY(QDir().mkpath(s.ctx().paths().configsDir()));
            QFile blocker(DriveBackup::folder(s.ctx().paths()));
            QVERIFY(blocker.open(QIODevice::WriteOnly)); // a file where the folder would go
        }
        int reads = 0;
        QObject::connect(&mod1, &ModbusMaster::done, [&] {
            if (failure == "link" && ++reads == 10)
                s.sim().process().kill();
        });
        const auto writes = countWrites(mod1);
        DownloadOperation download(s.ctx(), s.windows);
        download.setBackupBeforeDownload(true);
        s.prompter().setAnswerYes(true);
        if (!failure.isEmpty()) {
            QCOMPARE(download.run(), Outcome::BackupFailed);
            QCOMPARE(*writes, 0);
            QCOMPARE(download.backupPath(), QString());
            QCOMPARE(s.lines("Download started "), QStringList());
            QCOMPARE(s.lines("Download stopped: ").size(), 1);
            QCOMPARE(s.lastMessage().title, failure == "link" ? "Error" : "Backup Failed");
            QVERIFY(!s.prompter().titles().contains("Prepare Drive"));
            if (failure == "link")
                QVERIFY(s.errorLogLines().join(u'\n').contains("basCom_BackUpDrive()"));
            return;
        }
        QCOMPARE(download.run(), Outcome::Verified);
        const QString path = download.backupPath();
        QCOMPARE(QFileInfo(path).dir().path(), DriveBackup::folder(s.ctx().paths()));
        QVERIFY(QFileInfo(path).fileName().startsWith("0205120-"));
        QCOMPARE(DriveBackup::backupsOf(s.ctx().paths(), {"02", "05", "120"}), QStringList {path});
        const QStringList lines = s.lines();
        const qsizetype saved = lines.indexOf("Drive settings saved to " + path);
        QVERIFY(saved >= 0 && saved < lines.indexOf(s.lines("Download started ").value(0)));

        QString why;
        const std::optional<ConfigValues> file = ConfigFile::readValues(path, &why);
        QVERIFY(file);
        QCOMPARE(file->drive, (DriveKey {"02", "05", "120"}));
        for (const TransferRow &row : driveRows(s.ctx()))
            QCOMPARE(int(std::lround(NumberText::val(file->values.value(row.parameter)) / row.resolution)),
                before.value(row.address));
        QVERIFY(ConfigFile(s.ctx()).openFile(path));
        QCOMPARE(s.ctx().editor.txtP(101).text(), "12.3");
    }
};

} // namespace Download

// The read-only refresh before a download and the check after it, against
// the simulated drive.
namespace Verification {

namespace {

using Boxes = QList<QPair<int, QString>>;
using Registers = QList<QPair<int, int>>;

} // namespace

class TestDownloadVerification : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compare_data()
    {
        // Box texts set in the configuration (index, text) and registers set in
        // the drive (index, register value); the lines expected, in query order.
        QTest::addColumn<Boxes>("boxes");
        QTest::addColumn<Registers>("registers");
        QTest::addColumn<QList<int>>("differing");
        QTest::newRow("all agree") << Boxes {} << Registers {} << QList<int> {};
        QTest::newRow("60.5 at 0.1 is 605") << Boxes {{101, "60.5"}} << Registers {{101, 605}} << QList<int> {};
        QTest::newRow("60.4 is not 605") << Boxes {{101, "60.4"}} << Registers {{101, 605}} << QList<int> {101};
        QTest::newRow("blanks around the number") << Boxes {{101, " 60.5 "}} << Registers {{101, 605}} << QList<int> {};
        QTest::newRow("two differ, query order")
            << Boxes {{300, "02"}, {101, "12.5"}} << Registers {} << QList<int> {101, 300};
        QTest::newRow("the drive differs") << Boxes {} << Registers {{204, 123}} << QList<int> {204};
        QTest::newRow("read-only included") << Boxes {{934, "0.1"}} << Registers {} << QList<int> {934};
        QTest::newRow("a hundredth step") << Boxes {{935, "1.21"}} << Registers {} << QList<int> {935};
    }
    void compare()
    {
        QFETCH(Boxes, boxes);
        QFETCH(Registers, registers);
        QFETCH(QList<int>, differing);
        Session s;
        VERIFY_WITH_ERROR(s.start(&error));
        QVERIFY(s.load());
        AppContext &ctx = s.ctx();
        for (const auto &[index, value] : registers)
            RegisterTransactions(ctx).download1(ParamText::registerNumber(index), qint16(value));
        for (const auto &[index, text] : boxes)
            ctx.editor.txtP(index).setText(text);
        s.hooks.calls.clear();
        QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

        QCOMPARE(DownloadVerification(ctx).logicCheck(), differing.isEmpty());
        QStringList expected;
        for (int index : differing)
            expected << "Validation indicates " + ParamText::parameterNumber(index)
                    + " differs between configuration and drive.";
        QCOMPARE(ctx.statusList.lines(), expected);
        // Every row is visited, whatever differs.
        QCOMPARE(transactions.count(), driveRows(ctx).size());
        QCOMPARE(s.hooks.calls.first(), "poll off");
        QCOMPARE(s.hooks.calls.mid(s.hooks.calls.size() - 2), (QStringList {"poll on", "idle"}));
        QCOMPARE(s.errorLogLines(), QStringList());
    }
    void differencesTakenFromDrive_data()
    {
        // Read-only parameters of 02,05,120 changed in the configuration before
        // the refresh; each must come back with one line, in catalogue order.
        QTest::addColumn<QList<int>>("changed");
        QTest::newRow("none changed") << QList<int> {};
        QTest::newRow("a number and a list") << QList<int> {934, 941};
        QTest::newRow("a fault code and a number") << QList<int> {631, 934};
    }
    void differencesTakenFromDrive()
    {
        QFETCH(QList<int>, changed);
        Session s;
        VERIFY_WITH_ERROR(s.start(&error));
        QVERIFY(s.load());
        AppContext &ctx = s.ctx();
        const QStringList loaded = editorSnapshot(ctx);
        for (int i : changed) {
            QVERIFY(ctx.params.blnReadOnly[i]);
            if (ctx.params.blnExtra[i]) {
                ComboField &list = ctx.editor.cmbP(i);
                const int other = (list.listIndex() + 1) % list.listCount();
                list.setListIndex(other);
                ctx.editor.txtP(i).setText(list.list().at(other).left(2));
            } else {
                ctx.editor.txtP(i).setText("123");
            }
        }
        QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

        QVERIFY(ReadonlyRefresh(ctx).getReadonly());
        QStringList expected;
        for (int i : changed)
            expected << "The read only parameter " + ParamText::parameterNumber(i)
                    + " has been updated in your configuration to match the drive.";
        QCOMPARE(ctx.statusList.lines().join(u'\n'), expected.join(u'\n'));
        // The drive holds the catalogue values, so the configuration is as
        // loaded, except that a read-only value without a default (the DC bus
        // voltage at the last fault) now holds what the drive reads.
        QStringList expectedSnapshot = loaded;
        expectedSnapshot.replace(expectedSnapshot.indexOf("txtP(629)= "), "txtP(629)=0");
        QCOMPARE(editorSnapshot(ctx), expectedSnapshot);
        int readOnlyRows = 0;
        for (const TransferRow &row : driveRows(ctx))
            readOnlyRows += ctx.params.blnReadOnly[row.parameter] ? 1 : 0;
        QCOMPARE(transactions.count(), readOnlyRows);
        QCOMPARE(s.errorLogLines(), QStringList());
    }
    // The refresh before a download ends as the check after it does.
    void linkFailure_data()
    {
        QTest::addColumn<bool>("refresh");
        QTest::addColumn<int>("stopAfter"); // the link test and the rows before the failing one
        QTest::addColumn<QString>("where");
        QTest::newRow("read-only refresh") << true << 2 << "basFunctions_GetReadOnly()";
        QTest::newRow("check at the tenth row") << false << 10 << "basFunctions_LogicCheck()";
    }
    void linkFailure()
    {
        QFETCH(bool, refresh);
        QFETCH(int, stopAfter);
        Session s({"--stop-after", QString::number(stopAfter)});
        VERIFY_WITH_ERROR(s.start(&error));
        QVERIFY(s.load());
        AppContext &ctx = s.ctx();
        ctx.link().mod1().setTimeOut(ShortTimeOut);
        QList<int> visited;
        for (const TransferRow &row : driveRows(ctx)) {
            if (!refresh || ctx.params.blnReadOnly[row.parameter])
                visited << row.parameter;
        }
        QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

        QVERIFY(refresh ? !ReadonlyRefresh(ctx).getReadonly() : !DownloadVerification(ctx).logicCheck());
        QCOMPARE(transactions.count(), stopAfter); // later rows never reached
        QCOMPARE(ctx.statusList.position(), visited.at(stopAfter - 1));
        QCOMPARE(ctx.statusList.lines().size(), 1);
        QCOMPARE(s.prompter().titles(), QStringList {"Error"});
        QCOMPARE(commFailureEnd(s, "  Status List ", cell<QString>("where"), ModbusMaster::TimeOut), QString());
    }
};

} // namespace Verification

TARVEL_TEST_MAIN(Upload::TestUpload, Download::TestDownload, Verification::TestDownloadVerification)
#include "tst_transfer.moc"
