// The connection and auto-detect dialogs render their models and pass the
// user's actions on (the models' own decisions are tst_comm_link's); the
// keypad, fault viewer and configuration information reached from the main
// window.
#include "LinkTestSupport.h"
#include "MainWindowTestSupport.h"
#include "TestMain.h"

#include "monitor/DriveAccess.h"
#include "ui/main/MonitorCommands.h"
#include "ui/monitor/AutoDetectDialog.h"
#include "ui/monitor/CommSettingsDialog.h"
#include "ui/monitor/FaultsWindow.h"
#include "ui/monitor/KeypadWindow.h"
#include "ui/monitor/StatsWindow.h"

#include <QAction>
#include <QComboBox>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QStatusBar>
#include <QTimer>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestLinkDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingsDialogShowsLists()
    {
        TempProgram program;
        program.ctx().link().mod1().setPortMap(PortMap(QStringList {"/dev/ttyUSB3"}));
        auto *dialog = new CommSettingsDialog(program.ctx());
        dialog->show();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("  Connection Settings"));
        QCOMPARE(dialog->portList()->count(), 4);
        QCOMPARE(dialog->portList()->currentText(), QStringLiteral("Com 1 (/dev/ttyUSB3)"));
        QCOMPARE(dialog->speedList()->currentText(), QStringLiteral("19200"));
        QCOMPARE(dialog->protocolList()->count(), 6);
        QCOMPARE(dialog->protocolList()->currentText(), QStringLiteral("8, E, 1, RTU"));
        QCOMPARE(dialog->addressBox()->text(), QStringLiteral("1"));
        QPointer<CommSettingsDialog> watch(dialog);
        dialog->closeButton()->click();
        QTRY_VERIFY(watch.isNull()); // released when closed
    }

    void typingIntoListsIsRefused_data()
    {
        QTest::addColumn<bool>("speed");
        QTest::addColumn<int>("choose");
        QTest::addColumn<QString>("kept");
        QTest::newRow("speed") << true << 1 << "9600";
        QTest::newRow("protocol") << false << 0 << "7, N, 2, ASCII";
    }

    void typingIntoListsIsRefused()
    {
        TempProgram program;
        CommSettingsDialog dialog(program.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        QFETCH(bool, speed);
        QComboBox *list = speed ? dialog.speedList() : dialog.protocolList();
        QFETCH(int, choose);
        list->setCurrentIndex(choose);
        Q_EMIT list->activated(choose);
        QTest::keyClicks(list->lineEdit(), QStringLiteral("123"));
        QFETCH(QString, kept);
        QCOMPARE(list->currentText(), kept);
        QCOMPARE(speed ? dialog.model().txtSpeed() : dialog.model().txtProtocol(), list->currentText());
    }

    void settingsDialogConnects()
    {
        LinkFixture fixture;
        QString error;
        QVERIFY2(fixture.start(&error), qPrintable(error));
        CommSettingsDialog dialog(fixture.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        dialog.connectButton()->click();
        QCOMPARE(fixture.prompter().titles().last(), QStringLiteral("Serial Connection Established"));
        QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Node 1 - RTU MODE-19200,E,8,1  "));
        dialog.disconnectButton()->click();
        QVERIFY(!fixture.link().linkOpen());
    }

    void autoDetectNeedsPort()
    {
        TempProgram program;
        AutoDetectDialog dialog(program.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        dialog.detectButton()->click();
        QCOMPARE(program.prompter().titles(), QStringList {"Information Needed."});
        QCOMPARE(dialog.statusList()->count(), 0);
    }

    void autoDetectClosedWhileSearching()
    {
        LinkFixture fixture({"--node", "9"});
        QString error;
        QVERIFY2(fixture.start(&error), qPrintable(error));
        auto *dialog = new AutoDetectDialog(fixture.ctx());
        QPointer<AutoDetectDialog> watch(dialog);
        dialog->show();
        dialog->portList()->setCurrentIndex(0);
        Q_EMIT dialog->portList()->activated(0);
        QTimer::singleShot(100, dialog, [dialog] {
            QCOMPARE(dialog->statusList()->count(), 1);
            QCOMPARE(dialog->statusList()->item(0)->text(),
                QStringLiteral("Trying Node Address 1 - ASCII Mode - 4800,N,7,2"));
            QCOMPARE(dialog->stateLabel()->text(), dialog->statusList()->item(0)->text());
            QVERIFY(!dialog->detectButton()->isEnabled());
            dialog->closeButton()->click();
        });
        dialog->detectButton()->click();
        QTRY_VERIFY(watch.isNull());
        QVERIFY(!fixture.link().serialOpen());
    }
};

// The monitoring screens as the main window opens them, with the polling
// and the screens' own timers running: the keypad runs and stops the
// motor and will not close while it runs; a click on the status bar shows
// the drive; the fault viewer reads at once.
class TestMonitorWindows : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fromTheMainWindow();
};

void TestMonitorWindows::fromTheMainWindow()
{
    MainFixture f;
    SimProcess sim({"--drive", "02,05,120", "--faults", "12"});
    QString error;
    QVERIFY2(sim.startPty(&error), qPrintable(error));
    AppContext &ctx = f.ctx();
    ctx.link().mod1().setPortMap(PortMap(QStringList {sim.link()}));
    QCOMPARE(ctx.link().openSerial(SerialLinkSettings {}), 0);
    f.w().pollTimers().mainTick();
    MonitorCommands &monitor = f.w().monitorCommands();
    ScriptedPrompter &prompter = f.program.prompter();

    prompter.enqueue(Msg::Cancel);
    f.w().action(Command::Keypad)->trigger();
    QVERIFY(!monitor.keypadWindow());
    prompter.enqueue(Msg::OK);
    f.w().action(Command::Keypad)->trigger();
    QCOMPARE(prompter.titles(), QStringList(2, "Proper Settings Required"));
    KeypadWindow *keypad = monitor.keypadWindow();
    QVERIFY(keypad && keypad->isVisible());
    QCOMPARE(keypad->windowTitle(), QStringLiteral("  Maintenance Keypad"));
    QTest::mousePress(keypad->button("cmdUp"), Qt::LeftButton);
    QTest::mouseRelease(keypad->button("cmdUp"), Qt::LeftButton);
    QCOMPARE(keypad->displayCaption()->text(), QStringLiteral("Setpoint Frequency in Hz"));
    QCOMPARE(keypad->display()->value(), 0.1);
    keypad->button("cmdRun")->click();
    QCOMPARE(DriveAccess(ctx).read(2332), std::optional<qint16>(1));
    QTRY_COMPARE_WITH_TIMEOUT(keypad->lamp("lblRun")->property("lampColour").toInt(), 255, 5000);
    QCOMPARE(keypad->lamp("lblStop")->property("lampColour").toInt(), 8421504);
    keepScreenshot(*keypad, QStringLiteral("keypad"));

    auto *frame = qobject_cast<QMdiSubWindow *>(keypad->parentWidget());
    QVERIFY(frame);
    prompter.clear();
    frame->close();
    QCOMPARE(prompter.titles(), QStringList {"Drive Must Be Stopped!"});
    QVERIFY(monitor.keypadWindow() && frame->isVisible());
    keypad->button("cmdStop")->click();
    QTRY_VERIFY_WITH_TIMEOUT(f.w().panel(2)->text().contains("STOP"), 5000);
    keypad->button("cmdClose")->click();
    QTRY_VERIFY(!monitor.keypadWindow());

    QTest::mouseClick(f.w().statusBar(), Qt::LeftButton);
    StatsWindow *stats = monitor.statsWindow();
    QVERIFY(stats);
    QCOMPARE(stats->driveLabel(0, 1)->text(), QStringLiteral("QX2 Series"));
    QCOMPARE(stats->driveLabel(2, 0)->text(), QStringLiteral("1.20"));

    f.w().action(Command::Faults)->trigger();
    FaultsWindow *faults = monitor.faultsWindow();
    QVERIFY(faults);
    QTRY_COMPARE(faults->valueLabel(0)->text(), QStringLiteral("Over-Current During Accel (OCA)"));
    QCOMPARE(faults->valueLabel(5)->text(), QStringLiteral("No Faults Occurred"));
    keepScreenshot(*faults, QStringLiteral("faults"));
}

TARVEL_TEST_MAIN(TestLinkDialogs, TestMonitorWindows)
#include "tst_ui_monitor.moc"
