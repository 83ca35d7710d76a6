// Schematic sheets composed onto pages: the layout methods' page counts,
// a whole schematic to PDF with its title block, a stopped job.
#include "TestMain.h"
#include "files/FileTestSupport.h"
#include "support/PdfText.h"

#include "catalogue/ParamLoader.h"
#include "print/PageComposer.h"
#include "print/PdfDocument.h"
#include "print/PrinterChoice.h"
#include "print/SchematicSheet.h"
#include "schematic/SchematicModel.h"

#include <QBuffer>
#include <QDate>
#include <QLocale>
#include <QPdfWriter>

using namespace Tarvel;

namespace {

// The sheets of a drive's schematic, with a title block.
struct Sheets
{
    explicit Sheets(const DriveKey &drive)
    {
        if (!ParamLoader(program.ctx()).loadDrive(drive))
            qFatal("drive not loaded");
        model.load();
        program.ctx().state.strConfigName = QStringLiteral("Mill 4.qxc");
        program.ctx().state.titleCompany = QStringLiteral("Acme Mills & Sons");
        program.ctx().state.titleProject = QStringLiteral("Line <4>");
        const QList<SchematicPage> pages
            = model.twoPage() ? QList {SchematicPage::Control, SchematicPage::Power} : QList {SchematicPage::Single};
        for (SchematicPage page : pages)
            owned.push_back(
                std::make_unique<SchematicSheet>(program.ctx(), model, page, TitleBlock::forPage(program.ctx(), page)));
        for (const auto &sheet : owned)
            sheets << sheet.get();
    }
    Test::TempProgram program;
    SchematicModel model {program.ctx()};
    std::vector<std::unique_ptr<SchematicSheet>> owned;
    QList<const SchematicSheet *> sheets;
};

} // namespace

class TestPageComposer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    // A sheet is 8.6 x 7.0 inches at its own size; A4 landscape with
    // half-inch margins leaves 10.7 x 7.3.
    void pagesPerSheet_data()
    {
        QTest::addColumn<int>("method");
        QTest::addColumn<int>("zoom");
        QTest::addColumn<QSize>("wanted");
        QTest::addColumn<bool>("fullPage");
        QTest::addColumn<int>("headerPoints");
        QTest::addColumn<QSize>("needed");
        QTest::newRow("original size") << 1 << 100 << QSize(3, 2) << false << 0 << QSize(1, 1);
        QTest::newRow("zoom 120%: too tall") << 2 << 120 << QSize(1, 1) << false << 0 << QSize(1, 2);
        QTest::newRow("zoom 200%") << 2 << 200 << QSize(1, 1) << false << 0 << QSize(2, 2);
        QTest::newRow("stretched over 3 x 2") << 3 << 100 << QSize(3, 2) << false << 0 << QSize(3, 2);
        QTest::newRow("in proportion within 3 x 2") << 4 << 100 << QSize(3, 2) << false << 0 << QSize(2, 2);
        QTest::newRow("full page") << 3 << 100 << QSize(3, 2) << true << 0 << QSize(1, 1);
        QTest::newRow("a large header takes room") << 1 << 100 << QSize(1, 1) << false << 60 << QSize(1, 2);
    }
    void pagesPerSheet()
    {
        QFETCH(int, method);
        QFETCH(int, zoom);
        QFETCH(QSize, wanted);
        QFETCH(bool, fullPage);
        QFETCH(int, headerPoints);
        QFETCH(QSize, needed);
        PrintLayout layout;
        layout.method = PrintLayout::Method(method);
        layout.zoom = zoom;
        layout.pagesAcross = wanted.width();
        layout.pagesDown = wanted.height();
        layout.fullPage = fullPage;
        if (headerPoints > 0) {
            layout.header = QStringLiteral("Header");
            layout.headerFont.setPointSize(headerPoints);
        }
        QBuffer buffer;
        buffer.open(QIODevice::WriteOnly);
        QPdfWriter writer(&buffer);
        writer.setPageSize(QPageSize(QPageSize::A4));
        const PageComposer composer(layout, {});
        composer.setUp(writer);
        QCOMPARE(composer.pagesPerSheet(writer), needed);
        // The same in centimetres.
        layout.setUnit(PrintLayout::Centimeters);
        QCOMPARE(layout.margins.left(), 1.27);
        PageComposer(layout, {}).setUp(writer);
        QCOMPARE(PageComposer(layout, {}).pagesPerSheet(writer), needed);
    }

    void schematicToPdf_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QStringList>("captions");
        QTest::newRow("series 2: one page") << "02" << QStringList {"Schematic View"};
        QTest::newRow("series 3: two pages") << "03"
                                             << QStringList {"Schematic View - Page 1: Control Terminals",
                                                    "Schematic View - Page 2: Power and Feedback"};
    }
    void schematicToPdf()
    {
        QFETCH(QString, series);
        QFETCH(QStringList, captions);
        if (!Test::hasPdfToText())
            QSKIP(Test::NoPdfToText);
        Sheets s(series == "02" ? DriveKey {"02", "05", "120"} : DriveKey {"03", "06", "104"});
        const QString pdf = s.program.path("out.pdf");
        QVERIFY(PdfDocument::write(pdf, PageComposer(PrintLayout(), s.sheets)));
        QStringList pages = Test::pdfText(pdf).split(u'\f');
        pages.removeAll(QString());
        QCOMPARE(pages.size(), captions.size());
        const QString today = QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
        for (int i = 0; i < pages.size(); ++i)
            for (const QString &text : {QStringLiteral("Acme Mills & Sons"), QStringLiteral("Line <4>"), captions[i],
                     today, QStringLiteral("Mill 4.qxc")})
                QVERIFY2(pages[i].contains(text), qPrintable(text + " not on page " + QString::number(i + 1)));
    }

    // A job stopped before its last page leaves the file as it was.
    void stoppedJobWritesNothing()
    {
        Sheets s({"03", "06", "104"});
        const QString pdf = s.program.path("out.pdf");
        Test::writeBytes(pdf, "before");
        QList<int> asked;
        QVERIFY(!PdfDocument::write(pdf, PageComposer(PrintLayout(), s.sheets), [&](int page, int count) {
            asked << page << count;
            return page < 2;
        }));
        QCOMPARE(asked, (QList {1, 2, 2, 2}));
        QCOMPARE(Test::readBytes(pdf), "before");
    }

    // Without the desktop's printer settings tool, "Printers" says so.
    void printerSettingsWithoutTool()
    {
        Test::TempProgram program;
        const QByteArray path = qgetenv("PATH");
        qputenv("PATH", program.dir().toLocal8Bit());
        PrinterChoice::openPrinterSettings(program.ctx());
        qputenv("PATH", path);
        QCOMPARE(program.prompter().titles(), QStringList {"Printers"});
        QVERIFY(program.prompter().messages().value(0).text.contains("system-config-printer"));
    }
};

TARVEL_TEST_MAIN(TestPageComposer)

#include "tst_print.moc"
