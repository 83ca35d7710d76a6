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
#include "files/NewConfig.h"
#include "files/RatingUpdate.h"
#include "ports/ShellHooks.h"
#include "rules/UploadValidation.h"

#include <QDateTime>
#include <QDir>
#include <QtTest>

#include <unistd.h>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

struct RecordingHooks : ShellHooks
{
    QStringList calls;
    void setBusyPointer(bool busy) override { calls << QStringLiteral("busy=%1").arg(busy); }
    void setMainCaption(const QString &caption) override { calls << QStringLiteral("caption=") + caption; }
    void updateCaption() override { calls << QStringLiteral("updateCaption"); }
};

// A file as the classic tool wrote it: drive line, four header lines, values.
QByteArray configBytes(const QString &driveLine, const QStringList &values, const QByteArray &eol = "\r\n")
{
    QByteArray out;
    for (const QString &line : QStringList {driveLine, "#C:\\Configs\\x.qxc", "#01/02/2004 10:11:12", "#WARNING!",
                                   "#Only make changes when instructed"}
            + values)
        out += line.toLatin1() + eol;
    return out;
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

// Runs the compare on a fresh list; returns the lines between start and end.
QStringList compareResults(AppContext &ctx)
{
    ctx.statusList.clear();
    CompareOperation(ctx).compare();
    const QStringList &lines = ctx.statusList.lines();
    if (lines.size() < 2 || !lines.first().startsWith("Compare started ")
        || !lines.last().startsWith("Compare complete "))
        return {"start or end line missing"};
    return lines.mid(1, lines.size() - 2);
}

struct ViewerHooks : ShellHooks
{
    QStringList opened;
    bool openDocument(const QString &path) override
    {
        opened << path;
        return false; // a desktop without a viewer for text: only logged
    }
};

QString column(const QString &caption, const QString &value)
{
    return caption.leftJustified(59) + value; // value at column 60
}

// The drive rows straight from the catalogue source, one per revision, in
// the order series, model, revision: "02,05,120,QX-2-0P7H".
QStringList sourceDrives()
{
    QFile file(QStringLiteral(TARVEL_DATA_SOURCE_DIR "/models.csv"));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    QStringList rows;
    const QStringList lines = TextFile::decodeLines(file.readAll());
    for (const QString &line : lines.mid(1)) {
        const QStringList cols = line.split(u',');
        if (cols.size() < 8)
            continue;
        for (const QString &rev : cols.at(7).split(u' ', Qt::SkipEmptyParts))
            rows << cols.at(0) + u',' + cols.at(1) + u',' + rev + u',' + cols.at(2);
    }
    rows.sort();
    return rows;
}

DriveListEntry drive(const QStringList &code)
{
    return {code.at(0), code.at(1), code.at(2), QString()};
}

const QStringList QX2 {"02", "05", "120"};
const QStringList QX3 {"03", "06", "104"};
const QString ToQX3 = QStringLiteral("QX-3-045H @ rev. 104");
const QString ToQX2 = QStringLiteral("QX-2-0P7H @ rev. 120");
const QString ToQX2Rev103 = QStringLiteral("QX-2-0P7H @ rev. 103");

// "index=text" entries typed into the old configuration.
void applyEdits(AppContext &ctx, const QStringList &edits)
{
    for (const QString &edit : edits) {
        const qsizetype eq = edit.indexOf(u'=');
        ctx.editor.txtP(edit.left(eq).toInt()).setText(edit.mid(eq + 1));
    }
}

struct BusyHooks : ShellHooks
{
    QList<bool> busy;
    void setBusyPointer(bool on) override { busy << on; }
};

// The date in a start or end line, checked to be a time of the update.
bool stampedWithin(const QString &line, const QString &words, const QDateTime &from, const QDateTime &to)
{
    if (!line.startsWith(words) || !line.endsWith(u'.'))
        return false;
    const QString stamp = line.mid(words.size(), line.size() - words.size() - 1);
    for (QDateTime t = from.addSecs(-1); t <= to.addSecs(1); t = t.addSecs(1))
        if (stamp == TextFile::generalDate(t))
            return true;
    return false;
}

// The report part of the status-list lines, after their date and time.
QStringList reports(const StatusList &list)
{
    QStringList out;
    for (const QString &line : list.lines())
        out << line.mid(line.indexOf(" - P"));
    return out;
}

struct Outcome
{
    QStringList reports;
    QString text;
    quint32 labelColour = 0;
};

// One value put into its box and checked the way `check` does it.
template<class Check> Outcome checked(int index, const QString &value, Check check)
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    if (!loadDrive(ctx, {"02", "05", "120"}))
        return {};
    ctx.statusList.clear();
    ctx.editor.txtP(index).setText(value);
    check(ctx, index, value);
    return {reports(ctx.statusList), ctx.editor.txtP(index).text(), ctx.editor.lblP(index).foreColor()};
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
        QTest::newRow("QX2, 3-digit index") << QStringList {"02", "05", "120"} << 942 << "10";
        QTest::newRow("QX3, 4-digit index") << QStringList {"03", "06", "104"} << 1005 << "30";
    }

    void roundTrip()
    {
        QFETCH(QStringList, drive);
        QFETCH(int, lastIndex);
        QFETCH(QString, accelDefault);
        const int width = lastIndex > 999 ? 4 : 3;
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        RecordingHooks hooks;
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
        QVERIFY(
            ctx.statusList.lines().at(ctx.statusList.lines().size() - 2).startsWith("File Save operation started "));
        QVERIFY(ctx.statusList.lines().last().startsWith("File Save operation completed "));
        QCOMPARE(hooks.calls,
            (QStringList {"caption=Tarvel - Saving Configuration File", "busy=1", "updateCaption", "busy=0"}));

        const QByteArray bytes = readBytes(path);
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        QVERIFY(bytes.contains("M\xfcller 1.qxc\r\n")); // Latin-1, not UTF-8
        const QStringList lines = TextFile::decodeLines(bytes);
        QCOMPARE(lines.at(0), "#" + drive.join(""));
        QCOMPARE(lines.at(1), "#" + QFileInfo(path).absoluteFilePath().replace("\n", "%0A").replace("\u041f", "%D0%9F"));
        QVERIFY(lines.at(2).size() > 6 && lines.at(2).startsWith('#'));
        QVERIFY(lines.at(3).startsWith("#WARNING! Changing any contents of this file may result in the confirguration"));
        QCOMPARE(lines.at(4), "#Only make changes when instructed to do so from Tech Support personnel.");
        QStringList expected;
        QHash<int, QString> saved;
        for (int i : EditorForm::fieldIndices()) {
            saved.insert(i, f.txtP(i).text());
            if (i <= lastIndex)
                expected << QStringLiteral("%1").arg(i, width, 10, QChar('0')) + f.txtP(i).text();
        }
        QCOMPARE(lines.mid(5), expected);
        QVERIFY(lines.contains(QString(width - 3, '0') + "10125.5"));

        QVERIFY(loadDrive(ctx, {"01", "01", "104"})); // another drive in between
        ctx.statusList.clear();
        QVERIFY(ConfigFile(ctx).openFile(path));
        QCOMPARE((QStringList {ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), drive);
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
        QCOMPARE(hooks.calls.last(), "busy=0");
    }

    void handMadeLine_data()
    {
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("index");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("report");
        const auto row = [](const char *name, const QString &line, int index, const QString &text,
                             const QString &report) { QTest::newRow(name) << line << index << text << report; };
        row("nothing after the index", "101", 101, "10", "");
        row("comment looking like a value", "#101 5", 101, "10", "");
        row("one blank, no default", "629 ", 629, " ", "");
        row("default spelt otherwise", "10110.00", 101, "10.00", "");
        row("differs from default", "10125.5", 101, "25.5",
            " - P1.01 - Value different from default. Value = 25.5 Default = 10");
        row("below minimum", "0010.1", 1, "2.7",
            " - P0.01 - Value too low. Value = 0.1 Min = 0.5 Parameter's default of 2.7 was loaded.");
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
        QFETCH(QString, line);
        QFETCH(int, index);
        QFETCH(QString, text);
        QFETCH(QString, report);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        const QString path = program.path("Configs/hand.qxc");
        writeBytes(path, configBytes("#0205120", {line}));

        QVERIFY(ConfigFile(ctx).openFile(path));
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
        const QString path = program.path("Configs/ends.qxc");
        const QString latin1Comment = QStringLiteral("#Ge\u00e4ndert f\u00fcr M\u00fcller, 40 \u00b0C");
        writeBytes(path,
            configBytes(
                "#0205120", QStringList {"10125.5", latin1Comment, "629 "} + curve + QStringList {"2045.5"}, eol));
        QVERIFY(ConfigFile(ctx).openFile(path));
        QCOMPARE(ctx.state.strRev, "120");
        QCOMPARE(ctx.editor.txtP(101).text(), "25.5");
        QCOMPARE(ctx.editor.txtP(629).text(), " ");
        QCOMPARE(ctx.editor.txtP(204).text(), "5.5");
        for (int i = 204; i <= 207; ++i)
            QCOMPARE(ctx.editor.txtP(i).enabled(), midPointsEnabled);
    }

    void ninetyNineSelectsLastInputEntry_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("last");
        QTest::newRow("P3.02, first input") << 302 << true;
        QTest::newRow("P3.10, last input") << 310 << true;
        QTest::newRow("P3.11, an output") << 311 << false;
    }

    void ninetyNineSelectsLastInputEntry()
    {
        QFETCH(int, index);
        QFETCH(bool, last);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        {
            // A catalogue whose limit admits 99, so the check keeps the value.
            Catalogue cat(program.path("Data/QX.qxd"));
            cat.connect();
            cat.execute(QStringLiteral("UPDATE tblDriveParameters SET max = 99 WHERE Parameter = '%1'").arg(index));
        }
        const QString path = program.path("Configs/inputs.qxc");
        writeBytes(path, configBytes("#0205120", {QString::number(index) + "99"}));
        QVERIFY(ConfigFile(ctx).openFile(path));
        const ComboField &list = ctx.editor.cmbP(index);
        QVERIFY(list.listCount() > 2);
        QCOMPARE(list.listIndex(), last ? list.listCount() - 1 : -1);
        QCOMPARE(ctx.editor.txtP(index).text(), "99");
    }

    void refusedFileChangesNothing_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::addColumn<QString>("title");
        QTest::newRow("missing") << "missing"
                                 << "File missing";
        QTest::newRow("folder of that name") << "folder"
                                             << "File missing";
        QTest::newRow("model not in catalogue") << "#0299120" << unsupported;
        QTest::newRow("quote in the drive line") << "#02'5120" << unsupported;
        QTest::newRow("empty file") << "" << unsupported;
        QTest::newRow("NUL in the drive line") << QStringLiteral("#02") + QChar(0) + "05120" << unsupported;
        QTest::newRow("far larger than any drive's") << "huge" << "File too large";
    }

    void refusedFileChangesNothing()
    {
        const QString unsupported = QStringLiteral("Non-Supported Drive Model");
        QFETCH(QString, kind);
        QFETCH(QString, title);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        ctx.editor.txtP(101).setText("33");
        ctx.statusList.clear();
        const QString path = program.path("Configs/refused.qxc");
        if (kind == "folder")
            QVERIFY(QDir().mkpath(path));
        else if (kind == "huge")
            writeBytes(path, configBytes("#0205120", QStringList(30000, "10150")));
        else if (kind != "missing")
            writeBytes(path, kind.isEmpty() ? QByteArray() : configBytes(kind, {"10150"}));

        QVERIFY(!ConfigFile(ctx).openFile(path));

        const bool missing = title != unsupported;
        QCOMPARE(program.prompter().messages().size(), 1);
        const ScriptedPrompter::Message box = program.prompter().messages().first();
        QCOMPARE(box.title, title);
        QCOMPARE(box.style, missing ? Msg::Exclamation : Msg::Information);
        QVERIFY(box.text.startsWith(missing ? "Error loading file.\r" + (kind == "huge" ? "" : "Could not find ") + path
                                            : "The file you are opening is configured for a drive model that is not "));
        QVERIFY(program.errorLogLines().isEmpty());
        const QStringList &got = ctx.statusList.lines();
        QCOMPARE(got.size(), missing ? 1 : 3);
        QVERIFY(got.first().startsWith("Open File operation started "));
        if (!missing) {
            QVERIFY(got.at(1).endsWith("File contains information for unsupported drive.") && got.at(1).size() > 60);
            QVERIFY(got.at(2).startsWith("File open operation stopped ") && got.at(2).endsWith('.'));
        }
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(ctx.statusList.status(), " ");
        QCOMPARE(ctx.editor.txtP(101).text(), "33");
        QCOMPARE(ctx.state.strModel + ctx.state.strRev, "05120");
        QVERIFY(ctx.state.blnConfigChanged);
    }

    void badIndexEndsOpenThroughTrap_data()
    {
        QTest::addColumn<QString>("driveLine");
        QTest::addColumn<QString>("badLine");
        QTest::addColumn<int>("number");
        QTest::newRow("no field at the index") << "#0205120"
                                               << "9995" << 340;
        QTest::newRow("index past 1099") << "#0306104"
                                         << "12345" << 9;
    }

    void badIndexEndsOpenThroughTrap()
    {
        QFETCH(QString, driveLine);
        QFETCH(QString, badLine);
        QFETCH(int, number);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        const QString pad = driveLine == "#0306104" ? "0" : "";
        const QString path = program.path("Configs/bad.qxc");
        writeBytes(path, configBytes(driveLine, {pad + "10125.5", badLine, pad + "10233"}));

        QVERIFY(!ConfigFile(ctx).openFile(path));
        QCOMPARE(ctx.editor.txtP(101).text(), "25.5"); // applied before the bad line
        QCOMPARE(ctx.editor.txtP(102).text(), NumberText::variant(ctx.params.varDefault[102])); // never reached
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains(QStringLiteral(" - basFunctions, OpenFile(), Program, %1, ").arg(number)),
            qPrintable(log.first()));
        QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(ctx.editor.tag(), "0");
    }

    void failedSaveKeepsOldFile_data()
    {
        QTest::addColumn<QString>("kind");
        QTest::newRow("parent is a regular file") << "parent file";
        QTest::newRow("read-only folder") << "read-only folder";
        QTest::newRow("read-only file") << "read-only file";
    }

    void failedSaveKeepsOldFile()
    {
        QFETCH(QString, kind);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        RecordingHooks hooks;
        ctx.setHooks(&hooks);
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        ctx.editor.txtP(101).setText("25.5");
        ctx.statusList.clear();
        const QString folder = program.path("Configs/locked");
        QVERIFY(QDir().mkpath(folder));
        QString old = folder + (kind == "parent file" ? "/plain" : "/old.qxc");
        const QString path = kind == "parent file" ? old + "/new.qxc" : old;
        writeBytes(old, "#0205120\r\nold contents\r\n");
        if (kind != "parent file") {
            const QString locked = kind == "read-only folder" ? folder : path;
            QFile::setPermissions(locked, QFileDevice::ReadOwner | QFileDevice::ExeOwner);
            if (::access(QFile::encodeName(locked).constData(), W_OK) == 0) {
                QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::WriteOwner);
                QSKIP("this user may write into read-only places");
            }
        }

        QVERIFY(!ConfigFile(ctx).saveFile(path));
        QFile::setPermissions(folder, QFile::permissions(folder) | QFileDevice::WriteOwner);
        QCOMPARE(readBytes(old), QByteArray("#0205120\r\nold contents\r\n"));
        QCOMPARE(QDir(folder).entryList(QDir::Files | QDir::Hidden).size(), 1); // no temporary left over
        QVERIFY(ctx.state.blnConfigChanged);
        QVERIFY(ctx.statusList.lines().isEmpty());
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains(" - basFunctions, SaveFile(), Program, 75, "), qPrintable(log.first()));
        QCOMPARE(hooks.calls.mid(hooks.calls.size() - 2), (QStringList {"updateCaption", "busy=0"}));
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
        const QString path = program.path("Configs/id.qxc");
        writeBytes(path, configBytes("#0205108", QStringList {"10125.5"} + body));
        QVERIFY(ConfigFile(ctx).openFile(path));
        QCOMPARE(ctx.editor.txtP(941).text() + ctx.editor.txtP(942).text(), "0205");
        QCOMPARE(ctx.statusList.lines().filter(" does not match the drive of line 1; ").size(), body.size());
        QVERIFY(ConfigFile(ctx).saveFile(path));
        const QStringList saved = TextFile::decodeLines(readBytes(path));
        QCOMPARE(saved.first(), "#0205108");
        QVERIFY(saved.contains("9410" + ctx.editor.txtP(941).text().right(1)));
        QVERIFY(saved.contains("10125.5"));
    }

    // Lines that carry no value for any field are passed over; the open goes on.
    void linesPassedOver_data()
    {
        QTest::addColumn<QString>("driveLine");
        QTest::addColumn<QString>("line");
        QTest::addColumn<int>("index");
        QTest::newRow("series 3: nothing after the index") << "#0306104" << "0616" << 616;
        QTest::newRow("index not whole") << "#0205120" << "1e25xyz" << 101;
        QTest::newRow("tail of a split path line") << "#0205120" << "1015 copy" << 101;
    }
    void linesPassedOver()
    {
        QFETCH(QString, driveLine);
        QFETCH(QString, line);
        QFETCH(int, index);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        const QString path = program.path("Configs/skip.qxc");
        // The tail of a path line broken by an older save sits before the date.
        const bool tail = line.endsWith(" copy");
        writeBytes(path, (driveLine + "\r\n#/home/a\r\n" + (tail ? line + "\r\n" : "") + "#date\r\n#W\r\n#O\r\n"
                             + (tail ? "" : line + "\r\n"))
                             .toLatin1());
        QVERIFY(ConfigFile(ctx).openFile(path));
        QCOMPARE(ctx.editor.txtP(index).text(), NumberText::variant(ctx.params.varDefault[index]));
        QVERIFY(program.errorLogLines().isEmpty());
        QVERIFY(!ctx.state.blnConfigChanged);
    }
};

