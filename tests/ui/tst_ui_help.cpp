// About, the trace viewer, the manual's window, its links and F1, on the
// real main window with the event loop running.
#include "MainWindowTestSupport.h"
#include "TestMain.h"
#include "app/AboutInfo.h"
#include "app/DiagnosticsFile.h"
#include "app/SystemSummary.h"
#include "app/TraceListing.h"
#include "base/TextFile.h"
#include "ports/LinePrinter.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/help/AboutWindow.h"
#include "ui/help/DiagsWindow.h"
#include "ui/help/HelpDesk.h"
#include "ui/help/Manual.h"
#include "ui/main/NavigatorDialog.h"

#include <QCheckBox>
#include <QLabel>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPlainTextEdit>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

struct RecordingPrinter : LinePrinter
{
    QStringList lines;
    bool begin() override { return true; }
    void printLine(const QString &line) override { lines << line; }
    void end() override { lines << "end"; }
};

// Runs `act` on the modal dialog once it is up, then closes it.
void onModal(std::function<void(QWidget *)> act)
{
    QTimer::singleShot(0, [act] {
        QWidget *modal = QApplication::activeModalWidget();
        QVERIFY(modal);
        act(modal);
        if (auto *dialog = qobject_cast<QDialog *>(modal))
            dialog->reject();
    });
}

} // namespace

class TestAboutWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Help > About: the build's version, the platform, the catalogue; the
    // Diagnostics button asks first (Cancel writes nothing) and writes the
    // main window's own panel texts.
    void aboutAndDiagnostics()
    {
        MainFixture f;
        QAction *about = f.w().action(Command::About);
        QVERIFY(about->isEnabled());
        const QString log = f.ctx().paths().diagsLog();
        onModal([&](QWidget *modal) {
            auto *window = qobject_cast<AboutWindow *>(modal);
            QVERIFY(window);
            QCOMPARE(window->versionLabel()->text(), AboutInfo::versionCaption());
            const AboutInfo::CatalogueInfo catalogue = AboutInfo::readCatalogue(f.ctx());
            QCOMPARE(window->dbVersionLabel()->text(), catalogue.dbVersion);
            QCOMPARE(window->driveList()->count(), catalogue.drives.size());
            QVERIFY(window->findChild<QLabel *>("lblPlatform")->text().contains(QSysInfo::prettyProductName()));
            f.program.prompter().enqueue(Msg::Cancel);
            window->findChild<QPushButton *>("cmdDiagnostics")->click();
            QVERIFY(!QFile::exists(log));
            f.program.prompter().enqueue(Msg::OK);
            window->findChild<QPushButton *>("cmdDiagnostics")->click();
        });
        about->trigger();
        const QList<ScriptedPrompter::Message> &messages = f.program.prompter().messages();
        QCOMPARE(messages.size(), 3);
        QCOMPARE(
            messages[0].text, "The following diagnostic file will be created:\r" + QDir::toNativeSeparators(log) + ".");
        QCOMPARE(messages[0].style, Msg::OKCancel | Msg::Information);
        QCOMPARE(messages[2].text, DiagnosticsFile::DoneText);
        QCOMPARE(messages[2].title, DiagnosticsFile::Title);
        const QStringList lines = TextFile::decodeLines(readBytes(log));
        const qsizetype drive = lines.indexOf("Connected Drive info follows ----------------------");
        QCOMPARE(lines.at(drive + 1), f.w().panel(2)->text());
        QCOMPARE(lines.at(drive + 2), "Connection: " + f.w().panel(4)->text());
        QVERIFY(lines.contains(AboutInfo::versionCaption()));
    }

    // Without a desktop tool the built-in summary tells the platform, Qt
    // and the ports.
    void systemSummary()
    {
        TempProgram program;
        AboutWindow window(program.ctx(), {});
        window.setToolStarter([](const QStringList &) { return false; });
        window.show();
        window.showSystemInfo();
        auto *summary = window.findChild<QPlainTextEdit *>("txtSummary");
        QVERIFY(summary && summary->isVisible());
        const QString text = summary->toPlainText();
        QVERIFY(text.contains("Qt: " + QString::fromLatin1(qVersion())));
        QVERIFY(text.contains("Architecture: " + QSysInfo::currentCpuArchitecture()));
        QVERIFY(text.contains("Com 1 = "));
        QVERIFY(SystemSummary::portLine(program.path("no-such-tty")).endsWith(" - not present"));
    }
};

