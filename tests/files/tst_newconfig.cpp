// New configuration: the drive list and the load-and-save of a new drive.
#include "FileTestSupport.h"

#include "base/TextFile.h"
#include "files/ConfigFile.h"
#include "files/NewConfig.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

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

} // namespace

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

QTEST_GUILESS_MAIN(TestNewConfig)
#include "tst_newconfig.moc"
