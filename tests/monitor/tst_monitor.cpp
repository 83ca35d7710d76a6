// The keypad, the fault history and the configuration information as the
// windows drive them, against the simulated drive: what is written, what
// is refused and what the user is told.
#include "LinkTestSupport.h"
#include "TestMain.h"

#include "comm/SerialLinkMonitor.h"
#include "monitor/ConfigInfo.h"
#include "monitor/DriveAccess.h"
#include "monitor/FaultHistory.h"
#include "monitor/KeypadModel.h"
#include "monitor/PidTuning.h"
#include "monitor/TrendModel.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

using Lamp = KeypadModel::Lamp;

// A program connected to a simulated 02,05,120, serially or over the
// Ethernet route, and polled once.
struct Connected : LinkFixture
{
    using LinkFixture::LinkFixture;
    bool open(bool ethernet = false)
    {
        QString error;
        if (!connect(&error, ethernet)) {
            qWarning() << error;
            return false;
        }
        return poll(); // on the route: ST00.18, the device answers
    }
    bool poll() { return SerialLinkMonitor(ctx()).pollDrive(); }
    EthernetRoute &route() { return *ctx().ethernet(); }
    qint16 reg(int address) { return DriveAccess(ctx()).read(address).value_or(-1); }
};

QString lamps(const KeypadModel::Lamps &l)
{
    QString text;
    for (Lamp lamp : {l.run, l.stop, l.jog, l.fwd, l.rev})
        text += lamp == KeypadModel::Lit ? u'R' : lamp == KeypadModel::Changing ? u'Y' : u'-';
    return text;
}

} // namespace

