// The Download command against the simulated drive: what it refuses and
// leaves untouched, what it writes, how a verification failure and a link
// failure end, and that block writes leave the drive as single writes do.
#include "LinkTestSupport.h"

#include "app/TextFile.h"
#include "catalogue/Catalogue.h"
#include "catalogue/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "catalogue/ParamText.h"
#include "comm/DownloadOperation.h"
#include "comm/ParameterWrites.h"
#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"
#include "comm/TransferWindows.h"
#include "comm/UploadOperation.h"
#include "files/ConfigFile.h"

#include <QSignalSpy>
#include <QtTest>

#include <climits>
#include <cmath>

using namespace Tarvel;
using namespace Tarvel::Test;

using Outcome = DownloadOperation::Outcome;
Q_DECLARE_METATYPE(Outcome)

namespace {

constexpr int ShortTimeOut = 300; // for writes meant to fail
const QStringList Drive {"02", "05", "120"};

// Values that differ from the defaults, by parameter index, and the
// registers the drive must then hold (box value x 1 / resolution).
const QMap<int, QString> Changes {{101, "50.5"}, {203, "3"}, {209, "1.25"}, {403, "-60.5"}, {501, "60.5"}};
const QMap<int, int> ChangedRegisters {{258, 505}, {516, 3}, {522, 125}, {1028, -605}, {1282, 605}};

struct Row
{
    int index;
    int address;
    double resolution;
    bool readOnly;
};

QList<Row> catalogueRows()
{
    Catalogue db(builtCatalogue());
    db.connect();
    RecordSet rs = db.query(QStringLiteral("Select * From qryTabParams WHERE Series = '02' AND Model = '05' AND "
                                           "REV = '120'"));
    QList<Row> rows;
    for (; !rs.eof(); rs.moveNext())
        rows << Row {rs.field("Parameter").toInt(), rs.field("Address").toInt(), rs.field("Resolution").toDouble(),
            rs.field("ReadOnly").toBool()};
    return rows;
}

// Every parameter register of the drive, read one at a time; INT_MIN for a
// read that failed.
QMap<int, int> driveRegisters(ModbusMaster &mod1)
{
    QMap<int, int> values;
    for (const Row &row : catalogueRows()) {
        mod1.setStartOffset(0);
        mod1.setRegisterCount(1);
        mod1.setFunctionCode(ModbusMaster::ReadRegisters);
        mod1.setStartRegister(row.address);
        mod1.trigger();
        mod1.waitWhileBusy();
        values[row.address] = mod1.resultCode() == 0 ? mod1.registerValue(0) : INT_MIN;
    }
    return values;
}

class RecordingWindows : public TransferWindows
{
public:
    QStringList calls;
    void showAutoDetect() override { calls << "auto-detect"; }
    void showConfigInfo() override { calls << "config info"; }
    void saveConfiguration() override { calls << "save"; }
    void showDetailedEditor() override { calls << "editor"; }
};

// A program with the default configuration of the simulated drive plus
// Changes in its editor, linked to the drive and polled once.
class Session
{
public:
    explicit Session(const QStringList &simArguments = {})
        : fixture(simArguments)
    { }

