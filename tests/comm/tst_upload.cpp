// The Upload command against the simulated drive: what lands in the editor,
// the status list, the questions and the log, on success and on every kind
// of link failure, in single-register and block mode.
#include "TransferTestSupport.h"

#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "comm/RegisterTransactions.h"
#include "files/ConfigFile.h"
#include "model/ParamText.h"
#include "ports/ShellHooks.h"
#include "rules/Resolution.h"
#include "transfer/UploadOperation.h"

#include <QDir>
#include <QFileInfo>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <cmath>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

constexpr int ShortTimeOut = 300; // for reads meant to fail
constexpr int FailingRow = 10; // the row a fault test makes fail, counted from 1

// The hooks of the main window, with its enabled state.
class WindowHooks : public RecordingHooks
{
public:
    bool mainEnabled = true;
    void setMainEnabled(bool enabled) override
    {
        mainEnabled = enabled;
        calls << (enabled ? "main on" : "main off");
    }
    void updateCaption() override { calls << "caption"; }
};

// A program with the simulated drive, its link open and its identity polled.
struct UploadBench
{
    explicit UploadBench(const QStringList &simArguments = {})
        : fixture(simArguments)
    {
        fixture.ctx().setHooks(&hooks);
    }
    bool start(QString *error)
    {
        if (!fixture.start(error))
            return false;
        if (fixture.openRtu() != 0) {
            *error = QStringLiteral("link test failed");
            return false;
        }
        setPolledIdentity(fixture.ctx());
        rows = driveRows(fixture.ctx());
        return true;
    }
    AppContext &ctx() { return fixture.ctx(); }
    UploadOperation::Outcome upload()
    {
        UploadOperation operation(ctx(), windows);
        return operation.run();
    }

    LinkFixture fixture;
    WindowHooks hooks;
    RecordingWindows windows;
    QVector<TransferRow> rows;
};

#define START_BENCH(bench)                                                                                             \
    do {                                                                                                               \
        QString error;                                                                                                 \
        QVERIFY2((bench).start(&error), qPrintable(error));                                                            \
    } while (false)

// Values the drive is given before the upload, away from its defaults: a
// writable number early in the catalogue order and one late, on either side
// of the row the fault tests make fail.
struct Marks
{
    QVector<TransferRow> rows;
    QList<qint16> written;
};

Marks writeMarks(UploadBench &bench)
{
    AppContext &ctx = bench.ctx();
    ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'");
    const ParamTables &t = ctx.params;
    Marks marks;
    for (int n : {1, int(bench.rows.size()) - 5}) {
        for (int k = n; k < bench.rows.size(); ++k) {
            const int i = bench.rows[k].parameter;
            if (!t.blnReadOnly[i] && !t.blnExtra[i] && !t.blnDependent[i] && !t.varDefault[i].isNull()) {
                marks.rows << bench.rows[k];
                break;
            }
        }
    }
    for (const TransferRow &row : marks.rows) {
        marks.written << nonDefaultRegister(ctx, row);
        RegisterTransactions(ctx).download1(row.address, marks.written.last());
    }
    return marks;
}

QString markText(const TransferRow &row, qint16 value)
{
    return NumberText::single(float(value) * row.resolution);
}

} // namespace

class TestUpload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void uploadRound_data();
    void uploadRound();
    void noLinkOffers_data();
    void noLinkOffers();
    void declinedLeavesConfiguration();
    void unsupportedDriveNeverReads_data();
    void unsupportedDriveNeverReads();
    void linkFaults_data();
    void linkFaults();
    void blockUploadMatchesSingle();
    void ethernetAbortedEnd();
};

void TestUpload::uploadRound_data()
{
    // Block mode fills the editor as single reads do: blockUploadMatchesSingle.
    QTest::addColumn<int>("saveAnswer");
    QTest::addColumn<QString>("openFileDrive"); // empty: no file open
    QTest::addColumn<bool>("fileKept");
    QTest::newRow("saved") << int(Msg::Yes) << QString() << false;
    QTest::newRow("not saved") << int(Msg::No) << QString() << false;
    QTest::newRow("file of this drive kept") << int(Msg::Yes) << "02,05,120" << true;
    // Saving must ask for a name rather than turn a QX-1 file into a QX-2's.
    QTest::newRow("file of another drive let go") << int(Msg::Yes) << "01,03,104" << false;
}