class TestCompareOperation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshLoadReportsNothing_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::newRow("QX1") << QStringList {"01", "01", "104"};
        QTest::newRow("QX2") << QStringList {"02", "05", "120"};
        QTest::newRow("QX3") << QStringList {"03", "06", "104"};
    }

    void freshLoadReportsNothing()
    {
        QFETCH(QStringList, drive);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, drive));
        ctx.state.blnConfigChanged = false;
        QStringList captions;
        QList<int> positions;
        connect(&ctx.statusList, &StatusList::captionChanged, this, [&](const QString &c) { captions << c; });
        connect(&ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions << p; });

        QCOMPARE(compareResults(ctx), QStringList());
        QCOMPARE(captions,
            (QStringList {"  Status List - Comparing Configuration With Defaults", StatusList::DefaultCaption}));
        // Every index moves the bar, which stays at its end from 999 on.
        QCOMPARE(positions.size(), 1000);
        QCOMPARE(positions.first(), 0);
        QCOMPARE(positions.last(), StatusList::MaxPosition);
        QVERIFY(!ctx.state.blnConfigChanged);
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void changedValues_data()
    {
        QTest::addColumn<QStringList>("edits"); // index=text
        QTest::addColumn<QStringList>("expected");
        const QString differs = QStringLiteral(" - Value different from default. Value = ");
        QTest::newRow("same number, other spelling") << QStringList {"103=10.00", "2=60", "300=00"} << QStringList();
        QTest::newRow("no default is never reported") << QStringList {"629=5"} << QStringList();
        QTest::newRow("one value") << QStringList {"103=61"} << QStringList {"P1.03" + differs + "61 Default = 10"};
        QTest::newRow("text as shown, ascending")
            << QStringList {"938=1234", "5=01", "103=61.0", "209=.25"}
            << QStringList {"P0.05" + differs + "01 Default = 0", "P1.03" + differs + "61.0 Default = 10",
                   "P2.09" + differs + ".25 Default = 0.5", "P9.38" + differs + "1234 Default = 0"};
        QTest::newRow("emptied value counts as zero")
            << QStringList {"103="} << QStringList {"P1.03" + differs + " Default = 10"};
    }

    void changedValues()
    {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, expected);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        for (const QString &edit : edits)
            ctx.editor.txtP(edit.section('=', 0, 0).toInt()).setText(edit.section('=', 1));
        QCOMPARE(compareResults(ctx), expected);
    }

    void parametersOfAnEarlierDriveTakeNoPart()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"03", "06", "104"}));
        QVERIFY(loadDrive(ctx, {"01", "01", "104"}));
        // The records still hold the QX3 default at an index QX1 lacks.
        QCOMPARE(ctx.params.varDefault[617].toDouble(), 150.0);
        QVERIFY(ctx.editor.txtP(617).text().isEmpty());
        QCOMPARE(compareResults(ctx), QStringList());
    }
};

