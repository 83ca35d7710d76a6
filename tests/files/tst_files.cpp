// Configuration files, the compare, the report, new configurations, the
// change of rating and the check of uploaded values.
#include "FileTestSupport.h"
#include "TestMain.h"

#include "base/NumberText.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "files/CompareOperation.h"
#include "files/ConfigFile.h"
#include "files/ConfigReport.h"
#include "files/FileDifferences.h"
#include "files/NewConfig.h"
#include "files/RatingUpdate.h"
#include "rules/UploadValidation.h"

#include <QDir>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

// A file with the drive line, four header lines and the value lines.
QByteArray configBytes(const QString &driveLine, const QStringList &values, const QByteArray &eol = "\r\n")
{
    QByteArray out;
    for (const QString &line :
        QStringList {driveLine, "#C:\\Configs\\x.qxc", "#01/02/2004 10:11:12", "#WARNING!", "#Only make"} + values)
        out += line.toLatin1() + eol;
    return out;
}

// Opens a configuration file of these bytes, Configs/test.qxc.
bool openBytes(TempProgram &program, const QByteArray &bytes)
{
    writeBytes(program.path("Configs/test.qxc"), bytes);
    return ConfigFile(program.ctx()).openFile(program.path("Configs/test.qxc"));
}

// The status lines that report a value, without their date.
QStringList valueReports(const StatusList &list)
{
    QStringList out;
    for (const QString &line : list.lines())
        if (line.contains(" - P"))
            out << line.mid(line.indexOf(" - P"));
    return out;
}

// "index=text" entries typed into the configuration.
void applyEdits(AppContext &ctx, const QStringList &edits)
{
    for (const QString &edit : edits)
        ctx.editor.txtP(edit.section('=', 0, 0).toInt()).setText(edit.section('=', 1));
}

QString column(const QString &caption, const QString &value)
{
    return caption.leftJustified(59) + value; // value at column 60
}

} // namespace

class TestConfigFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void roundTrip_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<int>("lastIndex");
        QTest::addColumn<QString>("accelDefault");
        QTest::newRow("QX2, 3-digit index") << QX2 << 942 << "10";
        QTest::newRow("QX3, 4-digit index") << QX3 << 1005 << "30";
    }
    void roundTrip()
    {
        QFETCH(QStringList, drive);
        QFETCH(int, lastIndex);
        QFETCH(QString, accelDefault);
        const int width = lastIndex > 999 ? 4 : 3;
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        FileCommandHooks hooks;
        ctx.setHooks(&hooks);
        EditorForm &f = ctx.editor;
        QVERIFY(loadDrive(ctx, drive));
        f.txtP(101).setText("25.5");
        f.cmbP(300).setListIndex(1);
        f.txtP(300).setText("01");
        QList<int> positions;
        connect(&ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions << p; });
        // A line break and letters beyond Latin-1 in the folder: line 2 stays one line.
        QVERIFY(QDir().mkpath(program.path(QStringLiteral("Configs/a\n123b \u041f"))));
        const QString path = program.path(QStringLiteral("Configs/a\n123b \u041f/M\u00fcller 1.qxc"));

        QVERIFY(ConfigFile(ctx).saveFile(path));
        QCOMPARE(positions, (QList<int> {0, 200, 300, 500, 800}));
        QVERIFY(!ctx.state.blnConfigChanged && !ctx.statusList.barVisible());
        QCOMPARE(hooks.calls,
            (QStringList {"caption=Tarvel - Saving Configuration File", "busy=1", "updateCaption", "busy=0"}));
        const QByteArray bytes = readBytes(path);
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(bytes.contains("M\xfcller 1.qxc\r\n")); // Latin-1, not UTF-8
        const QStringList lines = TextFile::decodeLines(bytes);
        QCOMPARE(lines.at(0), "#" + drive.join(""));
        QCOMPARE(
            lines.at(1), "#" + QFileInfo(path).absoluteFilePath().replace("\n", "%0A").replace(u'\u041f', "%D0%9F"));
        QVERIFY(
            lines.at(3).startsWith("#WARNING! Changing any contents of this file may result in the confirguration"));
        QCOMPARE(lines.at(4), "#Only make changes when instructed to do so from Tech Support personnel.");
        QStringList expected;
        QHash<int, QString> saved;
        for (int i : EditorForm::fieldIndices()) {
            saved.insert(i, f.txtP(i).text());
            if (i <= lastIndex)
                expected << QStringLiteral("%1").arg(i, width, 10, QChar('0')) + f.txtP(i).text();
        }
        QCOMPARE(lines.mid(5), expected);

        QVERIFY(loadDrive(ctx, {"01", "01", "104"})); // another drive in between
        ctx.statusList.clear();
        QVERIFY(ConfigFile(ctx).openFile(path));
        QCOMPARE(driveOf(ctx), drive);
        for (int i : EditorForm::fieldIndices()) {
            if (i <= lastIndex) {
                QCOMPARE(f.txtP(i).text(), saved.value(i));
                QCOMPARE(ctx.params.varLastChance[i].toString(), saved.value(i));
            }
        }
        QCOMPARE(f.cmbP(300).listIndex(), 1);
        QCOMPARE(f.lblP(101).foreColor(), Colour::Red);
        QCOMPARE(f.lblP(102).foreColor(), Colour::Black);
        QCOMPARE(valueReports(ctx.statusList),
            (QStringList {" - P1.01 - Value different from default. Value = 25.5 Default = " + accelDefault,
                " - P3.00 - Value different from default. Value = 1 Default = 0"}));
        QVERIFY(ctx.statusList.lines().last().startsWith("Open File operation completed "));
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QVERIFY(!ctx.statusList.barVisible() && !ctx.state.blnConfigChanged);
        QCOMPARE(f.tag(), "1");
    }

    void handMadeLine_data()
    {
        QTest::addColumn<QString>("driveLine");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("report");
        const auto row = [](const char *name, const QString &line, int index, const QString &text,
                             const QString &report = {}, const QString &driveLine = "#0205120") {
            QTest::newRow(name) << driveLine << line << index << text << report;
        };
        row("nothing after the index", "101", 101, "10");
        row("series 3: nothing after the index", "0616", 616, "0", {}, "#0306104");
        row("index not whole", "1e25xyz", 101, "10");
        row("comment looking like a value", "#101 5", 101, "10");
        row("one blank, no default", "629 ", 629, " ");
        row("default spelt otherwise", "10110.00", 101, "10.00");
        row("above maximum", "00399999", 3, "1740",
            " - P0.03 - Value too high. Value = 99999 Max = 24000 Parameter's default of 1740 was loaded.");
        row("not a number", "101abc", 101, "10",
            " - P1.01 - Value too low. Value = 0 Min = 0.1 Parameter's default of 10 was loaded.");
        row("list entry by position", "3002", 300, "02",
            " - P3.00 - Value different from default. Value = 2 Default = 0");
        row("list position past the list", "3009", 300, "00",
            " - P3.00 - Value too high. Value = 9 Max = 4 Parameter's default of 0 was loaded.");
        row("99 past an input's maximum", "30599", 305, "03",
            " - P3.05 - Value too high. Value = 99 Max = 22 Parameter's default of 3 was loaded.");
        row("voltage list holds the number", "000400", 0, "400",
            " - P0.00 - Value different from default. Value = 400 Default = 460");
    }
    void handMadeLine()
    {
        QFETCH(QString, driveLine);
        QFETCH(QString, line);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, report);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(openBytes(program, configBytes(driveLine, {line})));
        QCOMPARE(ctx.editor.txtP(index).text(), text);
        QCOMPARE(ctx.params.varLastChance[index].toString(), text);
        if (ctx.params.blnListShown[index]) // the list shows the same value as the box
            QVERIFY(ctx.editor.cmbP(index).text().startsWith(text));
        QCOMPARE(valueReports(ctx.statusList), report.isEmpty() ? QStringList() : QStringList {report});
        // A replaced value leaves the configuration different from its file.
        QCOMPARE(ctx.state.blnConfigChanged, report.endsWith("was loaded."));
        QCOMPARE(ctx.editor.lblP(index).foreColor(), report.contains("different") ? Colour::Red : Colour::Black);
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void lineEndsAndCurve_data()
    {
        QTest::addColumn<QByteArray>("eol");
        QTest::addColumn<QStringList>("curve"); // P2.00 lines
        QTest::addColumn<bool>("midPointsEnabled");
        QTest::newRow("CR LF, custom curve") << QByteArray("\r\n") << QStringList {"2003"} << true;
        QTest::newRow("LF, custom then square law") << QByteArray("\n") << QStringList {"2003", "2001"} << false;
    }
    void lineEndsAndCurve()
    {
        QFETCH(QByteArray, eol);
        QFETCH(QStringList, curve);
        QFETCH(bool, midPointsEnabled);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        const QString latin1Comment = QStringLiteral("#Ge\u00e4ndert f\u00fcr M\u00fcller, 40 \u00b0C");
        QVERIFY(openBytes(program,
            configBytes("#0205120", QStringList {"10125.5", latin1Comment} + curve + QStringList {"2045.5"}, eol)));
        QCOMPARE(ctx.editor.txtP(101).text(), "25.5");
        QCOMPARE(ctx.editor.txtP(204).text(), "5.5");
        for (int i = 204; i <= 207; ++i)
            QCOMPARE(ctx.editor.txtP(i).enabled(), midPointsEnabled);
    }

    void ninetyNineSelectsLastInputEntry()
    {
        for (const auto &[index, last] : {std::pair {302, true}, {310, true}, {311, false}}) {
            Test::TempProgram program;
            AppContext &ctx = program.ctx();
            {
                // A catalogue whose limit admits 99, so the check keeps the value.
                Catalogue cat(program.path("Data/QX.qxd"));
                cat.connect();
                cat.execute(QStringLiteral("UPDATE tblDriveParameters SET max = 99 WHERE Parameter = '%1'").arg(index));
            }
            QVERIFY(openBytes(program, configBytes("#0205120", {QString::number(index) + "99"})));
            const ComboField &list = ctx.editor.cmbP(index);
            QCOMPARE(list.listIndex(), last ? list.listCount() - 1 : -1);
            QCOMPARE(ctx.editor.txtP(index).text(), "99");
        }
    }

    // Line 1 alone names the drive: body lines for P9.41 and P9.42 that say
    // otherwise are reported and ignored, and the save keeps line 1.
    void identityComesFromLineOne_data()
    {
        QTest::addColumn<QStringList>("body");
        QTest::newRow("another drive's codes") << QStringList {"94101", "94203"};
        QTest::newRow("mangled series") << QStringList {"941/1"};
    }
    void identityComesFromLineOne()
    {
        QFETCH(QStringList, body);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(openBytes(program, configBytes("#0205108", QStringList {"10125.5"} + body)));
        QCOMPARE(ctx.editor.txtP(941).text() + ctx.editor.txtP(942).text(), "0205");
        QCOMPARE(ctx.statusList.lines().filter(" does not match the drive of line 1; ").size(), body.size());
        const QString path = program.path("Configs/test.qxc");
        QVERIFY(ConfigFile(ctx).saveFile(path));
        const QStringList saved = TextFile::decodeLines(readBytes(path));
        QCOMPARE(saved.first(), "#0205108");
        QVERIFY(saved.contains("94102") && saved.contains("94205") && saved.contains("10125.5"));
    }

    // The tail of a path line broken by an older save sits before the date
    // line and is no parameter line.
    void brokenPathLineIsNoValue()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(openBytes(program, "#0205120\r\n#/home/a\r\n1015 copy\r\n#date\r\n#W\r\n#O\r\n10125.5\r\n"));
        QCOMPARE(ctx.editor.txtP(101).text(), "25.5");
        QCOMPARE(valueReports(ctx.statusList).size(), 1);
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        const QString unsupported = QStringLiteral("Non-Supported Drive Model");
        const QString missing = QStringLiteral("File missing");
        QTest::newRow("missing") << "missing" << missing;
        QTest::newRow("folder of that name") << "folder" << missing;
        QTest::newRow("far larger than any drive's") << "huge"
                                                     << "File too large";
        QTest::newRow("model not in catalogue") << "#0299120" << unsupported;
        QTest::newRow("quote in the drive line") << "#02'5120" << unsupported;
        QTest::newRow("NUL in the drive line") << QStringLiteral("#02") + QChar(0) + "05120" << unsupported;
        QTest::newRow("empty file") << "" << unsupported;
    }
    void refusedFileChangesNothing()
    {
        QFETCH(QString, kind);
        QFETCH(QString, title);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, QX2));
        ctx.editor.txtP(101).setText("33");
        ctx.statusList.clear();
        const QString path = program.path("Configs/refused.qxc");
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "huge")
            writeBytes(path, configBytes("#0205120", QStringList(40000, "10150")));
        else if (kind != "missing")
            writeBytes(path, kind.isEmpty() ? QByteArray() : configBytes(kind, {"10150"}));

        QVERIFY(!ConfigFile(ctx).openFile(path));
        const bool unsupported = title.startsWith("Non-");
        QCOMPARE(program.prompter().titles(), QStringList {title});
        const ScriptedPrompter::Message box = program.prompter().messages().first();
        QCOMPARE(box.style, unsupported ? Msg::Information : Msg::Exclamation);
        QVERIFY(box.text.startsWith(unsupported
                ? "The file you are opening is configured for a drive model that is not "
                : "Error loading file.\r" + QString(kind == "huge" ? "" : "Could not find ") + path));
        const QStringList &got = ctx.statusList.lines();
        QCOMPARE(got.size(), unsupported ? 3 : 1);
        if (unsupported)
            QVERIFY(got.at(1).endsWith("File contains information for unsupported drive."));
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(ctx.editor.txtP(101).text(), "33");
        QCOMPARE(ctx.state.strModel + ctx.state.strRev, "05120");
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void badIndexEndsOpenThroughTrap_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QString>("badLine");
        QTest::addColumn<int>("number");
        QTest::newRow("no field at the index") << QX2 << "9995" << 340;
        QTest::newRow("index past 1099") << QX3 << "12345" << 9;
    }
    void badIndexEndsOpenThroughTrap()
    {
        QFETCH(QStringList, drive);
        QFETCH(QString, badLine);
        QFETCH(int, number);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        const QString pad = drive == QX3 ? "0" : "";
        QVERIFY(!openBytes(program, configBytes("#" + drive.join(""), {pad + "10125.5", badLine, pad + "10233"})));
        QCOMPARE(ctx.editor.txtP(101).text(), "25.5"); // applied before the bad line
        QCOMPARE(ctx.editor.txtP(102).text(), NumberText::variant(ctx.params.varDefault[102])); // never reached
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().contains(QStringLiteral(" - basFunctions, OpenFile(), Program, %1, ").arg(number)));
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(ctx.editor.tag(), "0");
    }

    // A file where the folder should be: the old file stays, the fault goes
    // to the trap and the window's caption and pointer come back.
    void writeFailsIntoTheTrap_data()
    {
        QTest::addColumn<QString>("location");
        QTest::addColumn<QStringList>("calls"); // of the main window, the trap's "busy=0" among them
        QTest::newRow("save") << "SaveFile()"
                              << QStringList {"caption=Tarvel - Saving Configuration File", "busy=1", "busy=0",
                                     "updateCaption", "busy=0"};
        QTest::newRow("report") << "ConfigReport()" << QStringList {"busy=0"};
    }
    void writeFailsIntoTheTrap()
    {
        QFETCH(QString, location);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        FileCommandHooks hooks;
        ctx.setHooks(&hooks);
        QVERIFY(loadDrive(ctx, QX2));
        ctx.statusList.clear();
        const QString configs = program.path("Configs");
        QVERIFY(QDir(configs).removeRecursively());
        writeBytes(configs, "old contents\r\n");
        if (location == "SaveFile()")
            QVERIFY(!ConfigFile(ctx).saveFile(configs + "/new.qxc"));
        else
            ConfigReport(ctx).configReport();
        QCOMPARE(readBytes(configs), QByteArray("old contents\r\n"));
        QVERIFY(ctx.state.blnConfigChanged && ctx.statusList.lines().isEmpty());
        QTEST(hooks.calls, "calls");
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().contains(" - basFunctions, " + location + ", Program, 75, "));
    }
};