void TestUpload::uploadRound()
{
    QFETCH(int, saveAnswer);
    QFETCH(QString, openFileDrive);
    QFETCH(bool, fileKept);
    UploadBench bench;
    START_BENCH(bench);
    AppContext &ctx = bench.ctx();
    // The drive differs from its defaults: a plain number, a choice list and
    // the custom V/Hz curve that unlocks P2.04 to P2.07.
    const Marks m = writeMarks(bench);
    const QVector<TransferRow> &marks = m.rows;
    const QList<qint16> &written = m.written;
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
    bench.fixture.prompter().enqueue(Msg::Yes);
    bench.fixture.prompter().enqueue(saveAnswer);
    bench.hooks.calls.clear();

    // The window keeps repainting while the upload waits on the drive.
    int ticks = 0;
    QTimer repaint;
    QObject::connect(&repaint, &QTimer::timeout, [&] { ++ticks; });
    repaint.start(5);
    QCOMPARE(bench.upload(), UploadOperation::Outcome::Completed);
    repaint.stop();
    QVERIFY2(ticks >= 10, qPrintable(QString::number(ticks)));

    // Every value is the drive's register times its resolution.
    for (const TransferRow &row : bench.rows) {
        const QString text = ctx.editor.txtP(row.parameter).text();
        const qint16 reg = RegisterTransactions(ctx).uploadWhile(row.address, 1, row.resolution, QString());
        // The text stands for exactly that register value.
        QVERIFY2(std::lround(NumberText::val(text) / row.resolution) == reg,
            qPrintable(QStringLiteral("P%1 %2 vs %3").arg(row.parameter).arg(text).arg(reg)));
        QCOMPARE(ctx.params.varLastChance[row.parameter].toString(), text);
    }
    for (int k = 0; k < marks.size(); ++k)
        QCOMPARE(ctx.editor.txtP(marks[k].parameter).text(), markText(marks[k], written[k]));
    QCOMPARE(ctx.editor.cmbP(300).listIndex(), 2);
    QCOMPARE(ctx.editor.txtP(300).text(), ctx.editor.cmbP(300).list().at(2).left(2));
    QVERIFY(ctx.editor.txtP(204).enabled() && ctx.editor.txtP(207).enabled());

    const QStringList lines = ctx.statusList.lines();
    QVERIFY(lines.first().startsWith("Upload started "));
    const QString model = ctx.editor.cmbP(942).text().mid(3);
    QVERIFY(!model.isEmpty());
    QVERIFY2(
        lines.last().startsWith("Upload of Drive Model " + model + ", Rev. 1.20 completed "), qPrintable(lines.last()));
    QVERIFY(lines.filter(" - P3.00 - Value different from default. Value = 2 Default = 0").size() == 1);
    QCOMPARE(ctx.editor.lblP(300).foreColor(), Colour::Red);
    QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
    QCOMPARE(ctx.statusList.status(), " ");
    QVERIFY(!ctx.statusList.barVisible() && ctx.statusList.isShown());

    QCOMPARE(ctx.editor.tag(), "1");
    QVERIFY(ctx.state.blnConfigChanged);
    QCOMPARE(bench.fixture.prompter().titles(), (QStringList {"Verification Required", "Upload Status"}));
    QCOMPARE(
        bench.fixture.prompter().messages().last().text, "The upload is complete.\rWould you like to save your data?");
    const QStringList expectedWindows
        = saveAnswer == Msg::Yes ? QStringList {"editor", "save"} : QStringList {"editor"};
    QCOMPARE(bench.windows.calls, expectedWindows);
    QVERIFY(bench.hooks.mainEnabled);
    QCOMPARE(bench.hooks.calls.first(), "busy");
    QVERIFY(bench.hooks.calls.contains("2s off") && bench.hooks.calls.contains("2s on"));
    QCOMPARE(bench.fixture.errorLogLines(), QStringList());
    QCOMPARE(ctx.state.hasConfigFile(), fileKept);
    QCOMPARE(bench.hooks.calls.contains("caption"), !openFileDrive.isEmpty() && !fileKept);
}