class TestConfigReport : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void layout_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QString>("modelName");
        QTest::addColumn<QString>("revText");
        QTest::newRow("QX2 rev 1.20") << QStringList {"02", "05", "120"} << "QX-2-0P7H"
                                      << "1.20";
        QTest::newRow("QX1 rev 1.04") << QStringList {"01", "01", "104"} << "QX-1-0P2S"
                                      << "1.04";
    }

    void layout()
    {
        QFETCH(QStringList, drive);
        QFETCH(QString, modelName);
        QFETCH(QString, revText);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, drive));
        ConfigReport report(ctx);
        ctx.state.strConfigName = "first.qxc";
        report.configReport(); // without a desktop the report is only written
        ViewerHooks hooks;
        ctx.setHooks(&hooks);
        ctx.state.strConfigName = "Pump 3.qxc";
        ctx.editor.txtP(101).setText("25.5");
        report.configReport(); // replaces the first

        QCOMPARE(report.reportPath(), program.path("Configs/ConfigReport.txt"));
        QCOMPARE(hooks.opened, QStringList {report.reportPath()});
        const QByteArray bytes = readBytes(report.reportPath());
        QCOMPARE(bytes.count('\n'), bytes.count("\r\n"));
        const QStringList lines = TextFile::decodeLines(bytes);
        QCOMPARE(lines.mid(0, 3), (QStringList {"", "", "Vernholt QX Drives Configuration Report"}));
        QVERIFY(lines.at(3).startsWith("Report Generated: ") && lines.at(3).size() > 20);
        QCOMPARE(lines.mid(4, 6),
            (QStringList {"Config Name: Pump 3.qxc", "Model: " + modelName, "Rev: " + revText, "",
                column("Parameter", "Value"), column("---------", "-----")}));

        const QStringList body = lines.mid(10);
        const EditorForm &f = ctx.editor;
        int used = 0;
        for (int i : EditorForm::fieldIndices())
            used += f.lblP(i).foreColor() != Colour::GrayText;
        QVERIFY(used > 100 && used < EditorForm::fieldIndices().size()); // some indices unused
        QCOMPARE(body.size(), used);
        QVERIFY(!bytes.contains("Not used") && !bytes.contains("first.qxc"));
        QCOMPARE(body.first(), column("P0.00 Motor Rated Voltage (V)", f.txtP(0).text()));
        QVERIFY(body.contains(column("P1.01 Acceleration Time 1 (s)", "25.5")));
        // A choice list is listed with its whole entry, not the code in its box.
        const QString entry = f.cmbP(300).text();
        QVERIFY(entry.size() > 3 && entry.startsWith(f.txtP(300).text() + ' '));
        QVERIFY(body.contains(column("P3.00 Source of Operation Command", entry)));
        QVERIFY(body.last().startsWith("P9.42 Drive Model") && body.last().endsWith(modelName));
    }

    void longCaptionPushesValueDown_data()
    {
        QTest::addColumn<int>("length");
        QTest::newRow("58 characters, same line") << 58;
        QTest::newRow("59 characters, pushed") << 59;
        QTest::newRow("75 characters, pushed") << 75;
    }

    void longCaptionPushesValueDown()
    {
        QFETCH(int, length);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        const QString caption = "P1.02 " + QString(length - 6, 'd');
        ctx.editor.lblP(102).setCaption("   " + caption + "  ");
        ctx.editor.txtP(102).setText("12.5");

        ConfigReport report(ctx);
        report.configReport();
        const QStringList lines = TextFile::decodeLines(readBytes(report.reportPath()));
        const qsizetype at = lines.indexOf(QRegularExpression("^P1\\.02 .*"));
        QVERIFY(at > 0);
        if (length < 59) {
            QCOMPARE(lines.at(at), column(caption, "12.5"));
        } else {
            QCOMPARE(lines.at(at), caption);
            QCOMPARE(lines.at(at + 1), column("", "12.5"));
        }
        QVERIFY(lines.at(at + (length < 59 ? 1 : 2)).startsWith("P1.03 "));
    }

    void unwritableReportEndsInTrap()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        ViewerHooks hooks;
        ctx.setHooks(&hooks);
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        QVERIFY(QDir(program.path("Configs")).removeRecursively());
        QFile blocker(program.path("Configs")); // a file where the folder should be
        QVERIFY(blocker.open(QIODevice::WriteOnly));
        blocker.close();

        ConfigReport(ctx).configReport();

        QVERIFY(hooks.opened.isEmpty());
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains(" - basFunctions, ConfigReport(), Program, 75, "), qPrintable(log.first()));
    }
};