class TestCompareOperation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void changedValues_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QStringList>("edits"); // index=text
        QTest::addColumn<QStringList>("expected");
        const QString differs = QStringLiteral(" - Value different from default. Value = ");
        QTest::newRow("fresh QX3") << QX3 << QStringList() << QStringList();
        QTest::newRow("same number, other spelling")
            << QX2 << QStringList {"103=10.00", "2=60", "300=00"} << QStringList();
        QTest::newRow("no default is never reported") << QX2 << QStringList {"629=5"} << QStringList();
        QTest::newRow("text as shown, ascending")
            << QX2 << QStringList {"938=1234", "5=01", "103=61.0", "209=.25"}
            << QStringList {"P0.05" + differs + "01 Default = 0", "P1.03" + differs + "61.0 Default = 10",
                   "P2.09" + differs + ".25 Default = 0.5", "P9.38" + differs + "1234 Default = 0"};
        QTest::newRow("emptied value counts as zero")
            << QX2 << QStringList {"103="} << QStringList {"P1.03" + differs + " Default = 10"};
    }
    void changedValues()
    {
        QFETCH(QStringList, drive);
        QFETCH(QStringList, edits);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"03", "06", "104"}));
        QVERIFY(loadDrive(ctx, drive)); // the records keep QX3 values at indices QX2 lacks
        ctx.state.blnConfigChanged = false;
        applyEdits(ctx, edits);
        ctx.statusList.clear();
        QList<int> positions;
        connect(&ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions << p; });
        CompareOperation(ctx).compare();
        const QStringList &lines = ctx.statusList.lines();
        QVERIFY(lines.first().startsWith("Compare started ") && lines.last().startsWith("Compare complete "));
        QTEST(lines.mid(1, lines.size() - 2), "expected");
        QCOMPARE(positions.size(), 1000); // every index moves the bar
        QCOMPARE(positions.last(), StatusList::MaxPosition);
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
    }
};

class TestConfigReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, QX2));
        ConfigReport report(ctx);
        ctx.state.strConfigName = "first.qxc";
        report.configReport(); // without a desktop the report is only written
        FileCommandHooks hooks;
        ctx.setHooks(&hooks);
        ctx.state.strConfigName = "Pump 3.qxc";
        ctx.editor.txtP(101).setText("25.5");
        const QString caption = "P1.02 " + QString(53, 'd'); // 59 characters: the value goes below
        ctx.editor.lblP(102).setCaption("   " + caption + "  ");
        report.configReport(); // replaces the first
        QCOMPARE(report.reportPath(), program.path("Configs/ConfigReport.txt"));
        QCOMPARE(hooks.calls, QStringList {"open " + report.reportPath()});
        const QByteArray bytes = readBytes(report.reportPath());
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        const QStringList lines = TextFile::decodeLines(bytes);
        QCOMPARE(lines.mid(0, 3), (QStringList {"", "", "Vernholt QX Drives Configuration Report"}));
        QVERIFY(lines.at(3).startsWith("Report Generated: ") && lines.at(3).size() > 20);
        QCOMPARE(lines.mid(4, 6),
            (QStringList {"Config Name: Pump 3.qxc", "Model: QX-2-0P7H", "Rev: 1.20", "", column("Parameter", "Value"),
                column("---------", "-----")}));
        const QStringList body = lines.mid(10);
        const EditorForm &f = ctx.editor;
        int used = 1; // the value pushed below its caption
        for (int i : EditorForm::fieldIndices())
            used += f.lblP(i).foreColor() != Colour::GrayText;
        QCOMPARE(body.size(), used);
        QVERIFY(!bytes.contains("Not used") && !bytes.contains("first.qxc"));
        QCOMPARE(body.first(), column("P0.00 Motor Rated Voltage (V)", f.txtP(0).text()));
        const qsizetype at = body.indexOf(column("P1.01 Acceleration Time 1 (s)", "25.5"));
        QCOMPARE(body.mid(at + 1, 2), (QStringList {caption, column("", f.txtP(102).text())}));
        // A choice list is listed with its whole entry, not the code in its box.
        QVERIFY(body.contains(column("P3.00 Source of Operation Command", f.cmbP(300).text())));
        QVERIFY(body.last().startsWith("P9.42 Drive Model") && body.last().endsWith("QX-2-0P7H"));
    }
};

