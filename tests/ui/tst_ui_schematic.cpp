// The schematic windows in the main window: a schematic configuration made,
// picked, saved and opened again; the close question; the truth matrices.
#include "MainWindowTestSupport.h"
#include "TestMain.h"
#include "base/TextFile.h"
#include "print/PrintPreviewWindow.h"
#include "print/PrintSetupDialog.h"
#include "print/PrinterChoice.h"
#include "print/SchematicPictures.h"
#include "print/TitleBlockDialog.h"
#include "schematic/SchematicFile.h"
#include "support/PdfText.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/schematic/SchematicView.h"
#include "ui/schematic/SchematicWindow.h"
#include "ui/schematic/SymbolPickerDialog.h"
#include "ui/schematic/TruthTableWindow.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QSvgRenderer>
#include <QTableWidget>
#include <QToolButton>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

// Clicks the middle of an element's place on the drawing.
void clickElement(SchematicWindow *w, ElementKind kind, int input = 0)
{
    QVERIFY(w);
    const SchematicRenderer *drawn = w->view()->renderer();
    for (const SchematicHit &hit : drawn->hits())
        if (hit.kind == SchematicHit::Element && hit.slot.kind == kind && hit.slot.input == input) {
            QTest::mouseClick(w->view(), Qt::LeftButton, {}, w->view()->toWidget(hit.rect.center()).toPoint());
            return;
        }
    QFAIL("element not drawn");
}

// Answers the next toolbox: the choices clicked in turn, then Done.
void answerPicker(const QString &name, QList<int> digits)
{
    QTimer::singleShot(0, [name, digits] {
        auto *picker = qobject_cast<SymbolPickerDialog *>(QApplication::activeModalWidget());
        QVERIFY(picker);
        QCOMPARE(picker->objectName(), name);
        for (int d : digits)
            picker->choice(d)->click();
        picker->findChild<QPushButton *>("cmdDone")->click();
    });
}

QString stateLine(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? TextFile::decodeLines(file.readAll()).value(5) : QString();
}

} // namespace

class TestSchematicWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void engineerRoundTrip_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QString>("state");
        QTest::newRow("series 2") << QStringList {"02", "05", "120"} << "10434444X0";
        QTest::newRow("series 3") << QStringList {"03", "06", "104"} << "111101143444444444";
    }
    // New configuration in schematic mode, every kind of pick, save on
    // closing, open again: the same state and the same drawing; closing
    // without a change asks nothing.
    void engineerRoundTrip()
    {
        QFETCH(QStringList, drive);
        QFETCH(QString, state);
        MainFixture f;
        const bool two = drive[0] == "03";
        answerNewConfig(drive, "Plant");
        f.w().commands().newSchematic();
        const QString qxs = f.configPath("Plant.qxs");
        QCOMPARE(f.ctx().editor.tag(), "3");
        QVERIFY(QFile::exists(f.configPath("Plant.qxc")) && QFile::exists(qxs));
        SchematicWindow *first = f.w().schematicWindow(two ? SchematicPage::Control : SchematicPage::Single);
        QVERIFY(first && first->isVisible());

        answerPicker("frmSchematicOptions", {0, 3});
        clickElement(first, ElementKind::Input, 2);
        if (two) {
            first->button("cmdPage2")->click();
            first = f.w().schematicWindow(SchematicPage::Control);
            SchematicWindow *power = f.w().schematicWindow(SchematicPage::Power);
            clickElement(first, ElementKind::Sw1);
            clickElement(power, ElementKind::Feedback);
            clickElement(power, ElementKind::Supply);
            clickElement(power, ElementKind::BrakeUnit);
            answerPicker("frmSchematicOptions2", {1});
            clickElement(power, ElementKind::Fuse);
        } else {
            clickElement(first, ElementKind::BrakeFrame);
            answerPicker("frmSchematicOptions2", {1});
            clickElement(first, ElementKind::Fuse);
            answerPicker("frmSchematicOptions3", {0});
            clickElement(first, ElementKind::Reactor);
        }
        QCOMPARE(f.w().schematic().stateString(), state);
        const QByteArray drawing = SchematicRenderer(f.ctx(), f.w().schematic(), first->page()).svgDocument();

        f.program.prompter().clear();
        f.program.prompter().enqueue(Msg::Yes);
        f.w().closeSchematic();
        QCOMPARE(f.program.prompter().titles().value(0), "Settings Have Changed");
        QCOMPARE(f.program.prompter().messages().value(0).text,
            "Settings may have changed. Would you like to save before closing the schematic?");
        QCOMPARE(stateLine(qxs), state);
        QCOMPARE(f.ctx().editor.tag(), "1");

        f.w().commands().closeConfiguration();
        f.dialogs.answer = qxs;
        QVERIFY(f.w().commands().openSchematic());
        QCOMPARE(f.w().schematic().stateString(), state);
        SchematicWindow *again = f.w().schematicWindow(two ? SchematicPage::Control : SchematicPage::Single);
        QVERIFY(again && again->isVisible());
        QCOMPARE(again->view()->renderer()->svgDocument(), drawing);
        f.program.prompter().clear();
        f.w().closeSchematic();
        QVERIFY(f.program.prompter().messages().isEmpty());
    }

    void hotSpotButtonsOnBothPages()
    {
        MainFixture f;
        QVERIFY(loadDrive(f.ctx(), {"03", "06", "104"}));
        f.ctx().editor.setTag("1");
        f.w().commands().viewSchematic();
        QCOMPARE(f.ctx().editor.tag(), "3");
        SchematicWindow *page1 = f.w().schematicWindow(SchematicPage::Control);
        page1->button("cmdPage2")->click();
        SchematicWindow *page2 = f.w().schematicWindow(SchematicPage::Power);
        page2->button("cmdHotSpots")->click();
        QCOMPARE(page1->button("cmdHotSpots")->text(), "Hide HotSpots");
        QVERIFY(page2->view()->renderer()->svgDocument().contains("stroke-dasharray=\"7 4\""));
        page1->button("cmdStartWiz")->click();
        QCOMPARE(f.w().mdiArea()->activeSubWindow()->widget(), page2);
        QVERIFY(page1->button("cmdWizDone")->isVisible());
    }

    // Print Preview on page 1 opens both pages' previews and the title-block
    // dialog; page 2's Print goes through the landscape advice and the
    // print setup to a PDF file that carries the title block.
    void previewPrintsToPdf()
    {
        if (!hasPdfToText())
            QSKIP(NoPdfToText);
        MainFixture f;
        QVERIFY(loadDrive(f.ctx(), {"03", "06", "104"}));
        f.ctx().editor.setTag("1");
        f.w().commands().viewSchematic();
        SchematicWindow *page1 = f.w().schematicWindow(SchematicPage::Control);
        QTimer::singleShot(0, [] {
            auto *block = qobject_cast<TitleBlockDialog *>(QApplication::activeModalWidget());
            QVERIFY(block);
            block->input(0)->setText("Acme Mills");
            block->input(1)->setText("Line 4");
            block->findChild<QPushButton *>("cmdOK")->click();
        });
        page1->button("cmdPreview")->click();
        auto *preview = page1->findChild<PrintPreviewWindow *>("frmPrintPrevQX3_2");
        QVERIFY(preview && preview->isVisible() && page1->findChild<PrintPreviewWindow *>("frmPrintPrevQX3"));
        QCOMPARE(preview->windowTitle(), "  Print Preview Page 2");

        const QString pdf = f.program.path("page2.pdf");
        f.dialogs.answer = pdf;
        f.program.prompter().enqueue(Msg::No);
        QTimer::singleShot(0, [] {
            auto *setup = qobject_cast<PrintSetupDialog *>(QApplication::activeModalWidget());
            QVERIFY(setup);
            QCOMPARE(setup->tag(), "frmPrintPrevQX3_2");
            setup->findChild<QComboBox *>("cmbChoose")->setCurrentText(PrinterChoice::PdfFile);
            setup->findChild<QPushButton *>("cmdPrint")->click();
        });
        preview->printButton()->click();
        QCOMPARE(f.program.prompter().titles(), QStringList {"Check your settings"});
        const QString text = pdfText(pdf);
        QCOMPARE(text.count(u'\f'), 1);
        QVERIFY2(text.contains("Acme Mills") && text.contains("Line 4") && text.contains("Page 2: Power and Feedback"),
            qPrintable(text));

        // The company is offered again in the same run.
        QString offered;
        QTimer::singleShot(0, [&offered] {
            auto *block = qobject_cast<TitleBlockDialog *>(QApplication::activeModalWidget());
            QVERIFY(block);
            offered = block->input(0)->text();
            block->reject();
        });
        page1->button("cmdPreview")->click();
        QCOMPARE(offered, "Acme Mills");
    }

    void truthMatrices_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QString>("button");
        QTest::addColumn<QString>("window");
        QTest::addColumn<int>("rows");
        QTest::newRow("series 2: four bits") << QStringList {"02", "05", "120"} << "cmdTruthMatrix"
                                             << "frmTruthTable2" << 16;
        QTest::newRow("series 1: three bits") << QStringList {"01", "01", "104"} << "cmdMatrix"
                                              << "frmTruthTable" << 8;
    }
    void truthMatrices()
    {
        QFETCH(QStringList, drive);
        QFETCH(QString, button);
        QFETCH(QString, window);
        QFETCH(int, rows);
        MainFixture f;
        QVERIFY(loadDrive(f.ctx(), drive));
        f.w().editorWindow()->findChild<QPushButton *>(button)->click();
        auto *table = f.w().findChild<TruthTableWindow *>(window);
        QVERIFY(table);
        QCOMPARE(table->windowTitle(), "  Multi-Speed Bit Truth Matrix");
        QCOMPARE(table->table()->rowCount(), rows);
        if (rows == 16) {
            QStringList row10;
            for (int c = 0; c < 5; ++c)
                row10 << table->table()->item(10, c)->text();
            QCOMPARE(row10, (QStringList {"On", "Off", "On", "Off", " P 5.10 Multi-Speed 10"}));
        } else {
            QCOMPARE(table->table()->item(0, 3)->text(), "P 4.00: Source of Frequency");
        }
    }
};