class TestKeypad : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void displayWalk_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<bool>("forward");
        QTest::addColumn<QList<int>>("walk");
        QTest::newRow("QX2 forward") << "2" << true << QList<int> {1, 2, 3, 4, 5, 6, 7, 8, 9, 0};
        QTest::newRow("QX2 back") << "2" << false << QList<int> {9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
        QTest::newRow("QX1 forward") << "1" << true << QList<int> {1, 2, 3, 4, 5, 6, 9, 0};
        QTest::newRow("QX1 back") << "1" << false << QList<int> {9, 6, 5, 4, 3, 2, 1, 0};
    }
    // The display steps through its quantities; a series-1 drive never shows
    // the PID ones. Each quantity is scaled from its status value.
    void displayWalk()
    {
        QFETCH(QString, series);
        QFETCH(bool, forward);
        QFETCH(QList<int>, walk);
        TempProgram program;
        AppState &s = program.ctx().state;
        s.strDriveSeries = series;
        for (int k = 0; k < 12; ++k)
            s.StatusValues[size_t(k)] = qint16(1000 + k);
        KeypadModel keypad(program.ctx());
        QCOMPARE(keypad.caption(keypad.display()), QStringLiteral("Output Frequency in Hz"));
        QList<int> seen;
        for (int i = 0; i < walk.size(); ++i) {
            forward ? keypad.nextDisplay() : keypad.previousDisplay();
            seen << keypad.display();
        }
        QCOMPARE(seen, walk);
        const QList<double> values {100.1, 1005, 10.06, 100.2, 100.9, 100.4, 100.3, 101, 101.1, 100};
        for (int i = 0; i < KeypadModel::DisplayCount; ++i)
            QCOMPARE(keypad.value(i), values.at(i));
        QCOMPARE(KeypadModel::caption(8), QStringLiteral("PID Feedback Signal (PV)"));
    }
    void lampsFromStatusWord_data()
    {
        // Lamps run, stop, jog, fwd, rev: R red, Y yellow, - grey.
        QTest::addColumn<QList<int>>("words"); // one tick each
        QTest::addColumn<QString>("lamps");
        QTest::newRow("stop, fwd") << QList<int> {0} << "-R-R-";
        QTest::newRow("run to stop") << QList<int> {1} << "YR-R-";
        QTest::newRow("run, rev") << QList<int> {27} << "R---R";
        QTest::newRow("jog") << QList<int> {7} << "R-RR-";
        QTest::newRow("rev to fwd") << QList<int> {11} << "R--RY";
        QTest::newRow("fwd to rev") << QList<int> {19} << "R--YR";
        QTest::newRow("standby keeps run and stop") << QList<int> {3, 2} << "R--R-";
        QTest::newRow("negative word changes nothing") << QList<int> {0, -1} << "-R-R-";
    }
    void lampsFromStatusWord()
    {
        QFETCH(QList<int>, words);
        QFETCH(QString, lamps);
        TempProgram program;
        KeypadModel keypad(program.ctx());
        QCOMPARE(::lamps(keypad.lamps()), QStringLiteral("-----"));
        for (int word : words) {
            program.ctx().state.DriveStatusWord = qint16(word);
            keypad.updateLamps();
        }
        QCOMPARE(::lamps(keypad.lamps()), lamps);
    }
    // Run writes the run command; Fwd/Rev turns the motor round (the lamps
    // follow the drive's answer at the next poll, and it writes nothing while
    // the motor turns); Stop ends the run.
    void runDirectionStop()
    {
        Connected drive;
        QVERIFY(drive.open());
        KeypadModel keypad(drive.ctx());
        keypad.open();
        QCOMPARE(keypad.knobTurned(20.0), KeypadModel::Outcome::Written);
        QCOMPARE(keypad.run(), KeypadModel::Outcome::Written);
        QCOMPARE(drive.reg(KeypadModel::RunCommand), qint16(1));

        QTest::qWait(1000); // some speed, so that turning round takes a while
        QCOMPARE(keypad.fwdRev(), KeypadModel::Outcome::Written);
        QVERIFY(drive.poll());
        keypad.updateLamps();
        QCOMPARE(lamps(keypad.lamps()), QStringLiteral("R--YR"));
        QCOMPARE(keypad.fwdRev(), KeypadModel::Outcome::Unchanged); // turning round
        QCOMPARE(drive.reg(KeypadModel::DirectionCommand), qint16(1));
        QCOMPARE(keypad.setDirection(true), KeypadModel::Outcome::Refused);

        QCOMPARE(keypad.stop(), KeypadModel::Outcome::Written);
        QCOMPARE(drive.reg(KeypadModel::RunCommand), qint16(0));
        QVERIFY(drive.prompter().titles().isEmpty());
    }
    // After a fault strikes the running motor the keypad refuses Run, and
    // the fault heads the drive's record.
    void faultWhileRunningRefusesRun()
    {
        Connected drive({"--fault-at", "0.3:2", "--faults", "4"});
        QVERIFY(drive.open());
        KeypadModel keypad(drive.ctx());
        QCOMPARE(keypad.knobTurned(30.0), KeypadModel::Outcome::Written);
        QCOMPARE(keypad.run(), KeypadModel::Outcome::Written);
        QTest::qWait(500);
        QVERIFY(drive.poll());
        QCOMPARE(drive.ctx().state.DriveFaultCode, qint16(2));
        QCOMPARE(keypad.run(), KeypadModel::Outcome::Refused);
        QCOMPARE(drive.prompter().titles(), QStringList {"Drive Fault(s) Exists"});
        QCOMPARE(drive.prompter().messages().first().text,
            QStringLiteral("There is a fault present in the drive.\rBefore proceeding, reset all faults using\r"
                           "the hardware keypad on the drive."));
        FaultHistory history(drive.ctx());
        QCOMPARE(history.read(), FaultHistory::Outcome::Read);
        QCOMPARE(history.texts().mid(0, 3), (QStringList {"Over-Voltage (ov)", "Overload (oL)", "No Faults Occurred"}));
    }
    void steps_data()
    {
        QTest::addColumn<int>("display");
        QTest::addColumn<bool>("pidSet"); // P7.00 = 1 and P7.02 = 1
        QTest::addColumn<int>("delta");
        QTest::addColumn<int>("address"); // written; 0: nothing
        QTest::addColumn<int>("shown"); // the display afterwards
        QTest::newRow("frequency up") << 0 << false << 1 << 2331 << 9;
        QTest::newRow("frequency down from 0") << 3 << false << -1 << 0 << 9;
        QTest::newRow("PID setpoint, PID off") << 7 << false << 1 << 0 << 7;
        QTest::newRow("PID feedback, PID on") << 8 << true << 1 << 1803 << 7;
    }
    // Up and down step the frequency command, or the PID setpoint when a PID
    // quantity shows and the drive takes its setpoint from the link.
    void steps()
    {
        QFETCH(int, display);
        QFETCH(bool, pidSet);
        QFETCH(int, delta);
        QFETCH(int, address);
        QFETCH(int, shown);
        Connected drive;
        QVERIFY(drive.open());
        DriveAccess access(drive.ctx());
        QCOMPARE(access.write(KeypadModel::PidSetpoint, 250), 0);
        if (pidSet) {
            QCOMPARE(access.write(KeypadModel::PidOperation, 1), 0);
            QCOMPARE(access.write(KeypadModel::PidSetpointSource, 1), 0);
        }
        QVERIFY(drive.poll());
        KeypadModel keypad(drive.ctx());
        keypad.setDisplay(display);
        QCOMPARE(keypad.step(delta),
            address            ? KeypadModel::Outcome::Written
                : display >= 7 ? KeypadModel::Outcome::Refused
                               : KeypadModel::Outcome::Unchanged);
        QCOMPARE(keypad.display(), shown);
        QCOMPARE(drive.reg(KeypadModel::FrequencyCommand), qint16(address == 2331 ? 1 : 0));
        QCOMPARE(drive.reg(KeypadModel::PidSetpoint), qint16(address == 1803 ? 251 : 250));
        QCOMPARE(drive.prompter().titles(), display == 7 ? QStringList {"Data Not Sent!"} : QStringList {});
        if (address)
            QCOMPARE(keypad.value(shown) * 10, double(address == 2331 ? 1 : 251)); // shown before the next poll
    }
    // The knob's range follows the motor (P0.02 x P0.04 / P0.03) and it writes
    // where a turn ends; in PID mode it gives way to the arrows for good.
    void knob()
    {
        Connected drive;
        QVERIFY(drive.open());
        KeypadModel keypad(drive.ctx());
        keypad.open();
        QCOMPARE(keypad.knobMaximum(), 60.0 * 1800 / 1740);
        QVERIFY(keypad.knobShown());
        keypad.setDisplay(2);
        keypad.knobPressed();
        QCOMPARE(keypad.display(), KeypadModel::SetpointDisplay);
        QCOMPARE(keypad.knobTurned(12.34), KeypadModel::Outcome::Written);
        QCOMPARE(drive.reg(KeypadModel::FrequencyCommand), qint16(123));
        QCOMPARE(keypad.setFrequency(62.1), KeypadModel::Outcome::Refused);
        keypad.toggleKnob();
        QCOMPARE(keypad.knobButtonCaption(), QStringLiteral("Knob"));
        keypad.toggleKnob();
        QCOMPARE(keypad.knobButtonCaption(), QStringLiteral("Buttons"));
        QCOMPARE(keypad.knobPosition(), 12.3);

        QCOMPARE(DriveAccess(drive.ctx()).write(KeypadModel::PidOperation, 1), 0);
        KeypadModel pidKeypad(drive.ctx());
        pidKeypad.open();
        QVERIFY(!pidKeypad.knobShown());
        pidKeypad.toggleKnob();
        QVERIFY(!pidKeypad.knobShown());
        QCOMPARE(drive.prompter().titles(), QStringList {"Feature Not Available"});
    }
    void closing_data()
    {
        QTest::addColumn<QString>("panel");
        QTest::addColumn<bool>("closes");
        QTest::newRow("stopped") << "Drive Status - STOP, FWD    " << true;
        QTest::newRow("running") << "Drive Status - RUN, FWD    " << false;
        QTest::newRow("stopping") << "Drive Status - Run To Stop Transition, FWD    " << false;
        QTest::newRow("offline") << "Drive Status - Offline" << false;
    }
    void closing()
    {
        QFETCH(QString, panel);
        QFETCH(bool, closes);
        TempProgram program;
        KeypadModel keypad(program.ctx());
        QCOMPARE(keypad.mayClose(panel), closes);
        QCOMPARE(program.prompter().titles(), closes ? QStringList {} : QStringList {"Drive Must Be Stopped!"});
    }
};

