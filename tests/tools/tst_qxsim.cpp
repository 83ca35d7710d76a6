// The simulated drive: its parts in process, then the program as a process.
#include "DriveModel.h"
#include "DriveSlave.h"
#include "FaultInjector.h"
#include "Misbehaviour.h"
#include "PtyFormat.h"
#include "RegisterMap.h"
#include "SimOptions.h"
#include "SimProcess.h"
#include "TestSupport.h"
#include "comm/ModbusTransport.h"

#include <QFileInfo>
#include <QtTest>
#include <pty.h>
#include <termios.h>
#include <unistd.h>

#include "TestMain.h"

using namespace Tarvel;
using namespace Tarvel::Test;

// The simulated drive without its links: registers from the catalogue,
// the running model, the Modbus answers, fault injection and options.
namespace Drive {

using namespace Tarvel::Sim;

namespace {

const DriveKey Qx2 {QStringLiteral("02"), QStringLiteral("05"), QStringLiteral("120")};

RegisterMap loadDrive(const DriveKey &key = Qx2)
{
    QString error;
    std::optional<RegisterMap> map = RegisterMap::load(Test::builtCatalogue(), key, &error);
    if (!map)
        qFatal("%s", qPrintable(error));
    return std::move(*map);
}

// Plays steps on a fresh drive, one between semicolons: "w P V" a master
// writes parameter P (its index) with V in register units, "a S" S seconds
// pass, "h A B" the two most recent faults of the history, "at S C" fault C
// once the drive has run S seconds. A check names a value and what it must
// be ("V", ">V" or "<V"): "f" output frequency (Hz), "sw" status word,
// "st N" ST00.N, "p P" parameter P's register, "rt" running time (s).
void play(const QString &script)
{
    RegisterMap map = loadDrive();
    DriveModel model(map, Qx2);
    for (const QString &step : script.split(u';')) {
        QStringList w = step.split(u' ', Qt::SkipEmptyParts);
        const QString op = w.takeFirst();
        const auto number = [&] { return w.takeFirst().toInt(); };
        if (op == "w") {
            const int index = number();
            const qint16 value = qint16(number());
            QVERIFY2(map.numberOf(index), qPrintable(step));
            map.write(*map.numberOf(index), value);
            model.parameterWritten(index, value);
        } else if (op == "a") {
            model.advance(w.value(0).toDouble());
        } else if (op == "h") {
            model.setFaultHistory({number(), number()});
        } else if (op == "at") {
            const double runSeconds = w.takeFirst().toDouble();
            model.scheduleFault(runSeconds, number());
        } else {
            const std::map<QString, std::function<double()>> readings {{"f", [&] { return model.outputFrequency(); }},
                {"sw", [&] { return model.statusWord(); }},
                {"st", [&] { return model.status(quint16(DriveModel::StatusFirst + number())); }},
                {"p", [&] { return map.value(number()); }}, {"rt", [&] { return model.runTime(); }}};
            QVERIFY2(readings.count(op), qPrintable(step));
            const double seen = readings.at(op)();
            const QString want = w.value(0);
            const double v = want.mid(want.startsWith(u'>') || want.startsWith(u'<') ? 1 : 0).toDouble();
            const bool held = want.startsWith(u'>') ? seen > v
                : want.startsWith(u'<')             ? seen < v
                                                    : std::abs(seen - v) < 1e-9;
            QVERIFY2(held, qPrintable(QStringLiteral("%1: %2").arg(step.trimmed()).arg(seen)));
        }
    }
}

QByteArray readPdu(int number, int count)
{
    return ModbusPdu::encodeRequest(ModbusPdu::readHoldingRegisters(quint16(number - 1), quint16(count)));
}

QByteArray writePdu(int number, qint16 value)
{
    return ModbusPdu::encodeRequest(ModbusPdu::writeSingleRegister(quint16(number - 1), quint16(value)));
}

} // namespace

class TestQxsimDrive : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void defaults_data()
    {
        QTest::addColumn<int>("index");
        QTest::addColumn<int>("number");
        QTest::addColumn<int>("value");
        // QX-2-0P7H: 460 V class, 2.7 A; values in register units.
        QTest::newRow("P0.00 list holding its number") << 0 << 1 << 460;
        QTest::newRow("P0.01 2.7 A at 0.1") << 1 << 2 << 27;
        QTest::newRow("P0.02 60 Hz") << 2 << 3 << 60;
        QTest::newRow("P1.01 10.0 s at 0.1") << 101 << 258 << 100;
        QTest::newRow("P7.20 1.00 at 0.01") << 720 << 1813 << 100;
        QTest::newRow("P6.29 without default") << 629 << 1566 << 0;
        QTest::newRow("P9.35 firmware 1.20") << 935 << 2340 << 120;
        QTest::newRow("P9.41 series") << 941 << 2346 << 2;
        QTest::newRow("P9.42 model") << 942 << 2347 << 5;
    }
    void defaults()
    {
        QFETCH(int, index);
        QFETCH(int, number);
        QFETCH(int, value);
        const RegisterMap map = loadDrive();
        QCOMPARE(map.numberOf(index), std::optional<quint16>(quint16(number)));
        QCOMPARE(int(map.value(index)), value);
    }
    void unknownDrive()
    {
        QString error;
        QVERIFY(!RegisterMap::load(Test::builtCatalogue(), {"02", "05", "999"}, &error));
        QVERIFY2(error.contains(QStringLiteral("02,05,999")), qPrintable(error));
        QVERIFY(!RegisterMap::load(QStringLiteral("/nonexistent/QX.qxd"), Qx2, &error));
        QVERIFY2(error.contains(QStringLiteral("/nonexistent/QX.qxd")), qPrintable(error));
    }
    void model_data()
    {
        QTest::addColumn<QString>("script");
        // P1.01 acceleration time and P9.26 frequency command in tenths,
        // P9.27 run, P9.28 reverse; ST00.02 the command, ST00.03 the output
        // frequency in tenths, ST00.04 current, ST00.07 speed. Top frequency
        // 60 Hz x 1800 / 1740 rpm = 62.07 Hz; 10 s to reach it.
        const QString turning = "; st 4 >0; st 7 >0";
        QTest::newRow("1 s into a 10 s ramp") << "w 101 100; w 926 300; w 927 1; a 1; st 3 62; st 2 300" + turning;
        QTest::newRow("ramp reaches the command")
            << "w 101 100; w 926 300; w 927 1; a 10; st 3 300; st 2 300" + turning;
        QTest::newRow("2 s ramp, 0.5 s") << "w 101 20; w 926 500; w 927 1; a 0.5; st 3 155; st 2 500" + turning;
        QTest::newRow("upper limit P6.15 holds 60 Hz")
            << "w 101 20; w 926 620; w 927 1; a 5; st 3 600; st 2 620" + turning;
        // Status word: bits 0-1 stop, run to stop, standby, run; bits 3-4
        // forward, reverse to forward, forward to reverse, reverse.
        QTest::newRow("status word through a reversal")
            << "sw 0; w 927 1; sw 2; w 926 300; a 0.1; sw 3; a 20; w 928 1; a 1; f >0; sw 19; a 20; f -30; sw 27; "
               "w 928 0; a 1; sw 11; w 927 0; a 0.1; sw 9; a 30; f 0; sw 0; st 4 0; st 6 0";
        QTest::newRow("coast stop (P1.00)") << "w 100 1; w 926 300; w 927 1; a 20; f 30; w 927 0; a 0.01; f 0; sw 0";
        // P9.29 external fault, P9.30 reset; P6.31.. the fault records.
        QTest::newRow("trip, refused run, reset")
            << "h 2 3; w 926 300; w 927 1; a 5; w 929 1; st 0 7; f 0; p 631 7; p 632 2; p 633 3; p 634 0; "
               "w 927 1; a 1; f 0; w 930 1; st 0 0; p 631 7; a 1; f 0; w 927 1; a 1; f >0";
        // Only running time counts, and the fault strikes at its moment
        // inside one long step.
        QTest::newRow("fault at a running time")
            << "at 2 12; w 926 300; a 5; st 0 0; w 927 1; a 1.5; f >0; a 10; st 0 12; rt 2; p 631 12; f 0; sw 0";
        // P7.10 set-point, P7.00 feedback on, P7.20 gain; ST00.13 feedback.
        QTest::newRow("PID feedback lags, then settles")
            << "w 710 500; w 927 1; a 5; st 13 0; st 12 500; w 700 1; a 1; st 13 >0; st 13 <400; a 60; st 13 >494; "
               "st 13 <506; w 927 0; a 4; st 13 <100";
        QTest::newRow("higher PID gain is quicker") << "w 710 500; w 700 1; w 720 400; w 927 1; a 1; st 13 >400";
    }
    void model()
    {
        QFETCH(QString, script);
        play(script);
    }
    void slaveAnswers_data()
    {
        QTest::addColumn<QByteArray>("request");
        QTest::addColumn<QByteArray>("answer");
        QTest::newRow("read P1.01-P1.02") << readPdu(258, 2) << QByteArray::fromHex("0304 0064 0064");
        QTest::newRow("read identity") << readPdu(2346, 2) << QByteArray::fromHex("0304 0002 0005");
        QTest::newRow("read revision") << readPdu(8465, 1) << QByteArray::fromHex("0302 0078");
        QTest::newRow("read ST00.18") << readPdu(8467, 1) << QByteArray::fromHex("0302 0001");
        QTest::newRow("read past the status block") << readPdu(8467, 2) << QByteArray::fromHex("8302");
        QTest::newRow("read unknown") << readPdu(9999, 1) << QByteArray::fromHex("8302");
        QTest::newRow("read across a hole") << readPdu(1570, 10) << QByteArray::fromHex("8302"); // P6.36 is the last
        QTest::newRow("write read-only P9.41") << writePdu(2346, 3) << QByteArray::fromHex("8602");
        QTest::newRow("write status") << writePdu(8450, 1) << QByteArray::fromHex("8602");
        QTest::newRow("write unknown") << writePdu(9999, 1) << QByteArray::fromHex("8602");
        QTest::newRow("write above max") << writePdu(2331, 4001) << QByteArray::fromHex("8603");
        QTest::newRow("write below min") << writePdu(258, 0) << QByteArray::fromHex("8603");
        QTest::newRow("write at max") << writePdu(2331, 4000) << writePdu(2331, 4000);
        QTest::newRow("failing register") << readPdu(1793, 11) << QByteArray::fromHex("8304");
        QTest::newRow("unknown function") << QByteArray::fromHex("0400000001") << QByteArray::fromHex("8401");
        QTest::newRow("count 0") << QByteArray::fromHex("0300000000") << QByteArray::fromHex("8303");
    }
    void slaveAnswers()
    {
        QFETCH(QByteArray, request);
        QFETCH(QByteArray, answer);
        RegisterMap map = loadDrive();
        DriveModel model(map, Qx2);
        DriveSlave slave(map, model, true);
        slave.setFailingRegisters({1803});
        QCOMPARE(slave.handle(request).toHex(' '), answer.toHex(' '));
    }
    void refusedBlockWriteChangesNothing()
    {
        RegisterMap map = loadDrive();
        DriveModel model(map, Qx2);
        DriveSlave slave(map, model, true);
        // P1.01 and P1.02 are fine, P1.03 is 0 (below its 0.1 s minimum).
        const QByteArray block = ModbusPdu::encodeRequest(ModbusPdu::writeMultipleRegisters(257, {50, 60, 0}));
        QCOMPARE(slave.handle(block).toHex(), QByteArray("9003"));
        QCOMPARE(map.value(101), qint16(100));
        QCOMPARE(map.value(102), qint16(100));
        const QByteArray good = ModbusPdu::encodeRequest(ModbusPdu::writeMultipleRegisters(257, {50, 60, 70}));
        QCOMPARE(slave.handle(good).toHex(), QByteArray("1001010003"));
        QCOMPARE(map.value(103), qint16(70));
        // Without the range check the drive stores what it is sent.
        DriveSlave lenient(map, model, false);
        QCOMPARE(lenient.handle(writePdu(2331, 4001)).toHex(), writePdu(2331, 4001).toHex());
        QCOMPARE(map.value(926), qint16(4001));
    }
    void faultInjection_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<QString>("pattern"); // per request: a answer, d drop, c corrupt, s slow, x stopped
        QTest::newRow("none") << QStringList() << "aaaaaa";
        QTest::newRow("drop every 3") << QStringList {"--drop-every", "3"} << "aadaad";
        QTest::newRow("corrupt every 2") << QStringList {"--corrupt-every", "2"} << "acacac";
        QTest::newRow("slow every 4") << QStringList {"--slow-every", "4"} << "aaasaa";
        QTest::newRow("stop after 4 with drops")
            << QStringList {"--stop-after", "4", "--drop-every", "2"} << "adadadaxx";
    }
    void faultInjection()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, pattern);
        SimOptions options;
        QString message;
        QCOMPARE(options.parse(QStringList {"qxsim", "--drive", "02,05,120", "--pty", "/tmp/x"} + arguments, &message),
            SimOptions::Parse::Ok);
        FaultInjector faults(options);
        QString seen;
        for (qsizetype i = 0; i < pattern.size(); ++i) {
            const FaultInjector::Verdict v = faults.next();
            if (!v.execute)
                seen += options.stopAfter > 0 && faults.answers() >= options.stopAfter ? u'x' : u'd';
            else
                seen += v.corrupt ? u'c' : v.slow ? u's' : u'a';
        }
        QCOMPARE(seen, pattern);
    }
    void ptyKeepsWhatTellsFormatsApart_data()
    {
        QTest::addColumn<QString>("expected");
        QTest::addColumn<QString>("applied");
        QTest::addColumn<bool>("agree");
        const QStringList formats {
            "19200,N,7,2", "19200,E,7,1", "19200,O,7,1", "19200,N,8,2", "19200,E,8,1", "19200,O,8,1"};
        for (const QString &f : formats)
            QTest::newRow(qPrintable(f + " itself")) << f << f << true;
        QTest::newRow("8E1 vs 8O1") << "19200,E,8,1"
                                    << "19200,O,8,1" << false;
        QTest::newRow("8O1 vs 7O1 (ASCII and RTU share it)") << "19200,O,8,1"
                                                             << "19200,O,7,1" << true;
        QTest::newRow("other speed") << "19200,E,8,1"
                                     << "9600,E,8,1" << false;
    }
    // Sets the format on a real pseudo-terminal as a master would, and compares
    // what the simulator then reads from the other side.
    void ptyKeepsWhatTellsFormatsApart()
    {
        QFETCH(QString, expected);
        QFETCH(QString, applied);
        QFETCH(bool, agree);
        const SerialFormat want = *SerialFormat::parse(applied);
        int master = -1, slave = -1;
        QVERIFY(::openpty(&master, &slave, nullptr, nullptr, nullptr) == 0);
        termios tio {};
        ::tcgetattr(slave, &tio);
        ::cfmakeraw(&tio);
        tio.c_cflag &= ~(CSIZE | PARENB | PARODD | CSTOPB);
        tio.c_cflag |= (want.dataBits == 7 ? CS7 : CS8) | (want.stopBits == 2 ? CSTOPB : 0);
        if (want.parity != 'N')
            tio.c_cflag |= PARENB | (want.parity == 'O' ? PARODD : 0);
        ::cfsetspeed(&tio, want.baud == 9600 ? B9600 : B19200);
        ::tcsetattr(slave, TCSANOW, &tio);
        termios seen {};
        ::tcgetattr(master, &seen);
        ::close(slave);
        ::close(master);
        QCOMPARE(PtyFormat::agrees(*SerialFormat::parse(expected), PtyFormat::fromTermios(seen)), agree);
    }
    void transferTime()
    {
        // 11 bits a character at 19200 baud: 8 + 7 bytes take 8.59375 ms.
        QCOMPARE(PtyFormat::transferTime(*SerialFormat::parse(QStringLiteral("19200,E,8,1")), 15).count(), 8593750);
        QCOMPARE(PtyFormat::transferTime(*SerialFormat::parse(QStringLiteral("9600,N,7,2")), 3).count(), 3125000);
    }
    void spoiltFramesFailTheirCheck_data()
    {
        QTest::addColumn<int>("framing");
        QTest::addColumn<QByteArray>("pdu");
        QTest::newRow("RTU read answer") << int(ModbusTransport::Framing::Rtu) << QByteArray::fromHex("03020064");
        QTest::newRow("RTU exception") << int(ModbusTransport::Framing::Rtu) << QByteArray::fromHex("8302");
        QTest::newRow("ASCII read answer") << int(ModbusTransport::Framing::Ascii) << QByteArray::fromHex("03020064");
        // An LRC ending in 0 must become another digit, not stay 0.
        QTest::newRow("ASCII LRC ending in 0")
            << int(ModbusTransport::Framing::Ascii) << QByteArray::fromHex("03020000");
    }
    void spoiltFramesFailTheirCheck()
    {
        QFETCH(int, framing);
        QFETCH(QByteArray, pdu);
        const auto transport = ModbusTransport::create(ModbusTransport::Framing(framing));
        for (quint8 unit : {quint8(1), quint8(0x0D)}) {
            const QByteArray frame = transport->encode({unit, pdu, 0});
            QCOMPARE(transport->decode(frame).error, ModbusTransport::DecodeError::None);
            const QByteArray spoilt = Misbehaviour::spoil(frame, ModbusTransport::Framing(framing));
            QCOMPARE(spoilt.size(), frame.size());
            QCOMPARE(transport->decode(spoilt).error, ModbusTransport::DecodeError::Checksum);
        }
    }
    void options_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("result");
        QTest::addColumn<QString>("settings");
        QTest::addColumn<int>("protocolCode"); // -1: none
        const QStringList base {"--drive", "2,5,120", "--pty", "/tmp/l"};
        const int ok = int(SimOptions::Parse::Ok);
        const int error = int(SimOptions::Parse::Error);
        QTest::newRow("defaults RTU") << base << ok << "19200,E,8,1" << 4;
        QTest::newRow("defaults ASCII") << base + QStringList {"--mode", "ascii"} << ok << "19200,E,7,1" << 1;
        QTest::newRow("RTU with an ASCII format")
            << base + QStringList {"--settings", "19200,E,7,1"} << ok << "19200,E,7,1" << -1;
        QTest::newRow("no drive") << QStringList {"--pty", "/tmp/l"} << error << "" << -1;
        QTest::newRow("pty and tcp") << base + QStringList {"--tcp", "127.0.0.1:0"} << error << "" << -1;
        QTest::newRow("neither pty nor tcp") << QStringList {"--drive", "2,5,120"} << error << "" << -1;
        QTest::newRow("units on a pty") << base + QStringList {"--units", "1,2"} << error << "" << -1;
        QTest::newRow("node 248") << base + QStringList {"--node", "248"} << error << "" << -1;
        QTest::newRow("seven faults") << base + QStringList {"--faults", "1,2,3,4,5,6,7"} << error << "" << -1;
        QTest::newRow("fault at, no code") << base + QStringList {"--fault-at", "3"} << error << "" << -1;
        QTest::newRow("fault at, code 0") << base + QStringList {"--fault-at", "3:0"} << error << "" << -1;
        QTest::newRow("unknown misbehaviour") << base + QStringList {"--misbehave", "loud"} << error << "" << -1;
        QTest::newRow("exception code 0") << base + QStringList {"--misbehave", "exception:0"} << error << "" << -1;
        QTest::newRow("help") << QStringList {"--help"} << int(SimOptions::Parse::Help) << "" << -1;
    }
    void options()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, result);
        QFETCH(QString, settings);
        QFETCH(int, protocolCode);
        SimOptions options;
        QString message;
        QCOMPARE(int(options.parse(QStringList {"qxsim"} + arguments, &message)), result);
        if (result == int(SimOptions::Parse::Error))
            QVERIFY(!message.isEmpty());
        if (result == int(SimOptions::Parse::Help))
            QVERIFY(message.contains(QStringLiteral("--exception-at")) && message.contains(QStringLiteral("8450")));
        if (result != int(SimOptions::Parse::Ok))
            return;
        QCOMPARE(options.drive.toString(), QStringLiteral("02,05,120"));
        QCOMPARE(options.settings.toString(), settings);
        QCOMPARE(options.protocolCode().value_or(-1), protocolCode);
    }
};

} // namespace Drive

