// The Download command against the simulated drive: what it refuses and
// leaves untouched, what it writes, how a verification failure and a link
// failure end, and that block writes leave the drive as single writes do.
#include "TransferTestSupport.h"

#include "base/TextFile.h"
#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "model/ParamText.h"
#include "transfer/DownloadOperation.h"
#include "comm/RegisterTransactions.h"
#include "comm/SerialLinkMonitor.h"
#include "transfer/UploadOperation.h"
#include "files/ConfigFile.h"

#include <QtTest>

#include <climits>
#include <cmath>

using namespace Tarvel;
using namespace Tarvel::Test;

using Outcome = DownloadOperation::Outcome;
Q_DECLARE_METATYPE(Outcome)

namespace {

constexpr int ShortTimeOut = 300; // for writes meant to fail

// Values that differ from the defaults, by parameter index, and the
// registers the drive must then hold (box value x 1 / resolution).
const QMap<int, QString> Changes {{101, "50.5"}, {203, "3"}, {209, "1.25"}, {403, "-60.5"}, {501, "60.5"}};
const QMap<int, int> ChangedRegisters {{258, 505}, {516, 3}, {522, 125}, {1028, -605}, {1282, 605}};

// A program with the default configuration of drive 02,05,120 plus Changes
// in its editor, linked to the simulated drive and polled once.
class Session
{
public:
    explicit Session(const QStringList &simArguments = {})
        : fixture(simArguments)
    { }
    AppContext &ctx() { return fixture.ctx(); }

    // Polling reads blocks: a drive that refuses them is taken as polled.
    bool start(bool poll = true)
    {
        QString error;
        if (!fixture.start(&error) || fixture.openRtu() != 0 || !load())
            return false;
        ctx().state.DriveRunState = QStringLiteral("STOP");
        setPolledIdentity(ctx());
        return !poll || SerialLinkMonitor(ctx()).pollDrive();
    }
    bool load()
    {
        if (!ParamLoader(ctx()).getParamData(ctx().editor, "qryTabParams", "'02'", "'05'", "'120'"))
            return false;
        ctx().state.strSeries = QStringLiteral("02");
        ctx().state.strModel = QStringLiteral("05");
        ctx().state.strRev = QStringLiteral("120");
        ctx().editor.setTag(QStringLiteral("1"));
        for (auto it = Changes.cbegin(); it != Changes.cend(); ++it)
            ctx().editor.txtP(it.key()).setText(it.value());
        return true;
    }
    Outcome run(bool yes = true)
    {
        fixture.prompter().setAnswerYes(yes);
        return DownloadOperation(ctx(), windows).run();
    }
    // Every parameter register of the drive; INT_MIN where a read failed.
    QMap<int, int> registers()
    {
        ModbusMaster &mod1 = fixture.link().mod1();
        QMap<int, int> values;
        for (const TransferRow &row : driveRows(ctx())) {
            mod1.setRegisterCount(1);
            mod1.setFunctionCode(ModbusMaster::ReadRegisters);
            mod1.setStartRegister(row.address);
            mod1.trigger();
            mod1.waitWhileBusy();
            values[row.address] = mod1.resultCode() == 0 ? mod1.registerValue(0) : INT_MIN;
        }
        return values;
    }
    QStringList lines(const QString &start = QString())
    {
        QStringList out;
        for (const QString &line : ctx().statusList.lines()) {
            if (line.startsWith(start))
                out << line;
        }
        return out;
    }
    ScriptedPrompter::Message lastMessage() { return fixture.prompter().messages().constLast(); }
    int writableRows() { return int(TransferRows::load(ctx(), QStringLiteral(" AND READONLY = False")).size()); }

    LinkFixture fixture;
    RecordingWindows windows;
};

const QString FailureText = QStringLiteral("A validation check has indicated that some data may not have been "
                                           "written \rto the drive. Check the Status List for details.");

} // namespace