    bool start()
    {
        QString error;
        if (!fixture.start(&error) || fixture.openRtu() != 0) {
            qWarning() << "simulator:" << error;
            return false;
        }
        return load() && SerialLinkMonitor(fixture.ctx()).pollDrive();
    }
    bool load()
    {
        AppContext &ctx = fixture.ctx();
        if (!ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'"))
            return false;
        ctx.state.strSeries = Drive[0];
        ctx.state.strModel = Drive[1];
        ctx.state.strRev = Drive[2];
        ctx.editor.setTag(QStringLiteral("1"));
        for (auto it = Changes.cbegin(); it != Changes.cend(); ++it)
            ctx.editor.txtP(it.key()).setText(it.value());
        return true;
    }
    Outcome run()
    {
        fixture.prompter().setAnswerYes(true);
        return DownloadOperation(fixture.ctx(), windows).run();
    }
    QStringList lines() { return fixture.ctx().statusList.lines(); }
    QStringList linesStarting(const QString &start)
    {
        QStringList out;
        for (const QString &line : lines()) {
            if (line.startsWith(start))
                out << line;
        }
        return out;
    }
    ScriptedPrompter::Message lastMessage()
    {
        return fixture.prompter().messages().value(fixture.prompter().messages().size() - 1);
    }

    LinkFixture fixture;
    RecordingWindows windows;
};

// The part of an error-log line after its date and time.
QString logEntry(const QString &line)
{
    return line.section(QStringLiteral(" - "), 1);
}

const QString CommErrorText = QStringLiteral(
    "A communication problem has been encountered.\rPlease correct the problem and restart the operation.");

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registerValue_data();
    void registerValue();
    void refusals_data();
    void refusals();
    void writesAndVerifies_data();
    void writesAndVerifies();
    void roundTrip();
    void lostWriteFailsVerification();
    void readonlyTakenFromDrive();
    void writeFaults_data();
    void writeFaults();
    void overflowWritesNothing_data();
    void overflowWritesNothing();
    void ethernetFailsVisibly();
};

void TestDownload::registerValue_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<float>("resolution");
    QTest::addColumn<bool>("fits");
    QTest::addColumn<int>("expected");
    QTest::newRow("50.5 at 0.1") << 50.5 << 0.1f << true << 505;
    QTest::newRow("3 at 1") << 3.0 << 1.0f << true << 3;
    QTest::newRow("60.5 at 0.1") << 60.5 << 0.1f << true << 605;
    QTest::newRow("1.25 at 0.01") << 1.25 << 0.01f << true << 125;
    QTest::newRow("tie to even down") << 2.5 << 1.0f << true << 2;
    QTest::newRow("tie to even up") << 3.5 << 1.0f << true << 4;
    QTest::newRow("negative tie") << -2.5 << 1.0f << true << -2;
    QTest::newRow("largest register") << 3276.7 << 0.1f << true << 32767;
    QTest::newRow("smallest register") << -3276.8 << 0.1f << true << -32768;
    QTest::newRow("one past largest") << 3276.8 << 0.1f << false << 0;
    QTest::newRow("one past smallest") << -32769.0 << 1.0f << false << 0;
    QTest::newRow("no resolution") << 1.0 << 0.0f << false << 0;
}

void TestDownload::registerValue()
{
    QFETCH(double, value);
    QFETCH(float, resolution);
    QFETCH(bool, fits);
    qint16 out = 0;
    QCOMPARE(ParameterWrites::registerValue(value, resolution, &out), fits);
    if (fits)
        QTEST(int(out), "expected");
}

void TestDownload::refusals_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QString>("title");
    QTest::addColumn<QString>("text");
    const QString mismatch
        = QStringLiteral("Current configuration does not match connected drive type and/or firmware version.\r"
                         "From the 'Utilities' menu, click 'Current Config' and then 'Display Config Information' \r"
                         "for details on the model and firmware version of the currently connected drive.");
    QTest::newRow("no link") << QStringList() << "close" << Outcome::NoLink << "No Connection Present"
                             << "You don't appear to be connected to a drive.\rWould you like to connect now?";
    QTest::newRow("no configuration") << QStringList() << "tag 0" << Outcome::NoConfiguration << "Missing Configuration"
                                      << "You must have a configuration loaded to download to the drive.";
    QTest::newRow("other series") << QStringList {"--identity", "03,05,120"} << "" << Outcome::Mismatch
                                  << "Drive Mismatch" << mismatch;
    QTest::newRow("other model") << QStringList {"--identity", "02,06,120"} << "" << Outcome::Mismatch
                                 << "Drive Mismatch" << mismatch;
    QTest::newRow("other revision") << QStringList {"--identity", "02,05,121"} << "" << Outcome::Mismatch
                                    << "Drive Mismatch" << mismatch;
    QTest::newRow("running") << QStringList() << "run" << Outcome::DriveRunning << "Drive Is Running!"
                             << "Drive must be stopped before downloading.\r"
                                "Press the Stop button on the drive's keypad and try again.";
    QTest::newRow("not confirmed") << QStringList() << "no" << Outcome::Declined << "Confirm Download"
                                   << "The setup in the QX AC Drive is about to be overwritten!\r"
                                      "Are you sure you want to continue?";
}

