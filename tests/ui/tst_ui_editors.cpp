// The editor windows: detailed editor, wizard, change-rating dialog, status
// list window and its progress bar.
#include "MainWindowTestSupport.h"
#include "TestMain.h"
#include "catalogue/ParamLoader.h"
#include "catalogue/QuickStartItems.h"
#include "ports/LinePrinter.h"
#include "tst_tabconfig_checks.h"
#include "ui/editors/ChangeRatingDialog.h"
#include "ui/editors/EditorLayout.h"
#include "ui/editors/LedBar.h"
#include "ui/editors/NewConfigDialog.h"
#include "ui/editors/StatusListWindow.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/editors/WizardWindow.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QFileSystemModel>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTimer>
#include <QToolBar>
#include <QTreeView>
#include <QVBoxLayout>
#include <QtTest>

using namespace Tarvel;

namespace TabConfigTest {

// The detailed editor window rendering a loaded drive and turning what the
// user does into form changes and entry-check calls.

namespace {

using Test::QX1;
using Test::QX2;
using Test::QX3;

QTabBar *bar(const TabConfigWindow &w, const QString &name)
{
    return w.findChild<QWidget *>(name)->findChild<QTabBar *>();
}

// The sub-tab a field belongs on, read from the sub-tab captions the user
// sees ("P 3.11 - P 3.20" starts at number 11).
TabPos tabsByCaption(const TabConfigWindow &w, int index)
{
    static const QRegularExpression start(QStringLiteral("^P (\\d+)\\.(\\d+)"));
    const int group = index / 100;
    QTabBar *tabs = bar(w, QStringLiteral("SSTab%1").arg(group));
    TabPos pos {group, 0};
    for (int s = 0; s < tabs->count(); ++s)
        if (start.match(tabs->tabText(s)).captured(2).toInt() <= index % 100)
            pos.sub = s;
    return pos;
}

// The fields Tab and Enter must stop at, in index order: every field of the
// drive the form lets the user change (which those are is the loader's and
// the rules' test).
QList<QWidget *> expectedWalk(const TabConfigWindow &w, const AppContext &ctx)
{
    QList<QWidget *> walk;
    for (int i : EditorForm::fieldIndices())
        if (ctx.editor.txtP(i).visible() && ctx.editor.txtP(i).enabled())
            walk << (ctx.params.blnListShown[i] ? static_cast<QWidget *>(w.choiceList(i)) : w.valueBox(i));
    return walk;
}

} // namespace

class TestTabConfig : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        Test::TempProgram program;
        Test::RefusingChecks checks {program.ctx()};
        TabConfigWindow window {program.ctx()};
        Fixture() { window.setFieldEvents(&checks); }
    };
    std::unique_ptr<Fixture> m_f;

    AppContext &ctx() { return m_f->program.ctx(); }
    TabConfigWindow &w() { return m_f->window; }

    void open(const QStringList &drive)
    {
        QVERIFY(Test::loadDrive(ctx(), drive));
        ctx().state.blnConfigChanged = false;
        w().show();
        w().activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&w()));
    }
    void focusBox(int index)
    {
        ctx().editor.setFocus(FieldKind::Text, index);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(index));
    }
    TabPos shownTabs() { return {w().currentGroup(), w().currentSubTab(w().currentGroup())}; }