class TestDownload : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void registerValue_data();
    void registerValue();
    void refusals_data();
    void refusals();
    void downloads_data();
    void downloads();
    void roundTrip();
    void writeFaults_data();
    void writeFaults();
    void verificationLinkLost();
    void overflowWritesNothing_data();
    void overflowWritesNothing();
    void ethernetFailsVisibly();
};

void TestDownload::registerValue_data()
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

void TestDownload::registerValue()
{
    QFETCH(double, value);
    QFETCH(float, resolution);
    QFETCH(int, expected);
    qint16 out = 0;
    QCOMPARE(ParameterWrites::registerValue(value, resolution, &out), expected != INT_MIN);
    if (expected != INT_MIN)
        QCOMPARE(int(out), expected);
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

void TestDownload::refusals()
{
    QFETCH(QStringList, simArguments);
    QFETCH(QString, setup);
    Session s(simArguments);
    QVERIFY(s.start());
    if (setup == "run") {
        RegisterTransactions(s.ctx()).download1(2332, 1); // P9.27 run
        QVERIFY(SerialLinkMonitor(s.ctx()).pollDrive());
    }
    const QMap<int, int> before = s.registers();
    if (setup == "close")
        s.fixture.link().closeConnection();
    if (setup == "tag 0")
        s.ctx().editor.setTag(QStringLiteral("0"));
    s.fixture.hooks.calls.clear();
    QFETCH(Outcome, outcome);
    QCOMPARE(s.run(setup != "no"), outcome);
    QTEST(s.lastMessage().title, "title");
    QTEST(s.lastMessage().text, "text");
    QCOMPARE(s.windows.calls, setup == "close" ? QStringList {"auto detect"} : QStringList());
    QCOMPARE(s.lines(), QStringList());
    // Two refusals start the poll timer; the others leave the timers alone.
    const bool restartsPoll = setup == "tag 0" || setup == "run";
    QCOMPARE(s.fixture.hooks.calls, restartsPoll ? QStringList {"poll on"} : QStringList());
    if (!s.fixture.link().serialOpen())
        QCOMPARE(s.fixture.openRtu(), 0);
    QCOMPARE(s.registers(), before);
}

void TestDownload::downloads_data()
{
    QTest::addColumn<bool>("block");
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<QString>("readonlyValue"); // for P9.34, which the drive holds at 2.7
    QTest::addColumn<Outcome>("outcome");
    QTest::addColumn<QStringList>("differences");
    const QStringList none;
    QTest::newRow("single") << false << none << "2.7" << Outcome::Verified << none;
    QTest::newRow("block") << true << none << "2.7" << Outcome::Verified << none;
    QTest::newRow("block, drive refuses blocks")
        << true << QStringList {"--refuse-blocks"} << "2.7" << Outcome::Verified << none;
    QTest::newRow("read-only value differs") << false << none << "5" << Outcome::Verified << none;
    QTest::newRow("drive loses a write") << false << QStringList {"--ignore-write-at", "1282"} << "2.7"
                                         << Outcome::VerifyFailed
                                         << QStringList {
                                                "Validation indicates P5.01 differs between configuration and drive."};
}

void TestDownload::downloads()
{
    QFETCH(bool, block);
    QFETCH(QStringList, simArguments);
    Session s(simArguments);
    QVERIFY(s.start(!simArguments.contains("--refuse-blocks")));
    s.fixture.link().setBlockTransfer(block);
    QFETCH(QString, readonlyValue);
    s.ctx().editor.txtP(934).setText(readonlyValue);
    DownloadOperation download(s.ctx(), s.windows);
    s.fixture.prompter().setAnswerYes(true);
    QFETCH(Outcome, outcome);
    QCOMPARE(download.run(), outcome);

    QTEST(s.lines("Validation indicates"), "differences");
    const QString updated = "The read only parameter P9.34 has been updated in your configuration to match the drive.";
    QCOMPARE(s.lines("The read only parameter"), readonlyValue == "2.7" ? QStringList() : QStringList {updated});
    QCOMPARE(NumberText::val(s.ctx().editor.txtP(934).text()), 2.7);
    const bool verified = outcome == Outcome::Verified;
    QCOMPARE(s.lastMessage().title, verified ? "Download Status" : "Download Failure");
    QCOMPARE(s.lastMessage().text, verified ? "Download Complete." : FailureText);
    QCOMPARE(s.lines("Download & Verification complete ").size(), verified ? 1 : 0);
    QCOMPARE(s.ctx().statusList.caption(), StatusList::DefaultCaption);
    QVERIFY(!s.ctx().statusList.barVisible());
    QCOMPARE(s.fixture.errorLogLines(), QStringList());

    const QMap<int, int> registers = s.registers();
    const int ignored = simArguments.value(simArguments.indexOf("--ignore-write-at") + 1).toInt();
    for (auto it = ChangedRegisters.cbegin(); it != ChangedRegisters.cend(); ++it)
        QCOMPARE(registers.value(it.key()) == it.value(), it.key() != ignored);
    QCOMPARE(registers.value(2339), 27); // P9.34 kept by the drive
    if (!block) {
        QCOMPARE(download.writeTransactions(), s.writableRows());
        return;
    }
    Session single; // the same download in single mode, on a drive of its own
    QVERIFY(single.start());
    QCOMPARE(single.run(), Outcome::Verified);
    QCOMPARE(registers, single.registers());
    if (simArguments.isEmpty())
        QVERIFY2(download.writeTransactions() * 5 <= s.writableRows(),
            qPrintable(QString::number(download.writeTransactions())));
    else
        QCOMPARE(download.writeTransactions(), s.writableRows() + 1); // one block refused, then rows
}

void TestDownload::roundTrip()
{
    // Drive A holds values of its own; upload them and save the file.
    Session a;
    QVERIFY(a.start());
    RegisterTransactions(a.ctx()).download1(258, 123); // P1.01 12.3
    RegisterTransactions(a.ctx()).download1(1028, -250); // P4.03 -25.0
    a.fixture.prompter().setAnswerYes(true);
    QCOMPARE(UploadOperation(a.ctx(), a.windows).run(), UploadOperation::Outcome::Completed);
    const QString path = a.ctx().paths().configsDir() + QStringLiteral("/roundtrip.qxc");
    QVERIFY(ConfigFile(a.ctx()).saveFile(path));

    // Drive B of the same identity holds other values.
    Session b;
    QVERIFY(b.start());
    RegisterTransactions(b.ctx()).download1(258, 999);
    QVERIFY(ConfigFile(b.ctx()).openFile(path));
    QCOMPARE(b.run(), Outcome::Verified);

    QFile file(path);
    QVERIFY(file.open(QIODevice::ReadOnly));
    QMap<int, double> fileValues;
    for (const QString &line : TextFile::decodeLines(file.readAll())) {
        if (!line.startsWith(u'#'))
            fileValues[line.left(3).toInt()] = NumberText::val(line.mid(3));
    }
    const QMap<int, int> registers = b.registers();
    QCOMPARE(registers.value(258), 123);
    const QVector<TransferRow> writable = TransferRows::load(b.ctx(), QStringLiteral(" AND READONLY = False"));
    QVERIFY(writable.size() > 200);
    for (const TransferRow &row : writable)
        QCOMPARE(registers.value(row.address), int(std::lround(fileValues.value(row.parameter) / row.resolution)));
}

void TestDownload::writeFaults_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<bool>("block");
    QTest::addColumn<int>("killAtWrite"); // 0: the drive stays
    QTest::addColumn<int>("minCode");
    QTest::addColumn<int>("maxCode");
    // Requests before the writes: link test, three polls, the read-only reads.
    Session probe;
    probe.load();
    const int readonly = int(TransferRows::load(probe.ctx(), QStringLiteral(" AND READONLY = true")).size());
    const QString fifthWrite = QString::number(1 + 3 + readonly + 5);
    const QStringList exception {"--exception-at", "1282"};
    QTest::newRow("exception") << exception << false << 0 << 4 << 4;
    QTest::newRow("exception, block") << exception << true << 0 << 4 << 4;
    QTest::newRow("unanswered write") << QStringList {"--drop-every", fifthWrite} << false << 0 << 300 << 300;
    QTest::newRow("drive gone") << QStringList() << false << 3 << 300 << 308;
    QTest::newRow("drive gone, block") << QStringList() << true << 3 << 300 << 308;
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
    QFETCH(int, killAtWrite);
    int writes = 0;
    QObject::connect(&mod1, &ModbusMaster::done, [&] {
        if (mod1.functionCode() == ModbusMaster::DownloadRegisters && ++writes == killAtWrite)
            s.fixture.sim().process().kill();
    });
    QCOMPARE(s.run(), Outcome::CommError);

    QCOMPARE(s.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(s.lines("Verification started"), QStringList());
    const QStringList log = s.fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    int code = 0;
    QCOMPARE(commFailureEnd(s.ctx(), s.fixture.prompter(), s.fixture.hooks.calls, log, " Status List ",
                 "basCom_DownloadAll()", &code),
        QString());
    QFETCH(int, minCode);
    QFETCH(int, maxCode);
    QVERIFY2(code >= minCode && code <= maxCode, qPrintable(log.first()));
    QCOMPARE(s.fixture.hooks.calls.mid(s.fixture.hooks.calls.size() - 2), (QStringList {"idle", "poll on"}));
}

void TestDownload::verificationLinkLost()
{
    Session s;
    QVERIFY(s.start());
    ModbusMaster &mod1 = s.fixture.link().mod1();
    mod1.setTimeOut(ShortTimeOut);
    bool wrote = false;
    QObject::connect(&mod1, &ModbusMaster::done, [&] {
        wrote = wrote || mod1.functionCode() == ModbusMaster::DownloadRegisters;
        if (wrote && mod1.functionCode() == ModbusMaster::ReadRegisters)
            s.fixture.sim().process().kill();
    });
    // Everything was written, but not everything compared: not a difference.
    QCOMPARE(s.run(), Outcome::CommError);
    const QStringList titles = s.fixture.prompter().titles();
    QCOMPARE(titles.mid(titles.size() - 2), (QStringList {"Error", "Download Failure"}));
    QCOMPARE(s.lines("Verification started").size(), 1);
    QCOMPARE(s.lines("Download & Verification complete"), QStringList());
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
    const QMap<int, int> before = s.registers();
    QFETCH(int, index);
    QFETCH(QString, value);
    s.ctx().editor.txtP(index).setText(value);
    QCOMPARE(s.run(), Outcome::Trapped);
    QCOMPARE(s.registers(), before);
    const QStringList log = s.fixture.errorLogLines();
    QCOMPARE(log.size(), 1);
    QCOMPARE(logEntry(log.first()), QStringLiteral("frmMain, mnuDownload_Click, Program, 6, Overflow"));
    QCOMPARE(s.lines("Verification started"), QStringList());
    QVERIFY(s.lines().constLast().contains(ParamText::parameterNumber(index)));
}

void TestDownload::ethernetFailsVisibly()
{
    Session s;
    QVERIFY(s.load());
    s.ctx().state.strConnected = QStringLiteral("True");
    s.ctx().state.StatusValues[16] = 1; // the module still reaches the drive
    s.ctx().state.DriveRunState = QStringLiteral("STOP");
    setPolledIdentity(s.ctx());
    QCOMPARE(s.run(), Outcome::CommError);
    QCOMPARE(s.lastMessage().title, QStringLiteral("Error"));
    QCOMPARE(s.lines("Download & Verification complete"), QStringList());
    QVERIFY(!s.fixture.errorLogLines().isEmpty());
}

QTEST_GUILESS_MAIN(TestDownload)
#include "tst_download.moc"