// qxsim as a separate process, spoken to over a pseudo-terminal (and once
// over TCP) with the shared framing, the way the program meets a drive.
// What the simulated drive answers, and each fault option, is tested in
// process (tst_qxsim_drive); here only that the process serves it.
namespace Process {

namespace {

const QStringList Qx2 {"--drive", "02,05,120"};
const QString Rtu8E1 = QStringLiteral("19200,E,8,1");
constexpr int SilenceMs = 300;

} // namespace

class TestQxsim : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void serves_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("framing");
        QTest::addColumn<QString>("format");
        QTest::addColumn<QString>("pattern"); // per read: a answered, - silent, e exception
        const int rtu = int(ModbusTransport::Framing::Rtu);
        QTest::newRow("rtu") << QStringList {} << rtu << Rtu8E1 << "aaa";
        QTest::newRow("ascii") << QStringList {"--mode", "ascii"} << int(ModbusTransport::Framing::Ascii)
                               << "19200,E,7,1"
                               << "aaa";
        QTest::newRow("other line settings") << QStringList {} << rtu << "9600,E,8,1"
                                             << "---";
        QTest::newRow("other node") << QStringList {"--node", "7"} << rtu << Rtu8E1 << "---";
        // The fault options reach the drive; what each does is tested in process.
        QTest::newRow("drop every 2") << QStringList {"--drop-every", "2"} << rtu << Rtu8E1 << "a-a";
        QTest::newRow("exception at") << QStringList {"--exception-at", "2347"} << rtu << Rtu8E1 << "eee";
        QTest::newRow("misbehave, in pieces")
            << QStringList {"--misbehave", "exception:3", "--pieces", "4"} << rtu << Rtu8E1 << "eee";
    }
    // Reads the identity three times over the line.
    void serves()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, framing);
        QFETCH(QString, format);
        QFETCH(QString, pattern);
        SimProcess sim(Qx2 + arguments);
        SimLine line {ModbusTransport::Framing(framing)};
        QString error;
        QVERIFY2(sim.startPty(&error) && line.open(sim.link(), format, &error), qPrintable(error));
        QString seen;
        for (int i = 0; i < 3; ++i) {
            const auto reply = line.ask(1, ModbusPdu::readHoldingRegisters(2345, 2), SilenceMs); // P9.41-42
            if (!reply)
                seen += u'-';
            else if (reply->status == ModbusReply::Status::Exception)
                seen += u'e';
            else
                seen += reply->values == QList<quint16> {2, 5} ? u'a' : u'?';
        }
        QCOMPARE(seen, pattern);
    }
    void sigtermRemovesLink()
    {
        SimProcess sim(Qx2);
        QString error;
        QVERIFY2(sim.startPty(&error), qPrintable(error));
        QCOMPARE(sim.readyTarget(), sim.link());
        QVERIFY(QFileInfo(sim.link()).isSymLink());
        QVERIFY(QFileInfo(QFileInfo(sim.link()).symLinkTarget()).exists());
        QCOMPARE(sim.terminate(), 0);
        QVERIFY(!QFileInfo(sim.link()).isSymLink());
        QVERIFY(!QFileInfo::exists(sim.link()));
    }
    void startErrors_data()
    {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("message");
        QTest::newRow("drive not in catalogue") << QStringList {"--drive", "02,05,999"} << 3 << "not in the catalogue";
        QTest::newRow("bad settings") << QStringList {"--drive", "02,05,120", "--settings", "fast"} << 2
                                      << "--settings";
    }
    void startErrors()
    {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        SimProcess sim(arguments);
        QString error;
        QVERIFY(!sim.startPty(&error));
        QVERIFY2(error.contains(message), qPrintable(error));
        QCOMPARE(sim.process().exitCode(), exitCode);
        QVERIFY(!QFileInfo(sim.link()).isSymLink());
    }
};

} // namespace Process

TARVEL_TEST_GUILESS_MAIN(Drive::TestQxsimDrive, Process::TestQxsim)
#include "tst_qxsim.moc"
