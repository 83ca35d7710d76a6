// The status word in words, the status-bar text, where each polling answer
// lands in the shared drive values, the setting lists of the catalogue and
// the command line's link options. No drive needed.
#include "TestSupport.h"

#include "model/AppState.h"
#include "catalogue/Catalogue.h"
#include "comm/ComSetTable.h"
#include "comm/DriveStatusText.h"
#include "comm/DriveValues.h"
#include "../../tools/tarvel-cli/LinkOptions.h"

#include <QCommandLineParser>
#include <QtTest>

using namespace Tarvel;

namespace {

// Register values of a read: value i is base + i.
DriveValues::ValueAt counting(int base)
{
    return [base](int i) { return qint16(base + i); };
}

ComSetTable catalogueTable()
{
    Catalogue catalogue(Test::builtCatalogue());
    catalogue.connect();
    return ComSetTable::read(catalogue);
}

} // namespace

class TestDriveStatus : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decode_data();
    void decode();
    void panel2_data();
    void panel2();
    void storeStatusBlock();
    void storeShortStatusRead();
    void storeOthers_data();
    void storeOthers();
    void comSetLists();
    void linkOptions_data();
    void linkOptions();
};

void TestDriveStatus::decode_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("jog");
    QTest::addColumn<QString>("direction");
    QTest::newRow("0 stopped") << 0 << "STOP"
                               << " "
                               << "FWD";
    QTest::newRow("1 run to stop") << 1 << "Run To Stop Transition"
                                   << " "
                                   << "FWD";
    QTest::newRow("2 standby") << 2 << "Standby"
                               << " "
                               << "FWD";
    QTest::newRow("27 run reverse") << 27 << "RUN"
                                    << " "
                                    << "REV";
    QTest::newRow("7 jog") << 7 << "RUN"
                           << "JOG Active"
                           << "FWD";
    QTest::newRow("8 rev to fwd") << 8 << "STOP"
                                  << " "
                                  << "Rev To Fwd Transition";
    QTest::newRow("17 fwd to rev") << 17 << "Run To Stop Transition"
                                   << " "
                                   << "Fwd To Rev Transition";
    QTest::newRow("high bits ignored") << (0x7FE0 | 3) << "RUN"
                                       << " "
                                       << "FWD";
    QTest::newRow("negative word") << -1 << "RUN"
                                   << "JOG Active"
                                   << "REV";
}

void TestDriveStatus::decode()
{
    QFETCH(int, word);
    const DriveStatusText::Decoded d = DriveStatusText::decode(qint16(word));
    QFETCH(QString, run);
    QCOMPARE(d.runState, run);
    QFETCH(QString, jog);
    QCOMPARE(d.jogState, jog);
    QFETCH(QString, direction);
    QCOMPARE(d.direction, direction);
}

void TestDriveStatus::panel2_data()
{
    QTest::addColumn<int>("word");
    QTest::addColumn<QString>("text");
    QTest::newRow("27") << 27 << "Drive Status - RUN, REV     ";
    QTest::newRow("1") << 1 << "Drive Status - Run To Stop Transition, FWD     ";
    QTest::newRow("jog") << 7 << "Drive Status - RUN, FWD    JOG Active";
}

void TestDriveStatus::panel2()
{
    QFETCH(int, word);
    QFETCH(QString, text);
    QCOMPARE(DriveStatusText::panel2(DriveStatusText::decode(qint16(word))), text);
}

void TestDriveStatus::storeStatusBlock()
{
    AppState state;
    state.PidValues[11] = -5;
    // Value 0 is the status word 27, 1..15 count up from 101, 15 is the revision.
    const auto values = [](int i) { return qint16(i == 0 ? 27 : i == 15 ? 120 : 100 + i); };
    QVERIFY(DriveValues::store(state, DriveValues::StatusBlock, 16, values));
    QCOMPARE(state.DriveStatusWord, qint16(27));
    QCOMPARE(state.DriveRunState, QStringLiteral("RUN"));
    QCOMPARE(state.DriveDirection, QStringLiteral("REV"));
    QCOMPARE(state.DriveJogState, QStringLiteral(" "));
    QCOMPARE(state.strDriveRev, QStringLiteral("120"));
    for (int k = 0; k < 14; ++k)
        QCOMPARE(state.StatusValues[k], qint16(101 + k));
    QCOMPARE(state.StatusValues[14], qint16(120));
    QCOMPARE(state.StatusValues[16], qint16(0)); // ST00.18 is not in the serial block
    QCOMPARE(state.PidValues[11], 112.0f); // ST00.13, the PID feedback
}