void TestUpload::declinedLeavesConfiguration()
{
    UploadBench bench;
    START_BENCH(bench);
    AppContext &ctx = bench.ctx();
    ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'");
    ctx.editor.txtP(101).setText("33.3");
    ctx.editor.setTag("0");
    const QStringList before = editorSnapshot(ctx);
    const QStringList linesBefore = ctx.statusList.lines();
    bench.fixture.prompter().enqueue(Msg::No);
    bench.hooks.calls.clear();
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

    QCOMPARE(bench.upload(), UploadOperation::Outcome::Declined);
    QCOMPARE(bench.fixture.prompter().titles(), QStringList {"Verification Required"});
    QCOMPARE(editorSnapshot(ctx), before);
    QCOMPARE(ctx.statusList.lines(), linesBefore);
    QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
    QCOMPARE(ctx.statusList.status(), " ");
    QCOMPARE(bench.hooks.calls, QStringList {"poll on"});
    QCOMPARE(transactions.count(), 0);
}

void TestUpload::unsupportedDriveNeverReads_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QStringList>("windows");
    QTest::newRow("view details") << int(Msg::Yes) << QStringList {"config info"};
    QTest::newRow("do not") << int(Msg::No) << QStringList {};
}

void TestUpload::unsupportedDriveNeverReads()
{
    QFETCH(int, answer);
    QFETCH(QStringList, windows);
    UploadBench bench({"--identity", "02,05,199"});
    START_BENCH(bench);
    AppContext &ctx = bench.ctx();
    // The identity as the polling reads it from this drive.
    setPolledIdentity(ctx, "2", "5", "199");
    bench.fixture.prompter().enqueue(Msg::Yes);
    bench.fixture.prompter().enqueue(answer);
    const QStringList before = editorSnapshot(ctx);
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

    QCOMPARE(bench.upload(), UploadOperation::Outcome::Unsupported);
    QCOMPARE(bench.fixture.prompter().titles(), (QStringList {"Verification Required", "Drive not supported"}));
    QCOMPARE(bench.fixture.prompter().messages().last().text,
        "Program does not support connected drive model/rev.\r"
        "Would you like to open the Current Config screen to view details?");
    QCOMPARE(bench.windows.calls, windows);
    QCOMPARE(transactions.count(), 0);
    QCOMPARE(editorSnapshot(ctx), before);
    QVERIFY(ctx.statusList.lines().isEmpty());
    const QStringList log = bench.fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logEntry(log.first()), "Connected Drive Not Supported, Communication, 199, ");
    QVERIFY(bench.hooks.mainEnabled);
    QCOMPARE(bench.hooks.calls.last(), "poll on");
}

void TestUpload::linkFaults_data()
{
    // Before the upload the simulator answers the link test and the two
    // mark writes; the upload's row k is then request k + 3.
    const QString failing = QString::number(FailingRow + 3);
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<bool>("killAtRow");
    QTest::addColumn<int>("resultCode");
    QTest::newRow("drive stops answering")
        << QStringList {"--stop-after", QString::number(FailingRow + 2)} << false << int(ModbusMaster::TimeOut);
    QTest::newRow("request dropped") << QStringList {"--drop-every", failing} << false << int(ModbusMaster::TimeOut);
    QTest::newRow("answer corrupted") << QStringList {"--corrupt-every", failing} << false
                                      << int(ModbusMaster::ChecksumError);
    QTest::newRow("answer too late") << QStringList {"--slow-every", failing, "--slow-ms", "700"} << false
                                     << int(ModbusMaster::TimeOut);
    QTest::newRow("exception answer") << QStringList {} << false << 4;
    QTest::newRow("port vanishes") << QStringList {} << true << -2;
}