private Q_SLOTS:
    void init() { m_f = std::make_unique<Fixture>(); }
    void cleanup() { m_f.reset(); }

    // Every label shows on the sub-tab its caption names; the values start
    // at one x on every page whatever the window's width, and a list is wide
    // enough for its longest entry. The picture buttons wait for the main
    // window to enable them.
    void layoutFollowsTheCaptions()
    {
        open(QX3);
        for (const int width : {900, 1900}) {
            w().resize(width, 700);
            QSet<int> columns;
            for (int i : EditorForm::fieldIndices()) {
                const TabPos pos = tabsByCaption(w(), i);
                w().selectGroup(pos.group, pos.sub);
                QCoreApplication::processEvents();
                QVERIFY2(w().label(i)->isVisible(), qPrintable(QString::number(i)));
                QComboBox *list = w().choiceList(i);
                QWidget *value = list && !list->isHidden() ? static_cast<QWidget *>(list) : w().valueBox(i);
                if (value->isHidden())
                    continue;
                columns << value->mapTo(&w(), QPoint()).x();
                for (int k = 0; list == value && k < list->count(); ++k)
                    QVERIFY(list->width() > list->fontMetrics().horizontalAdvance(list->itemText(k)));
            }
            QCOMPARE(columns.size(), 1);
        }
        for (const char *name : {"cmdMatrix", "cmdTruthMatrix", "cmdDiagram"})
            QVERIFY(!w().findChild<QPushButton *>(name)->isEnabled());
    }

    // A match chosen in the search field brings its tabs to the front and
    // its field the focus; the field being edited is left first.
    void searchGoesToTheField_data()
    {
        QTest::addColumn<QString>("typed");
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("sub");
        QTest::newRow("words") << "motor current" << 1 << 0 << 0;
        QTest::newRow("number") << "5.13" << 513 << 5 << 1;
        QTest::newRow("list") << "P3.00" << 300 << 3 << 0;
    }
    void searchGoesToTheField()
    {
        open(QX2);
        focusBox(101);
        QFETCH(QString, typed);
        QFETCH(int, index);
        w().focusSearch();
        QCOMPARE(QApplication::focusWidget(), w().searchField());
        QTest::keyClicks(w().searchField(), typed);
        QTest::keyClick(w().searchField(), Qt::Key_Return);
        QWidget *field = w().choiceList(index) && !w().choiceList(index)->isHidden()
            ? static_cast<QWidget *>(w().choiceList(index))
            : w().valueBox(index);
        QTRY_COMPARE(QApplication::focusWidget(), field);
        QTEST(shownTabs().group, "group");
        QTEST(shownTabs().sub, "sub");
        QCOMPARE(m_f->checks.count("leave 101"), 1);
    }

    // Typing and choosing reach the form (and the field events); what the
    // form says reaches the widgets.
    void widgetsAndFormFollowEachOther()
    {
        open(QX2);
        focusBox(101);
        QTest::keyClick(w().valueBox(101), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w().valueBox(101), "12.5");
        QCOMPARE(ctx().editor.txtP(101).text(), QStringLiteral("12.5"));
        QVERIFY(ctx().state.blnConfigChanged);
        QCOMPARE(m_f->checks.calls, QStringList {"enter 101"});

        ctx().editor.setFocus(FieldKind::List, 100);
        m_f->checks.calls.clear();
        const int before = ctx().editor.cmbP(100).listIndex();
        QTest::keyClick(w().choiceList(100), Qt::Key_Down);
        QCOMPARE(ctx().editor.cmbP(100).listIndex(), before + 1);
        QCOMPARE(ctx().editor.cmbP(100).text(), w().choiceList(100)->currentText());
        QTest::keyClick(w().choiceList(100), Qt::Key_Return);
        QCOMPARE(m_f->checks.calls, QStringList({"leaveList 100", "enter 101"}));
        QCOMPARE(ctx().editor.txtP(100).text(), QString::number(before + 1));

        ctx().editor.txtP(102).setText("33.3");
        ctx().editor.lblP(102).setForeColor(Colour::Red);
        ctx().editor.cmbP(100).setListIndex(0);
        QCOMPARE(w().valueBox(102)->text(), QStringLiteral("33.3"));
        QCOMPARE(w().label(102)->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(w().choiceList(100)->currentIndex(), 0);
        // A field the catalogue or a rule disables cannot be used.
        ctx().editor.txtP(102).setEnabled(false);
        ctx().editor.cmbP(100).setEnabled(false);
        QVERIFY(!w().valueBox(102)->isEnabled() && !w().choiceList(100)->isEnabled());
    }

    void enterWalksEveryUsedFieldInOrder_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::newRow("QX1, fewest parameters") << QX1;
        QTest::newRow("QX3, encoder group") << QX3;
    }
    void enterWalksEveryUsedFieldInOrder()
    {
        QFETCH(QStringList, drive);
        open(drive);
        const QList<QWidget *> walk = expectedWalk(w(), ctx());
        QVERIFY(walk.size() > 100);
        ctx().editor.setFocus(FieldKind::List, 0);
        for (int k = 0; k < walk.size(); ++k) {
            const int index = walk[k]->objectName().mid(5).toInt(); // txtP_101, cmbP_0
            QVERIFY2(QApplication::focusWidget() == walk[k],
                qPrintable(QStringLiteral("step %1 expected %2 got %3")
                               .arg(k)
                               .arg(walk[k]->objectName(), QApplication::focusWidget()->objectName())));
            QVERIFY(walk[k]->isVisible());
            QCOMPARE(shownTabs(), tabsByCaption(w(), index));
            QTest::keyClick(walk[k], Qt::Key_Return);
        }
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdClose"));
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), walk.first());
        QVERIFY(w().isVisible()); // Enter on Done walks on, it does not press it
        // Each field was left once and each value box entered once per visit.
        QCOMPARE(m_f->checks.count("leave 101"), 1);
        QCOMPARE(m_f->checks.count("enter 101"), 1);
        QCOMPARE(m_f->checks.count("leaveList 0"), 1);
    }

    // A request from the checks leaves the field being edited and brings
    // the requested field's tabs up (which tabs for each field: the walk).
    void focusRequestBringsItsTabsUp()
    {
        open(QX3);
        focusBox(905); // somewhere else first
        ctx().editor.setFocus(FieldKind::List, 939);
        QCOMPARE(QApplication::focusWidget(), w().choiceList(939));
        QVERIFY(w().choiceList(939)->isVisible());
        QCOMPARE(shownTabs(), tabsByCaption(w(), 939));
        QCOMPARE(m_f->checks.calls.mid(0, 2), QStringList({"enter 905", "leave 905"}));
    }

    void refusedEntryKeepsFieldAndTab_data()
    {
        // Enter, Tab, a group tab and Done: tst_tabconfig_focusloss, with
        // the message box taking the focus in a real window system.
        QTest::addColumn<QString>("action");
        QTest::newRow("sub-tab clicked") << "sub";
        QTest::newRow("close box") << "close";
    }
    void refusedEntryKeepsFieldAndTab()
    {
        QFETCH(QString, action);
        open(QX2);
        focusBox(111);
        const QString before = ctx().editor.txtP(111).text();
        QTest::keyClicks(w().valueBox(111), "x");
        QCOMPARE(ctx().editor.txtP(111).text(), QStringLiteral("x"));
        if (action == "close") {
            QVERIFY(!w().close());
        } else {
            QTabBar *tabs = bar(w(), "SSTab1");
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        }
        QCOMPARE(m_f->program.prompter().titles(), QStringList {"Wrong Data Type"});
        QCOMPARE(ctx().editor.txtP(111).text(), before);
        QCOMPARE(w().valueBox(111)->text(), before);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(111));
        QCOMPARE(shownTabs(), TabPos({1, 0}));
        QVERIFY(w().isVisible());
        QCOMPARE(m_f->checks.count("leave 111"), 1);
        QVERIFY(ctx().state.blnConfigChanged); // typing marked it, the reset does not unmark it
    }

    void tabClickLeavesTheFieldOnce()
    {
        open(QX2);
        focusBox(111);
        QTabBar *tabs = bar(w(), "tabDetails");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
        QCOMPARE(w().currentGroup(), 3);
        QCOMPARE(m_f->checks.calls, QStringList({"enter 111", "leave 111"}));
        // The next Tab goes to the first field shown, not back to group 1.
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), w().choiceList(300));
    }

    void anotherWindowIsNoMoveBetweenFields()
    {
        // As in the main window, where the editor is one child window
        // among others.
        QWidget main;
        auto *other = new QLineEdit(&main);
        auto *layout = new QVBoxLayout(&main);
        layout->addWidget(other);
        layout->addWidget(&w());
        const auto unparent = qScopeGuard([this] { w().setParent(nullptr); });
        QVERIFY(Test::loadDrive(ctx(), QX2));
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        focusBox(111);
        QTest::keyClicks(w().valueBox(111), "x");
        other->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), other);
        QCOMPARE(m_f->checks.count("leave 111"), 0);
        // Back in the editor on another field: the field left behind is
        // checked now.
        w().valueBox(102)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(m_f->program.prompter().titles(), QStringList {"Wrong Data Type"});
        QCOMPARE(QApplication::focusWidget(), w().valueBox(111));
        QCOMPARE(m_f->checks.count("leave 111"), 1);
        QCOMPARE(m_f->checks.count("enter 102"), 0);
    }

    void failingCheckIsTrappedAndTheWalkGoesOn()
    {
        open(QX2);
        m_f->checks.throwOnLeave = 101;
        focusBox(101);
        QTest::keyClick(w().valueBox(101), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(102));
        const QStringList log = m_f->program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains("frmTabConfig, txtP_LostFocus, Program, 13"), qPrintable(log.first()));
    }

    void unusedParameterIsGreyWithoutToolTip()
    {
        open(QX1);
        QLabel *unused = w().label(306); // MI7 exists from QX2 on
        QCOMPARE(unused->text(), ParamLoader::notUsedCaption(306));
        QCOMPARE(unused->palette().color(QPalette::WindowText),
            w().palette().color(QPalette::Disabled, QPalette::WindowText));
        QVERIFY(!w().valueBox(306)->isVisibleTo(&w()));
        QVERIFY(!w().choiceList(306)->isVisibleTo(&w()));
        const auto hover = [](QLabel *label) {
            QHelpEvent event(QEvent::ToolTip, QPoint(2, 2), label->mapToGlobal(QPoint(2, 2)));
            QApplication::sendEvent(label, &event);
            return label->toolTip();
        };
        QCOMPARE(hover(unused), QString());
        QLabel *used = w().label(101);
        QCOMPARE(hover(used), "Default value = " + NumberText::variant(ctx().params.varDefault[101]));
        QVERIFY(used->palette().color(QPalette::WindowText) != unused->palette().color(QPalette::WindowText));
    }

    // The close box only hides the editor, keeping its values; in the
    // wizard it ends the step shown.
    void closeBoxHides_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("expected");
        QTest::newRow("detailed") << "1" << QList<int> {} << -1;
        QTest::newRow("wizard, one step") << "2" << QList<int> {3} << 3;
        QTest::newRow("wizard, first of two") << "2" << QList<int> {6, 2} << 2;
        QTest::newRow("wizard, none shown") << "2" << QList<int> {} << -1;
    }
    void closeBoxHides()
    {
        QFETCH(QList<int>, shown);
        QFETCH(int, expected);
        open(QX2);
        ctx().editor.setTag(Test::cell<QString>("tag"));
        for (int k : shown)
            w().setWizButtonVisible(k, true);
        ctx().editor.txtP(105).setText("4.5");
        QSignalSpy done(&w(), &TabConfigWindow::wizardStepDone);
        QVERIFY(!w().close());
        QVERIFY(!w().isVisible());
        QCOMPARE(done.size(), expected < 0 ? 0 : 1);
        if (expected >= 0)
            QCOMPARE(done.first().first().toInt(), expected);
        w().showEditor();
        QCOMPARE(w().valueBox(105)->text(), QStringLiteral("4.5"));
        w().findChild<QPushButton *>("cmdClose")->click();
        QVERIFY(!w().isVisible());
        w().showEditor();
        w().setMainClosing(true);
        QVERIFY(w().close());
    }

    void wizardStepFacilities()
    {
        open(QX2); // no encoder group: tab 10 has no field to walk to
        for (int g = 0; g <= 9; ++g)
            w().setGroupTabEnabled(g, g == 3);
        QCOMPARE(bar(w(), "tabDetails")->currentIndex(), 0); // disabling the shown group does not turn the page
        QVERIFY(w().label(0)->isVisible());
        QVERIFY(w().selectGroup(3, 2));
        QCOMPARE(shownTabs(), TabPos({3, 2}));
        QTabBar *tabs = bar(w(), "tabDetails");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(w().currentGroup(), 3); // a disabled group cannot be chosen
        // The walk stays in the step's group, then reaches the step's button.
        w().setWizButtonVisible(3, true);
        w().setCloseButtonVisible(false);
        ctx().editor.setFocus(FieldKind::List, 331);
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget()->objectName(), QStringLiteral("cmdWiz_3"));
    }

    void quickStartDotsSitBesideTheirParameters()
    {
        for (int g : QuickStartItems::groups()) {
            const QVector<int> &items = QuickStartItems::items(g);
            const QList<QLabel *> dots = w().findChildren<QLabel *>(QStringLiteral("wizP%1").arg(g));
            QCOMPARE(dots.size(), items.size());
            w().setQuickStartDotsVisible(g, true);
            for (QLabel *dot : dots) {
                QLabel *label = w().label(items[dot->property("dotIndex").toInt()]);
                w().selectGroup(g, tabsByCaption(w(), items[dot->property("dotIndex").toInt()]).sub);
                w().show();
                QVERIFY(dot->isVisible());
                QCOMPARE(dot->parentWidget(), label->parentWidget());
                QVERIFY(dot->geometry().right() < label->geometry().left());
                QVERIFY(qAbs(dot->geometry().center().y() - label->geometry().center().y()) <= 2);
            }
        }
    }
};

} // namespace TabConfigTest