void TestDriveStatus::storeShortStatusRead()
{
    AppState state;
    state.strDriveRev = QStringLiteral("104");
    QVERIFY(DriveValues::store(state, DriveValues::StatusBlock, 1, counting(3)));
    QCOMPARE(state.DriveRunState, QStringLiteral("RUN"));
    QCOMPARE(state.strDriveRev, QStringLiteral("104")); // not read, not changed
    QCOMPARE(state.StatusValues[0], qint16(0));
    QCOMPARE(state.PidValues[11], 0.0f);
}

void TestDriveStatus::storeOthers_data()
{
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("count");
    QTest::addColumn<bool>("stored");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("model");
    QTest::addColumn<int>("fault");
    QTest::addColumn<QList<float>>("pid"); // PidValues 0, 1, 2, 10
    QTest::addColumn<QList<float>>("gains");
    const QString nc = QStringLiteral("Not Connected");
    const QList<float> zero3 {0, 0, 0};
    const QList<float> zero4 {0, 0, 0, 0};
    QTest::newRow("identity") << 2346 << 2 << true << "7"
                              << "8" << 0 << zero4 << zero3;
    QTest::newRow("identity, series only") << 2346 << 1 << true << "7" << nc << 0 << zero4 << zero3;
    QTest::newRow("fault") << 8449 << 1 << true << nc << nc << 7 << zero4 << zero3;
    QTest::newRow("PID block") << 1793 << 11 << true << nc << nc << 0 << QList<float> {7, 8, 9, 17} << zero3;
    QTest::newRow("P7.00 alone") << 1793 << 1 << true << nc << nc << 0 << QList<float> {7, 0, 0, 0} << zero3;
    QTest::newRow("PID setpoint") << 1803 << 1 << true << nc << nc << 0 << QList<float> {0, 0, 0, 7} << zero3;
    QTest::newRow("PID gains") << 1813 << 3 << true << nc << nc << 0 << zero4 << QList<float> {7, 8, 9};
    QTest::newRow("other register") << 2347 << 2 << false << nc << nc << 0 << zero4 << zero3;
    QTest::newRow("link test") << 1 << 1 << false << nc << nc << 0 << zero4 << zero3;
}

void TestDriveStatus::storeOthers()
{
    QFETCH(int, start);
    QFETCH(int, count);
    AppState state;
    QFETCH(bool, stored);
    QCOMPARE(DriveValues::store(state, start, count, counting(7)), stored);
    QFETCH(QString, series);
    QCOMPARE(state.strDriveSeries, series);
    QFETCH(QString, model);
    QCOMPARE(state.strDriveModel, model);
    QFETCH(int, fault);
    QCOMPARE(state.DriveFaultCode, qint16(fault));
    QFETCH(QList<float>, pid);
    QCOMPARE((QList<float> {state.PidValues[0], state.PidValues[1], state.PidValues[2], state.PidValues[10]}), pid);
    QFETCH(QList<float>, gains);
    QCOMPARE((QList<float> {state.PidGains[0], state.PidGains[1], state.PidGains[2]}), gains);
    QCOMPARE(state.DriveStatusWord, qint16(0));
}

void TestDriveStatus::comSetLists()
{
    const ComSetTable table = catalogueTable();
    QCOMPARE(table.ports, (QStringList {"Com 1", "Com 2", "Com 3", "Com 4"}));
    QCOMPARE(table.speeds, (QStringList {"4800", "9600", "19200", "38400"}));
    QCOMPARE(table.protocols,
        (QStringList {
            "7, N, 2, ASCII", "7, E, 1, ASCII", "7, O, 1, ASCII", "8, N, 2, RTU", "8, E, 1, RTU", "8, O, 1, RTU"}));
    QCOMPARE(table.defaultPort, 0);
    QCOMPARE(table.defaultSpeed, 2);
    QCOMPARE(table.defaultProtocol, 4);
    QCOMPARE(table.defaultAddress, QStringLiteral("1"));
    // The code relies on the list order, not the descriptions.
    for (int i = 0; i < 6; ++i) {
        const QString settings = ComSetTable::portSettings(QStringLiteral("9600"), i);
        QCOMPARE(settings.section(u',', 3, 3), table.protocols.at(i).section(QStringLiteral(", "), 2, 2));
        QCOMPARE(settings.section(u',', 1, 1), table.protocols.at(i).section(QStringLiteral(", "), 1, 1));
        QCOMPARE(ComSetTable::Protocols[i].asciiMode == 1, table.protocols.at(i).endsWith(QLatin1String("ASCII")));
    }
}

