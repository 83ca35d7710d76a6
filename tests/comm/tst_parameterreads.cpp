// Parameter reads in single and block mode: the values a plan gives, how
// many transactions it takes, and the fall-back when blocks are refused.
#include "TransferTestSupport.h"

#include "comm/ParameterReads.h"
#include "comm/RegisterTransactions.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestParameterReads : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void planReads_data();
    void planReads();
    void linkFailureNotRetried();
};

void TestParameterReads::planReads_data()
{
    QTest::addColumn<QStringList>("simArguments");
    QTest::addColumn<bool>("block");
    QTest::addColumn<QList<int>>("plan");
    QTest::addColumn<QList<int>>("asked"); // the order read() is called in
    QTest::addColumn<int>("transactions");
    // P0.00-P0.04 are registers 1-5, P9.41/P9.42 2346/2347.
    const QList<int> plan {1, 2, 3, 4, 5, 2346, 2347};
    QTest::newRow("single") << QStringList {} << false << plan << plan << 7;
    QTest::newRow("two runs") << QStringList {} << true << plan << plan << 2;
    QTest::newRow("gap splits a run") << QStringList {} << true << QList<int> {1, 2, 4, 5} << QList<int> {1, 2, 4, 5}
                                      << 2;
    QTest::newRow("out of plan order") << QStringList {} << true << QList<int> {1, 2, 3} << QList<int> {3, 1, 2} << 2;
    QTest::newRow("unplanned address") << QStringList {} << true << QList<int> {1, 2} << QList<int> {1, 2, 2347} << 2;
    QTest::newRow("asked twice reads again")
        << QStringList {} << true << QList<int> {1, 2} << QList<int> {1, 2, 2} << 2;
    QTest::newRow("refused: one try, then singles") << QStringList {"--refuse-blocks"} << true << plan << plan << 8;
    QTest::newRow("one register refused: that run singly")
        << QStringList {"--exception-at", "2347"} << true << QList<int> {1, 2, 3, 2346, 2347}
        << QList<int> {1, 2, 3, 2346} << 3;
    const QList<int> ten {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
    QTest::newRow("refused run: no block again inside it")
        << QStringList {"--exception-at", "10"} << true << ten << ten.first(9) << 10;
}

void TestParameterReads::planReads()
{
    QFETCH(QStringList, simArguments);
    QFETCH(bool, block);
    QFETCH(QList<int>, plan);
    QFETCH(QList<int>, asked);
    QFETCH(int, transactions);
    LinkFixture fixture(simArguments);
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    QCOMPARE(fixture.openRtu(), 0);
    AppContext &ctx = fixture.ctx();
    // What each register holds, read one at a time.
    QHash<int, qint16> expected;
    for (int address : asked)
        expected[address] = RegisterTransactions(ctx).uploadWhile(address, 1);

    ctx.link().setBlockTransfer(block);
    QSignalSpy done(&ctx.link().mod1(), &ModbusMaster::done);
    ParameterReads reads(ctx);
    reads.plan(QVector<int>(plan.cbegin(), plan.cend()));
    for (int address : asked) {
        QCOMPARE(reads.read(address), expected[address]);
        QCOMPARE(reads.resultCode(), 0);
    }
    QCOMPARE(int(done.count()), transactions);
    QCOMPARE(reads.transactions(), transactions);
    QCOMPARE(fixture.errorLogLines(), QStringList());
}

void TestParameterReads::linkFailureNotRetried()
{
    LinkFixture fixture({"--stop-after", "1"});
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    QCOMPARE(fixture.openRtu(), 0);
    AppContext &ctx = fixture.ctx();
    ctx.link().mod1().setTimeOut(300);
    ctx.link().setBlockTransfer(true);
    fixture.hooks.calls.clear();
    QSignalSpy done(&ctx.link().mod1(), &ModbusMaster::done);
    ParameterReads reads(ctx);
    reads.plan({1, 2, 3});

    QCOMPARE(reads.read(1), RegisterTransactions::FailureValue);
    QCOMPARE(reads.resultCode(), int(ModbusMaster::TimeOut));
    QCOMPARE(done.count(), 1);
    // Logged as the single read would be, with the poll timer left off.
    QCOMPARE(logEntry(fixture.errorLogLines().last()), "Mod1 retuned , status code , 300,  in basCom_UploadWhile().");
    QCOMPARE(fixture.hooks.calls, QStringList {"poll off"});
}

QTEST_MAIN(TestParameterReads)
#include "tst_parameterreads.moc"