namespace WizardTest {

// The quick-start wizard over the real detailed editor: steps narrowing the
// editor to one group, ending by Done or by the close box, and closing.

namespace {

using Test::QX1;
using Test::QX2;

struct WizardFixture : Test::MainFixture
{
    explicit WizardFixture(const QStringList &drive = QX2)
    {
        Test::answerNewConfig(drive, "Quick");
        w().commands().newWizard();
    }
    WizardWindow *wiz() { return w().wizard(); }
    TabConfigWindow *editor() { return w().editorWindow(); }
    QPushButton *editorClose() { return editor()->findChild<QPushButton *>("cmdClose"); }
    bool dotsShown(int group)
    {
        const QList<QLabel *> dots = editor()->quickStartDots(group);
        return !dots.isEmpty() && std::all_of(dots.begin(), dots.end(), [](QLabel *d) { return !d->isHidden(); });
    }
    bool anyMarks()
    {
        for (int g = 0; g < 11; ++g)
            for (QLabel *dot : editor()->quickStartDots(g))
                if (!dot->isHidden())
                    return true;
        return !editor()->findChild<QLabel *>("lblQuickStart")->isHidden();
    }
    int enabledGroups()
    {
        int n = 0;
        for (int g = 0; g < 11; ++g)
            n += editor()->isGroupTabEnabled(g) ? 1 : 0;
        return n;
    }
    // The menu items and tool buttons that start or show another editor.
    bool entriesEnabled(bool enabled)
    {
        for (const char *name : {"mnuDetail", "mnuNew", "mnuNewDetailed", "mnuNewWizard"})
            if (w().action(name)->isEnabled() != enabled)
                return false;
        const QStringList keys {"New", "Detail", "Schematic", "Wizard"};
        return std::all_of(
            keys.begin(), keys.end(), [&](auto &k) { return w().toolButton(k)->isEnabled() == enabled; });
    }
};

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void stepNarrowsEditor_data()
    {
        QTest::addColumn<int>("step");
        QTest::addColumn<int>("group");
        QTest::newRow("step 1, on its first sub-tab") << 1 << 1;
        QTest::newRow("step 5, group 7") << 5 << 7;
    }