void TestDownload::refusals()
{
    QFETCH(QStringList, simArguments);
    Session s(simArguments);
    QVERIFY(s.start());
    ModbusMaster &mod1 = s.fixture.link().mod1();
    QFETCH(QString, setup);
    if (setup == QLatin1String("run")) {
        RegisterTransactions(s.fixture.ctx()).download1(2332, 1); // P9.27 run
        QVERIFY(SerialLinkMonitor(s.fixture.ctx()).pollDrive());
    }
    const QMap<int, int> before = driveRegisters(mod1);
    if (setup == QLatin1String("close"))
        s.fixture.link().closeConnection();
    if (setup == QLatin1String("tag 0"))
        s.fixture.ctx().editor.setTag(QStringLiteral("0"));
    s.fixture.prompter().setAnswerYes(setup != QLatin1String("no"));
    s.fixture.hooks.calls.clear();
    QFETCH(Outcome, outcome);
    QCOMPARE(DownloadOperation(s.fixture.ctx(), s.windows).run(), outcome);
    QFETCH(QString, title);
    QFETCH(QString, text);
    QCOMPARE(s.lastMessage().title, title);
    QCOMPARE(s.lastMessage().text, text);
    QCOMPARE(s.windows.calls, setup == QLatin1String("close") ? QStringList {"auto-detect"} : QStringList());
    QVERIFY(s.lines().isEmpty());
    // Two refusals start the poll timer; the others leave the timers alone.
    const bool restartsPoll = setup == QLatin1String("tag 0") || setup == QLatin1String("run");
    QCOMPARE(s.fixture.hooks.calls, restartsPoll ? QStringList {"poll on"} : QStringList());
    if (!s.fixture.link().serialOpen())
        QCOMPARE(s.fixture.openRtu(), 0);
    QCOMPARE(driveRegisters(mod1), before);
}

void TestDownload::writesAndVerifies_data()
{
    QTest::addColumn<bool>("block");
    QTest::addColumn<QStringList>("simArguments");
    QTest::newRow("single") << false << QStringList();
    QTest::newRow("block") << true << QStringList();
    QTest::newRow("block, drive refuses blocks") << true << QStringList {"--refuse-blocks"};
}

void TestDownload::writesAndVerifies()
{
    QFETCH(bool, block);
    QFETCH(QStringList, simArguments);
    Session s(simArguments);
    QVERIFY(s.start());
    s.fixture.link().setBlockTransfer(block);
    DownloadOperation download(s.fixture.ctx(), s.windows);
    s.fixture.prompter().setAnswerYes(true);
    QCOMPARE(download.run(), Outcome::Verified);

    const QMap<int, int> registers = driveRegisters(s.fixture.link().mod1());
    for (auto it = ChangedRegisters.cbegin(); it != ChangedRegisters.cend(); ++it)
        QCOMPARE(registers.value(it.key()), it.value());
    QCOMPARE(s.lastMessage().title, QStringLiteral("Download Status"));
    QCOMPARE(s.lastMessage().text, QStringLiteral("Download Complete."));
    QCOMPARE(s.lines().size(), 3);
    QVERIFY(s.lines().at(0).startsWith("Download started "));
    QVERIFY(s.lines().at(1).startsWith("Verification started "));
    QVERIFY(s.lines().at(2).startsWith("Download & Verification complete "));
    QCOMPARE(s.fixture.ctx().statusList.caption(), StatusList::DefaultCaption);
    QVERIFY(!s.fixture.ctx().statusList.barVisible());
    QCOMPARE(s.fixture.errorLogLines(), QStringList());

    int writable = 0;
    for (const Row &row : catalogueRows())
        writable += row.readOnly ? 0 : 1;
    if (!block) {
        QCOMPARE(download.writeTransactions(), writable);
        return;
    }
    // The same download in single mode, on a drive of its own.
    Session single;
    QVERIFY(single.start());
    QCOMPARE(single.run(), Outcome::Verified);
    QCOMPARE(registers, driveRegisters(single.fixture.link().mod1()));
    const int writes = download.writeTransactions();
    if (simArguments.isEmpty())
        QVERIFY2(writes * 5 <= writable, qPrintable(QString::number(writes)));
    else
        QVERIFY2(writes > writable, qPrintable(QString::number(writes))); // blocks tried, then rows
}