class TestFaultHistory : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void records_data()
    {
        QTest::addColumn<QString>("history"); // --faults; null: no link
        QTest::addColumn<bool>("trip"); // run into a fault 1 before the second read
        QTest::addColumn<QStringList>("texts");
        const QString none = QStringLiteral("No Faults Occurred");
        QTest::newRow("none") << "" << false << QStringList(6, none);
        QTest::newRow("two") << "17,20" << false
                             << QStringList {
                                    "Input Power 3 Phase Loss", "Software Protection Fault", none, none, none, none};
        // The 21 moves to the third record, whose label keeps its former text.
        QTest::newRow("outside the table")
            << "3,21" << true << QStringList {"Over-Current (oc)", "Overheat (oH)", none, none, none, none};
        QTest::newRow("no link: the user is asked to connect") << QString() << false << QStringList(6);
    }
    // Six records from 1568 as text; a code the table lacks leaves its label.
    void records()
    {
        QFETCH(QString, history);
        QFETCH(bool, trip);
        QFETCH(QStringList, texts);
        Connected drive({"--faults", history, "--fault-at", "0:1"});
        const bool linked = !history.isNull();
        QVERIFY(!linked || drive.open());
        drive.prompter().enqueue(Msg::Yes);
        int shown = 0; // connection dialogs
        FaultHistory faults(drive.ctx());
        QCOMPARE(faults.read([&] { ++shown; }), linked ? FaultHistory::Outcome::Read : FaultHistory::Outcome::NoLink);
        if (trip) {
            QCOMPARE(faults.texts().at(1), QString()); // 21: nothing shown yet
            QCOMPARE(DriveAccess(drive.ctx()).write(KeypadModel::RunCommand, 1), 0);
            QCOMPARE(faults.read(), FaultHistory::Outcome::Read);
            QCOMPARE(faults.codes().at(2), 21);
        }
        QCOMPARE(faults.texts(), texts);
        QCOMPARE(shown, linked ? 0 : 1);
        if (!linked)
            QCOMPARE(drive.prompter().messages().first().text,
                QStringLiteral("You don't appear to be connected to a drive.\rWould you like to connect now?"));
        QCOMPARE(drive.prompter().titles(), linked ? QStringList() : QStringList {"No Connection Present"});
        QCOMPARE(drive.prompter().messages().value(0).style, linked ? 0 : Msg::YesNo | Msg::Critical);
    }
};