    void stepNarrowsEditor()
    {
        QFETCH(int, step);
        QFETCH(int, group);
        WizardFixture f;
        // Step 1 starts on its first sub-tab even when another was in front.
        f.editor()->selectGroup(1, 1);
        f.wiz()->stepButton(step)->click();
        QVERIFY(f.editor()->isVisible());
        QCOMPARE(f.enabledGroups(), 1);
        QVERIFY(f.editor()->isGroupTabEnabled(group));
        QCOMPARE(f.editor()->currentGroup(), group);
        if (step == 1)
            QCOMPARE(f.editor()->currentSubTab(1), 0);
        QVERIFY(f.dotsShown(group));
        for (int k = 0; k < TabConfigWindow::WizButtonCount; ++k)
            QCOMPARE(!f.editor()->wizButton(k)->isHidden(), k == step);
        QVERIFY(f.editorClose()->isHidden());
        QVERIFY(!f.editor()->findChild<QLabel *>("lblQuickStart")->isHidden());
        QVERIFY(!f.wiz()->parentWidget()->isEnabled());
        QVERIFY(!f.wiz()->closeButton()->isEnabled());
    }

    // The editor's close box ends a step as Done does: the editor's own test.
    void stepEnds()
    {
        WizardFixture f;
        // A click on the step's name starts it as its button does.
        QTest::mouseClick(f.wiz()->stepLabel(3), Qt::LeftButton);
        QVERIFY(!f.editor()->wizButton(3)->isHidden());
        QVERIFY(!f.wiz()->isStepDone(3));
        f.editor()->wizButton(3)->click();
        QVERIFY(f.editor()->wizButton(3)->isHidden());
        QVERIFY(f.wiz()->isStepDone(3));
        QCOMPARE(f.wiz()->boxColour(3), QColor(0, 255, 0));
        QVERIFY(!f.wiz()->isStepDone(2));
        QVERIFY(f.wiz()->boxColour(2) != QColor(0, 255, 0));
        QCOMPARE(f.enabledGroups(), 11);
        QVERIFY(!f.anyMarks());
        QVERIFY(!f.editorClose()->isHidden());
        QVERIFY(f.wiz()->parentWidget()->isEnabled());
        QVERIFY(f.wiz()->closeButton()->isEnabled());
        // Still the wizard's configuration, and the step may be taken again.
        QCOMPARE(f.ctx().editor.tag(), QStringLiteral("2"));
        f.wiz()->startStep(3);
        QVERIFY(!f.editor()->wizButton(3)->isHidden());
    }