class TestNewConfig : public QObject
{
    Q_OBJECT

    static DriveListEntry drive(const QStringList &code) { return {code.at(0), code.at(1), code.at(2), QString()}; }

private Q_SLOTS:
    // The list holds every revision of the catalogue source, in order.
    void driveList()
    {
        QFile file(QStringLiteral(TARVEL_DATA_SOURCE_DIR "/models.csv"));
        QVERIFY(file.open(QIODevice::ReadOnly));
        QStringList expected;
        for (const QString &line : TextFile::decodeLines(file.readAll()).mid(1)) {
            const QStringList cols = line.split(u',');
            for (const QString &rev : cols.value(7).split(u' ', Qt::SkipEmptyParts))
                expected << cols.at(0) + cols.at(1) + rev + ' ' + cols.at(2) + " rev. " + rev;
        }
        expected.sort();
        TempProgram program;
        QStringList got;
        for (const DriveListEntry &d : NewConfig(program.ctx()).driveList())
            got << d.seriesCode + d.modelCode + d.rev + ' ' + d.text;
        QCOMPARE(got, expected);
    }

    // A new configuration opens in its window, then is saved with the
    // catalogue defaults; a drive the catalogue lacks or a missing folder
    // stops it, the fault in the trap.
    void start_data()
    {
        QTest::addColumn<QStringList>("code");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QString>("logged"); // empty: started
        const int detailed = int(NewConfig::Mode::Detailed);
        const QString pump = QStringLiteral("Configs/Pump 1.qxc");
        QTest::newRow("QX2 detailed") << QX2 << detailed << pump << "1" << QString();
        QTest::newRow("QX3 wizard") << QX3 << int(NewConfig::Mode::Wizard) << pump << "2" << QString();
        QTest::newRow("QX2 schematic") << QX2 << int(NewConfig::Mode::Schematic) << pump << "3" << QString();
        QTest::newRow("drive not in catalogue")
            << QStringList {"02", "05", "9'9"} << detailed << pump << QString() << "basFunctions, getParamData()";
        QTest::newRow("no such folder") << QX2 << detailed << "none/n.qxc" << QString() << "basFunctions, SaveFile()";
    }
    void start()
    {
        QFETCH(QStringList, code);
        QFETCH(QString, file);
        QFETCH(QString, logged);
        TempProgram program;
        AppContext &ctx = program.ctx();
        const QString path = program.path(file);
        if (logged.isEmpty())
            writeBytes(path, "old contents\r\n"); // replaced as a whole
        NewConfig newConfig(ctx);
        QList<NewConfig::Mode> shown;
        newConfig.setShowMode([&](NewConfig::Mode m) {
            // The window opens on the new drive, before the save.
            QCOMPARE(ctx.state.strSeries, code.at(0));
            QCOMPARE(ctx.statusList.lines().size(), 1);
            shown << m;
        });
        const NewConfig::Mode mode = NewConfig::Mode(cell<int>("mode"));
        QCOMPARE(newConfig.startNewConfig(mode, drive(code), path), logged.isEmpty());
        QVERIFY(!ctx.statusList.barVisible());
        if (!logged.isEmpty()) {
            QVERIFY(!QFile::exists(path));
            QCOMPARE(shown.size(), file.startsWith("none") ? 1 : 0); // loaded, shown, not saved
            if (!shown.isEmpty()) // an unsaved configuration counts as changed
                QVERIFY(ctx.state.blnConfigChanged);
            QVERIFY(program.errorLogLines().join('\n').contains(logged));
            return;
        }
        QCOMPARE(shown, QList<NewConfig::Mode> {mode});
        QTEST(ctx.editor.tag(), "tag");
        QCOMPARE(ctx.state.strConfigPath, path);
        QVERIFY(!ctx.state.blnConfigChanged);
        const QStringList words {"New File operation started ", "File Save operation started ",
            "File Save operation completed ", "New File operation completed "};
        QCOMPARE(ctx.statusList.lines().size(), 4);
        for (int n = 0; n < 4; ++n)
            QVERIFY(ctx.statusList.lines().at(n).startsWith(words.at(n)));
        // The file holds the catalogue defaults: reading it back reports none.
        QCOMPARE(TextFile::decodeLines(readBytes(path)).value(0), "#" + code.join(""));
        QVERIFY(ConfigFile(ctx).openFile(path));
        QCOMPARE(valueReports(ctx.statusList), QStringList());
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void confirmReplace_data()
    {
        QTest::addColumn<bool>("configExists");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("schematicKept");
        QTest::newRow("no file: no question") << false << int(Msg::No) << true << true;
        QTest::newRow("No keeps both files") << true << int(Msg::No) << false << true;
        QTest::newRow("Yes removes the schematic file") << true << int(Msg::Yes) << true << false;
    }
    void confirmReplace()
    {
        QFETCH(bool, configExists);
        QFETCH(int, answer);
        TempProgram program;
        const QString path = program.path("Configs/Pump1.qxc");
        if (configExists)
            writeBytes(path, "x\r\n");
        writeBytes(program.path("Configs/Pump1.qxs"), "s\r\n");
        program.prompter().enqueue(answer);
        QTEST(NewConfig(program.ctx()).confirmReplace(path), "result");
        QTEST(QFile::exists(program.path("Configs/Pump1.qxs")), "schematicKept");
        QCOMPARE(QFile::exists(path), configExists);
        QCOMPARE(program.prompter().messages().size(), configExists ? 1 : 0);
        if (configExists)
            QCOMPARE(program.prompter().messages().first().text,
                "The file " + path + " already exists.\rDo you want to replace the existing file?");
    }
};

class TestRatingUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void carriesValues_data()
    {
        QTest::addColumn<QStringList>("from");
        QTest::addColumn<QStringList>("edits");
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<quint32>("colour");
        QTest::addColumn<int>("listIndex"); // -2: no list to check
        const QString toQX3 = "QX-3-045H @ rev. 104";
        const auto row = [&](const char *name, const QStringList &edits, int index, const QString &text, quint32 colour,
                             int listIndex = -2, const QString &entry = {}, const QStringList &from = QX2) {
            QTest::newRow(name) << from << edits << (entry.isEmpty() ? toQX3 : entry) << index << text << colour
                                << listIndex;
        };
        const quint32 red = Colour::Red, black = Colour::Black, grey = Colour::GrayText;
        row("kept, differs from new default", {"103=10"}, 103, "10", red);
        row("kept, equals new default", {"103=30"}, 103, "30", black);
        row("spelling kept as typed", {"103=10.50"}, 103, "10.50", red);
        row("above new maximum: new default", {"203=12"}, 203, "4", black);
        row("read-only not carried", {"934=5"}, 934, "91", black);
        row("locked curve point not carried", {"205=100"}, 205, "24", black);
        row("freed curve point carried", {"200=03", "205=100"}, 205, "100", red);
        row("list by position", {"302=20"}, 302, "20", red, 20);
        row("list at new default", {"302=14"}, 302, "14", black, 14);
        row("list code written short", {"5=1"}, 5, "01", red, 1);
        row("P0.00 list shows the number", {"0=400"}, 0, "400", red);
        row("list beyond new maximum: default entry", {"302=23"}, 302, "14", black, 14, "QX-2-0P7H @ rev. 120", QX3);
        row("not a number: new default", {"103=abc"}, 103, "30", black);
        row("series follows the new drive", {}, 941, "03", black, 3);
        row("new drive lacks the parameter", {"328=5"}, 328, "", grey, -2, "QX-2-0P7H @ rev. 103");
        row("new drive lacks the list", {"418=01"}, 418, "", grey, -2, "QX-2-0P7H @ rev. 103");
    }
    void carriesValues()
    {
        QFETCH(QStringList, from);
        QFETCH(QStringList, edits);
        QFETCH(QString, entry);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(quint32, colour);
        QFETCH(int, listIndex);
        TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, from));
        if (edits.contains("200=03")) // the editor frees the curve points
            for (int i = 204; i <= 207; ++i)
                ctx.editor.txtP(i).setEnabled(true);
        applyEdits(ctx, edits);
        ctx.state.blnConfigChanged = false;
        ctx.statusList.clear();
        QStringList captions;
        connect(&ctx.statusList, &StatusList::captionChanged, this, [&](const QString &c) { captions << c; });
        QString seriesAtClose;
        RatingUpdate update(ctx);
        // The dialog closes once the drive is known, before the load.
        update.setCloseDialog([&] { seriesAtClose += ctx.state.strSeries + ctx.editor.txtP(941).text(); });
        QVERIFY(update.update(entry));
        QCOMPARE(seriesAtClose, ctx.state.strSeries + from[0]);
        const EditorForm &form = ctx.editor;
        QCOMPARE(form.txtP(index).text(), text);
        QCOMPARE(form.lblP(index).foreColor(), colour);
        if (colour == Colour::GrayText) // a later refused entry falls back to what is shown now
            QVERIFY(!form.txtP(index).visible());
        else
            QCOMPARE(ctx.params.varLastChance[index].toString(), text);
        if (listIndex != -2)
            QCOMPARE(form.cmbP(index).listIndex(), listIndex);
        if (index == 0)
            QCOMPARE(form.cmbP(index).text(), text);
        // The custom-curve points follow the P2.00 carried over.
        for (int i = 204; i <= 207; ++i)
            QCOMPARE(form.txtP(i).enabled(), form.txtP(200).text() == "03");
        // Replaced values are not reported: the list holds the start and end.
        const QStringList &lines = ctx.statusList.lines();
        QCOMPARE(lines.size(), 2);
        QVERIFY(lines.first().startsWith("Configuration update started "));
        QVERIFY(lines.last().startsWith("Configuration update complete "));
        const QString head = QStringLiteral("  Status List - ");
        QCOMPARE(captions,
            (QStringList {head + "Updating Configuration", head + "Storing Existing Data", head + "Loading New Data",
                head + "Verifying Configuration Data", StatusList::DefaultCaption}));
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(program.prompter().titles(), QStringList {"Update Complete"});
        QVERIFY(ctx.state.blnConfigChanged); // the configuration no longer matches its file
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void unknownEntryChangesNothing_data()
    {
        QTest::addColumn<QString>("entry");
        QTest::addColumn<int>("error");
        QTest::newRow("model not in catalogue") << "QX-9-999H @ rev. 104" << 3021;
        QTest::newRow("revision not of this model") << "QX-3-045H @ rev. 100" << 3021;
        QTest::newRow("no revision part") << "QX-3-045H" << 9;
    }
    void unknownEntryChangesNothing()
    {
        QFETCH(QString, entry);
        QFETCH(int, error);
        TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, QX2));
        applyEdits(ctx, {"103=12", "302=20"});
        ctx.editor.lblP(103).setForeColor(Colour::Red);
        ctx.state.blnConfigChanged = false;
        const auto snapshot = [&ctx] {
            QStringList texts;
            for (int i : EditorForm::fieldIndices())
                texts << ctx.editor.txtP(i).text() + u'|' + ctx.editor.lblP(i).caption();
            return texts;
        };
        const QStringList before = snapshot();
        bool closed = false;
        RatingUpdate update(ctx);
        update.setCloseDialog([&] { closed = true; });
        QVERIFY(!update.update(entry));
        QCOMPARE(snapshot(), before);
        QCOMPARE(ctx.editor.lblP(103).foreColor(), Colour::Red);
        QCOMPARE(driveOf(ctx), QX2);
        QVERIFY(!ctx.state.blnConfigChanged && !closed);
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY(log.first().contains(QStringLiteral(" - basFunctions, Update(), Program, %1, ").arg(error)));
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption); // no longer at work
        QVERIFY(!ctx.statusList.barVisible());
    }
};

