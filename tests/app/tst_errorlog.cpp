// The error trap, ErrHandler and the error log.
#include "TestSupport.h"

#include "ports/ShellHooks.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Tarvel;

namespace {

struct RecordingHooks : ShellHooks
{
    QStringList calls;
    void setMainEnabled(bool enabled) override { calls << QStringLiteral("enabled=%1").arg(enabled); }
    void setBusyPointer(bool busy) override { calls << QStringLiteral("busy=%1").arg(busy); }
    void setPollTimerEnabled(bool enabled) override { calls << QStringLiteral("poll=%1").arg(enabled); }
};

// The part of a log line after its date and time.
QString afterDate(const QString &line)
{
    return line.mid(line.indexOf(QLatin1String(" - ")));
}

} // namespace

class TestErrorLog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void trappedErrorWritesOneLine_data();
    void trappedErrorWritesOneLine();
    void handlerRestoresTheMainWindow();
    void appendsAndKeepsEarlierLines();
    void missingFolderShowsTheBoxOnce();
    void linesAreLatin1WithCrLf();
    void missingFieldIsPassedOverOnlyFor340();
};

void TestErrorLog::trappedErrorWritesOneLine_data()
{
    QTest::addColumn<int>("number");
    QTest::addColumn<QString>("description");
    QTest::addColumn<QString>("location");
    QTest::addColumn<QString>("expected");
    QTest::newRow("type mismatch") << 13 << "Type mismatch"
                                   << "basFunctions, SaveFile()"
                                   << " - basFunctions, SaveFile(), Program, 13, Type mismatch";
    QTest::newRow("comma in description") << 3075 << "Syntax error (missing operator), near 'x'"
                                          << "frmMain, mnuUpload_Click, getParamData Returned False"
                                          << " - frmMain, mnuUpload_Click, getParamData Returned False, Program, 3075, "
                                             "Syntax error (missing operator), near 'x'";
}

void TestErrorLog::trappedErrorWritesOneLine()
{
    QFETCH(int, number);
    QFETCH(QString, description);
    QFETCH(QString, location);
    QFETCH(QString, expected);
    Test::TempProgram program(false);
    bool reachedEnd = false;
    const bool completed = program.ctx().trap(location, [&] {
        throw TrappedError(number, description);
        reachedEnd = true;
    });
    QVERIFY(!completed);
    QVERIFY(!reachedEnd);
    const QStringList lines = program.errorLogLines();
    QCOMPARE(lines.size(), 1);
    QCOMPARE(afterDate(lines.first()), expected);
    QVERIFY(program.prompter().messages().isEmpty()); // nothing is shown on this path
}

void TestErrorLog::handlerRestoresTheMainWindow()
{
    Test::TempProgram program(false);
    RecordingHooks hooks;
    program.ctx().setHooks(&hooks);
    program.ctx().trap("frmMain, mnuDownload_Click", [] { throw TrappedError(Err::InvalidPropertyValue); });
    QCOMPARE(hooks.calls, (QStringList {"enabled=1", "busy=0", "poll=1"}));
    QCOMPARE(afterDate(program.errorLogLines().value(0)),
        " - frmMain, mnuDownload_Click, Program, 380, Invalid property value");
}

void TestErrorLog::appendsAndKeepsEarlierLines()
{
    Test::TempProgram program(false);
    QFile old(program.path("Data/Error.Log"));
    QVERIFY(old.open(QIODevice::WriteOnly));
    old.write("earlier entry\r\n");
    old.close();
    program.ctx().errorLog().write("Mod1 retuned ", "status code ", 3, " in basCom_UploadWhile().");
    program.ctx().errorLog().write("Connected Drive Not Supported", "Communication", 120, "");
    const QStringList lines = program.errorLogLines();
    QCOMPARE(lines.size(), 3);
    QCOMPARE(lines.at(0), QStringLiteral("earlier entry"));
    QCOMPARE(afterDate(lines.at(1)), " - Mod1 retuned , status code , 3,  in basCom_UploadWhile().");
    QCOMPARE(afterDate(lines.at(2)), " - Connected Drive Not Supported, Communication, 120, ");
}

void TestErrorLog::missingFolderShowsTheBoxOnce()
{
    Test::TempProgram program(false);
    QVERIFY(QDir(program.path("Data")).removeRecursively());
    program.ctx().trap("basMain, Main()", [] { throw TrappedError(Err::TypeMismatch); });
    const auto &messages = program.prompter().messages();
    QCOMPARE(messages.size(), 1);
    QCOMPARE(messages.first().title, QStringLiteral("Error Generated"));
    QCOMPARE(messages.first().style, int(Msg::Critical));
    QCOMPARE(messages.first().text,
        QStringLiteral("An error has occurred in sub ErrorLog()\rError Number: 76\r"
                       "Error Description: Path not found\r"
                       "Please contact your software vendor."));
    QVERIFY(!QFile::exists(program.path("Data/Error.Log")));
}

void TestErrorLog::linesAreLatin1WithCrLf()
{
    Test::TempProgram program(false);
    program.ctx().errorLog().write(QStringLiteral("Caf\u00e9"), "Program", 1, QStringLiteral("\u00b0C"));
    QFile file(program.path("Data/Error.Log"));
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.endsWith("Caf\xe9, Program, 1, \xb0"
                           "C\r\n"));
    QCOMPARE(bytes.count('\n'), 1);
}

void TestErrorLog::missingFieldIsPassedOverOnlyFor340()
{
    Test::TempProgram program(false);
    int steps = 0;
    const bool completed = program.ctx().trap("basFunctions, Compare()", [&] {
        for (int i : {5, 8, 941}) // 8 has no field
            skipMissingField([&] {
                program.ctx().editor.txtP(i).setText("1");
                ++steps;
            });
    });
    QVERIFY(completed);
    QCOMPARE(steps, 2);
    QVERIFY(program.errorLogLines().isEmpty());
    QVERIFY(!program.ctx().trap("basFunctions, Compare()", [] { skipMissingField([] { throw TrappedError(13); }); }));
    QCOMPARE(program.errorLogLines().size(), 1);
}

QTEST_GUILESS_MAIN(TestErrorLog)
#include "tst_errorlog.moc"
