// The auto-detect search against the simulated drive: the order of the
// tries, what it reports, and that nothing is left open when it stops.
#include "LinkTestSupport.h"

#include "comm/AutoDetectSearch.h"

#include <QTimer>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestAutoDetect : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void formatOrder_data();
    void formatOrder();
    void findsOnFifthTry();
    void findsThroughDevicePath();
    void cancelLeavesNoPortOpen();
    void noPortChosen();
    void missingPortIsComError();
};

void TestAutoDetect::formatOrder_data()
{
    QTest::addColumn<int>("asciiMode");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("format");
    QTest::newRow("ascii 0") << 1 << 0 << "4800,N,7,2";
    QTest::newRow("ascii 4") << 1 << 4 << "9600,E,7,1";
    QTest::newRow("ascii 8") << 1 << 8 << "19200,O,7,1";
    QTest::newRow("ascii 11") << 1 << 11 << "38400,O,7,1";
    QTest::newRow("rtu 0") << 0 << 0 << "4800,N,8,2";
    QTest::newRow("rtu 7") << 0 << 7 << "19200,E,8,1";
    QTest::newRow("rtu 9") << 0 << 9 << "38400,N,8,2";
    QTest::newRow("past the table") << 0 << 12 << "";
}

void TestAutoDetect::formatOrder()
{
    QFETCH(QString, format);
    QFETCH(int, position);
    QFETCH(int, asciiMode);
    QCOMPARE(AutoDetectSearch::format(asciiMode, position), format);
}

void TestAutoDetect::findsOnFifthTry()
{
    LinkFixture fixture({"--mode", "ascii", "--settings", "9600,E,7,1"});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    fixture.ctx().state.strConnected = QStringLiteral("False");
    AutoDetectSearch search(fixture.ctx());
    search.choosePort(0);
    QVERIFY(search.detect());
    QCOMPARE(search.tries(), 5);
    QCOMPARE(search.found().node, 1);
    QCOMPARE(search.found().asciiMode, 1);
    QCOMPARE(search.found().portSettings, QStringLiteral("9600,E,7,1"));
    QCOMPARE(search.statusLines(),
        (QStringList {"Node Address 1 - ASCII Mode - 9600,E,7,1 - Succeeded",
            "Trying Node Address 1 - ASCII Mode - 9600,E,7,1", "Trying Node Address 1 - ASCII Mode - 9600,N,7,2",
            "Trying Node Address 1 - ASCII Mode - 4800,O,7,1", "Trying Node Address 1 - ASCII Mode - 4800,E,7,1",
            "Trying Node Address 1 - ASCII Mode - 4800,N,7,2"}));
    QCOMPARE(search.state(), QStringLiteral("Connection established to Node Address 1 - ASCII Mode - 9600,E,7,1"));
    QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Node 1 - ASCII Mode - 9600,E,7,1 "));
    QVERIFY(fixture.link().serialOpen());
    QCOMPARE(fixture.hooks.calls, (QStringList {"busy", "poll off", "idle", "poll on"}));
    QVERIFY(fixture.prompter().messages().isEmpty());
}

void TestAutoDetect::findsThroughDevicePath()
{
    // The command line names the device itself; the first try answers.
    LinkFixture fixture({"--mode", "ascii", "--settings", "4800,N,7,2"});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    AutoDetectSearch search(fixture.ctx());
    search.setTarget(fixture.sim().link());
    QVERIFY(search.detect());
    QCOMPARE(search.tries(), 1);
    QCOMPARE(search.statusLines().first(), QStringLiteral("Node Address 1 - ASCII Mode - 4800,N,7,2 - Succeeded"));
}

void TestAutoDetect::cancelLeavesNoPortOpen()
{
    LinkFixture fixture({"--node", "9"});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    AutoDetectSearch search(fixture.ctx());
    search.choosePort(0);
    int cancelledAt = -1;
    // Cancel from inside the search's wait, as the button would.
    connect(&search, &AutoDetectSearch::changed, &search, [&] {
        if (search.tries() == 2 && cancelledAt < 0) {
            cancelledAt = search.tries();
            QTimer::singleShot(50, &search, &AutoDetectSearch::cancel);
        }
    });
    QElapsedTimer clock;
    clock.start();
    QVERIFY(!search.detect());
    QCOMPARE(cancelledAt, 2);
    QCOMPARE(search.tries(), 2);
    QVERIFY(clock.elapsed() < 2 * AutoDetectSearch::TimeOut); // the wait ended with the cancel
    QVERIFY(!fixture.link().serialOpen());
    QCOMPARE(search.statusLines().first(), QStringLiteral("Trying Node Address 1 - ASCII Mode - 4800,E,7,1"));
    // Pointer and poll timer stay as the cancelled search left them.
    QCOMPARE(fixture.hooks.calls, (QStringList {"busy", "poll off"}));
    // The flag was cleared: the next search tries again.
    fixture.hooks.calls.clear();
    connect(&search, &AutoDetectSearch::changed, &search, [&] {
        if (search.tries() == 1)
            search.close();
    });
    QVERIFY(!search.detect());
    QCOMPARE(search.tries(), 1);
    QVERIFY(!fixture.link().serialOpen());
}

void TestAutoDetect::noPortChosen()
{
    TempProgram program;
    AutoDetectSearch search(program.ctx());
    QSignalSpy focus(&search, &AutoDetectSearch::portFocusRequested);
    QVERIFY(!search.detect());
    QCOMPARE(search.tries(), 0);
    QCOMPARE(program.prompter().titles(), QStringList {"Information Needed."});
    QCOMPARE(
        program.prompter().messages().first().text, QStringLiteral("Please select a com port from the drop down box."));
    QCOMPARE(focus.size(), 1);
}

void TestAutoDetect::missingPortIsComError()
{
    TempProgram program;
    program.ctx().link().mod1().setPortMap(PortMap(QStringList {program.path("no-such-port")}));
    AutoDetectSearch search(program.ctx());
    search.choosePort(0);
    QVERIFY(!search.detect());
    QCOMPARE(search.tries(), 0);
    QCOMPARE(program.prompter().titles(), QStringList {"Com Error"});
    QCOMPARE(program.prompter().messages().first().text,
        QStringLiteral("Selected Com port does not exist or is in use by another application."));
    QVERIFY(!program.ctx().link().serialOpen());
    QVERIFY(program.errorLogLines().isEmpty());
}

QTEST_GUILESS_MAIN(TestAutoDetect)
#include "tst_autodetect.moc"