void TestUpload::linkFaults()
{
    QFETCH(QStringList, simArguments);
    QFETCH(bool, killAtRow);
    QFETCH(int, resultCode);
    const bool exception = resultCode == 4;
    QStringList arguments = simArguments;
    QVector<TransferRow> catalogueRows;
    {
        Test::TempProgram probe;
        catalogueRows = driveRows(probe.ctx());
    }
    const TransferRow failingRow = catalogueRows.at(FailingRow - 1);
    if (exception)
        arguments << "--exception-at" << QString::number(failingRow.address);
    UploadBench bench(arguments);
    START_BENCH(bench);
    AppContext &ctx = bench.ctx();
    ctx.link().mod1().setTimeOut(ShortTimeOut);
    const Marks m = writeMarks(bench);
    const QVector<TransferRow> &marks = m.rows;
    const QList<qint16> &written = m.written;
    QVERIFY(marks.size() == 2 && bench.rows.indexOf(marks[0]) < FailingRow - 1
        && bench.rows.indexOf(marks[1]) > FailingRow);
    // An existing configuration file that the failed upload must not touch.
    const QString file = bench.fixture.ctx().paths().programDir() + "/Configs/kept.qxc";
    QVERIFY(ConfigFile(ctx).saveFile(file));
    ctx.state.strConfigPath = file;
    ctx.state.blnConfigChanged = false;
    const QByteArray fileBytes = [&] {
        QFile f(file);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    const QStringList configs = QDir(QFileInfo(file).path()).entryList(QDir::Files);
    const QStringList logBefore = bench.fixture.errorLogLines();
    ctx.statusList.clear();
    bench.fixture.prompter().enqueue(Msg::Yes);
    if (killAtRow) {
        QObject::connect(&ctx.statusList, &StatusList::positionChanged, [&](int position) {
            if (position == failingRow.parameter && ctx.statusList.status() == "Uploading Data From Drive"
                && bench.fixture.sim().process().state() == QProcess::Running) {
                bench.fixture.sim().process().kill();
                bench.fixture.sim().process().waitForFinished(2000);
            }
        });
    }

    QCOMPARE(bench.upload(), UploadOperation::Outcome::CommError);

    // Rows before the failure hold the drive's values, the failing row and
    // the rows after it the catalogue defaults.
    QCOMPARE(ctx.editor.txtP(marks[0].parameter).text(), markText(marks[0], written[0]));
    QCOMPARE(
        ctx.editor.txtP(marks[1].parameter).text(), NumberText::variant(ctx.params.varDefault[marks[1].parameter]));
    QCOMPARE(ctx.params.varLastChance[marks[0].parameter].toString(), markText(marks[0], written[0]));
    QVERIFY(ctx.editor.tag() != "1");

    QVERIFY(ctx.statusList.lines().first().startsWith("Upload started "));
    QCOMPARE(ctx.statusList.position(), failingRow.parameter);
    QCOMPARE(bench.fixture.prompter().titles(), (QStringList {"Verification Required", "Error"}));
    const QStringList log = bench.fixture.errorLogLines().mid(logBefore.size());
    int code = 0;
    QCOMPARE(commFailureEnd(
                 ctx, bench.fixture.prompter(), bench.hooks.calls, log, " Status List ", "basCom_UploadWhile()", &code),
        QString());
    if (resultCode > -2)
        QCOMPARE(code, resultCode);
    QCOMPARE(log.size(), 2);
    QCOMPARE(logEntry(log.last()), QStringLiteral("ModOCX Error, Communication, %1, ").arg(code));
    QVERIFY(bench.hooks.mainEnabled);
    QCOMPARE(bench.windows.calls, QStringList());
    QFile f(file);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), fileBytes);
    QCOMPARE(QDir(QFileInfo(file).path()).entryList(QDir::Files), configs);
}

// How blocks fall back when the drive refuses them is ParameterReads' own test.
void TestUpload::blockUploadMatchesSingle()
{
    UploadBench bench;
    START_BENCH(bench);
    AppContext &ctx = bench.ctx();
    writeMarks(bench);
    ctx.state.blnConfigChanged = false;
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

    bench.fixture.prompter().enqueue(Msg::Yes);
    bench.fixture.prompter().enqueue(Msg::No);
    QCOMPARE(bench.upload(), UploadOperation::Outcome::Completed);
    const QStringList single = editorSnapshot(ctx);
    const qsizetype singleCount = transactions.count();
    QCOMPARE(singleCount, bench.rows.size());

    transactions.clear();
    ctx.state.blnConfigChanged = false; // as after a save
    ctx.link().setBlockTransfer(true);
    bench.fixture.prompter().enqueue(Msg::Yes);
    bench.fixture.prompter().enqueue(Msg::No);
    QCOMPARE(bench.upload(), UploadOperation::Outcome::Completed);
    QCOMPARE(editorSnapshot(ctx), single);
    QVERIFY2(transactions.count() * 5 <= singleCount,
        qPrintable(QStringLiteral("%1 blocks vs %2 reads").arg(transactions.count()).arg(singleCount)));
    QCOMPARE(bench.fixture.errorLogLines(), QStringList());
}

