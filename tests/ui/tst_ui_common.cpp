// The window-system ends of the core's ports: file dialogs, message boxes
// and the printer.
#include "TestMain.h"
#include "print/QtLinePrinter.h"
#include "ui/common/QtFileDialogs.h"
#include "ui/common/QtPrompter.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QMessageBox>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

using namespace Tarvel;

class TestQtFileDialogs : public QObject
{
    Q_OBJECT

    QTemporaryDir m_dir;

private Q_SLOTS:
    void qtFilter_data()
    {
        QTest::addColumn<QString>("classic");
        QTest::addColumn<QString>("qt");
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
        QTEST(QtFileDialogs::toQtFilter(classic), "qt");
    }

    void fileDialogSetup_data()
    {
        QTest::addColumn<bool>("save");
        QTest::addColumn<bool>("flag"); // the file must exist (Open) or a replace is confirmed (Save)
        QTest::addColumn<int>("fileMode");
        QTest::newRow("open existing") << false << true << int(QFileDialog::ExistingFile);
        QTest::newRow("open any") << false << false << int(QFileDialog::AnyFile);
        QTest::newRow("save confirming") << true << true << int(QFileDialog::AnyFile);
        QTest::newRow("save silently") << true << false << int(QFileDialog::AnyFile);
    }

    void fileDialogSetup()
    {
        QFETCH(bool, save);
        QFETCH(bool, flag);
        FileDialogRequest request;
        request.mode = save ? FileDialogRequest::Save : FileDialogRequest::Open;
        request.filter = QStringLiteral("list files (*.qxl)|*.qxl|All (*.*)|*.*");
        request.initialDir = m_dir.path();
        request.fileMustExist = flag && !save;
        request.confirmOverwrite = flag && save;
        QFileDialog dialog;
        QtFileDialogs::configure(dialog, request);
        QVERIFY(dialog.testOption(QFileDialog::DontUseNativeDialog));
        QCOMPARE(dialog.acceptMode(), save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        QTEST(int(dialog.fileMode()), "fileMode");
        if (save)
            QCOMPARE(!dialog.testOption(QFileDialog::DontConfirmOverwrite), flag);
        QCOMPARE(dialog.nameFilters(), (QStringList {QStringLiteral("list files (*.qxl)"), QStringLiteral("All (*)")}));
        QCOMPARE(QDir(dialog.directory()).canonicalPath(), QDir(m_dir.path()).canonicalPath());
    }

    void fileDialogReturnsChoice()
    {
        const QString path = m_dir.filePath(QStringLiteral("chosen.qxl"));
        QTimer::singleShot(0, this, [path] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            QVERIFY(dialog);
            dialog->selectFile(path);
            // accept() is protected in QFileDialog but public in QDialog.
            static_cast<QDialog *>(dialog)->accept();
        });
        FileDialogRequest request;
        request.mode = FileDialogRequest::Save;
        request.initialDir = m_dir.path();
        QCOMPARE(QtFileDialogs().chooseFile(request), path);

        QTimer::singleShot(0, this, [] { QApplication::activeModalWidget()->close(); });
        QCOMPARE(QtFileDialogs().chooseFile(request), QString());
    }
};

class TestQtPrompter : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void prompterBox_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<QStringList>("buttons"); // in sorted order
        QTest::addColumn<int>("icon");
        QTest::addColumn<int>("enterAnswer");
        QTest::newRow("critical") << int(Msg::Critical) << QStringList {"OK"} << int(QMessageBox::Critical)
                                  << int(Msg::OK);
        QTest::newRow("ok cancel question") << int(Msg::OKCancel | Msg::Question) << QStringList {"Cancel", "OK"}
                                            << int(QMessageBox::Question) << int(Msg::OK);
        QTest::newRow("yes no exclamation") << int(Msg::YesNo | Msg::Exclamation) << QStringList {"No", "Yes"}
                                            << int(QMessageBox::Warning) << int(Msg::Yes);
        QTest::newRow("yes no default no")
            << int(Msg::YesNo | Msg::Information | Msg::DefaultButton2) << QStringList {"No", "Yes"}
            << int(QMessageBox::Information) << int(Msg::No);
        QTest::newRow("ok cancel default cancel")
            << int(Msg::OKCancel | Msg::DefaultButton2) << QStringList {"Cancel", "OK"} << int(QMessageBox::NoIcon)
            << int(Msg::Cancel);
    }

    void prompterBox()
    {
        QFETCH(int, style);
        QFETCH(QStringList, buttons);
        QFETCH(int, icon);
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
            QCOMPARE(texts, buttons);
            QTest::keyClick(box, Qt::Key_Return);
        });
        QtPrompter prompter;
        QTEST(prompter.msgBox(QStringLiteral("first\rsecond"), style, QStringLiteral("Title")), "enterAnswer");
    }
};

class TestQtLinePrinter : public QObject
{
    Q_OBJECT

    static int pdfPages(const QByteArray &pdf)
    {
        static const QRegularExpression page(QStringLiteral("/Type\\s*/Page(?!s)"));
        return int(QString::fromLatin1(pdf).count(page));
    }

private Q_SLOTS:
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
        QTemporaryDir dir;
        const QString path = dir.filePath(QStringLiteral("list.pdf"));
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

TARVEL_TEST_MAIN(TestQtFileDialogs, TestQtPrompter, TestQtLinePrinter)
#include "tst_ui_common.moc"