// The check of a value read from a drive against the same check of a
// value read from a file: where the two agree and where they differ.
class TestUploadValidation : public QObject
{
    Q_OBJECT

    template<class Check> static QStringList checked(int index, const QString &value, Check check)
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        if (!loadDrive(ctx, QX2))
            return {};
        ctx.statusList.clear();
        ctx.editor.txtP(index).setText(value);
        check(ctx, index, value);
        const QString colour = ctx.editor.lblP(index).foreColor() == Colour::Red ? "red" : "black";
        return valueReports(ctx.statusList) << ctx.editor.txtP(index).text() << colour;
    }

private Q_SLOTS:
    void validateUpload_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("value");
        QTest::addColumn<QStringList>("outcome"); // reports, text, label colour
        QTest::addColumn<bool>("sameAsFile");
        const auto row = [](const char *name, int index, const QString &value, const QStringList &outcome, bool same) {
            QTest::newRow(name) << index << value << outcome << same;
        };
        row("equal to default", 101, "10", {"10", "black"}, true);
        row("too low", 1, "0.1",
            {" - P0.01 - Value too low. Value = 0.1 Min = 0.5 Parameter's default of 2.7 was loaded.", "2.7", "black"},
            true);
        row("too high: no word of the default", 3, "99999",
            {" - P0.03 - Value too high. Value = 99999 Max = 24000", "1740", "black"}, false);
        row("list past its end", 300, "9", {" - P3.00 - Value too high. Value = 9 Max = 4", "00", "black"}, false);
        row("different", 101, "25.5",
            {" - P1.01 - Value different from default. Value = 25.5 Default = 10", "25.5", "red"}, true);
        row("parameter lock never different", 939, "1", {"1", "black"}, false);
        row("parameter lock still range-checked", 939, "7",
            {" - P9.39 - Value too high. Value = 7 Max = 3", "00", "black"}, false);
    }
    void validateUpload()
    {
        QFETCH(int, index);
        QFETCH(QString, value);
        const QStringList upload = checked(
            index, value, [](AppContext &ctx, int i, const QString &v) { UploadValidation(ctx).validateUpload(i, v); });
        const QStringList file = checked(
            index, value, [](AppContext &ctx, int i, const QString &v) { ConfigFile(ctx).validateFile(i, v); });
        QTEST(upload, "outcome");
        QCOMPARE(upload.at(upload.size() - 2), file.at(file.size() - 2)); // out of range, both load the default
        QTEST(upload == file, "sameAsFile");
    }
};

