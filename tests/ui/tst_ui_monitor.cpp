// The connection and auto-detect dialogs render their models and pass the
// user's actions on (the models' own decisions are tst_comm_link's); the
// keypad, fault viewer and configuration information reached from the main
// window.
#include "LinkTestSupport.h"
#include "MainWindowTestSupport.h"
#include "TestMain.h"

#include "comm/RegisterTransactions.h"
#include "monitor/DriveAccess.h"
#include "ui/main/MonitorCommands.h"
#include "ui/monitor/AutoDetectDialog.h"
#include "ui/monitor/BusMonitorWindow.h"
#include "ui/monitor/CommSettingsDialog.h"
#include "ui/monitor/FaultsWindow.h"
#include "ui/monitor/KeypadWindow.h"
#include "ui/monitor/StatsWindow.h"

#include <QAction>
#include <QCheckBox>
#include <QColor>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLCDNumber>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiSubWindow>
#include <QPointer>
#include <QPushButton>
#include <QRegularExpression>
#include <QSettings>
#include <QStandardPaths>
#include <QStatusBar>
#include <QTableView>
#include <QTimer>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestLinkDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The lists show the model's choices and what is typed into a list
    // reaches the model, whose answer shows (its decisions: tst_comm_link).
    void settingsDialogShowsModel()
    {
        TempProgram program;
        auto *dialog = new CommSettingsDialog(program.ctx());
        dialog->show();
        const CommSettingsModel &model = dialog->model();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("  Connection Settings"));
        QCOMPARE(dialog->portList()->count(), model.ports().size());
        QCOMPARE(dialog->portList()->currentText(), model.txtPort());
        QCOMPARE(dialog->protocolList()->currentText(), model.txtProtocol());
        QCOMPARE(dialog->addressBox()->text(), model.txtAddress());
        QComboBox *speeds = dialog->speedList();
        QCOMPARE(speeds->currentText(), model.txtSpeed());
        speeds->setCurrentIndex(1);
        Q_EMIT speeds->activated(1);
        QTest::keyClicks(speeds->lineEdit(), QStringLiteral("123"));
        QCOMPARE(speeds->currentText(), QStringLiteral("9600"));
        QCOMPARE(model.txtSpeed(), speeds->currentText());
        QPointer<CommSettingsDialog> watch(dialog);
        dialog->closeButton()->click();
        QTRY_VERIFY(watch.isNull()); // released when closed
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

    // A server that browses lists its devices after the ports; an Ethernet
    // device has no serial settings to choose.
    void settingsDialogOffersEthernetDevices()
    {
        TempProgram program;
        QDir(program.dir()).mkpath("Data/Servers");
        QFile server(program.path("Data/Servers/Tarvel.KOLV.1.ini"));
        QVERIFY(server.open(QIODevice::WriteOnly));
        server.write("[Channel1.Drive1]\r\nhost=127.0.0.1\r\n");
        server.close();
        CommSettingsDialog dialog(program.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        QCOMPARE(dialog.serverList()->count(), 2);
        dialog.serverList()->setCurrentIndex(1);
        Q_EMIT dialog.serverList()->activated(1);
        const int device = dialog.portList()->count() - 1;
        QCOMPARE(dialog.portList()->itemText(device), QStringLiteral("Channel1.Drive1"));
        const auto labels = dialog.findChildren<QLabel *>();
        QVERIFY(std::any_of(labels.cbegin(), labels.cend(),
            [](const QLabel *label) { return label->text() == QStringLiteral("Com Port / OPC Device:"); }));
        for (const int port : {device, 0}) {
            dialog.portList()->setCurrentIndex(port);
            Q_EMIT dialog.portList()->activated(port);
            const bool serial = port == 0;
            QCOMPARE(dialog.protocolList()->isVisible(), serial);
            QCOMPARE(dialog.speedList()->isEnabled(), serial);
            QCOMPARE(dialog.addressBox()->isEnabled(), serial);
        }
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

    // The device a Com name leads to is chosen in the dialog and kept for the
    // next start (here in a settings folder of the test's own).
    void comPortPointedAtDevice()
    {
        TempProgram program;
        const QString userSettings = QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, program.path("settings"));
        CommSettingsDialog dialog(program.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        dialog.portList()->setCurrentIndex(1);
        Q_EMIT dialog.portList()->activated(1);
        QCOMPARE(dialog.deviceList()->currentText(), PortMap().target(1));
        dialog.deviceList()->setFocus();
        dialog.deviceList()->lineEdit()->selectAll();
        QTest::keyClicks(dialog.deviceList()->lineEdit(), QStringLiteral("/dev/ttyUSB7"));
        QTest::keyClick(dialog.deviceList()->lineEdit(), Qt::Key_Return);
        QCOMPARE(dialog.portList()->itemText(1), QStringLiteral("Com 2 (/dev/ttyUSB7)"));
        QCOMPARE(program.ctx().link().mod1().portMap().target(1), QStringLiteral("/dev/ttyUSB7"));
        const QString kept = PortMap().target(1);
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, userSettings);
        QCOMPARE(kept, QStringLiteral("/dev/ttyUSB7"));
    }

    // Every transaction while the window is open, failed ones in red; filter,
    // pause, save and clear act on what it shows.
    void busMonitorShowsTransactions()
    {
        LinkFixture fixture;
        QString error;
        QVERIFY2(fixture.start(&error), qPrintable(error));
        QCOMPARE(fixture.openRtu(), 0); // before the window: not shown
        auto *window = new BusMonitorWindow(fixture.ctx());
        window->show();
        BusMonitor &monitor = window->monitor();
        RegisterTransactions transactions(fixture.ctx());
        QVERIFY(transactions.uploadWhile(8451, 3) != 32766); // ST00.02 .. ST00.04
        QCOMPARE(transactions.uploadWhile(60000, 1), qint16(32766)); // no such register: exception 2
        QCOMPARE(monitor.rowCount(), 2);
        QVERIFY2(QRegularExpression("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}  node 1  read 03  reg 8451 n 3  "
                                    "ST00.02=[-\\d.]+ ST00.03=[-\\d.]+ ST00.04=[-\\d.]+  ok  \\d+\\.\\d ms$")
                     .match(monitor.line(monitor.shown(0)))
                     .hasMatch(),
            qPrintable(monitor.line(monitor.shown(0))));
        QVERIFY(
            monitor.line(monitor.shown(1)).contains("  reg 60000 n 1  FAILED exception 2 (illegal data address)  "));
        QAbstractItemModel *shown = window->table()->model();
        QCOMPARE(shown->data(shown->index(1, BusMonitor::Result), Qt::ForegroundRole).value<QColor>(), QColor(Qt::red));
        QVERIFY(!shown->data(shown->index(0, BusMonitor::Result), Qt::ForegroundRole).isValid());

        QTest::keyClicks(window->filterBox(), QStringLiteral("st00.03"));
        QTest::keyClick(window->filterBox(), Qt::Key_Return);
        QCOMPARE(monitor.rowCount(), 1);
        window->pauseBox()->click();
        transactions.uploadWhile(8451, 3);
        QCOMPARE(monitor.transactions().size(), qsizetype(2));

        ScriptedFileDialogs dialogs;
        dialogs.answer = fixture.ctx().paths().configsDir() + QStringLiteral("/bus.csv");
        fixture.ctx().setFileDialogs(&dialogs);
        window->saveButton()->click();
        QFile csv(dialogs.answer);
        QVERIFY(csv.open(QIODevice::ReadOnly));
        const QList<QByteArray> rows = csv.readAll().split('\n');
        QCOMPARE(
            rows.first(), QByteArray("Time,Node,Function,Register,Count,Values,Result code,Result,Round trip ms\r"));
        QCOMPARE(rows.size(), qsizetype(3)); // header, the row the filter shows, and the end
        QVERIFY(rows.at(1).contains(",1,read 03,8451,3,ST00.02="));
        window->clearButton()->click();
        QCOMPARE(monitor.rowCount(), 0);
        window->close();
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
    void fromTheMainWindow_data();
    void fromTheMainWindow();
};

void TestMonitorWindows::fromTheMainWindow_data()
{
    QTest::addColumn<bool>("ethernet");
    QTest::newRow("serial link") << false;
    QTest::newRow("Ethernet route") << true;
}

// The same screens, the same clicks and the same answers on either route.
void TestMonitorWindows::fromTheMainWindow()
{
    QFETCH(bool, ethernet);
    MainFixture f;
    SimProcess sim({"--drive", "02,05,120", "--faults", "12"});
    QString error;
    AppContext &ctx = f.ctx();
    QVERIFY2(connectSimulator(f.program, sim, ethernet, &error), qPrintable(error));
    f.program.prompter().clear();
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

    // The close asks what the main window's status shows, as the user sees it.
    QTRY_VERIFY_WITH_TIMEOUT(f.w().panel(2)->text().contains("RUN"), 5000);
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
    ctx.link().disconnectLink(); // before the simulator goes
}

TARVEL_TEST_MAIN(TestLinkDialogs, TestMonitorWindows)
#include "tst_ui_monitor.moc"
