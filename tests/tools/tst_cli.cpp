// tarvel-cli as a user runs it: a process over a program folder of its own.
#include "TestSupport.h"

#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"

#include <QProcess>
#include <QRegularExpression>
#include <QtTest>

using namespace Tarvel;

namespace {

struct Run
{
    int status = -1;
    QStringList out;
    QStringList err;
};

QStringList outputLines(const QByteArray &bytes)
{
    QStringList lines = QString::fromUtf8(bytes).split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeLines(const QString &path, const QStringList &lines)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(TextFile::encodeLines(lines));
}

// The status lines without their date and time: "New File operation started".
QString withoutDate(const QString &line)
{
    static const QRegularExpression date(QStringLiteral(" [0-9].*\\.$"));
    return QString(line).remove(date);
}

// The catalogue default of a parameter for a drive, in the form a value box
// shows it, read with the loader of the desktop program.
QString catalogueText(Test::TempProgram &program, const QStringList &drive, int index)
{
    AppContext &ctx = program.ctx();
    ParamLoader(ctx).getParamData(ctx.editor, QStringLiteral("qryTabParams"), u'\'' + drive[0] + u'\'',
        u'\'' + drive[1] + u'\'', u'\'' + drive[2] + u'\'');
    return ctx.editor.txtP(index).text();
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    std::unique_ptr<Test::TempProgram> m_program;

    QString path(const QString &relative) const { return m_program->path(relative); }

    Run run(const QStringList &args, const QString &home = QString())
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TARVEL_HOME"), home.isNull() ? m_program->dir() : home);
        env.insert(QStringLiteral("TARVEL_PACING"), QStringLiteral("fast"));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_program->dir());
        process.start(QStringLiteral(TARVEL_CLI_PATH), args);
        if (!process.waitForFinished(60000))
            return {};
        return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            outputLines(process.readAllStandardOutput()), outputLines(process.readAllStandardError())};
    }

    // A new QX2 configuration at Configs/<name>, made by the tool; its
    // revision is one the dependency rules cover.
    QString newConfig(const QString &name, const QString &drive = QStringLiteral("02,05,107"))
    {
        const QString file = path("Configs/" + name);
        const Run r = run({"new", "--drive", drive, file});
        if (r.status != 0)
            qWarning() << r.err;
        return file;
    }

