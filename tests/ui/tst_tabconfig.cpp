// The detailed editor window rendering a loaded drive and turning what the
// user does into form changes and entry-check calls.
#include "TestSupport.h"
#include "tst_tabconfig_checks.h"

#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"
#include "catalogue/QuickStartItems.h"
#include "ui/editors/TabConfigWindow.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QVBoxLayout>
#include <QtTest>

using namespace Tarvel;

namespace {

struct Drive
{
    QString series, model, rev;
};

const Drive QX1 {"01", "01", "104"};
const Drive QX2 {"02", "05", "120"};
const Drive QX3 {"03", "06", "104"};

bool load(AppContext &ctx, const Drive &d)
{
    const bool ok = ParamLoader(ctx).getParamData(
        ctx.editor, "qryTabParams", "'" + d.series + "'", "'" + d.model + "'", "'" + d.rev + "'");
    ctx.state.blnConfigChanged = false;
    return ok;
}

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

struct Row
{
    int index;
    bool readOnly, extra;
    QString defaultText;
};

QList<Row> catalogueRows(const Drive &d)
{
    Catalogue cat(Test::builtCatalogue());
    cat.connect();
    RecordSet rs = cat.query("Select * From qryTabParams WHERE Series = '" + d.series + "' AND Model = '" + d.model
        + "' AND REV = '" + d.rev + "'");
    QList<Row> rows;
    for (; !rs.eof(); rs.moveNext())
        rows.append({rs.field("Parameter").toInt(), rs.field("ReadOnly").toBool(), rs.field("Extra").toBool(),
            rs.field("default").toString()});
    return rows;
}

// The fields Tab and Enter must stop at, in catalogue order: every writable
// parameter of the drive; the V/Hz mid-points only on the custom curve.
QList<QWidget *> expectedWalk(const TabConfigWindow &w, const Drive &d)
{
    const QList<Row> rows = catalogueRows(d);
    QString pattern;
    for (const Row &r : rows)
        if (r.index == 200)
            pattern = r.defaultText;
    QList<QWidget *> walk;
    for (const Row &r : rows) {
        if (r.readOnly || (r.index >= 204 && r.index <= 207 && pattern.toDouble() != 3))
            continue;
        walk << (r.extra ? static_cast<QWidget *>(w.choiceList(r.index)) : w.valueBox(r.index));
    }
    return walk;
}

} // namespace