class TestConfigInfo : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void labels_data()
    {
        QTest::addColumn<QString>("identity"); // --identity; empty: no link
        QTest::addColumn<QStringList>("drive"); // series, model, rev, the three names
        QTest::newRow("no link") << ""
                                 << QStringList {"Not Connected", "Not Connected", "Not Connected", " ", " ", " "};
        QTest::newRow("known drive") << "02,05,120" << QStringList {"02", "05", "1.20", "QX2 Series", "QX-2-0P7H", " "};
        QTest::newRow("unknown revision")
            << "02,05,199" << QStringList {"02", "05", "1.99", "Drive", "Not", "Supported"};
    }
    void labels()
    {
        QFETCH(QString, identity);
        QFETCH(QStringList, drive);
        Connected connected({"--identity", identity.isEmpty() ? "02,05,120" : identity});
        AppContext &ctx = connected.ctx();
        if (!identity.isEmpty())
            QVERIFY(connected.open());
        ctx.state.strSeries = "03";
        ctx.state.strModel = "02";
        ctx.state.strRev = "104";
        const ConfigInfo::Labels labels = ConfigInfo(ctx).update();
        const ConfigInfo::Group &d = labels.drive;
        QCOMPARE((QStringList {d.series, d.model, d.rev, d.names[0], d.names[1], d.names[2]}), drive);
        QCOMPARE(labels.configuration.rev, QStringLiteral("1.04"));
        QCOMPARE(labels.configuration.names[0], QStringLiteral(" ")); // no configuration in the editor
    }
};

