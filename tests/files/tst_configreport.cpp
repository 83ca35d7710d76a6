// The configuration report: its lines, the column-60 layout, the viewer.
#include "FileTestSupport.h"

#include "ports/ShellHooks.h"
#include "base/TextFile.h"
#include "files/ConfigReport.h"

#include <QDir>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

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

} // namespace

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

QTEST_GUILESS_MAIN(TestConfigReport)
#include "tst_configreport.moc"