class TestDiagsWindow : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // Reached through the navigator's hidden button; the box switches the
    // trace (which writes only while on: the trace's own test) and the rules'
    // lines arrive; Delete, Print, and Close keeps both.
    void traceOnAndOff()
    {
        MainFixture f;
        AppContext &ctx = f.ctx();
        QPushButton *button = f.w().navigator()->diagsButton();
        QVERIFY(button->isHidden());
        button->click();
        DiagsWindow *diags = f.w().diagsWindow();
        QVERIFY(diags && diags->isVisible());
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        ctx.state.strSeries = "02";
        ctx.state.strModel = "05";
        ctx.state.strRev = "120";
        f.program.prompter().setAnswerYes(true);

        QTest::mouseClick(diags->traceBox(), Qt::LeftButton, {}, QPoint(5, diags->traceBox()->height() / 2));
        QVERIFY(ctx.state.blnDiagsTrace);
        f.w().entryChecks().typeValue(103, "13.55");
        QStringList shown;
        for (int i = 0; i < diags->list()->count(); ++i)
            shown << diags->list()->item(i)->text();
        QCOMPARE(shown, ctx.trace.lines());
        QVERIFY(shown.filter(QRegularExpression(" - P1.03 rounded to 1 decimal place\\(s\\)$")).size() == 1);

        RecordingPrinter printer;
        ctx.setPrinter(&printer);
        diags->findChild<QPushButton *>("cmdPrint")->click();
        QVERIFY(printer.lines.takeFirst().startsWith(TraceListing::Heading));
        QCOMPARE(printer.lines, shown + QStringList {"end"});
        ctx.setPrinter(nullptr);

        diags->findChild<QPushButton *>("cmdClose")->click();
        QVERIFY(!diags->isVisible());
        QVERIFY(ctx.state.blnDiagsTrace);
        button->click();
        QCOMPARE(f.w().diagsWindow(), diags);
        QCOMPARE(diags->list()->count(), shown.size());

        diags->findChild<QPushButton *>("cmdDelete")->click();
        QCOMPARE(diags->list()->count(), 0);
        QVERIFY(ctx.trace.lines().isEmpty());
        QTest::mouseClick(diags->traceBox(), Qt::LeftButton, {}, QPoint(5, diags->traceBox()->height() / 2));
        QVERIFY(!ctx.state.blnDiagsTrace);
    }
};

class TestManual : public QObject
{
    Q_OBJECT

    // Every target a reader can reach: the links of every page, the
    // contents, the index and the window pages.
    static QStringList targets(const QString &page)
    {
        static const QRegularExpression href(QStringLiteral("href=\"([^\"]+)\""));
        QStringList out;
        for (const QRegularExpressionMatch &m : href.globalMatch(Manual::html(page))) {
            const QString target = m.captured(1);
            if (!target.contains(QStringLiteral("://")))
                out << (target.startsWith(u'#') ? page + target : target);
        }
        return out;
    }

    static bool resolves(const QString &target)
    {
        const QString html = Manual::html(target);
        const QString anchor = target.section(u'#', 1);
        return !html.isEmpty() && (anchor.isEmpty() || html.contains("id=\"" + anchor + "\""));
    }

private Q_SLOTS:
    // Walks the links from the contents page: every link resolves to a
    // page and anchor that exist, and every page is reached.
    void linksResolve()
    {
        QSet<QString> seen {Manual::ContentsPage};
        QStringList queue {Manual::ContentsPage};
        while (!queue.isEmpty()) {
            const QString page = queue.takeFirst();
            QVERIFY2(!Manual::title(page).isEmpty(), qPrintable(page));
            for (const QString &target : targets(page)) {
                QVERIFY2(resolves(target), qPrintable(page + " -> " + target));
                const QString file = target.section(u'#', 0, 0);
                if (!seen.contains(file)) {
                    seen << file;
                    queue << file;
                }
            }
        }
        const QStringList pages = Manual::pages();
        QCOMPARE(QSet<QString>(pages.cbegin(), pages.cend()), seen);
        for (const Manual::Entry &entry : Manual::contents() + Manual::index())
            QVERIFY2(resolves(entry.target), qPrintable(entry.title + " -> " + entry.target));
        for (const QString &name : Manual::windowNames())
            QVERIFY2(resolves(Manual::pageForName(name)), qPrintable(name));
    }