// Two files compared without loading either: of one drive value by value,
// of two drives on the parameters both have, the others listed as such.
class TestFileDifferences : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void differences_data()
    {
        QTest::addColumn<QString>("driveB");
        QTest::addColumn<QStringList>("linesB");
        QTest::addColumn<QStringList>("expected"); // empty: the same
        const QString acc2 = " (Acceleration Time 2 (s))";
        QTest::newRow("same") << "#0205120" << QStringList {"0012.7", "10312.5"} << QStringList {};
        QTest::newRow("number written otherwise")
            << "#0205120" << QStringList {"0012.70", "10312.50"} << QStringList {};
        QTest::newRow("one differs") << "#0205120" << QStringList {"0012.7", "10315"}
                                     << QStringList {"P1.03 - A = 12.5 B = 15" + acc2};
        QTest::newRow("two drives") << "#0306104" << QStringList {"000191", "010312.5", "10052"}
                                    << QStringList {"P0.01 - A = 2.7 B = 91 (Motor Rated Current (A))",
                                           "P10.00 - only in B (Encoder Pulses Per Revolution)",
                                           "P10.01 - only in B (Encoder Input Type)",
                                           "P10.02 - only in B (Speed Control Proportional Gain)",
                                           "P10.03 - only in B (Speed Control Integral Gain)",
                                           "P10.04 - only in B (Speed Control Output Frequency Limit (Hz))",
                                           "P10.05 - only in B = 2 (Encoder Signal Loss Action)"};
    }
    void differences()
    {
        TempProgram program;
        QFETCH(QString, driveB);
        QFETCH(QStringList, linesB);
        writeBytes(program.path("a.qxc"), configBytes("#0205120", {"0012.7", "10312.5"}));
        writeBytes(program.path("b.qxc"), configBytes(driveB, linesB));
        QString why;
        const std::optional<ConfigValues> a = ConfigFile::readValues(program.path("a.qxc"), &why);
        const std::optional<ConfigValues> b = ConfigFile::readValues(program.path("b.qxc"), &why);
        QVERIFY(a && b);
        const std::optional<QVector<ParamDifference>> found = FileDifferences(program.ctx()).compare(*a, *b);
        QVERIFY(found);
        QStringList lines;
        for (const ParamDifference &d : *found)
            lines << FileDifferences::line(d, "A", "B");
        QTEST(lines, "expected");
    }
    void notComparable()
    {
        TempProgram program;
        QString why;
        QVERIFY(!ConfigFile::readValues(program.path("missing.qxc"), &why));
        QCOMPARE(why, "Could not find " + program.path("missing.qxc"));
        writeBytes(program.path("odd.qxc"), configBytes("#0205999", {"0012.7"}));
        const std::optional<ConfigValues> odd = ConfigFile::readValues(program.path("odd.qxc"), &why);
        QVERIFY(odd);
        QVERIFY(!FileDifferences(program.ctx()).compare(*odd, *odd));
    }
};

TARVEL_TEST_GUILESS_MAIN(TestConfigFile, TestCompareOperation, TestConfigReport, TestNewConfig, TestRatingUpdate,
    TestUploadValidation, TestFileDifferences)
#include "tst_files.moc"