    void closeWithUnsaved_data()
    {
        QTest::addColumn<int>("answer");
        QTest::newRow("No unloads") << int(Msg::No);
        QTest::newRow("Yes saves first") << int(Msg::Yes);
    }

    void closeWithUnsaved()
    {
        QFETCH(int, answer);
        WizardFixture f;
        QVERIFY(f.entriesEnabled(false));
        const QByteArray saved = Test::readBytes(f.configPath("Quick.qxc"));
        f.wiz()->startStep(1);
        f.editor()->wizButton(1)->click();
        f.ctx().editor.txtP(103).setText("61");
        f.program.prompter().enqueue(answer);
        QPointer<WizardWindow> wiz = f.wiz();
        wiz->closeButton()->click();
        const auto &msgs = f.program.prompter().messages();
        QCOMPARE(msgs.last().text, QStringLiteral("You have unsaved data. Would you like to save now?"));
        QCOMPARE(msgs.last().title, QStringLiteral("Unsaved Drive Config Data Exists"));
        QTRY_VERIFY(!wiz);
        const QByteArray now = Test::readBytes(f.configPath("Quick.qxc"));
        QVERIFY(answer == Msg::Yes ? now.contains("\r\n10361\r\n") : now == saved);
        QCOMPARE(f.ctx().editor.tag(), QStringLiteral("1"));
        QVERIFY(f.entriesEnabled(true));
    }