class TestTabConfig : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Test::TempProgram> m_program;
    std::unique_ptr<Test::RefusingChecks> m_checks;
    std::unique_ptr<TabConfigWindow> m_window;

    AppContext &ctx() { return m_program->ctx(); }
    TabConfigWindow &w() { return *m_window; }

    void open(const Drive &drive)
    {
        QVERIFY(load(ctx(), drive));
        m_window->show();
        m_window->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(m_window.get()));
    }
    void focusBox(int index)
    {
        ctx().editor.setFocus(FieldKind::Text, index);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(index));
    }
    TabPos shownTabs() { return {w().currentGroup(), w().currentSubTab(w().currentGroup())}; }

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<Test::TempProgram>();
        m_checks = std::make_unique<Test::RefusingChecks>(ctx());
        m_window = std::make_unique<TabConfigWindow>(ctx());
        m_window->setFieldEvents(m_checks.get());
    }
    void cleanup()
    {
        m_window.reset();
        m_checks.reset();
        m_program.reset();
    }

    void fieldsSitOnTheSubTabOfTheirCaption()
    {
        for (int i : EditorForm::fieldIndices()) {
            const TabPos pos = tabsByCaption(w(), i);
            QWidget *page = w().findChild<QWidget *>(QStringLiteral("SSTab%1").arg(pos.group));
            QVERIFY2(page->isAncestorOf(w().label(i)), qPrintable(QString::number(i)));
            w().selectGroup(pos.group, pos.sub);
            w().show();
            QVERIFY2(w().label(i)->isVisible(), qPrintable(QString::number(i)));
        }
        for (const char *name : {"cmdMatrix", "cmdTruthMatrix", "cmdDiagram"})
            QVERIFY(!w().findChild<QPushButton *>(name)->isEnabled());
    }

    void typingUpdatesTheForm()
    {
        open(QX2);
        focusBox(101);
        QTest::keyClick(w().valueBox(101), Qt::Key_A, Qt::ControlModifier);
        QTest::keyClicks(w().valueBox(101), "12.5");
        QCOMPARE(ctx().editor.txtP(101).text(), QStringLiteral("12.5"));
        QVERIFY(ctx().state.blnConfigChanged);
        QCOMPARE(m_checks->calls, QStringList {"enter 101"});
    }

    void formChangesShowInTheWidgets()
    {
        open(QX2);
        ctx().editor.txtP(102).setText("33.3");
        ctx().editor.lblP(102).setForeColor(Colour::Red);
        ctx().editor.cmbP(100).setListIndex(1);
        QCOMPARE(w().valueBox(102)->text(), QStringLiteral("33.3"));
        QCOMPARE(w().label(102)->palette().color(QPalette::WindowText), QColor(Qt::red));
        QCOMPARE(w().choiceList(100)->currentIndex(), 1);
    }

    void choosingFromAListUpdatesTheForm()
    {
        open(QX2);
        ctx().editor.setFocus(FieldKind::List, 100);
        const int before = ctx().editor.cmbP(100).listIndex();
        QTest::keyClick(w().choiceList(100), Qt::Key_Down);
        QCOMPARE(ctx().editor.cmbP(100).listIndex(), before + 1);
        QCOMPARE(ctx().editor.cmbP(100).text(), w().choiceList(100)->currentText());
        QTest::keyClick(w().choiceList(100), Qt::Key_Return);
        QCOMPARE(m_checks->calls, QStringList({"leaveList 100", "enter 101"}));
        QCOMPARE(ctx().editor.txtP(100).text(), QString::number(before + 1));
    }

    void enterWalksEveryUsedFieldInOrder_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("model");
        QTest::addColumn<QString>("rev");
        QTest::newRow("QX1, fewest parameters") << QX1.series << QX1.model << QX1.rev;
        QTest::newRow("QX2") << QX2.series << QX2.model << QX2.rev;
        QTest::newRow("QX3, encoder group") << QX3.series << QX3.model << QX3.rev;
    }
    void enterWalksEveryUsedFieldInOrder()
    {
        QFETCH(QString, series);
        QFETCH(QString, model);
        QFETCH(QString, rev);
        const Drive drive {series, model, rev};
        open(drive);
        const QList<QWidget *> walk = expectedWalk(w(), drive);
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
        QCOMPARE(m_checks->count("leave 101"), 1);
        QCOMPARE(m_checks->count("enter 101"), 1);
        QCOMPARE(m_checks->count("leaveList 0"), 1);
    }

    void shiftTabWalksBackAcrossSubTabs()
    {
        open(QX2);
        focusBox(112);
        QCOMPARE(shownTabs(), TabPos({1, 1}));
        QTest::keyClick(w().valueBox(112), Qt::Key_Tab, Qt::ShiftModifier);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(111));
        QCOMPARE(shownTabs(), TabPos({1, 0}));
    }

    void focusRequestBringsItsTabsUp_data()
    {
        QTest::addColumn<int>("kind");
        QTest::addColumn<int>("index");
        QTest::newRow("P0.05 list") << int(FieldKind::List) << 5;
        QTest::newRow("P0.07 between ranges") << int(FieldKind::Text) << 7;
        QTest::newRow("P1.15 second sub-tab") << int(FieldKind::Text) << 115;
        QTest::newRow("P3.22 third sub-tab") << int(FieldKind::Text) << 322;
        QTest::newRow("P3.31 list between ranges") << int(FieldKind::List) << 331;
        QTest::newRow("P4.17") << int(FieldKind::Text) << 417;
        QTest::newRow("P6.27") << int(FieldKind::Text) << 627;
        QTest::newRow("P9.39 fourth sub-tab") << int(FieldKind::List) << 939;
        QTest::newRow("P10.03") << int(FieldKind::Text) << 1003;
    }
    void focusRequestBringsItsTabsUp()
    {
        QFETCH(int, kind);
        QFETCH(int, index);
        open(QX3);
        focusBox(905); // somewhere else first
        ctx().editor.setFocus(FieldKind(kind), index);
        QWidget *target
            = kind == int(FieldKind::List) ? static_cast<QWidget *>(w().choiceList(index)) : w().valueBox(index);
        QCOMPARE(QApplication::focusWidget(), target);
        QVERIFY(target->isVisible());
        QCOMPARE(shownTabs(), tabsByCaption(w(), index));
        QCOMPARE(m_checks->calls.mid(0, 2), QStringList({"enter 905", "leave 905"}));
    }

    void refusedEntryKeepsFieldAndTab_data()
    {
        QTest::addColumn<QString>("action");
        QTest::newRow("Enter") << "enter";
        QTest::newRow("Tab") << "tab";
        QTest::newRow("group tab clicked") << "group";
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
        if (action == "enter" || action == "tab")
            QTest::keyClick(w().valueBox(111), action == "enter" ? Qt::Key_Return : Qt::Key_Tab);
        else if (action == "close")
            QVERIFY(!w().close());
        else {
            QTabBar *tabs = bar(w(), action == "group" ? "tabDetails" : "SSTab1");
            const int other = action == "group" ? 3 : 1;
            QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(other).center());
        }
        QCOMPARE(m_program->prompter().titles(), QStringList {"Wrong Data Type"});
        QCOMPARE(ctx().editor.txtP(111).text(), before);
        QCOMPARE(w().valueBox(111)->text(), before);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(111));
        QCOMPARE(shownTabs(), TabPos({1, 0}));
        QVERIFY(w().isVisible());
        QCOMPARE(m_checks->count("leave 111"), 1);
        QVERIFY(ctx().state.blnConfigChanged); // typing marked it, the reset does not unmark it
    }

    void tabClickLeavesTheFieldOnce()
    {
        open(QX2);
        focusBox(111);
        QTabBar *tabs = bar(w(), "tabDetails");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(3).center());
        QCOMPARE(w().currentGroup(), 3);
        QCOMPARE(m_checks->calls, QStringList({"enter 111", "leave 111"}));
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
        layout->addWidget(m_window.get());
        const auto unparent = qScopeGuard([this] { m_window->setParent(nullptr); });
        QVERIFY(load(ctx(), QX2));
        main.show();
        main.activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(&main));
        focusBox(111);
        QTest::keyClicks(w().valueBox(111), "x");
        other->setFocus(Qt::MouseFocusReason);
        QCOMPARE(QApplication::focusWidget(), other);
        QCOMPARE(m_checks->count("leave 111"), 0);
        // Back in the editor on another field: the field left behind is
        // checked now.
        w().valueBox(102)->setFocus(Qt::MouseFocusReason);
        QCOMPARE(m_program->prompter().titles(), QStringList {"Wrong Data Type"});
        QCOMPARE(QApplication::focusWidget(), w().valueBox(111));
        QCOMPARE(m_checks->count("leave 111"), 1);
        QCOMPARE(m_checks->count("enter 102"), 0);
    }

    void failingCheckIsTrappedAndTheWalkGoesOn()
    {
        open(QX2);
        m_checks->throwOnLeave = 101;
        focusBox(101);
        QTest::keyClick(w().valueBox(101), Qt::Key_Return);
        QCOMPARE(QApplication::focusWidget(), w().valueBox(102));
        const QStringList log = m_program->errorLogLines();
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
        QHelpEvent hover(QEvent::ToolTip, QPoint(2, 2), unused->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(unused, &hover);
        QCOMPARE(unused->toolTip(), QString());

        QLabel *used = w().label(101);
        QHelpEvent hoverUsed(QEvent::ToolTip, QPoint(2, 2), used->mapToGlobal(QPoint(2, 2)));
        QApplication::sendEvent(used, &hoverUsed);
        QCOMPARE(used->toolTip(), "Default value = " + NumberText::variant(ctx().params.varDefault[101]));
        QVERIFY(used->palette().color(QPalette::WindowText) != unused->palette().color(QPalette::WindowText));
    }

    void readOnlyFieldsAreDisabled_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("list");
        QTest::addColumn<int>("writable"); // a neighbour that stays usable
        QTest::newRow("P6.29 value") << 629 << false << 628;
        QTest::newRow("P6.31 fault record") << 631 << true << 630;
        QTest::newRow("P9.34 rated current") << 934 << false << 938;
        QTest::newRow("P9.42 drive model") << 942 << true << 939;
        QTest::newRow("P2.04 off the custom curve") << 204 << false << 203;
    }
    void readOnlyFieldsAreDisabled()
    {
        QFETCH(int, index);
        QFETCH(bool, list);
        QFETCH(int, writable);
        open(QX2);
        QWidget *field = list ? static_cast<QWidget *>(w().choiceList(index)) : w().valueBox(index);
        QVERIFY(!field->isHidden());
        QVERIFY(!field->isEnabled());
        QWidget *neighbour = w().choiceList(writable) && !w().choiceList(writable)->isHidden()
            ? static_cast<QWidget *>(w().choiceList(writable))
            : w().valueBox(writable);
        QVERIFY(!neighbour->isHidden());
        QVERIFY(neighbour->isEnabled());
    }

    void closeBoxHidesAndKeepsTheValues()
    {
        open(QX2);
        ctx().editor.txtP(105).setText("4.5");
        QVERIFY(!w().close());
        QVERIFY(!w().isVisible());
        w().showEditor();
        QCOMPARE(w().valueBox(105)->text(), QStringLiteral("4.5"));
        w().findChild<QPushButton *>("cmdClose")->click();
        QVERIFY(!w().isVisible());
        w().showEditor();
        w().setMainClosing(true);
        QVERIFY(w().close());
    }

    void wizardCloseBoxEndsTheShownStep_data()
    {
        QTest::addColumn<QList<int>>("shown");
        QTest::addColumn<int>("expected");
        QTest::newRow("one step") << QList<int> {3} << 3;
        QTest::newRow("first of two") << QList<int> {6, 2} << 2;
        QTest::newRow("none") << QList<int> {} << -1;
    }
    void wizardCloseBoxEndsTheShownStep()
    {
        QFETCH(QList<int>, shown);
        QFETCH(int, expected);
        open(QX2);
        ctx().editor.setTag("2");
        for (int k : shown)
            w().setWizButtonVisible(k, true);
        QSignalSpy done(&w(), &TabConfigWindow::wizardStepDone);
        QVERIFY(!w().close());
        QVERIFY(!w().isVisible());
        QCOMPARE(done.size(), expected < 0 ? 0 : 1);
        if (expected >= 0)
            QCOMPARE(done.first().first().toInt(), expected);
    }

    void wizardStepFacilities()
    {
        open(QX2); // no encoder group: tab 10 has no field to walk to
        const QStringList captions {"Done w/ P0.xx", "Done w/ P1.xx", "Done w/ P2.xx", "Done w/P3.xx", "Done w/ P4.xx",
            "Done w/ P7.xx", "Done w/ P8.xx", "Done w/ P9.xx"};
        for (int k = 0; k < TabConfigWindow::WizButtonCount; ++k) {
            QCOMPARE(w().wizButton(k)->text(), captions[k]);
            QVERIFY(w().wizButton(k)->isHidden());
        }
        for (int g = 0; g <= 9; ++g)
            w().setGroupTabEnabled(g, g == 3);
        QCOMPARE(bar(w(), "tabDetails")->currentIndex(), 0); // disabling the shown group does not turn the page
        QVERIFY(w().label(0)->isVisible());
        QVERIFY(w().selectGroup(3, 2));
        QCOMPARE(shownTabs(), TabPos({3, 2}));
        QTabBar *tabs = bar(w(), "tabDetails");
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(1).center());
        QCOMPARE(w().currentGroup(), 3); // a disabled group cannot be chosen
        w().setQuickStartDotsVisible(3, true);
        w().setQuickStartLegendVisible(true);
        QCOMPARE(w().findChild<QLabel *>("lblQuickStart")->text(), "Green Dots Indicate \"Quick Start\" Items.");
        for (QLabel *dot : w().quickStartDots(3))
            QVERIFY(!dot->isHidden());
        QVERIFY(w().quickStartDots(7).first()->isHidden());
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

QTEST_MAIN(TestTabConfig)
#include "tst_tabconfig.moc"