void TestDownload::roundTrip()
{
    // Drive A holds values of its own; upload them and save the file.
    Session a;
    QVERIFY(a.start());
    RegisterTransactions writeA(a.fixture.ctx());
    writeA.download1(258, 123); // P1.01 12.3
    writeA.download1(1028, -250); // P4.03 -25.0
    writeA.download1(522, 77); // P2.09 0.77
    a.fixture.prompter().setAnswerYes(true);
    QCOMPARE(UploadOperation(a.fixture.ctx(), a.windows).run(), UploadOperation::Outcome::Completed);
    const QString path = a.fixture.ctx().paths().configsDir() + QStringLiteral("/roundtrip.qxc");
    QVERIFY(ConfigFile(a.fixture.ctx()).saveFile(path));

    // Drive B of the same identity holds other values.
    Session b;
    QVERIFY(b.start());
    RegisterTransactions writeB(b.fixture.ctx());
    writeB.download1(258, 999);
    writeB.download1(516, 7);
    QVERIFY(ConfigFile(b.fixture.ctx()).openFile(path));
    QCOMPARE(b.run(), Outcome::Verified);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QMap<int, QString> fileValues;
    for (const QString &line : TextFile::decodeLines(file.readAll())) {
        if (!line.startsWith(u'#'))
            fileValues[line.left(3).toInt()] = line.mid(3);
    }
    const QMap<int, int> registers = driveRegisters(b.fixture.link().mod1());
    QCOMPARE(registers.value(258), 123);
    int compared = 0;
    for (const Row &row : catalogueRows()) {
        if (row.readOnly)
            continue;
        QVERIFY2(fileValues.contains(row.index), qPrintable(QString::number(row.index)));
        const long expected = std::lround(NumberText::val(fileValues.value(row.index)) / row.resolution);
        QCOMPARE(registers.value(row.address), int(expected));
        ++compared;
    }
    QVERIFY(compared > 200);
}

void TestDownload::lostWriteFailsVerification()
{
    Session s({"--ignore-write-at", "1282"}); // P5.01 never takes its value
    QVERIFY(s.start());
    QCOMPARE(s.run(), Outcome::VerifyFailed);
    QCOMPARE(s.linesStarting("Validation indicates"),
        QStringList {"Validation indicates P5.01 differs between configuration and drive."});
    QCOMPARE(s.lastMessage().title, QStringLiteral("Download Failure"));
    QCOMPARE(s.lastMessage().text,
        QStringLiteral("A validation check has indicated that some data may not have been written \r"
                       "to the drive. Check the Status List for details."));
    QCOMPARE(s.lastMessage().style, int(Msg::Critical));
    QCOMPARE(s.linesStarting("Download & Verification complete"), QStringList());
    QCOMPARE(driveRegisters(s.fixture.link().mod1()).value(258), 505);
}

void TestDownload::readonlyTakenFromDrive()
{
    Session s;
    QVERIFY(s.start());
    AppContext &ctx = s.fixture.ctx();
    ctx.editor.txtP(934).setText(QStringLiteral("5")); // read-only P9.34, the drive holds 2.7
    QCOMPARE(s.run(), Outcome::Verified);
    QCOMPARE(s.linesStarting("The read only parameter"),
        QStringList {"The read only parameter P9.34 has been updated in your configuration to match the drive."});
    QCOMPARE(NumberText::val(ctx.editor.txtP(934).text()), 2.7);
    QCOMPARE(driveRegisters(s.fixture.link().mod1()).value(2339), 27);
}

void TestDownload::writeFaults_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<bool>("kill");
    QTest::addColumn<int>("minCode");
    QTest::addColumn<int>("maxCode");
    QTest::addColumn<bool>("block");
    // Requests before the writes: link test, three polls, the read-only reads.
    int readonly = 0;
    for (const Row &row : catalogueRows())
        readonly += row.readOnly ? 1 : 0;
    const QString fifthWrite = QString::number(1 + 3 + readonly + 5);
    QTest::newRow("exception") << QStringList {"--exception-at", "1282"} << false << 4 << 4 << false;
    QTest::newRow("exception, block") << QStringList {"--exception-at", "1282"} << false << 4 << 4 << true;
    QTest::newRow("unanswered write") << QStringList {"--drop-every", fifthWrite} << false << 300 << 300 << false;
    QTest::newRow("drive gone") << QStringList() << true << 300 << 308 << false;
    QTest::newRow("drive gone, block") << QStringList() << true << 300 << 308 << true;
}

