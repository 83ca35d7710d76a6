#include "TestSupport.h"
#include "print/QtLinePrinter.h"
#include "ui/editors/LedBar.h"
#include "ui/editors/StatusListWindow.h"
#include "ui/common/QtFileDialogs.h"
#include "ui/common/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <QTimer>
#include <QToolBar>

using namespace Tarvel;
using Tarvel::Test::ScriptedFileDialogs;

namespace {

class CountingPrinter : public LinePrinter
{
public:
    int begun = 0;
    bool begin() override
    {
        ++begun;
        return false;
    }
    void printLine(const QString &) override { }
    void end() override { }
};

int pdfPages(const QByteArray &pdf)
{
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
    return int(QString::fromLatin1(pdf).count(page));
}

} // namespace

class TestStatusListWindow : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Test::TempProgram> m_program;
    std::unique_ptr<ScriptedFileDialogs> m_dialogs;
    std::unique_ptr<CountingPrinter> m_printer;
    std::unique_ptr<StatusListWindow> m_window;

    StatusList &list() { return m_program->ctx().statusList; }
    QListWidget *log() { return m_window->findChild<QListWidget *>(QStringLiteral("lstLog")); }
    QWidget *bar() { return m_window->findChild<LedBar *>(QStringLiteral("ledBar")); }
    QAction *toolbarAction(const QString &name)
    {
        return m_window->findChild<QToolBar *>(QStringLiteral("tbrList"))->findChild<QAction *>(name);
    }
    QStringList shownLines()
    {
        QStringList out;
        for (int i = 0; i < log()->count(); ++i)
            out << log()->item(i)->text();
        return out;
    }

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<Test::TempProgram>(false);
        m_dialogs = std::make_unique<ScriptedFileDialogs>();
        m_printer = std::make_unique<CountingPrinter>();
        m_program->ctx().setFileDialogs(m_dialogs.get());
        m_program->ctx().setPrinter(m_printer.get());
        m_window = std::make_unique<StatusListWindow>(m_program->ctx());
    }

    void cleanup() { m_window.reset(); }

    void followsModel()
    {
        list().addLine(QStringLiteral("one"));
        list().addLine(QStringLiteral("two"));
        QCOMPARE(shownLines(), list().lines());
        list().setLines({QStringLiteral("fresh")});
        QCOMPARE(shownLines(), QStringList {QStringLiteral("fresh")});
        list().clear();
        QCOMPARE(log()->count(), 0);

        list().setActivity(QStringLiteral("Upload"));
        QCOMPARE(m_window->windowTitle(), QStringLiteral("  Status List - Upload"));
        list().setStatus(QStringLiteral("Parameter 12 of 80"));
        QCOMPARE(
            m_window->findChild<QLabel *>(QStringLiteral("lblStatus"))->text(), QStringLiteral("Parameter 12 of 80"));

        QVERIFY(!bar()->isVisibleTo(m_window.get()));
        list().setBarVisible(true);
        list().setPosition(500);
        QVERIFY(bar()->isVisibleTo(m_window.get()));
        QCOMPARE(static_cast<LedBar *>(bar())->value(), 500);
    }

    void startsFromExistingModel()
    {
        list().setLines({QStringLiteral("before")});
        list().setActivity(QStringLiteral("earlier"));
        list().setBarVisible(true);
        list().setPosition(700);
        StatusListWindow late(m_program->ctx());
        QCOMPARE(late.findChild<QListWidget *>(QStringLiteral("lstLog"))->count(), 1);
        QCOMPARE(late.windowTitle(), list().caption());
        QVERIFY(late.findChild<LedBar *>(QStringLiteral("ledBar"))->isVisibleTo(&late));
        QCOMPARE(late.findChild<LedBar *>(QStringLiteral("ledBar"))->value(), 700);
    }

    void newestLineStaysInView()
    {
        m_window->show();
        QVERIFY(QTest::qWaitForWindowExposed(m_window.get()));
        for (int i = 0; i < 500; ++i)
            list().addLine(QStringLiteral("line %1").arg(i));
        QCoreApplication::processEvents();
        const QRect last = log()->visualItemRect(log()->item(log()->count() - 1));
        QVERIFY(log()->viewport()->rect().contains(last.center()));
    }

    void toolbarButtons_data()
    {
        QTest::addColumn<QString>("action");
        QTest::addColumn<int>("dialogMode"); // -1: no file dialog
        QTest::addColumn<int>("printerBegun");
        QTest::addColumn<int>("questions");
        QTest::newRow("open") << "tbrList_Open" << int(FileDialogRequest::Open) << 0 << 0;
        QTest::newRow("save") << "tbrList_Save" << int(FileDialogRequest::Save) << 0 << 0;
        QTest::newRow("print") << "tbrList_Print" << -1 << 1 << 0;
        QTest::newRow("clear") << "tbrList_Clear" << -1 << 0 << 1;
    }

    void toolbarButtons()
    {
        QFETCH(QString, action);
        QFETCH(int, dialogMode);
        QFETCH(int, printerBegun);
        QFETCH(int, questions);
        QAction *button = toolbarAction(action);
        QVERIFY(button);
        button->trigger();
        QCOMPARE(m_dialogs->requests.size(), dialogMode < 0 ? 0 : 1);
        if (dialogMode >= 0)
            QCOMPARE(int(m_dialogs->requests.first().mode), dialogMode);
        QCOMPARE(m_printer->begun, printerBegun);
        QCOMPARE(m_program->prompter().messages().size(), questions);
    }

    void clearButton_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<int>("remaining");
        QTest::newRow("yes") << int(Msg::Yes) << 0;
        QTest::newRow("no") << int(Msg::No) << 2;
    }

    void clearButton()
    {
        QFETCH(int, answer);
        QFETCH(int, remaining);
        list().setLines({QStringLiteral("a"), QStringLiteral("b")});
        m_program->prompter().enqueue(answer);
        toolbarAction(QStringLiteral("tbrList_Clear"))->trigger();
        QCOMPARE(log()->count(), remaining);
    }

    void closeBox_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("closes");
        QTest::newRow("cancel keeps the window") << int(Msg::Cancel) << false;
        QTest::newRow("ok closes and clears") << int(Msg::OK) << true;
    }

    void closeBox()
    {
        QFETCH(int, answer);
        QFETCH(bool, closes);
        list().setLines({QStringLiteral("unsaved")});
        list().show();
        m_window->show();
        m_program->prompter().enqueue(answer);
        QCOMPARE(m_window->close(), closes);
        QCOMPARE(m_window->isVisible(), !closes);
        QCOMPARE(m_program->prompter().messages().size(), 1);
        QCOMPARE(log()->count(), closes ? 0 : 1);
    }

    void closeButtonHidesThroughModel()
    {
        list().addLine(QStringLiteral("kept"));
        list().show();
        QSignalSpy shown(&list(), &StatusList::shownChanged);
        QTest::mouseClick(m_window->findChild<QPushButton *>(QStringLiteral("cmdClose")), Qt::LeftButton);
        QCOMPARE(shown.size(), 1);
        QCOMPARE(shown.first().first().toBool(), false);
        QCOMPARE(log()->count(), 1);
    }

    void qtFilter_data()
    {
        QTest::addColumn<QString>("classic");
        QTest::addColumn<QString>("qt");
        QTest::newRow("one entry") << QStringLiteral("list files (*.qxl)|*.qxl")
                                   << QStringLiteral("list files (*.qxl)");
        QTest::newRow("two entries") << QStringLiteral("qxl (*.qxl)|*.qxl|Text (*.txt)|*.txt")
                                     << QStringLiteral("qxl (*.qxl);;Text (*.txt)");
        QTest::newRow("several patterns")
            << QStringLiteral("Logs (*.log;*.txt)|*.log;*.txt") << QStringLiteral("Logs (*.log *.txt)");
        QTest::newRow("description without patterns")
            << QStringLiteral("Configurations|*.qxc") << QStringLiteral("Configurations (*.qxc)");
        QTest::newRow("all files") << QStringLiteral("All Files (*.*)|*.*") << QStringLiteral("All Files (*)");
        QTest::newRow("description differs from patterns")
            << QStringLiteral("Lists (*.lst)|*.qxl") << QStringLiteral("Lists (*.qxl)");
        QTest::newRow("missing pattern") << QStringLiteral("Anything") << QStringLiteral("Anything (*)");
        QTest::newRow("empty") << QStringLiteral("") << QStringLiteral("");
    }

    void qtFilter()
    {
        QFETCH(QString, classic);
        QFETCH(QString, qt);
        QCOMPARE(QtFileDialogs::toQtFilter(classic), qt);
    }

    void fileDialogSetup_data()
    {
        QTest::addColumn<int>("mode");
        QTest::addColumn<bool>("mustExist");
        QTest::addColumn<bool>("confirm");
        QTest::addColumn<int>("acceptMode");
        QTest::addColumn<int>("fileMode");
        QTest::addColumn<bool>("asksOverwrite");
        QTest::newRow("open existing") << int(FileDialogRequest::Open) << true << false << int(QFileDialog::AcceptOpen)
                                       << int(QFileDialog::ExistingFile) << false;
        QTest::newRow("open any") << int(FileDialogRequest::Open) << false << false << int(QFileDialog::AcceptOpen)
                                  << int(QFileDialog::AnyFile) << false;
        QTest::newRow("save confirming") << int(FileDialogRequest::Save) << false << true
                                         << int(QFileDialog::AcceptSave) << int(QFileDialog::AnyFile) << true;
        QTest::newRow("save silently") << int(FileDialogRequest::Save) << false << false << int(QFileDialog::AcceptSave)
                                       << int(QFileDialog::AnyFile) << false;
    }

    void fileDialogSetup()
    {
        QFETCH(int, mode);
        QFETCH(bool, mustExist);
        QFETCH(bool, confirm);
        QFETCH(int, acceptMode);
        QFETCH(int, fileMode);
        QFETCH(bool, asksOverwrite);
        FileDialogRequest request;
        request.mode = FileDialogRequest::Mode(mode);
        request.filter = QStringLiteral("list files (*.qxl)|*.qxl|All (*.*)|*.*");
        request.initialDir = m_program->dir();
        request.fileMustExist = mustExist;
        request.confirmOverwrite = confirm;
        QFileDialog dialog;
        QtFileDialogs::configure(dialog, request);
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(int(dialog.acceptMode()), acceptMode);
        QCOMPARE(int(dialog.fileMode()), fileMode);
        if (dialog.acceptMode() == QFileDialog::AcceptSave)
            QCOMPARE(!dialog.testOption(QFileDialog::DontConfirmOverwrite), asksOverwrite);
        QCOMPARE(dialog.nameFilters(), (QStringList {QStringLiteral("list files (*.qxl)"), QStringLiteral("All (*)")}));
        QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(m_program->dir()).canonicalPath());
    }

    void fileDialogReturnsChoice()
    {
        const QString path = m_program->path(QStringLiteral("chosen.qxl"));
        QTimer::singleShot(0, this, [path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(path);
            // accept() is protected in QFileDialog but public in QDialog.
            static_cast<QDialog *>(dialog)->accept();
        });
        FileDialogRequest request;
        request.mode = FileDialogRequest::Save;
        request.initialDir = m_program->dir();
        QCOMPARE(QtFileDialogs().chooseFile(request), path);

        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(QtFileDialogs().chooseFile(request), QString());
    }

    void prompterBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("buttons");
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("enterAnswer");
        QTest::newRow("ok only") << int(Msg::OKOnly) << QStringList {"OK"} << int(QMessageBox::NoIcon) << int(Msg::OK);
        QTest::newRow("critical") << int(Msg::Critical) << QStringList {"OK"} << int(QMessageBox::Critical)
                                  << int(Msg::OK);
        QTest::newRow("ok cancel question") << int(Msg::OKCancel | Msg::Question) << QStringList {"OK", "Cancel"}
                                            << int(QMessageBox::Question) << int(Msg::OK);
        QTest::newRow("yes no exclamation") << int(Msg::YesNo | Msg::Exclamation) << QStringList {"Yes", "No"}
                                            << int(QMessageBox::Warning) << int(Msg::Yes);
        QTest::newRow("yes no default no")
            << int(Msg::YesNo | Msg::Information | Msg::DefaultButton2) << QStringList {"Yes", "No"}
            << int(QMessageBox::Information) << int(Msg::No);
        QTest::newRow("ok cancel default cancel")
            << int(Msg::OKCancel | Msg::DefaultButton2) << QStringList {"OK", "Cancel"} << int(QMessageBox::NoIcon)
            << int(Msg::Cancel);
    }

    void prompterBox()
    {
        QFETCH(int, style);
        QFETCH(QStringList, buttons);
        QFETCH(int, icon);
        QFETCH(int, enterAnswer);
        QTimer::singleShot(0, this, [&] {
            auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
            QVERIFY(box);
            QCOMPARE(box->windowTitle(), QStringLiteral("Title"));
            QCOMPARE(box->text(), QStringLiteral("first\nsecond"));
            QCOMPARE(int(box->icon()), icon);
            QStringList texts;
            for (QAbstractButton *b : box->buttons())
                texts << b->text().remove(u'&');
            texts.sort();
            QStringList expected = buttons;
            expected.sort();
            QCOMPARE(texts, expected);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QtPrompter prompter;
        QCOMPARE(prompter.msgBox(QStringLiteral("first\rsecond"), style, QStringLiteral("Title")), enterAnswer);
    }

    void ledSegments_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("lit");
        QTest::newRow("empty") << 0 << 0;
        QTest::newRow("one step is nothing yet") << 1 << 0;
        QTest::newRow("half") << 500 << 25;
        QTest::newRow("nearly full") << 990 << 50;
        QTest::newRow("full") << 999 << 50;
        QTest::newRow("past the end") << 5000 << 50;
        QTest::newRow("below zero") << -3 << 0;
    }

    void ledSegments()
    {
        QFETCH(int, value);
        QFETCH(int, lit);
        QCOMPARE(LedBar::litSegments(value, LedBar::DefaultMaximum, 50), lit);
    }

    void ledColours_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<QList<QColor>>("atThirds"); // colours at 1/6, 3/6 and 5/6 of the width
        const QColor ground = LedBar::groundColour();
        const QColor green = LedBar::sectionColour(0, 999);
        const QColor white = LedBar::sectionColour(333, 999);
        const QColor blue = LedBar::sectionColour(666, 999);
        QVERIFY(green != white && white != blue && blue != green);
        QCOMPARE(LedBar::sectionColour(332, 999), green);
        QCOMPARE(LedBar::sectionColour(665, 999), white);
        QTest::newRow("empty") << 0 << QList<QColor> {ground, ground, ground};
        QTest::newRow("first third") << 300 << QList<QColor> {green, ground, ground};
        QTest::newRow("two thirds") << 650 << QList<QColor> {green, white, ground};
        QTest::newRow("full") << 999 << QList<QColor> {green, white, blue};
    }

    void ledColours()
    {
        QFETCH(int, value);
        QFETCH(QList<QColor>, atThirds);
        LedBar bar;
        // 100 segments: pitch 8, border 2 each side.
        bar.resize(2 * 2 + 100 * 8 - 2, 16);
        bar.setValue(value);
        const QImage image = bar.grab().toImage();
        for (int i = 0; i < 3; ++i) {
            const int segment = 100 * (2 * i + 1) / 6;
            const QPoint centre(2 + segment * 8 + LedBar::SegmentWidth / 2, 8);
            QCOMPARE(image.pixelColor(centre).rgb(), atThirds.at(i).rgb());
        }
    }

    void pdfOutput_data()
    {
        QTest::addColumn<int>("lines");
        QTest::addColumn<int>("lineLength");
        QTest::addColumn<bool>("severalPages");
        QTest::newRow("short document") << 3 << 20 << false;
        QTest::newRow("long document") << 400 << 20 << true;
        QTest::newRow("wrapped long lines") << 40 << 2000 << true;
    }

    void pdfOutput()
    {
        QFETCH(int, lines);
        QFETCH(int, lineLength);
        QFETCH(bool, severalPages);
        const QString path = m_program->path(QStringLiteral("list.pdf"));
        QtLinePrinter printer;
        printer.printToPdf(path);
        QVERIFY(printer.begin());
        for (int i = 0; i < lines; ++i)
            printer.printLine(QStringLiteral("%1 ").arg(i).leftJustified(lineLength, u'x'));
        printer.end();
        QFile file(path);
        QVERIFY(file.open(QIODevice::ReadOnly));
        const QByteArray pdf = file.readAll();
        QVERIFY(pdf.startsWith("%PDF"));
        const int pages = pdfPages(pdf);
        QVERIFY2(severalPages ? pages > 1 : pages == 1, qPrintable(QString::number(pages)));
    }
};

QTEST_MAIN(TestStatusListWindow)
#include "tst_statuslistwindow.moc"