class TestNewConfig : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void driveList()
    {
        TempProgram program;
        const QList<DriveListEntry> drives = NewConfig(program.ctx()).driveList();
        const QStringList expected = sourceDrives();
        QVERIFY(!expected.isEmpty());
        QCOMPARE(drives.size(), expected.size());
        for (qsizetype n = 0; n < drives.size(); ++n) {
            const QStringList cols = expected.at(n).split(u',');
            const DriveListEntry &d = drives.at(n);
            QCOMPARE((QStringList {d.seriesCode, d.modelCode, d.rev}), cols.mid(0, 3));
            QCOMPARE(d.text, cols.at(3) + " rev. " + cols.at(2));
        }
        QVERIFY(NewConfig::findDrive(drives, "02", "05", "120").has_value());
        QVERIFY(!NewConfig::findDrive(drives, "02", "05", "121").has_value());
    }

    void start_data()
    {
        QTest::addColumn<QStringList>("code");
        QTest::addColumn<int>("mode");
        QTest::addColumn<QString>("tag");
        QTest::newRow("QX2 detailed") << QStringList {"02", "05", "120"} << int(NewConfig::Mode::Detailed) << "1";
        QTest::newRow("QX3 wizard") << QStringList {"03", "06", "104"} << int(NewConfig::Mode::Wizard) << "2";
        QTest::newRow("QX1 detailed") << QStringList {"01", "01", "104"} << int(NewConfig::Mode::Detailed) << "1";
    }

    void start()
    {
        QFETCH(QStringList, code);
        QFETCH(int, mode);
        QFETCH(QString, tag);
        TempProgram program;
        AppContext &ctx = program.ctx();
        const QString path = program.path("Configs/Pump 1.qxc");
        writeBytes(path, "old contents\r\n"); // replaced as a whole

        QStringList statuses;
        connect(&ctx.statusList, &StatusList::statusChanged, this, [&](const QString &s) { statuses << s; });
        NewConfig newConfig(ctx);
        QList<NewConfig::Mode> shown;
        newConfig.setShowMode([&](NewConfig::Mode m) {
            // The window opens on the new drive, before the save.
            QCOMPARE(ctx.state.strSeries, code.at(0));
            QCOMPARE(ctx.state.strConfigName, "Pump 1.qxc");
            QVERIFY(ctx.state.blnConfigChanged || m == NewConfig::Mode::Detailed);
            QVERIFY(ctx.statusList.lines().size() == 1);
            shown << m;
        });
        QVERIFY(newConfig.startNewConfig(NewConfig::Mode(mode), drive(code), path));

        QCOMPARE(shown, QList<NewConfig::Mode> {NewConfig::Mode(mode)});
        QCOMPARE(ctx.editor.tag(), tag);
        QCOMPARE((QStringList {ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), code);
        QCOMPARE(ctx.state.strConfigPath, path);
        QVERIFY(!ctx.state.blnConfigChanged);
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(statuses.value(0), "Preparing for new config");
        QCOMPARE(ctx.statusList.status(), " ");
        const QStringList lines = ctx.statusList.lines();
        QCOMPARE(lines.size(), 4);
        const QStringList words {"New File operation started ", "File Save operation started ",
            "File Save operation completed ", "New File operation completed "};
        for (int n = 0; n < 4; ++n) {
            QVERIFY2(lines.at(n).startsWith(words.at(n)), qPrintable(lines.at(n)));
            QVERIFY(lines.at(n).endsWith('.') && lines.at(n).size() > words.at(n).size() + 8);
        }

        // The file holds the catalogue defaults: reading it back reports no
        // value that differs from its default.
        const QStringList fileLines = TextFile::decodeLines(readBytes(path));
        QCOMPARE(fileLines.value(0), "#" + code.join(""));
        ctx.statusList.clear();
        QVERIFY(ConfigFile(ctx).openFile(path));
        for (const QString &line : ctx.statusList.lines())
            QVERIFY2(!line.contains(" - P"), qPrintable(line));
        QVERIFY(!ctx.state.blnConfigChanged);
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void schematicRefused()
    {
        TempProgram program;
        AppContext &ctx = program.ctx();
        const QString path = program.path("Configs/s.qxc");
        bool shown = false;
        NewConfig newConfig(ctx);
        newConfig.setShowMode([&](NewConfig::Mode) { shown = true; });
        QVERIFY(!newConfig.startNewConfig(NewConfig::Mode::Schematic, drive({"02", "05", "120"}), path));
        QVERIFY(!shown);
        QVERIFY(!QFile::exists(path));
        QVERIFY(ctx.statusList.lines().isEmpty());
        QCOMPARE(ctx.state.strConfigPath, " ");
    }

    void unknownDrive()
    {
        TempProgram program;
        AppContext &ctx = program.ctx();
        ctx.state.strConfigPath = program.path("Configs/previous.qxc");
        const QString path = program.path("Configs/n.qxc");
        QVERIFY(!NewConfig(ctx).startNewConfig(NewConfig::Mode::Detailed, drive({"02", "05", "9'9"}), path));
        QVERIFY(!QFile::exists(path));
        QCOMPARE(ctx.state.strConfigPath, program.path("Configs/previous.qxc"));
        QVERIFY(!ctx.statusList.barVisible());
        QCOMPARE(ctx.statusList.status(), " ");
        QCOMPARE(ctx.statusList.lines().size(), 1); // started, never completed
        QVERIFY(program.errorLogLines().join('\n').contains("basFunctions, getParamData()"));
    }

    void confirmReplace_data()
    {
        QTest::addColumn<bool>("configExists");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("result");
        QTest::addColumn<bool>("schematicKept");
        QTest::addColumn<int>("questions");
        QTest::newRow("no file: no question") << false << int(Msg::No) << true << true << 0;
        QTest::newRow("No keeps both files") << true << int(Msg::No) << false << true << 1;
        QTest::newRow("Yes removes the schematic file") << true << int(Msg::Yes) << true << false << 1;
    }

    void confirmReplace()
    {
        QFETCH(bool, configExists);
        QFETCH(int, answer);
        QFETCH(bool, result);
        QFETCH(bool, schematicKept);
        QFETCH(int, questions);
        TempProgram program;
        const QString path = program.path("Configs/Pump1.qxc");
        if (configExists)
            writeBytes(path, "x\r\n");
        writeBytes(program.path("Configs/Pump1.qxs"), "s\r\n");
        program.prompter().enqueue(answer);
        QCOMPARE(NewConfig(program.ctx()).confirmReplace(path), result);
        QCOMPARE(QFile::exists(program.path("Configs/Pump1.qxs")), schematicKept);
        QCOMPARE(QFile::exists(path), configExists);
        QCOMPARE(program.prompter().messages().size(), questions);
        if (questions) {
            const ScriptedPrompter::Message &m = program.prompter().messages().first();
            QCOMPARE(m.title, "Tarvel");
            QCOMPARE(m.text, "The file " + path + " already exists.\rDo you want to replace the existing file?");
            QCOMPARE(m.style, Msg::YesNo | Msg::Question);
        }
    }

    void unwritableFolder()
    {
        TempProgram program;
        AppContext &ctx = program.ctx();
        const QString path = program.path("no such folder/n.qxc");
        QVERIFY(!NewConfig(ctx).startNewConfig(NewConfig::Mode::Detailed, drive({"02", "05", "120"}), path));
        // Not saved: the configuration in memory still counts as changed.
        QVERIFY(ctx.state.blnConfigChanged);
        QCOMPARE(ctx.editor.tag(), "1");
        QVERIFY(ctx.statusList.lines().last().startsWith("New File operation completed "));
        QVERIFY(!ctx.statusList.barVisible());
        QVERIFY(program.errorLogLines().join('\n').contains("basFunctions, SaveFile()"));
    }
};

class TestRatingUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void carriesValues_data();
    void carriesValues();
    void reportsAndEnds();
    void unknownEntryChangesNothing_data();
    void unknownEntryChangesNothing();
};