void TestDownload::writeFaults()
{
    QFETCH(QStringList, simArguments);
    Session s(simArguments);
    QVERIFY(s.start());
    ModbusMaster &mod1 = s.fixture.link().mod1();
    mod1.setTimeOut(ShortTimeOut);
    QFETCH(bool, block);
    s.fixture.link().setBlockTransfer(block);
    QFETCH(bool, kill);
    int writes = 0;
    QObject::connect(&mod1, &ModbusMaster::done, [&] {
        if (kill && mod1.functionCode() == ModbusMaster::DownloadRegisters && ++writes == 3) {
            s.fixture.sim().process().kill();
            s.fixture.sim().process().waitForFinished(3000);
        }
    });
    QCOMPARE(s.run(), Outcome::CommError);

    QCOMPARE(s.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(s.lastMessage().text, CommErrorText);
    QVERIFY(s.lines().last().startsWith("Operation aborted due to comm error "));
    QCOMPARE(s.linesStarting("Verification started"), QStringList());
    const StatusList &list = s.fixture.ctx().statusList;
    QCOMPARE(list.caption(), QStringLiteral(" Status List "));
    QCOMPARE(list.status(), QStringLiteral(" "));
    QVERIFY(!list.barVisible());
    QVERIFY(!s.fixture.link().serialOpen());
    const QStringList log = s.fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    const QString entry = logEntry(log.first());
    QVERIFY2(entry.startsWith("Mod1 retuned , status code , ") && entry.endsWith(",  in basCom_DownloadAll()."),
        qPrintable(entry));
    const int code = entry.section(QStringLiteral(", "), 2, 2).toInt();
    QFETCH(int, minCode);
    QFETCH(int, maxCode);
    QVERIFY2(code >= minCode && code <= maxCode, qPrintable(entry));
    QCOMPARE(s.fixture.hooks.calls.mid(s.fixture.hooks.calls.size() - 2), (QStringList {"idle", "poll on"}));
}

void TestDownload::overflowWritesNothing_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::newRow("too large at 0.01") << 408 << "400";
    QTest::newRow("too large at 1, last group") << 938 << "40000";
    QTest::newRow("too small") << 403 << "-3276.9";
}

void TestDownload::overflowWritesNothing()
{
    Session s;
    QVERIFY(s.start());
    const QMap<int, int> before = driveRegisters(s.fixture.link().mod1());
    QFETCH(int, index);
    QFETCH(QString, value);
    s.fixture.ctx().editor.txtP(index).setText(value);
    QCOMPARE(s.run(), Outcome::Trapped);
    QCOMPARE(driveRegisters(s.fixture.link().mod1()), before);
    const QStringList log = s.fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logEntry(log.first()), QStringLiteral("frmMain, mnuDownload_Click, Program, 6, Overflow"));
    QCOMPARE(s.linesStarting("Verification started"), QStringList());
    QVERIFY(s.lines().last().contains(ParamText::parameterNumber(index)));
}

void TestDownload::ethernetFailsVisibly()
{
    Session s;
    QVERIFY(s.load());
    AppContext &ctx = s.fixture.ctx();
    ctx.state.strConnected = QStringLiteral("True");
    ctx.state.StatusValues[16] = 1;
    ctx.state.strDriveSeries = QStringLiteral("2");
    ctx.state.strDriveModel = QStringLiteral("5");
    ctx.state.strDriveRev = QStringLiteral("120");
    ctx.state.DriveRunState = QStringLiteral("STOP");
    QCOMPARE(s.run(), Outcome::CommError);
    QCOMPARE(s.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(s.linesStarting("Download & Verification complete"), QStringList());
    QVERIFY(!s.fixture.errorLogLines().isEmpty());
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