void TestUpload::ethernetAbortedEnd()
{
    // The Ethernet route is not built: its first read fails, and the upload
    // ends through its aborted end instead of waiting on a link it lacks.
    UploadBench bench;
    AppContext &ctx = bench.ctx();
    ctx.state.strConnected = "True";
    ctx.state.StatusValues[16] = 1; // the module still reaches the drive
    setPolledIdentity(ctx);
    bench.fixture.prompter().enqueue(Msg::Yes);

    QCOMPARE(bench.upload(), UploadOperation::Outcome::Aborted);
    QCOMPARE(bench.fixture.prompter().titles(), (QStringList {"Verification Required", "Upload Aborted"}));
    QCOMPARE(bench.fixture.prompter().messages().last().text,
        "Upload was interrupted due to a communication issue.\rSome data may not have been retrieved from the drive.");
    QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
    QVERIFY(!ctx.statusList.barVisible());
    const QStringList log = bench.fixture.errorLogLines();
    QVERIFY(!log.isEmpty());
    QCOMPARE(logEntry(log.last()), "frmMain, mnuUpload_Click, uploadWhile returned 32766, Program, 0, ");
    QVERIFY(bench.hooks.mainEnabled);
}

void TestUpload::noLinkOffers_data()
{
    // An unsaved configuration is offered for saving before the link test,
    // then the missing link offers the search for a drive.
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("saveAnswer"); // -1: not asked
    QTest::addColumn<int>("connectAnswer");
    QTest::addColumn<QStringList>("windows");
    QTest::newRow("connect now") << false << "1" << -1 << int(Msg::Yes) << QStringList {"auto detect"};
    QTest::newRow("not now") << false << "1" << -1 << int(Msg::No) << QStringList {};
    QTest::newRow("changed, saved") << true << "1" << int(Msg::Yes) << int(Msg::No) << QStringList {"save"};
    QTest::newRow("changed, not saved") << true << "1" << int(Msg::No) << int(Msg::No) << QStringList {};
    QTest::newRow("editor never loaded") << true << "0" << -1 << int(Msg::No) << QStringList {};
}

void TestUpload::noLinkOffers()
{
    QFETCH(bool, changed);
    QFETCH(QString, tag);
    QFETCH(int, saveAnswer);
    QFETCH(int, connectAnswer);
    UploadBench bench; // simulator never started, link closed
    AppContext &ctx = bench.ctx();
    setPolledIdentity(ctx);
    ctx.state.blnConfigChanged = changed;
    ctx.editor.setTag(tag);
    const QStringList before = editorSnapshot(ctx);
    if (saveAnswer > 0)
        bench.fixture.prompter().enqueue(saveAnswer);
    bench.fixture.prompter().enqueue(connectAnswer);
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

    QCOMPARE(bench.upload(), UploadOperation::Outcome::NoLink);
    QStringList titles {"No Connection Present"};
    if (saveAnswer > 0)
        titles.prepend("Unsaved Drive Config Data Exists");
    QCOMPARE(bench.fixture.prompter().titles(), titles);
    QCOMPARE(bench.fixture.prompter().messages().last().text,
        "You don't appear to be connected to a drive.\rWould you like to connect now?");
    QCOMPARE(bench.fixture.prompter().messages().last().style, Msg::YesNo | Msg::Critical);
    QTEST(bench.windows.calls, "windows");
    QCOMPARE(transactions.count(), 0);
    QCOMPARE(editorSnapshot(ctx), before);
    QVERIFY(ctx.statusList.lines().isEmpty());
}

QTEST_MAIN(TestUpload)
#include "tst_upload.moc"