// Every state of every element is drawn with its own drawing and answers
// the mouse where it is drawn.
class TestSchematicRenderer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void elementStates_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::newRow("series 2") << QStringList {"02", "05", "120"};
        QTest::newRow("series 3") << QStringList {"03", "06", "104"};
    }
    void elementStates()
    {
        QFETCH(QStringList, drive);
        TempProgram program;
        QVERIFY(loadDrive(program.ctx(), drive));
        SchematicModel model(program.ctx());
        model.load();
        const QList<SchematicPage> pages = model.twoPage()
            ? QList<SchematicPage> {SchematicPage::Control, SchematicPage::Power}
            : QList<SchematicPage> {SchematicPage::Single};
        for (const ElementSlot &slot : model.positions()) {
            for (int digit : SchematicElements::digits(slot.kind)) {
                QVERIFY(model.setDigit(slot.kind, slot.input, digit));
                const SchematicRenderer page(program.ctx(), model, slot.page);
                QVERIFY(QSvgRenderer(page.svgDocument()).isValid());
                const QString drawing = SchematicElements::drawing(slot.kind, digit);
                if (!drawing.isEmpty())
                    QVERIFY2(page.svgDocument().contains(
                                 SchematicPictures::body(SchematicPictures::loadCustomPicture(drawing))),
                        qPrintable(slot.name() + " " + drawing));
                int hits = 0;
                for (const SchematicHit &hit : page.hits())
                    hits += hit.kind == SchematicHit::Element && hit.slot == slot;
                QCOMPARE(hits, 1);
            }
            QVERIFY(pages.contains(slot.page));
        }
    }

    // The pointer and the tooltip tell what a click would do.
    void mouseFeedback()
    {
        MainFixture f;
        QVERIFY(loadDrive(f.ctx(), {"01", "01", "104"}));
        f.ctx().editor.setTag("1");
        f.w().commands().viewSchematic();
        SchematicView *view = f.w().schematicWindow(SchematicPage::Single)->view();
        const auto feedback = [&](const std::function<bool(const SchematicHit &)> &which) {
            for (const SchematicHit &hit : view->renderer()->hits())
                if (which(hit)) {
                    QTest::mouseMove(view, view->toWidget(hit.rect.center()).toPoint());
                    return view->toolTip() + (view->cursor().shape() == Qt::UpArrowCursor ? "^" : "");
                }
            return QString("none");
        };
        QCOMPARE(feedback([](auto &h) { return h.kind == SchematicHit::Element && h.slot.kind == ElementKind::Input; }),
            "Click To Select Symbol^");
        QCOMPARE(feedback([](auto &h) { return h.caption == 32; }), "Click To Set Ramp Settings^");
        // Model character 1: the analog output caption and the brake are inert.
        QCOMPARE(feedback([](auto &h) { return h.caption == 4; }), "none");
        QCOMPARE(
            feedback([](auto &h) { return h.kind == SchematicHit::Element && h.slot.kind == ElementKind::BrakeFrame; }),
            "");
        QTest::mouseMove(view, QPoint(2, 2));
        QCOMPARE(view->cursor().shape(), Qt::ArrowCursor);
    }
};

TARVEL_TEST_MAIN(TestSchematicWindows, TestSchematicRenderer)

#include "tst_ui_schematic.moc"
