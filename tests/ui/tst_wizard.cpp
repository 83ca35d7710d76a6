// The quick-start wizard over the real detailed editor: steps narrowing the
// editor to one group, ending by Done or by the close box, and closing.
#include "MainWindowTestSupport.h"

#include "ui/editors/TabConfigWindow.h"
#include "ui/editors/WizardWindow.h"

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMdiSubWindow>

using namespace Tarvel;

namespace {

const QStringList QX1 {"01", "01", "104"};
const QStringList QX2 {"02", "05", "120"};

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
};

} // namespace

class TestWizard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void opensWithEntriesLocked();
    void stepNarrowsEditor_data();
    void stepNarrowsEditor();
    void stepEnds_data();
    void stepEnds();
    void closeWithUnsavedNoUnloads();
    void closeWithUnsavedYesSaves();
    void pidStep_data();
    void pidStep();
};

void TestWizard::opensWithEntriesLocked()
{
    WizardFixture f;
    QVERIFY(f.wiz());
    QCOMPARE(f.wiz()->windowTitle(), QStringLiteral("  Quick Start"));
    QCOMPARE(f.ctx().editor.tag(), QStringLiteral("2"));
    QVERIFY(QFile::exists(f.configPath("Quick.qxc")));
    for (const char *name : {"mnuDetail", "mnuNew", "mnuNewDetailed", "mnuNewWizard"})
        QVERIFY2(!f.w().action(name)->isEnabled(), name);
    for (const char *key : {"New", "Detail", "Schematic", "Wizard"})
        QVERIFY2(!f.w().toolButton(key)->isEnabled(), key);
    QCOMPARE(f.wiz()->stepLabel(2)->text(), QStringLiteral("P2.xx - Volts / Hertz"));
}

void TestWizard::stepNarrowsEditor_data()
{
    QTest::addColumn<int>("step");
    QTest::addColumn<int>("group");
    for (int k = 0; k < WizardWindow::StepCount; ++k)
        QTest::newRow(qPrintable(QString::number(k))) << k << WizardWindow::stepGroup(k);
}

void TestWizard::stepNarrowsEditor()
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

void TestWizard::stepEnds_data()
{
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("done button") << false;
    QTest::newRow("editor close box") << true;
}

void TestWizard::stepEnds()
{
    WizardFixture f;
    // A click on the step's name starts it as its button does.
    QTest::mouseClick(f.wiz()->stepLabel(3), Qt::LeftButton);
    QVERIFY(!f.editor()->wizButton(3)->isHidden());
    QVERIFY(!f.wiz()->isStepDone(3));
    QFETCH(bool, closeBox);
    if (closeBox)
        f.w().editorSubWindow()->close();
    else
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

void TestWizard::closeWithUnsavedNoUnloads()
{
    WizardFixture f;
    const QByteArray saved = Test::readBytes(f.configPath("Quick.qxc"));
    f.wiz()->startStep(1);
    f.editor()->wizButton(1)->click();
    f.ctx().editor.txtP(103).setText("61");
    QVERIFY(f.ctx().state.blnConfigChanged);
    f.program.prompter().enqueue(Msg::No);
    QPointer<WizardWindow> wiz = f.wiz();
    wiz->closeButton()->click();
    const auto &msgs = f.program.prompter().messages();
    QCOMPARE(msgs.last().text, QStringLiteral("You have unsaved data. Would you like to save now?"));
    QCOMPARE(msgs.last().title, QStringLiteral("Unsaved Drive Config Data Exists"));
    QTRY_VERIFY(!wiz);
    QCOMPARE(Test::readBytes(f.configPath("Quick.qxc")), saved);
    QCOMPARE(f.ctx().editor.tag(), QStringLiteral("1"));
    QCOMPARE(f.enabledGroups(), 11);
    QVERIFY(!f.anyMarks());
    for (const char *name : {"mnuDetail", "mnuNew", "mnuNewDetailed", "mnuNewWizard"})
        QVERIFY2(f.w().action(name)->isEnabled(), name);
    for (const char *key : {"New", "Detail", "Wizard"})
        QVERIFY2(f.w().toolButton(key)->isEnabled(), key);
    QVERIFY(!f.w().toolButton("Schematic")->isEnabled()); // not built
}

void TestWizard::closeWithUnsavedYesSaves()
{
    WizardFixture f;
    f.ctx().editor.txtP(103).setText("61");
    f.program.prompter().enqueue(Msg::Yes);
    QPointer<WizardWindow> wiz = f.wiz();
    wiz->closeButton()->click();
    QTRY_VERIFY(!wiz);
    QVERIFY(Test::readBytes(f.configPath("Quick.qxc")).contains("\r\n10361\r\n"));
    QVERIFY(!f.ctx().state.blnConfigChanged);
}

void TestWizard::pidStep_data()
{
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<bool>("offered");
    QTest::newRow("series 1") << QX1 << false;
    QTest::newRow("series 2") << QX2 << true;
}

void TestWizard::pidStep()
{
    QFETCH(QStringList, drive);
    QFETCH(bool, offered);
    WizardFixture f(drive);
    QVERIFY(f.wiz());
    QCOMPARE(f.wiz()->stepButton(WizardWindow::PidStep)->isEnabled(), offered);
    QCOMPARE(f.wiz()->stepLabel(WizardWindow::PidStep)->isEnabled(), offered);
    QVERIFY(f.wiz()->stepButton(WizardWindow::PidStep - 1)->isEnabled());
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
