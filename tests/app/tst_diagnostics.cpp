// The diagnostics file's writer and the catalogue texts of the About window.
#include "TestMain.h"
#include "TestSupport.h"
#include "app/AboutInfo.h"
#include "app/DiagnosticsFile.h"
#include "base/TextFile.h"
#include "files/FileTestSupport.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QString Blank = QStringLiteral(" ");

} // namespace

class TestDiagnosticsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sections_data()
    {
        QTest::addColumn<bool>("configuration");
        QTest::addColumn<QStringList>("errorLog");
        QTest::newRow("configuration and error log")
            << true << QStringList {"1.1.2026 10:00:00 - frmMain, x, 53, File not found", "second line"};
        QTest::newRow("nothing in memory, no log") << false << QStringList {};
    }

    // Every section in order, the configuration's values and the error log
    // as they are in memory and on disk.
    void sections()
    {
        QFETCH(bool, configuration);
        QFETCH(QStringList, errorLog);
        TempProgram program;
        AppContext &ctx = program.ctx();
        if (configuration) {
            QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
            ctx.state.strConfigPath = program.path("Configs/pump.qxc");
            ctx.state.strRev = QStringLiteral("120");
            ctx.editor.txtP(103).setText(QStringLiteral("12.5"));
            QVERIFY(ctx.state.blnConfigChanged);
        }
        if (!errorLog.isEmpty())
            writeBytes(ctx.paths().errorLog(), TextFile::encodeLines(errorLog));
        const DiagnosticsFile::Captions captions {QStringLiteral("Version 9.8.7"), QStringLiteral("dB Version: x."),
            QStringLiteral("Drive Series/Model/Rev Equal "), QStringLiteral("Drive Status - Offline"),
            QStringLiteral("Off-Line ")};
        DiagnosticsFile(ctx).write(captions);
        const QByteArray bytes = readBytes(ctx.paths().diagsLog());
        const QStringList lines = TextFile::decodeLines(bytes);

        QVERIFY(lines.at(0).startsWith("Diagnostic file created "));
        const QStringList head {Blank, DiagnosticsFile::osLine(), DiagnosticsFile::osBuildLine(), Blank,
            "Application info follows --------------------------", "Application Path = " + program.dir(),
            "Version 9.8.7", "dB Version: x.", "Help File = qrc:/manual/index.html", Blank,
            "Connected Drive info follows ----------------------", "Drive Status - Offline", "Connection: Off-Line ",
            "Series: Not Connected", "Model: Not Connected", "Rev: Not Connected", Blank,
            "Config in pc memory follows------------------------",
            "Current config file = " + (configuration ? program.path("Configs/pump.qxc") : Blank),
            QString("Current status of Dirty Data: ") + (configuration ? "True" : "False"),
            "Drive Series/Model/Rev Equal ", "Series: " + QString(configuration ? "02" : ""),
            "Model: " + QString(configuration ? "05" : ""), "Rev: " + QString(configuration ? "120" : ""), Blank,
            "Param - Value", "-------------"};
        QCOMPARE(lines.mid(1, head.size()), head);
        QVERIFY(lines.at(2).contains(", version "));

        const QVector<int> &fields = EditorForm::fieldIndices();
        const QStringList params = lines.mid(1 + head.size(), fields.size());
        QCOMPARE(params.first(), "000 - " + ctx.editor.txtP(fields.first()).text());
        QCOMPARE(params.last(), QString::number(fields.last()) + " - " + ctx.editor.txtP(fields.last()).text());
        QVERIFY(params.contains(QStringLiteral("005 - ") + ctx.editor.txtP(5).text()));
        QCOMPARE(params.contains("103 - 12.5"), configuration);

        const QStringList tail = lines.mid(1 + head.size() + fields.size());
        const QStringList log = errorLog.isEmpty() ? QStringList {"Could not find error log."} : errorLog;
        QCOMPARE(tail,
            QStringList({Blank, "Error Log Follows ----------------------------------", Blank}) + log
                + QStringList({Blank, "End of diagnostic file"}));
        QVERIFY(bytes.contains("\r\nEnd of diagnostic file\r\n"));
    }

    // The catalogue's own texts for the About window.
    void catalogueInfo()
    {
        TempProgram program;
        const AboutInfo::CatalogueInfo info = AboutInfo::readCatalogue(program.ctx());
        QCOMPARE(info.dbVersion, QStringLiteral("dB Version: 1.30, 2009-02-10."));
        QVERIFY(info.drives.size() > 50);
        QVERIFY(info.drives.first().startsWith("Model "));
        QVERIFY(info.drives.first().contains(" rev. "));
        QVERIFY(info.drives.first().contains(" - "));
    }
};

TARVEL_TEST_GUILESS_MAIN(TestDiagnosticsFile)
#include "tst_diagnostics.moc"