    // A series-2 drive takes the PID step in stepNarrowsEditor.
    void series1HasNoPidStep()
    {
        WizardFixture f(QX1);
        QVERIFY(f.wiz());
        QVERIFY(!f.wiz()->stepButton(WizardWindow::PidStep)->isEnabled());
        QVERIFY(!f.wiz()->stepLabel(WizardWindow::PidStep)->isEnabled());
        QVERIFY(f.wiz()->stepButton(WizardWindow::PidStep - 1)->isEnabled());
    }
};

} // namespace WizardTest

namespace ChangeRatingDialogTest {

// The change-rating dialog as the user sees it, and Change Drive Rating on
// the main window: texts, list and buttons wired to the model, whose own
// decisions the change-rating model test in tst_app covers. The
// new-configuration dialog's folder view.

namespace {

using Test::QX2;
using Test::QX3;

QStringList items(const QComboBox *box)
{
    QStringList out;
    for (int i = 0; i < box->count(); ++i)
        out << box->itemText(i);
    return out;
}

} // namespace

class TestChangeRatingDialog : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // With no drive to offer OK is off; showing the first line is no
    // choice of the user's, so no warning.
    void nothingToOffer()
    {
        Test::TempProgram program;
        program.ctx().editor.txtP(941).setText("04"); // after every series
        ChangeRatingDialog dialog(program.ctx());
        QCOMPARE(items(dialog.driveList()), dialog.model().lines());
        QVERIFY(!dialog.okButton()->isEnabled());
        QVERIFY(program.prompter().messages().isEmpty());
    }