    // The Help menu's commands open the window at their tab; the index and
    // the search lead to their pages.
    void menuIndexAndSearch()
    {
        MainFixture f;
        f.w().action(Command::Index)->trigger();
        HelpWindow *help = f.w().helpDesk().window();
        QVERIFY(help && help->isVisible());
        QCOMPARE(help->tabs()->currentIndex(), int(HelpWindow::Index));
        QCOMPARE(help->currentPage(), Manual::ContentsPage);
        QTest::keyClicks(help->indexFilter(), "dialo");
        QTest::keyClick(help->indexFilter(), Qt::Key_Return);
        QCOMPARE(help->currentPage(), QStringLiteral("connection.html#permissions"));

        f.w().action(Command::Search)->trigger();
        QCOMPARE(help->tabs()->currentIndex(), int(HelpWindow::Search));
        QTest::keyClicks(help->searchWords(), "usermod dialout");
        QTest::keyClick(help->searchWords(), Qt::Key_Return);
        QVERIFY(help->searchResults()->count() >= 1);
        for (int i = 0; i < help->searchResults()->count(); ++i)
            QVERIFY(Manual::html(help->searchResults()->item(i)->data(Qt::UserRole).toString()).contains("usermod"));

        f.w().action(Command::Contents)->trigger();
        QCOMPARE(help->tabs()->currentIndex(), int(HelpWindow::Contents));
        QTreeWidgetItem *first = help->contentsTree()->topLevelItem(0);
        QCOMPARE(first->text(0), QStringLiteral("Getting started"));
        QCOMPARE(first->child(0)->data(0, Qt::UserRole).toString(), QStringLiteral("simulator.html"));
        Q_EMIT help->contentsTree()->itemClicked(first->child(0), 0);
        QCOMPARE(help->browser()->documentTitle(), Manual::title("simulator.html"));
    }

    // F1 where the focus is opens that window's page; from a modal dialog
    // the help window is that dialog's own, so it can be used.
    void f1OpensPageOfWindow()
    {
        MainFixture f;
        HelpDesk &desk = f.w().helpDesk();
        const auto pressF1 = [](QWidget *where) {
            where->activateWindow();
            where->setFocus();
            QTest::keyClick(where, Qt::Key_F1);
        };
        pressF1(f.w().mdiArea());
        QCOMPARE(desk.window()->currentPage(), QStringLiteral("main-window.html"));

        QVERIFY(loadDrive(f.ctx(), {"02", "05", "120"}));
        f.w().showDetailedEditor();
        QTRY_VERIFY(f.w().editorSubWindow()->isVisible());
        pressF1(f.w().editorWindow()->findChild<QWidget *>("txtP_103"));
        QCOMPARE(desk.window()->currentPage(), QStringLiteral("editor.html"));

        f.w().showNavigator();
        pressF1(f.w().navigator()->option(0));
        QCOMPARE(desk.window()->currentPage(), QStringLiteral("navigator.html"));

        onModal([&](QWidget *modal) {
            pressF1(modal->findChild<QListWidget *>("lstDrives"));
            QCOMPARE(desk.window()->currentPage(), QStringLiteral("about.html"));
            QCOMPARE(desk.window()->parentWidget(), modal);
        });
        f.w().action(Command::About)->trigger();
    }
};

TARVEL_TEST_MAIN(TestAboutWindow, TestDiagsWindow, TestManual)
#include "tst_ui_help.moc"