void TestDriveStatus::linkOptions_data()
{
    QTest::addColumn<QStringList>("arguments");
    QTest::addColumn<bool>("valid");
    QTest::addColumn<QString>("node");
    QTest::addColumn<int>("commPort");
    QTest::addColumn<QString>("target");
    QTest::addColumn<int>("asciiMode");
    QTest::addColumn<QString>("settings");
    QTest::newRow("catalogue defaults") << QStringList {} << true << "1" << 0 << "" << 0 << "19200,E,8,1";
    QTest::newRow("Com 3") << QStringList {"--port", "Com 3"} << true << "1" << 2 << "" << 0 << "19200,E,8,1";
    QTest::newRow("com6 unspaced") << QStringList {"--port", "com6"} << true << "1" << 5 << "" << 0 << "19200,E,8,1";
    QTest::newRow("device path") << QStringList {"--port", "/dev/ttyUSB0", "--node", "12"} << true << "12" << 0
                                 << "/dev/ttyUSB0" << 0 << "19200,E,8,1";
    QTest::newRow("ascii takes its own format")
        << QStringList {"--mode", "ascii"} << true << "1" << 0 << "" << 1 << "19200,E,7,1";
    QTest::newRow("7 data bits mean ascii")
        << QStringList {"--settings", "9600,O,7,1"} << true << "1" << 0 << "" << 1 << "9600,O,7,1";
    QTest::newRow("mode wins over bits") << QStringList {"--settings", "9600,N,8,2", "--mode", "RTU"} << true << "1"
                                         << 0 << "" << 0 << "9600,N,8,2";
    QTest::newRow("Com 7") << QStringList {"--port", "Com 7"} << false << "" << 0 << "" << 0 << "";
    QTest::newRow("relative path") << QStringList {"--port", "ttyS0"} << false << "" << 0 << "" << 0 << "";
    QTest::newRow("node 0") << QStringList {"--node", "0"} << false << "" << 0 << "" << 0 << "";
    QTest::newRow("node 248") << QStringList {"--node", "248"} << false << "" << 0 << "" << 0 << "";
    QTest::newRow("node letters") << QStringList {"--node", "1a"} << false << "" << 0 << "" << 0 << "";
    QTest::newRow("bad mode") << QStringList {"--mode", "tcp"} << false << "" << 0 << "" << 0 << "";
    QTest::newRow("bad settings") << QStringList {"--settings", "19200,X,8,1"} << false << "" << 0 << "" << 0 << "";
}

void TestDriveStatus::linkOptions()
{
    QFETCH(QStringList, arguments);
    QFETCH(bool, valid);
    QFETCH(QString, node);
    QFETCH(int, commPort);
    QFETCH(QString, target);
    QFETCH(int, asciiMode);
    QFETCH(QString, settings);
    QCommandLineParser parser;
    LinkOptions::addTo(parser);
    QVERIFY(parser.parse(QStringList {"tarvel-cli"} + arguments));
    QString error;
    const auto parsed = LinkOptions::fromParser(parser, catalogueTable(), &error);
    QCOMPARE(parsed.has_value(), valid);
    if (!parsed) {
        QVERIFY(error.startsWith(QLatin1String("--")));
        return;
    }
    QCOMPARE(parsed->nodeAddress, node);
    QCOMPARE(parsed->commPort, commPort);
    QCOMPARE(parsed->target, target);
    QCOMPARE(parsed->asciiMode, asciiMode);
    QCOMPARE(parsed->portSettings, settings);
}

QTEST_GUILESS_MAIN(TestDriveStatus)
#include "tst_drivestatus.moc"
