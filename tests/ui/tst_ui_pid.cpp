// The PID and trend screens in the main window against the simulator: the
// commands open them, the controls reach their models, the chart menus
// export, and closing asks and refuses as it must.
#include "LinkTestSupport.h"
#include "SimProcess.h"
#include "TestMain.h"
#include "TestSupport.h"

#include "comm/RegisterTransactions.h"
#include "monitor/PidTuning.h"
#include "ui/editors/TabConfigWindow.h"
#include "ui/main/MainWindow.h"
#include "ui/main/Shell.h"
#include "ui/pid/ClosedLoopDiagram.h"
#include "ui/pid/DecimatedChart.h"
#include "ui/pid/PidTrendScreens.h"
#include "ui/pid/PidWindow.h"
#include "ui/pid/SetTrendXDialog.h"
#include "ui/pid/TrendWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

// TARVEL_SCREENSHOT_DIR keeps a picture of each screen.
void keepScreenshot(QWidget *window, const QString &name)
{
    const QString dir = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR");
    if (!dir.isEmpty())
        QVERIFY(window->grab().save(dir + u'/' + name + QStringLiteral(".png")));
}

} // namespace

class TestPidTrendWindows : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void screensFromTheMainWindow_data();
    void screensFromTheMainWindow();
};

void TestPidTrendWindows::screensFromTheMainWindow_data()
{
    QTest::addColumn<bool>("ethernet");
    QTest::newRow("serial link") << false;
    QTest::newRow("Ethernet route") << true;
}

// The same screens, the same clicks and the same answers on either route.
void TestPidTrendWindows::screensFromTheMainWindow()
{
    QFETCH(bool, ethernet);
    TempProgram program;
    Shell shell(program.ctx());
    AppContext &ctx = program.ctx();
    ScriptedPrompter &prompter = program.prompter();
    ScriptedFileDialogs dialogs;
    ctx.setPrompter(&prompter);
    ctx.setFileDialogs(&dialogs);
    MainWindow &w = shell.mainWindow();
    w.mainTimer().stop();
    w.twoSecondTimer().stop();
    w.show();
    SimProcess sim(QStringList {"--drive", "02,05,120"});
    QString error;
    QVERIFY2(connectSimulator(program, sim, ethernet, &error), qPrintable(error));
    prompter.clear();
    w.pollTimers().mainTick();
    RegisterTransactions(ctx).download1(1793, 1); // P7.00
    RegisterTransactions(ctx).download1(1795, 1); // P7.02
    PidTrendScreens *screens = w.pidTrendScreens();

    // PID Tuning: the warning, then the screen with the drive's gains.
    prompter.enqueue(Msg::OK);
    w.action("mnuPID")->trigger();
    QCOMPARE(prompter.titles(), QStringList {"Proper Settings Required"});
    PidWindow *pid = screens->pid();
    QVERIFY(pid);
    QCOMPARE(pid->gainBox(0)->text(), "10");
    pid->gainBox(0)->setText("12");
    prompter.enqueue(Msg::Yes);
    pid->updateButton(0)->click();
    QCOMPARE(prompter.titles().last(), "Value Too High!");
    QCOMPARE(pid->gainBox(0)->text(), "10");

    // The chart's right button: the X-axis dialog for this chart.
    Q_EMIT pid->chart()->xAxisRequested();
    SetTrendXDialog *xDialog = screens->xDialog();
    QVERIFY(xDialog && xDialog->isVisible());
    QCOMPARE(xDialog->minutesBox()->text(), "5.04");
    xDialog->minutesBox()->setText("12");
    QTest::keyClick(xDialog->minutesBox(), Qt::Key_Return);
    QCOMPARE(pid->model().xSpanDays() * 1440, 12.0);
    keepScreenshot(pid, "pid");

    // Trend: one at a time, Toggle All, samples from the polled values.
    w.action("mnuTrend")->trigger();
    TrendWindow *trend = screens->trend();
    QVERIFY(trend);
    w.pollTimers().mainTick();
    QVERIFY(!w.action("mnuTrend")->isEnabled());
    QTest::mouseClick(trend->penBox(TrendWindow::ToggleAllBox), Qt::LeftButton);
    for (int pen = 0; pen < TrendPens::Count; ++pen)
        QVERIFY(trend->penBox(pen)->isChecked() && trend->chart()->channelVisible(pen));
    QTRY_VERIFY(trend->model().table().size() >= 3);
    trend->chart()->redraw();
    QVERIFY(trend->chart()->drawnPoints(0) > 0);
    keepScreenshot(&w, "trend");

    // Exports from the chart's menu.
    dialogs.answer = program.path("Configs/trend");
    trend->chart()->exportCsv();
    QFile csv(program.path("Configs/trend.csv"));
    QVERIFY(csv.open(QIODevice::ReadOnly));
    QVERIFY(csv.readLine().startsWith("Time (s),Output Frequency,Motor Speed,"));
    dialogs.answer = program.path("Configs/trend.svg");
    trend->chart()->savePicture();
    QFile svg(dialogs.answer);
    QVERIFY(svg.open(QIODevice::ReadOnly) && svg.readAll().contains("<svg"));

    // Closing the trend asks; Cancel keeps it, OK lets the command work again.
    prompter.clear();
    prompter.enqueue(Msg::Cancel);
    QVERIFY(!trend->close());
    QCOMPARE(prompter.titles(), QStringList {" Unsaved Data May Exist"});
    prompter.enqueue(Msg::OK);
    trend->parentWidget()->close();
    QTRY_VERIFY(!screens->trend());
    w.pollTimers().mainTick();
    QVERIFY(w.action("mnuTrend")->isEnabled());

    // PID: no closing while the drive runs.
    pid->findChild<QPushButton *>("cmdRun")->click();
    QTRY_VERIFY((w.pollTimers().mainTick(), !w.panel(2)->text().contains("STOP"))); // standby: no speed set
    prompter.clear();
    prompter.enqueue(Msg::OK);
    pid->findChild<QPushButton *>("cmdClose")->click();
    QCOMPARE(prompter.titles(), (QStringList {" Unsaved Data May Exist", "Drive Must Be Stopped!"}));
    QVERIFY(screens->pid());
    pid->findChild<QPushButton *>("cmdStop")->click();
    QTRY_VERIFY((w.pollTimers().mainTick(), w.panel(2)->text().contains("STOP")));
    prompter.enqueue(Msg::OK);
    pid->findChild<QPushButton *>("cmdClose")->click();
    QTRY_VERIFY(!screens->pid());

    // The detailed editor's closed-loop diagram.
    w.editorWindow();
    auto *button = w.editorWindow()->findChild<QPushButton *>("cmdDiagram");
    QVERIFY(button && button->isEnabled());
    button->click();
    QVERIFY(screens->diagram() && screens->diagram()->isVisible());
    QVERIFY(screens->diagram()->pictureLoaded());
    keepScreenshot(screens->diagram(), "closed-loop-diagram");
    ctx.link().disconnectLink();
}

TARVEL_TEST_MAIN(TestPidTrendWindows)
#include "tst_ui_pid.moc"
