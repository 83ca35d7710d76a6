// Configuration files: writing, reading with its checks, and refusals.
#include "FileTestSupport.h"

#include "ports/ShellHooks.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "base/NumberText.h"
#include "files/ConfigFile.h"

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
        const QString path = program.path(QStringLiteral("Configs/M\u00fcller 1.qxc"));

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
        QCOMPARE(lines.at(1), "#" + QFileInfo(path).absoluteFilePath());
        QVERIFY(lines.at(2).size() > 6 && lines.at(2).startsWith('#'));
        QCOMPARE(lines.at(3),
            "#WARNING! Changing any contents of this file may result in the confirguration no longer being valid and "
            "could cause adverse effects if used.");
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
        QVERIFY(ctx.statusList.lines().first().startsWith("Open File operation started "));
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
        const QString unsupported = QStringLiteral("Non-Supported Drive Model");
        QTest::newRow("missing") << "missing"
                                 << "File missing";
        QTest::newRow("folder of that name") << "folder"
                                             << "File missing";
        QTest::newRow("model not in catalogue") << "#0299120" << unsupported;
        QTest::newRow("quote in the drive line") << "#02'5120" << unsupported;
        QTest::newRow("empty file") << "" << unsupported;
    }

    void refusedFileChangesNothing()
    {
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
        else if (kind != "missing")
            writeBytes(path, kind.isEmpty() ? QByteArray() : configBytes(kind, {"10150"}));

        QVERIFY(!ConfigFile(ctx).openFile(path));

        const bool missing = title == "File missing";
        QCOMPARE(program.prompter().messages().size(), 1);
        const ScriptedPrompter::Message box = program.prompter().messages().first();
        QCOMPARE(box.title, title);
        QCOMPARE(box.style, missing ? Msg::Exclamation : Msg::Information);
        QCOMPARE(box.text,
            missing ? "Error loading file.\rCould not find " + path + "."
                    : "The file you are opening is configured for a drive model that is not curently supported.");
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
        QTest::newRow("index not whole") << "#0205120"
                                         << "1.5x" << 13;
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
};

QTEST_GUILESS_MAIN(TestConfigFile)
#include "tst_configfile.moc"