    void buttonsClose_data()
    {
        QTest::addColumn<bool>("ok");
        QTest::newRow("OK moves to the chosen drive") << true;
        QTest::newRow("Cancel changes nothing") << false;
    }

    // The list shows the model's lines; its choice reaches the model (whose
    // warnings are the model's test).
    void buttonsClose()
    {
        QFETCH(bool, ok);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(Test::loadDrive(ctx, QX2));
        ChangeRatingDialog dialog(ctx);
        QCOMPARE(items(dialog.driveList()), dialog.model().lines());
        QCOMPARE(dialog.driveList()->currentIndex(), 0);
        QVERIFY(dialog.okButton()->isEnabled());
        dialog.driveList()->setCurrentIndex(int(dialog.model().lines().indexOf("QX-3-045H @ rev. 104")));
        dialog.show();
        QVERIFY(QTest::qWaitForWindowExposed(&dialog));

        QTest::mouseClick(ok ? dialog.okButton() : dialog.cancelButton(), Qt::LeftButton);

        QVERIFY(!dialog.isVisible());
        QCOMPARE(dialog.result(), ok ? QDialog::Accepted : QDialog::Rejected);
        QCOMPARE(Test::driveOf(ctx), ok ? QX3 : QX2);
        QCOMPARE(program.prompter().titles(), ok ? QStringList {"Update Complete"} : QStringList());
    }

    // Change Drive Rating over a configuration file shows the dialog (the
    // refusal without one is the model's test).
    void mainCommand()
    {
        Test::MainFixture f;
        Test::answerNewConfig(QX2, "Pump1");
        f.w().commands().newDetailed();
        f.w().pollTimers().mainTick();
        // Outlives the test function: with no dialog the timer fires later.
        auto shownTitle = std::make_shared<QString>();
        QTimer::singleShot(0, [shownTitle] {
            if (auto *dialog = qobject_cast<ChangeRatingDialog *>(QApplication::activeModalWidget())) {
                *shownTitle = dialog->windowTitle();
                dialog->reject();
            }
        });
        f.w().action("mnuUpdate")->trigger();
        QCOMPARE(*shownTitle, QStringLiteral("Configuration Update"));
    }

    // The folder view opens at the configuration folder with it chosen.
    void folderViewShowsConfigs()
    {
        Test::TempProgram program;
        NewConfigDialog dialog(program.ctx(), "Detailed");
        dialog.show();
        auto *folders = dialog.findChild<QTreeView *>("Dir1");
        const auto *model = static_cast<const QFileSystemModel *>(folders->model());
        const QString configs = QDir(program.ctx().paths().configsDir()).canonicalPath();
        QTRY_COMPARE(QDir(model->filePath(folders->currentIndex())).canonicalPath(), configs);
        QTRY_VERIFY(folders->visualRect(folders->currentIndex()).intersects(folders->viewport()->rect()));
    }
};

} // namespace ChangeRatingDialogTest

namespace StatusListWindowTest {

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

} // namespace