// The screens over the Ethernet route to the simulated drive: each screen's
// own data link subscribed while it is open, its values arriving through
// valueChanged while the event loop runs, and its writes reaching the drive.
class TestEthernetScreens : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void keypad()
    {
        Connected drive;
        QVERIFY(drive.open(true));
        KeypadModel keypad(drive.ctx());
        keypad.open();
        QVERIFY(drive.route().link(2).subscribed());
        QCOMPARE(keypad.displayIntervalMs(), 100);
        // The frequency command (ST00.02) comes back on the keypad's link only.
        QCOMPARE(keypad.knobTurned(12.5), KeypadModel::Outcome::Written);
        QTRY_COMPARE(keypad.value(KeypadModel::SetpointDisplay), 12.5);
        QVERIFY(keypad.mayClose(QStringLiteral("Drive Status - STOP, FWD    ")));
        QVERIFY(!drive.route().link(2).subscribed());
    }
    // Item by item, P06.31@Word to P06.36@Word: a refused P6.33 fails alone
    // and its label keeps its text.
    void faultHistory()
    {
        Connected drive({"--faults", "17,20,3", "--exception-at", "1570"});
        QVERIFY(drive.open(true));
        FaultHistory faults(drive.ctx());
        QCOMPARE(faults.read(), FaultHistory::Outcome::Failed);
        const QString none = QStringLiteral("No Faults Occurred");
        QCOMPARE(faults.texts(),
            (QStringList {"Input Power 3 Phase Loss", "Software Protection Fault", "", none, none, none}));
    }
    void pidTuning()
    {
        Connected drive;
        QVERIFY(drive.open(true));
        AppContext &ctx = drive.ctx();
        DriveAccess access(ctx);
        QCOMPARE(access.write(KeypadModel::PidOperation, 1), 0);
        QCOMPARE(access.write(KeypadModel::PidSetpointSource, 1), 0);
        QCOMPARE(access.write(PidTuning::GainRegister, 37), 0);
        PidTuning pid(ctx);
        QVERIFY(pid.open(0)); // P7.00 and P7.02 arrived through the PID screen's link
        QVERIFY(drive.route().link(3).subscribed());
        QCOMPARE(pid.gainText(0), QStringLiteral("3.7"));
        pid.knobFinished(12.3);
        QTRY_COMPARE(ctx.state.PidValues[10], 123.f);
        QVERIFY(pid.mayUnload(QStringLiteral("Drive Status - STOP, FWD    ")));
        QVERIFY(!drive.route().link(3).subscribed());
    }
    void trend()
    {
        Connected drive;
        QVERIFY(drive.open(true));
        TrendModel trend(drive.ctx());
        trend.open();
        QVERIFY(drive.route().link(4).subscribed());
        DriveAccess access(drive.ctx());
        QCOMPARE(access.write(KeypadModel::FrequencyCommand, 300), 0);
        QCOMPARE(access.write(KeypadModel::RunCommand, 1), 0);
        QTRY_VERIFY(drive.ctx().state.StatusValues[1] > 0); // ST0.03, the output frequency
        trend.close();
        QVERIFY(!drive.route().link(4).subscribed());
    }
};

TARVEL_TEST_GUILESS_MAIN(TestKeypad, TestFaultHistory, TestConfigInfo, TestEthernetScreens)
#include "tst_monitor.moc"
