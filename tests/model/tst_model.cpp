// Parameter texts, the error trap and log, the trace, and the status
// list's toolbar.
#include "TestMain.h"
#include "TestSupport.h"

#include "app/StatusListActions.h"
#include "base/TextFile.h"
#include "catalogue/ParamLoader.h"
#include "model/ParamText.h"
#include "model/ParameterSearch.h"
#include "ports/LinePrinter.h"
#include "ports/ShellHooks.h"

#include <QDir>
#include <QProcess>
#include <QtTest>

#include <sys/stat.h>

using namespace Tarvel;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// The part of a log line after its date and time.
QString afterDate(const QString &line)
{
    return line.mid(line.indexOf(QLatin1String(" - ")));
}

struct RecordingHooks : ShellHooks
{
    QStringList calls;
    void setMainEnabled(bool enabled) override { calls << QStringLiteral("enabled=%1").arg(enabled); }
    void setBusyPointer(bool busy) override { calls << QStringLiteral("busy=%1").arg(busy); }
    void setPollTimerEnabled(bool enabled) override { calls << QStringLiteral("poll=%1").arg(enabled); }
};

struct RecordingPrinter : LinePrinter
{
    bool accept = true;
    QStringList lines;
    bool begin() override { return accept; }
    void printLine(const QString &line) override { lines << line; }
    void end() override { lines << "end"; }
};

} // namespace

class TestParamText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts()
    {
        // index, number, file index below series 3 and from it, link tag, register
        const QList<std::tuple<int, QString, QString, QString, QString, int>> table {
            {5, "P0.05", "005", "0005", "P00.05@WORD", 6}, {123, "P1.23", "123", "0123", "P01.23@WORD", 280},
            {941, "P9.41", "941", "0941", "P09.41@WORD", 2346}, {1005, "P10.05", "1005", "1005", "P10.05@WORD", 2566}};
        for (const auto &[index, number, file2, file3, tag, reg] : table) {
            QCOMPARE(ParamText::captionPrefix(index), "   " + number);
            QCOMPARE(ParamText::parameterNumber(index), number);
            QCOMPARE(ParamText::fileIndex(index, 2), file2);
            QCOMPARE(ParamText::fileIndex(index, 3), file3);
            QCOMPARE(ParamText::linkTag(index), tag);
            QCOMPARE(ParamText::registerNumber(index), reg);
        }
    }
};

class TestErrorLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trappedErrorWritesOneLine()
    {
        Test::TempProgram program(false);
        RecordingHooks hooks;
        program.ctx().setHooks(&hooks);
        const QString location = "frmMain, mnuUpload_Click, getParamData Returned False";
        QVERIFY(!program.ctx().trap(location, [] { throw TrappedError(3075, "Syntax error, near 'x'"); }));
        program.ctx().errorLog().write(QStringLiteral("Caf\u00e9"), "Program", 1, QStringLiteral("\u00b0C"));
        QCOMPARE(hooks.calls, (QStringList {"enabled=1", "busy=0", "poll=1"}));
        const QStringList lines = program.errorLogLines();
        QCOMPARE(lines.size(), 2);
        QCOMPARE(afterDate(lines.first()), " - " + location + ", Program, 3075, Syntax error, near 'x'");
        QVERIFY(readAll(program.path("Data/Error.Log"))
                    .endsWith("Caf\xe9, Program, 1, \xb0"
                              "C\r\n"));
        QCOMPARE(program.ctx().errorLog().writtenLines(), lines);
        QVERIFY(program.prompter().messages().isEmpty()); // nothing is shown on this path
    }

    // A log that cannot take the line: the box says so, earlier lines stay
    // whole, and nothing waits on a log that is no file.
    void unwritableLogShowsTheBox_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<int>("number");
        QTest::newRow("missing folder") << "missing folder" << 76;
        QTest::newRow("FIFO in its place") << "fifo" << 75;
        QTest::newRow("full disk") << "full disk" << 75;
    }
    void unwritableLogShowsTheBox()
    {
        QFETCH(QString, kind);
        QFETCH(int, number);
        Test::TempProgram program(false);
        const QString log = program.path("Data/Error.Log");
        const QByteArray earlier = QByteArray(4094, 'e') + "\r\n"; // one whole page
        if (kind == "missing folder") {
            QVERIFY(QDir(program.path("Data")).removeRecursively());
        } else if (kind == "fifo") {
            QCOMPARE(::mkfifo(QFile::encodeName(log).constData(), 0644), 0);
        } else {
            if (QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=8k", "tmpfs", program.path("Data")}) != 0)
                QSKIP("this user may not mount a small file system");
            QFile file(log);
            QVERIFY(file.open(QIODevice::WriteOnly) && file.write(earlier) == earlier.size());
            file.close();
            QFile fill(program.path("Data/fill"));
            fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered);
            while (fill.write(QByteArray(256, 'x')) == 256) { }
            fill.resize(fill.size() - 20); // room for part of a line only
        }
        program.ctx().trap("basMain, Main()", [] { throw TrappedError(Err::TypeMismatch); });
        if (kind == "full disk") {
            QCOMPARE(readAll(log), earlier);
            QProcess::execute("umount", {program.path("Data")});
        }
        const auto &messages = program.prompter().messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().title, "Error Generated");
        QCOMPARE(messages.first().text,
            QStringLiteral("An error has occurred in sub ErrorLog()\rError Number: %1\rError Description: %2\r"
                           "Please contact your software vendor.")
                .arg(number)
                .arg(Err::description(number)));
        QVERIFY(program.ctx().errorLog().writtenLines().isEmpty());
    }

    void missingFieldIsPassedOverOnlyFor340()
    {
        Test::TempProgram program(false);
        int steps = 0;
        QVERIFY(program.ctx().trap("basFunctions, Compare()", [&] {
            for (int i : {5, 8, 941}) // 8 has no field
                skipMissingField([&] {
                    program.ctx().editor.txtP(i).setText("1");
                    ++steps;
                });
        }));
        QCOMPARE(steps, 2);
        QVERIFY(
            !program.ctx().trap("basFunctions, Compare()", [] { skipMissingField([] { throw TrappedError(13); }); }));
        QCOMPARE(program.errorLogLines().size(), 1);
    }

    void traceOnlyWhileTracing()
    {
        Test::TempProgram program(false);
        AppContext &ctx = program.ctx();
        ctx.writeTrace("Changed value for varLastChance to 5 for param 5");
        QVERIFY(ctx.trace.lines().isEmpty());
        ctx.state.blnDiagsTrace = true;
        ctx.writeTrace("Changed value for varLastChance to 6 for param 5");
        QCOMPARE(ctx.trace.lines().size(), 1);
        QVERIFY(ctx.trace.lines().first().endsWith(" - Changed value for varLastChance to 6 for param 5"));
    }
};