void TestRatingUpdate::carriesValues_data()
{
    QTest::addColumn<QStringList>("from");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QList<int>>("unlocked"); // boxes the editor had freed
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<int>("listIndex"); // -2: no list to check
    QTest::addColumn<QString>("listText"); // empty: not checked

    const QList<int> none;
    const quint32 red = Colour::Red, black = Colour::Black, grey = Colour::GrayText;
    QTest::newRow("kept, differs from new default")
        << QX2 << QStringList {"103=10"} << none << ToQX3 << 103 << "10" << red << -2 << QString();
    QTest::newRow("kept, equals new default")
        << QX2 << QStringList {"103=30"} << none << ToQX3 << 103 << "30" << black << -2 << QString();
    QTest::newRow("spelling kept as typed")
        << QX2 << QStringList {"103=10.50"} << none << ToQX3 << 103 << "10.50" << red << -2 << QString();
    QTest::newRow("above new maximum: new default")
        << QX2 << QStringList {"203=12"} << none << ToQX3 << 203 << "4" << black << -2 << QString();
    QTest::newRow("read-only not carried")
        << QX2 << QStringList {"934=5"} << none << ToQX3 << 934 << "91" << black << -2 << QString();
    QTest::newRow("locked curve point not carried")
        << QX2 << QStringList {"205=100"} << none << ToQX3 << 205 << "24" << black << -2 << QString();
    QTest::newRow("freed curve point carried")
        << QX2 << QStringList {"200=03", "205=100"} << QList<int> {204, 205, 206, 207} << ToQX3 << 205 << "100" << red
        << -2 << QString();
    QTest::newRow("list by position") << QX2 << QStringList {"302=20"} << none << ToQX3 << 302 << "20" << red << 20
                                      << QString();
    QTest::newRow("list at new default") << QX2 << QStringList {"302=14"} << none << ToQX3 << 302 << "14" << black << 14
                                         << QString();
    QTest::newRow("list code written short")
        << QX2 << QStringList {"5=1"} << none << ToQX3 << 5 << "01" << red << 1 << QString();
    QTest::newRow("P0.00 list shows the number")
        << QX2 << QStringList {"0=400"} << none << ToQX3 << 0 << "400" << red << -2 << "400";
    QTest::newRow("list beyond new maximum: default entry")
        << QX3 << QStringList {"302=23"} << none << ToQX2 << 302 << "14" << black << 14 << QString();
    QTest::newRow("not a number: new default")
        << QX2 << QStringList {"103=abc"} << none << ToQX3 << 103 << "30" << black << -2 << QString();
    QTest::newRow("series follows the new drive")
        << QX2 << QStringList() << none << ToQX3 << 941 << "03" << black << 3 << QString();
    QTest::newRow("new drive lacks the parameter")
        << QX2 << QStringList {"328=5"} << none << ToQX2Rev103 << 328 << "" << grey << -2 << QString();
    QTest::newRow("new drive lacks the list")
        << QX2 << QStringList {"418=01"} << none << ToQX2Rev103 << 418 << "" << grey << -2 << QString();
}

