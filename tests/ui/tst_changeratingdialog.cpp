// The change-rating dialog as the user sees it, and Change Drive Rating on
// the main window: texts, list and buttons wired to the model, whose own
// decisions tst_changeratingmodel covers.
#include "MainWindowTestSupport.h"

#include "ui/editors/ChangeRatingDialog.h"

#include <QAction>
#include <QLabel>

using namespace Tarvel;

namespace {

const QStringList QX2 {"02", "05", "120"};
const QStringList QX3 {"03", "06", "104"};

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
    void showsModel_data();
    void showsModel();
    void buttonsClose_data();
    void buttonsClose();
    void mainCommand_data();
    void mainCommand();
};

void TestChangeRatingDialog::showsModel_data()
{
    QTest::addColumn<QString>("series"); // the text of P9.41
    QTest::addColumn<bool>("okEnabled");
    QTest::newRow("candidates") << "02" << true;
    QTest::newRow("none") << "04" << false;
}

void TestChangeRatingDialog::showsModel()
{
    QFETCH(QString, series);
    QFETCH(bool, okEnabled);
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    ctx.editor.txtP(941).setText(series);
    ChangeRatingDialog dialog(ctx);

    QCOMPARE(dialog.windowTitle(), QStringLiteral("Configuration Update"));
    QVERIFY(!dialog.windowIcon().isNull());
    QCOMPARE(dialog.label()->text(),
        QStringLiteral(
            "Select the drive series/rating you would like to update to from the list below and click \"OK\"."));
    QCOMPARE(dialog.driveList()->toolTip(), QStringLiteral("Select a drive model and rev. from the list."));
    QCOMPARE(items(dialog.driveList()), dialog.model().lines());
    QCOMPARE(dialog.driveList()->currentIndex(), 0);
    QCOMPARE(dialog.okButton()->isEnabled(), okEnabled);
    QCOMPARE(dialog.cancelButton()->text(), QStringLiteral("Cancel"));
    // Showing the first line is no choice of the user's: no warning.
    QVERIFY(program.prompter().messages().isEmpty());
}

void TestChangeRatingDialog::buttonsClose_data()
{
    QTest::addColumn<bool>("ok");
    QTest::addColumn<int>("result");
    QTest::addColumn<QStringList>("drive");
    QTest::newRow("OK moves to the chosen drive") << true << int(QDialog::Accepted) << QX3;
    QTest::newRow("Cancel changes nothing") << false << int(QDialog::Rejected) << QX2;
}

void TestChangeRatingDialog::buttonsClose()
{
    QFETCH(bool, ok);
    QFETCH(int, result);
    QFETCH(QStringList, drive);
    // The list's choice reaches the model; its warnings are the model's test.
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(Test::loadDrive(ctx, QX2));
    ChangeRatingDialog dialog(ctx);
    dialog.driveList()->setCurrentIndex(int(dialog.model().lines().indexOf("QX-3-045H @ rev. 104")));
    dialog.show();
    QVERIFY(QTest::qWaitForWindowExposed(&dialog));

    QTest::mouseClick(ok ? dialog.okButton() : dialog.cancelButton(), Qt::LeftButton);

    QVERIFY(!dialog.isVisible());
    QCOMPARE(dialog.result(), result);
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), drive);
    QCOMPARE(program.prompter().titles(), ok ? QStringList {"Update Complete"} : QStringList());
}

void TestChangeRatingDialog::mainCommand_data()
{
    QTest::addColumn<bool>("withFile");
    QTest::newRow("no configuration") << false;
    QTest::newRow("configuration file open") << true;
}

void TestChangeRatingDialog::mainCommand()
{
    QFETCH(bool, withFile);
    Test::MainFixture f;
    if (withFile) {
        Test::answerNewConfig(QX2, "Pump1");
        f.w().commands().newDetailed();
    }
    f.w().pollTimers().mainTick();
    QAction *update = f.w().action("mnuUpdate");
    QCOMPARE(update->isEnabled(), withFile);
    f.program.prompter().clear();

    // Outlives the test function: with no dialog the timer fires later.
    auto shownTitle = std::make_shared<QString>();
    QTimer::singleShot(0, [shownTitle] {
        if (auto *dialog = qobject_cast<ChangeRatingDialog *>(QApplication::activeModalWidget())) {
            *shownTitle = dialog->windowTitle();
            dialog->reject();
        }
    });
    // The command itself, as the menu would run it even when disabled.
    f.w().changeDriveRating();

    QCOMPARE(*shownTitle, withFile ? QStringLiteral("Configuration Update") : QString());
    const QStringList titles = f.program.prompter().titles();
    QCOMPARE(titles, withFile ? QStringList() : QStringList {"No Configuration Loaded"});
}

QTEST_MAIN(TestChangeRatingDialog)
#include "tst_changeratingdialog.moc"