class TestStatusListActions : public QObject
{
    Q_OBJECT
    std::unique_ptr<Test::TempProgram> m_program;
    std::unique_ptr<Test::ScriptedFileDialogs> m_dialogs;
    std::unique_ptr<RecordingPrinter> m_printer;
    AppContext &ctx() { return m_program->ctx(); }
    StatusList &list() { return ctx().statusList; }

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<Test::TempProgram>(false);
        m_dialogs = std::make_unique<Test::ScriptedFileDialogs>();
        m_printer = std::make_unique<RecordingPrinter>();
        ctx().setFileDialogs(m_dialogs.get());
        ctx().setPrinter(m_printer.get());
    }

    void saveThenOpenRoundTrip()
    {
        const QStringList lines {"Reading drive", QStringLiteral("Temp 40\u00b0C"), QString(), "  indented"};
        list().setLines(lines);
        // A name chosen without the list extension gets it.
        const QString path = m_program->path("run.qxl");
        m_dialogs->answer = m_program->path("run");
        StatusListActions actions(ctx());
        actions.buttonClick(StatusListActions::Save);
        QVERIFY(m_dialogs->requests.last().confirmOverwrite);
        QCOMPARE(list().caption(), "  Status List - " + path);
        const QByteArray bytes = readAll(path);
        QVERIFY(bytes.startsWith("List File Saved "));
        QVERIFY(bytes.endsWith("\r\nTemp 40\xb0"
                               "C\r\n\r\n  indented\r\n"));
        QCOMPARE(bytes.count('\n'), lines.size() + 1);
        list().setLines({"to be replaced"});
        m_dialogs->answer = path;
        actions.buttonClick(StatusListActions::Open);
        QVERIFY(m_dialogs->requests.last().fileMustExist);
        QCOMPARE(list().lines().mid(1), lines);
        m_dialogs->answer = m_program->path("copy.QXL"); // any case of it is kept
        actions.buttonClick(StatusListActions::Save);
        QVERIFY(QFile::exists(m_program->path("copy.QXL")));
        QVERIFY(m_program->errorLogLines().isEmpty());
    }

    void failuresAreLogged_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<int>("number");
        QTest::newRow("save into missing folder") << int(StatusListActions::Save) << "missing/out.qxl" << 75;
        QTest::newRow("open missing file") << int(StatusListActions::Open) << "absent.qxl" << 53;
        QTest::newRow("cancelled dialog") << int(StatusListActions::Save) << "" << 0;
    }
    void failuresAreLogged()
    {
        QFETCH(int, button);
        QFETCH(QString, relativePath);
        QFETCH(int, number);
        list().setLines({"kept"});
        m_dialogs->answer = relativePath.isEmpty() ? QString() : m_program->path(relativePath);
        StatusListActions(ctx()).buttonClick(button);
        const QStringList log = m_program->errorLogLines();
        QCOMPARE(log.size(), number ? 1 : 0);
        if (number)
            QVERIFY(log.first().contains(QStringLiteral(" - frmList, tbrist_ButtonClick, Program, %1, ").arg(number)));
        QCOMPARE(list().caption(), StatusList::DefaultCaption);
    }

    void clearAndCloseAsk_data()
    {
        QTest::addColumn<bool>("close");
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("emptied");
        const QStringList some {"line"};
        QTest::newRow("clear: no") << false << some << int(Msg::No) << false;
        QTest::newRow("clear: yes") << false << some << int(Msg::Yes) << true;
        QTest::newRow("close empty list: no question") << true << QStringList() << int(Msg::Cancel) << true;
        QTest::newRow("close: cancel keeps lines") << true << some << int(Msg::Cancel) << false;
        QTest::newRow("close: OK discards lines") << true << some << int(Msg::OK) << true;
    }
    void clearAndCloseAsk()
    {
        QFETCH(bool, close);
        QFETCH(QStringList, lines);
        QFETCH(int, answer);
        QFETCH(bool, emptied);
        list().setLines(lines);
        list().show();
        m_program->prompter().enqueue(answer);
        StatusListActions actions(ctx());
        if (close)
            QCOMPARE(actions.queryUnload(), emptied);
        else
            actions.buttonClick(StatusListActions::Clear);
        const auto &messages = m_program->prompter().messages();
        QCOMPARE(messages.size(), lines.isEmpty() ? 0 : 1);
        if (!lines.isEmpty())
            QCOMPARE(messages.first().title, close ? "Are you sure?" : "Confirmation Needed");
        QCOMPARE(list().lines(), emptied ? QStringList() : lines);
        QCOMPARE(list().isShown(), !(close && emptied));
    }

    void printHeadingThenLines()
    {
        ctx().state.strConfigPath = "/cfg/pump.qxc";
        list().setLines({"first", "second"});
        StatusListActions(ctx()).buttonClick(StatusListActions::Print);
        QCOMPARE(m_printer->lines.size(), 4);
        QVERIFY(m_printer->lines.first().startsWith("/cfg/pump.qxc, "));
        QCOMPARE(m_printer->lines.mid(1), (QStringList {"first", "second", "end"}));
        m_printer->lines.clear();
        m_printer->accept = false;
        StatusListActions(ctx()).print();
        QVERIFY(m_printer->lines.isEmpty());
    }
};


// Parameters found by number in the forms engineers write, or by words.
class TestParameterSearch : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void find_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<QVector<int>>("found");
        for (const char *number : {"P1.03", "p1.03", "1.03", "103", " P1.03 "})
            QTest::newRow(number) << number << QVector<int> {103};
        QTest::newRow("P0.05 as 5") << "5" << QVector<int> {5};
        QTest::newRow("number prefix") << "P9.4" << QVector<int> {940, 941, 942};
        QTest::newRow("not in this drive") << "P10.05" << QVector<int> {};
        QTest::newRow("a word") << "accel" << QVector<int> {101, 103, 105, 107, 108, 110, 119, 120, 609};
        QTest::newRow("two words") << "motor CURRENT" << QVector<int> {1, 7};
        QTest::newRow("nothing") << "  " << QVector<int> {};
    }
    void find()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(ParamLoader(ctx).loadDrive({"02", "05", "120"}));
        QFETCH(QString, text);
        QTEST(ParameterSearch(ctx.editor, ctx.params).find(text), "found");
    }
};

TARVEL_TEST_GUILESS_MAIN(TestParamText, TestErrorLog, TestStatusListActions, TestParameterSearch)
#include "tst_model.moc"