private Q_SLOTS:
    void init() { m_program = std::make_unique<Test::TempProgram>(); }
    void cleanup() { m_program.reset(); }

    void drives()
    {
        const Run r = run({"drives"});
        QCOMPARE(r.status, 0);
        QVERIFY(r.err.isEmpty());
        Catalogue catalogue(Test::builtCatalogue());
        catalogue.connect();
        RecordSet rs = catalogue.query("Select Count(*) As n From tblDriveModels");
        QCOMPARE(r.out.size(), rs.field("n").toInt());
        QCOMPARE(r.out.value(0), "01 01 104 QX-1-0P2S rev. 104");
        QCOMPARE(r.out.value(1), "01 01 105 QX-1-0P2S rev. 105");
        QVERIFY(r.out.contains("02 05 120 QX-2-0P7H rev. 120"));
        QVERIFY(r.out.contains("03 06 104 QX-3-045H rev. 104"));
    }

    void newAndGet_data()
    {
        QTest::addColumn<QString>("drive");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QStringList>("params");
        QTest::newRow("QX2") << "02,05,120"
                             << "2" << QStringList {"P1.03", "P0.00", "P1.01"};
        QTest::newRow("QX3") << "03,06,104"
                             << "3" << QStringList {"P1.03", "P10.05", "P1.01"};
    }

    void newAndGet()
    {
        QFETCH(QString, drive);
        QFETCH(QString, series);
        QFETCH(QStringList, params);
        const QString file = path("Configs/Fan 1.qxc");
        const Run made = run({"new", "--drive", drive, file});
        QCOMPARE(made.status, 0);
        QVERIFY(made.err.isEmpty());
        QCOMPARE(withoutDate(made.out.last()), "New File operation completed");
        const QStringList fileLines = TextFile::decodeLines(readBytes(file));
        QCOMPARE(fileLines.value(0), "#" + QString(drive).remove(','));
        QCOMPARE(fileLines.value(1), "#" + file);

        const Run got = run(QStringList {"get", file, "P9.41"} + params);
        QCOMPARE(got.status, 0);
        QVERIFY(got.err.isEmpty());
        const QStringList shown = got.out.filter(" = ");
        QCOMPARE(shown.size(), params.size() + 1);
        QCOMPARE(shown.value(0), "P9.41 = 0" + series + " (disabled)"); // read-only: the drive's own
        const QStringList code = drive.split(',');
        for (int n = 0; n < params.size(); ++n) {
            const int index = params[n].mid(1).remove('.').toInt();
            QCOMPARE(shown.value(n + 1), params[n] + " = " + catalogueText(*m_program, code, index));
        }
        QVERIFY(got.out.first().startsWith("Open File operation started "));
    }

    void setValues_data()
    {
        QTest::addColumn<QStringList>("assignments");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("values"); // "Pg.nn = TEXT" after each
        // The last parameter read back from the saved file: a choice comes
        // back as its entry's two-character code.
        QTest::addColumn<QString>("reread");
        QTest::newRow("accepted") << QStringList {"P1.03=12.5"} << 0 << QStringList {} << QStringList {"P1.03 = 12.5"}
                                  << QString("P1.03 = 12.5");
        QTest::newRow("too high keeps the last value")
            << QStringList {"P1.03=12.5", "P1.03=600.1"} << 1
            << QStringList {"MSG Value Out Of Range: The value entered for P1.03 is too high!\\rThe parameter will be "
                            "set to the previous value."}
            << QStringList {"P1.03 = 12.5", "P1.03 = 12.5"} << QString("P1.03 = 12.5");
        QTest::newRow("not numeric: the default")
            << QStringList {"P1.03=12.5", "P1.03=fast"} << 1
            << QStringList {"MSG Wrong Data Type: Your entry needs to be numeric.\\rThe value has been reset to the "
                            "Parameter's Default. Any dependent parameter will also be changed if necessary"}
            << QStringList {"P1.03 = 12.5", "P1.03 = 10"} << QString("P1.03 = 10");
        QTest::newRow("rounded to the resolution")
            << QStringList {"P1.03=12.25"} << 1
            << QStringList {"MSG Invalid Resolution: The value you entered contains too many decimals.\\rThe value "
                            "will be rounded to 1 decimal place(s)."}
            << QStringList {"P1.03 = 12.2"} << QString("P1.03 = 12.2");
        QTest::newRow("choice list position")
            << QStringList {"P3.00=3"} << 0 << QStringList {} << QStringList {"P3.00 = 3"} << QString("P3.00 = 03");
        QTest::newRow("choice list without that entry")
            << QStringList {"P3.00=5"} << 1 << QStringList {} << QStringList {"P3.00 = 00"} << QString("P3.00 = 00");
        QTest::newRow("choice by text for P0.02")
            << QStringList {"P0.02=50"} << 0 << QStringList {} << QStringList {"P0.02 = 50"} << QString("P0.02 = 50");
        QTest::newRow("rule enables the custom curve")
            << QStringList {"P2.04=4.5", "P2.00=3", "P2.04=4.5"} << 1 << QStringList {}
            << QStringList {"P2.04 = 3 (disabled)", "P2.00 = 3", "P2.04 = 4.5"} << QString("P2.04 = 4.5");
        QTest::newRow("rule disables the custom curve")
            << QStringList {"P2.00=3", "P2.04=4.5", "P2.00=1", "P2.04=4"} << 1 << QStringList {}
            << QStringList {"P2.00 = 3", "P2.04 = 4.5", "P2.00 = 1", "P2.04 = 3 (disabled)"}
            << QString("P2.04 = 3 (disabled)");
        QTest::newRow("rule refuses against another value")
            << QStringList {"P2.00=3", "P2.06=5"} << 1
            << QStringList {"MSG Invalid Value: Value must be less than or equal to P2.04."}
            << QStringList {"P2.00 = 3", "P2.06 = 1.5"} << QString("P2.06 = 1.5");
    }

    void setValues()
    {
        QFETCH(QStringList, assignments);
        QFETCH(int, status);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, values);
        QFETCH(QString, reread);
        const QString file = newConfig("Pump.qxc");
        const Run r = run(QStringList {"set", file} + assignments);
        QCOMPARE(r.out.filter(QRegularExpression("^MSG ")), messages);
        QCOMPARE(r.out.filter(QRegularExpression("^P\\d+\\.\\d\\d = ")), values);
        QCOMPARE(r.status, status);
        if (status == 0)
            QVERIFY2(r.err.isEmpty(), qPrintable(r.err.join('\n')));
        QVERIFY(withoutDate(r.out.last()) == "File Save operation completed");

        // What the file now holds is what the last line showed, read back
        // through the open checks without a replacement.
        const Run back = run({"get", file, reread.section(' ', 0, 0)});
        QCOMPARE(back.status, 0);
        QCOMPARE(back.out.last(), reread);
    }

    void setToAnotherFile()
    {
        const QString file = newConfig("Base.qxc");
        const QByteArray before = readBytes(file);
        const QString out = path("Configs/Copy.qxc");
        const Run r = run({"set", file, "P1.03=20", "-o", out});
        QCOMPARE(r.status, 0);
        QCOMPARE(readBytes(file), before);
        QVERIFY(TextFile::decodeLines(readBytes(out)).contains("10320"));
        QCOMPARE(TextFile::decodeLines(readBytes(out)).value(1), "#" + out);
        QCOMPARE(run({"get", out, "P1.03"}).out.last(), "P1.03 = 20");
    }

    void setWithUnknownParameterChangesNothing_data()
    {
        QTest::addColumn<QString>("word");
        QTest::addColumn<QString>("error");
        QTest::newRow("not used by QX2") << "P10.05=1"
                                         << "P10.05 is not used by this drive (02 05 107)";
        QTest::newRow("no such field") << "P1.99=1"
                                       << "P1.99 is not a parameter name";
    }

    void setWithUnknownParameterChangesNothing()
    {
        QFETCH(QString, word);
        QFETCH(QString, error);
        const QString file = newConfig("Same.qxc");
        const QByteArray before = readBytes(file);
        const Run r = run({"set", file, "P1.03=20", word});
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.value(0).contains(error), qPrintable(r.err.join('\n')));
        QCOMPARE(readBytes(file), before);
        QVERIFY(r.out.filter(" = ").isEmpty());
    }

    void check_data()
    {
        QTest::addColumn<QString>("value");
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("report");
        QTest::newRow("in range, not default")
            << "25" << 0 << " - P1.03 - Value different from default. Value = 25 Default = 10";
        QTest::newRow("too high") << "700" << 1
                                  << " - P1.03 - Value too high. Value = 700 Max = 600 Parameter's default of 10 was "
                                     "loaded.";
        QTest::newRow("too low")
            << "0" << 1 << " - P1.03 - Value too low. Value = 0 Min = 0.1 Parameter's default of 10 was loaded.";
    }

    void check()
    {
        QFETCH(QString, value);
        QFETCH(int, status);
        QFETCH(QString, report);
        const QString file = path("Configs/hand.qxc");
        writeLines(file,
            {"#0205120", "#C:\\Configs\\hand.qxc", "#1/2/2004 10:11:12", "#WARNING!", "#Only", "10110", "103" + value});
        const Run r = run({"check", file});
        QCOMPARE(r.status, status);
        QCOMPARE(r.out.filter(" - P").size(), 1);
        QVERIFY2(r.out.filter(" - P").value(0).endsWith(report), qPrintable(r.out.join('\n')));
        QCOMPARE(withoutDate(r.out.last()), "Open File operation completed");
        QCOMPARE(r.err.size(), status); // one line telling of the replacement
    }

    void compare()
    {
        const QString file = newConfig("Cmp.qxc");
        QCOMPARE(run({"set", file, "P1.03=61", "P3.00=1"}).status, 0);
        const Run r = run({"compare", file});
        QCOMPARE(r.status, 0);
        const QStringList found = r.out.filter(" - Value different from default. Value = ");
        QCOMPARE(found.filter(QRegularExpression("^P")),
            (QStringList {"P1.03 - Value different from default. Value = 61 Default = 10",
                "P3.00 - Value different from default. Value = 01 Default = 0"}));
        QVERIFY(withoutDate(r.out.filter("Compare started").value(0)) == "Compare started");
        QCOMPARE(withoutDate(r.out.last()), "Compare complete");
    }

    void report()
    {
        const QString file = newConfig("Rep.qxc");
        QCOMPARE(run({"set", file, "P3.00=1"}).status, 0);
        const Run printed = run({"report", file});
        QCOMPARE(printed.status, 0);
        QVERIFY(printed.out.contains("Vernholt QX Drives Configuration Report"));
        QVERIFY(printed.out.contains("Config Name: Rep.qxc"));
        QVERIFY(printed.out.contains("Rev: 1.07"));
        const QStringList p300 = printed.out.filter(QRegularExpression("^P3.00 "));
        QCOMPARE(p300.size(), 1);
        QCOMPARE(p300[0].indexOf("01 External Terminals"), 59); // column 60
        QVERIFY(printed.out.filter(QRegularExpression("^P10\\.")).isEmpty()); // not a QX2 parameter

        const QString out = path("copy.txt");
        const Run copied = run({"report", file, "-o", out});
        QCOMPARE(copied.status, 0);
        QVERIFY(copied.out.filter("Configuration Report").isEmpty());
        const QStringList lines = TextFile::decodeLines(readBytes(out));
        QCOMPARE(lines.mid(4), printed.out.mid(printed.out.indexOf("Config Name: Rep.qxc")));
        QCOMPARE(readBytes(out), readBytes(path("Configs/ConfigReport.txt")));
    }

    void newReplacesOnlyWhenTold()
    {
        const QString file = newConfig("Twice.qxc");
        writeLines(path("Configs/Twice.qxs"), {"schematic"});
        const QByteArray before = readBytes(file);
        const Run no = run({"new", "--drive", "03,01,100", file});
        QCOMPARE(no.status, 1);
        QCOMPARE(no.out,
            QStringList {
                "MSG Tarvel: The file " + file + " already exists.\\rDo you want to replace the existing file?"});
        QCOMPARE(readBytes(file), before);
        QVERIFY(QFile::exists(path("Configs/Twice.qxs")));

        const Run yes = run({"--yes", "new", "--drive", "03,01,100", file});
        QCOMPARE(yes.status, 0);
        QCOMPARE(TextFile::decodeLines(readBytes(file)).value(0), "#0301100");
        QVERIFY(!QFile::exists(path("Configs/Twice.qxs")));
    }

    void cannotRun_data()
    {
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("usage");
        QTest::addColumn<QString>("error");
        QTest::addColumn<QString>("message"); // the box that tells it, if one does
        const QString none;
        QTest::newRow("no command") << QStringList {} << true << "no command given" << none;
        QTest::newRow("unknown command") << QStringList {"erase"} << true << "unknown command 'erase'" << none;
        QTest::newRow("unknown option") << QStringList {"drives", "--fast"} << true << "Unknown option 'fast'" << none;
        QTest::newRow("option of another command") << QStringList {"get", "x.qxc", "P1.00", "--drive", "02,05,120"}
                                                   << true << "get does not take the option --drive" << none;
        QTest::newRow("get without parameter") << QStringList {"get", "x.qxc"} << true << "get takes" << none;
        QTest::newRow("get with a bad name")
            << QStringList {"get", "x.qxc", "P1"} << true << "P1 is not a parameter" << none;
        QTest::newRow("set without value")
            << QStringList {"set", "x.qxc", "P1.00"} << true << "P1.00 is not an assignment" << none;
        QTest::newRow("new without drive") << QStringList {"new", "x.qxc"} << true << "new needs --drive" << none;
        QTest::newRow("new with a short drive")
            << QStringList {"new", "--drive", "02,05", "x.qxc"} << true << "--drive takes" << none;
        QTest::newRow("new with an unknown drive") << QStringList {"new", "--drive", "02,05,999", "x.qxc"} << false
                                                   << "drive 02,05,999 is not in the catalogue" << none;
        QTest::newRow("new into a missing folder")
            << QStringList {"new", "--drive", "02,05,120", "nowhere/x.qxc"} << false << "no folder for" << none;
        QTest::newRow("missing program folder") << QStringList {"--home", "/no/such/folder", "drives"} << false
                                                << "no program folder /no/such/folder" << none;
        QTest::newRow("missing file") << QStringList {"get", "gone.qxc", "P1.00"} << false << ""
                                      << "MSG File missing: Error loading file.\\rCould not find %1/gone.qxc.";
        QTest::newRow("unsupported drive")
            << QStringList {"check", "old.qxc"} << false << ""
            << "MSG Non-Supported Drive Model: The file you are opening is configured for a drive model that is not "
               "curently supported.";
    }

    void cannotRun()
    {
        QFETCH(QStringList, args);
        QFETCH(bool, usage);
        QFETCH(QString, error);
        QFETCH(QString, message);
        writeLines(path("old.qxc"), {"#0205999", "#", "#", "#", "#", "10320"});
        const Run r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY2(r.err.value(0).contains(error), qPrintable(r.err.join('\n')));
        QCOMPARE(r.err.contains("Usage: tarvel-cli [--home DIR] [--yes] COMMAND ..."), usage);
        QCOMPARE(r.out.filter("MSG "), message.isEmpty() ? QStringList() : QStringList {message.arg(m_program->dir())});
        QVERIFY(!QFile::exists(path("x.qxc")));
    }

    void catalogueMissing()
    {
        QTemporaryDir empty;
        const Run r = run({"--home", empty.path(), "drives"});
        QCOMPARE(r.status, 2);
        QCOMPARE(r.err, QStringList {"tarvel-cli: catalogue not found: " + empty.path() + "/Data/QX.qxd"});
        QVERIFY(r.out.isEmpty());
        // The environment's folder is used when no --home is given.
        QCOMPARE(run({"drives"}, empty.path()).status, 2);
    }

    void help()
    {
        const Run r = run({"--help"});
        QCOMPARE(r.status, 0);
        const QString text = r.out.join('\n');
        for (const char *part : {"drives", "new --drive SS,MM,RRR FILE.qxc", "Exit status:", "--yes", "--home DIR"})
            QVERIFY2(text.contains(part), qPrintable(part));
    }
};

QTEST_GUILESS_MAIN(TestCli)
#include "tst_cli.moc"