void TestRatingUpdate::carriesValues()
{
    QFETCH(QStringList, from);
    QFETCH(QStringList, edits);
    QFETCH(QList<int>, unlocked);
    QFETCH(QString, entry);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(quint32, colour);
    QFETCH(int, listIndex);
    QFETCH(QString, listText);

    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, from));
    for (int i : unlocked)
        ctx.editor.txtP(i).setEnabled(true);
    applyEdits(ctx, edits);
    ctx.statusList.clear();

    QVERIFY(RatingUpdate(ctx).update(entry));

    const EditorForm &form = ctx.editor;
    QCOMPARE(form.txtP(index).text(), text);
    QCOMPARE(form.lblP(index).foreColor(), colour);
    if (colour == Colour::GrayText) {
        QCOMPARE(form.lblP(index).caption(), ParamLoader::notUsedCaption(index));
        QVERIFY(!form.txtP(index).visible());
    } else {
        // A later refused entry falls back to what is shown now.
        QCOMPARE(ctx.params.varLastChance[index].toString(), text);
    }
    if (listIndex != -2)
        QCOMPARE(form.cmbP(index).listIndex(), listIndex);
    if (!listText.isEmpty())
        QCOMPARE(form.cmbP(index).text(), listText);
    // The custom-curve points follow the P2.00 carried over.
    const bool custom = form.txtP(200).text() == QStringLiteral("03");
    for (int i = 204; i <= 207; ++i)
        QCOMPARE(form.txtP(i).enabled(), custom);
    // Replaced values are not reported: the list holds the start and end.
    QCOMPARE(ctx.statusList.lines().size(), 2);
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestRatingUpdate::reportsAndEnds()
{
    TempProgram program;
    AppContext &ctx = program.ctx();
    BusyHooks hooks;
    ctx.setHooks(&hooks);
    QVERIFY(loadDrive(ctx, QX2));
    ctx.state.blnConfigChanged = false;
    ctx.statusList.clear();

    QStringList captions, statuses;
    QMap<QString, QList<int>> positions; // by caption
    connect(&ctx.statusList, &StatusList::captionChanged, this, [&](const QString &c) { captions << c; });
    connect(&ctx.statusList, &StatusList::statusChanged, this, [&](const QString &s) { statuses << s; });
    connect(
        &ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions[ctx.statusList.caption()] << p; });
    int closed = 0;
    QString seriesAtClose;
    RatingUpdate update(ctx);
    update.setCloseDialog([&] {
        ++closed;
        // The dialog closes once the drive is known, before the load.
        seriesAtClose = ctx.state.strSeries + ctx.editor.txtP(941).text();
    });

    const QDateTime before = QDateTime::currentDateTime();
    QVERIFY(update.update(ToQX3));
    const QDateTime after = QDateTime::currentDateTime();

    const QStringList &lines = ctx.statusList.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(stampedWithin(lines.first(), "Configuration update started ", before, after), qPrintable(lines.first()));
    QVERIFY2(stampedWithin(lines.last(), "Configuration update complete ", before, after), qPrintable(lines.last()));
    const QString head = QStringLiteral("  Status List - ");
    QCOMPARE(captions,
        (QStringList {head + "Updating Configuration", head + "Storing Existing Data", head + "Loading New Data",
            head + "Verifying Configuration Data", StatusList::DefaultCaption}));
    QCOMPARE(statuses,
        (QStringList {"Updating Configuration", "Storing Existing Data", "Loading New Data",
            "Verifying Configuration Data", " "}));
    QList<int> everyPosition;
    for (int i = 0; i <= StatusList::MaxPosition; ++i)
        everyPosition << i;
    // The bar stood at the end of the loader before the second pass.
    QCOMPARE(positions.value(head + "Storing Existing Data").mid(1), everyPosition.mid(1));
    QCOMPARE(positions.value(head + "Verifying Configuration Data").first(), 0);
    QCOMPARE(positions.value(head + "Verifying Configuration Data").last(), StatusList::MaxPosition);
    QVERIFY(!ctx.statusList.barVisible());

    QCOMPARE(program.prompter().messages().size(), 1);
    const ScriptedPrompter::Message &m = program.prompter().messages().first();
    QCOMPARE(m.title, QStringLiteral("Update Complete"));
    QCOMPARE(m.style, int(Msg::Information));
    QCOMPARE(m.text,
        QStringLiteral("Your current configuration has been updated.\rRemember to save your new configuration to "
                       "ensure the changes are not lost."));

    QCOMPARE(closed, 1);
    QCOMPARE(seriesAtClose, QStringLiteral("0302"));
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX3);
    // The configuration no longer matches its file.
    QVERIFY(ctx.state.blnConfigChanged);
    QCOMPARE(hooks.busy, QList<bool> {false});
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestRatingUpdate::unknownEntryChangesNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("error");
    QTest::newRow("model not in catalogue") << "QX-9-999H @ rev. 104"
                                            << "3021";
    QTest::newRow("revision not of this model") << "QX-3-045H @ rev. 100"
                                                << "3021";
    QTest::newRow("no revision part") << "QX-3-045H"
                                      << "9";
    QTest::newRow("no models line") << "No models available to update to."
                                    << "9";
}