class TestStatusListWindow : public QObject
{
    Q_OBJECT

private:
    struct Fixture
    {
        Test::TempProgram program {false};
        Test::ScriptedFileDialogs dialogs;
        CountingPrinter printer;
        StatusListWindow window {program.ctx()};
        Fixture()
        {
            program.ctx().setFileDialogs(&dialogs);
            program.ctx().setPrinter(&printer);
        }
    };
    std::unique_ptr<Fixture> m_f;

    StatusListWindow &w() { return m_f->window; }
    StatusList &list() { return m_f->program.ctx().statusList; }
    static QListWidget *log(const QWidget &window) { return window.findChild<QListWidget *>("lstLog"); }
    static LedBar *bar(const QWidget &window) { return window.findChild<LedBar *>("ledBar"); }
    QStringList shownLines()
    {
        QStringList out;
        for (int i = 0; i < log(w())->count(); ++i)
            out << log(w())->item(i)->text();
        return out;
    }

private Q_SLOTS:
    void init() { m_f = std::make_unique<Fixture>(); }
    void cleanup() { m_f.reset(); }

    void followsModel()
    {
        list().addLine("one");
        list().addLine("two");
        QCOMPARE(shownLines(), list().lines());
        list().clear();
        QCOMPARE(log(w())->count(), 0);
        list().setLines({"fresh"});
        QCOMPARE(shownLines(), QStringList {"fresh"});

        list().setActivity("Upload");
        QCOMPARE(w().windowTitle(), "  Status List - Upload");
        list().setStatus("Parameter 12 of 80");
        QCOMPARE(w().findChild<QLabel *>("lblStatus")->text(), "Parameter 12 of 80");

        QVERIFY(!bar(w())->isVisibleTo(&w()));
        list().setBarVisible(true);
        list().setPosition(500);
        QVERIFY(bar(w())->isVisibleTo(&w()));
        QCOMPARE(bar(w())->value(), 500);
        // A window made later starts from what the list holds.
        StatusListWindow late(m_f->program.ctx());
        QCOMPARE(log(late)->count(), 1);
        QCOMPARE(late.windowTitle(), list().caption());
        QVERIFY(bar(late)->isVisibleTo(&late));
        QCOMPARE(bar(late)->value(), 500);
    }

    void newestLineStaysInView()
    {
        w().show();
        QVERIFY(QTest::qWaitForWindowExposed(&w()));
        for (int i = 0; i < 500; ++i)
            list().addLine(QStringLiteral("line %1").arg(i));
        QCoreApplication::processEvents();
        const QRect last = log(w())->visualItemRect(log(w())->item(log(w())->count() - 1));
        QVERIFY(log(w())->viewport()->rect().contains(last.center()));
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
        w().findChild<QToolBar *>("tbrList")->findChild<QAction *>(action)->trigger();
        QCOMPARE(m_f->dialogs.requests.size(), dialogMode < 0 ? 0 : 1);
        if (dialogMode >= 0)
            QCOMPARE(int(m_f->dialogs.requests.first().mode), dialogMode);
        QTEST(m_f->printer.begun, "printerBegun");
        QTEST(int(m_f->program.prompter().messages().size()), "questions");
    }

    void closeButtonHidesThroughModel()
    {
        list().addLine("kept");
        list().show();
        QTest::mouseClick(w().findChild<QPushButton *>("cmdClose"), Qt::LeftButton);
        QVERIFY(!list().isShown());
        QCOMPARE(log(w())->count(), 1);
    }

    // The segments of the progress bar and their colours by section.
    void ledSegments_data()
    {
        QTest::addColumn<int>("value");
        QTest::addColumn<int>("lit");
        QTest::newRow("one step is nothing yet") << 1 << 0;
        QTest::newRow("half") << 500 << 25;
        QTest::newRow("nearly full") << 990 << 50;
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
};

} // namespace StatusListWindowTest

TARVEL_TEST_MAIN(TabConfigTest::TestTabConfig, WizardTest::TestWizard, ChangeRatingDialogTest::TestChangeRatingDialog,
    StatusListWindowTest::TestStatusListWindow)
#include "tst_ui_editors.moc"