void TestRatingUpdate::unknownEntryChangesNothing()
{
    QFETCH(QString, entry);
    QFETCH(QString, error);
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
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX2);
    QVERIFY(!ctx.state.blnConfigChanged);
    QVERIFY(!closed);
    QVERIFY(program.prompter().messages().isEmpty());
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 1);
    QVERIFY2(log.first().contains(" - basFunctions, Update(), Program, " + error + ", "), qPrintable(log.first()));
    // The list no longer claims to be at work.
    QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
    QVERIFY(!ctx.statusList.barVisible());
    QCOMPARE(ctx.statusList.lines().size(), 1);
}

class TestUploadValidation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validateUpload_data();
    void validateUpload();
};

void TestUploadValidation::validateUpload_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("report");
    QTest::addColumn<bool>("sameAsFile");
    QTest::newRow("equal to default") << 101 << "10"
                                      << "10"
                                      << "" << true;
    QTest::newRow("too low") << 1 << "0.1"
                             << "2.7"
                             << " - P0.01 - Value too low. Value = 0.1 Min = 0.5 Parameter's default of 2.7 was loaded."
                             << true;
    QTest::newRow("too high: no word of the default")
        << 3 << "99999"
        << "1740"
        << " - P0.03 - Value too high. Value = 99999 Max = 24000" << false;
    QTest::newRow("list past its end") << 300 << "9"
                                       << "00"
                                       << " - P3.00 - Value too high. Value = 9 Max = 4" << false;
    QTest::newRow("different") << 101 << "25.5"
                               << "25.5"
                               << " - P1.01 - Value different from default. Value = 25.5 Default = 10" << true;
    QTest::newRow("list different") << 300 << "2"
                                    << "2"
                                    << " - P3.00 - Value different from default. Value = 2 Default = 0" << true;
    QTest::newRow("node address never different") << 939 << "1"
                                                  << "1"
                                                  << "" << false;
    QTest::newRow("node address still range-checked") << 939 << "7"
                                                      << "00"
                                                      << " - P9.39 - Value too high. Value = 7 Max = 3" << false;
}

void TestUploadValidation::validateUpload()
{
    QFETCH(int, index);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(QString, report);
    QFETCH(bool, sameAsFile);
    const Outcome upload = checked(
        index, value, [](AppContext &ctx, int i, const QString &v) { UploadValidation(ctx).validateUpload(i, v); });
    const Outcome file
        = checked(index, value, [](AppContext &ctx, int i, const QString &v) { ConfigFile(ctx).validateFile(i, v); });

    QCOMPARE(upload.reports, report.isEmpty() ? QStringList() : QStringList {report});
    QCOMPARE(upload.text, text);
    QCOMPARE(upload.labelColour, report.contains("different") ? Colour::Red : Colour::Black);
    // Out of range, both put the default into the box.
    QCOMPARE(upload.text, file.text);
    QCOMPARE(upload.reports == file.reports, sameAsFile);
}

TARVEL_TEST_GUILESS_MAIN(TestConfigFile, TestCompareOperation, TestConfigReport, TestNewConfig, TestRatingUpdate,
    TestUploadValidation)
#include "tst_files.moc"
