// The check after a download against the simulated drive: which values
// agree, the lines for those that differ, and the end on a link failure.
#include "TransferTestSupport.h"

#include "catalogue/ParamLoader.h"
#include "model/ParamText.h"
#include "comm/RegisterTransactions.h"
#include "transfer/DownloadVerification.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

using Boxes = QList<QPair<int, QString>>;
using Registers = QList<QPair<int, int>>;

QString differsLine(int index)
{
    return "Validation indicates " + ParamText::parameterNumber(index) + " differs between configuration and drive.";
}

// The link open to the simulated drive and its parameter set loaded.
bool openAndLoad(LinkFixture &fixture, QString *error)
{
    if (!fixture.start(error))
        return false;
    if (fixture.openRtu() != 0) {
        *error = QStringLiteral("link test failed");
        return false;
    }
    AppContext &ctx = fixture.ctx();
    if (!ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'")) {
        *error = QStringLiteral("load failed");
        return false;
    }
    ctx.statusList.clear();
    fixture.hooks.calls.clear();
    return true;
}

} // namespace

class TestDownloadVerification : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void compare_data();
    void compare();
    void failureAtTenthRow();
};

void TestDownloadVerification::compare_data()
{
    // Box texts set in the configuration (index, text) and registers set in
    // the drive (index, register value); the lines expected, in query order.
    QTest::addColumn<Boxes>("boxes");
    QTest::addColumn<Registers>("registers");
    QTest::addColumn<QList<int>>("differing");
    QTest::newRow("all agree") << Boxes {} << Registers {} << QList<int> {};
    QTest::newRow("60.5 at 0.1 is 605") << Boxes {{101, "60.5"}} << Registers {{101, 605}} << QList<int> {};
    QTest::newRow("60.4 is not 605") << Boxes {{101, "60.4"}} << Registers {{101, 605}} << QList<int> {101};
    QTest::newRow("blanks around the number") << Boxes {{101, " 60.5 "}} << Registers {{101, 605}} << QList<int> {};
    QTest::newRow("two differ, query order")
        << Boxes {{300, "02"}, {101, "12.5"}} << Registers {} << QList<int> {101, 300};
    QTest::newRow("the drive differs") << Boxes {} << Registers {{204, 123}} << QList<int> {204};
    QTest::newRow("read-only included") << Boxes {{934, "0.1"}} << Registers {} << QList<int> {934};
    QTest::newRow("a hundredth step") << Boxes {{935, "1.21"}} << Registers {} << QList<int> {935};
}

void TestDownloadVerification::compare()
{
    QFETCH(Boxes, boxes);
    QFETCH(Registers, registers);
    QFETCH(QList<int>, differing);
    LinkFixture fixture;
    QString error;
    QVERIFY2(openAndLoad(fixture, &error), qPrintable(error));
    AppContext &ctx = fixture.ctx();
    for (const auto &[index, value] : registers)
        RegisterTransactions(ctx).download1(ParamText::registerNumber(index), qint16(value));
    for (const auto &[index, text] : boxes)
        ctx.editor.txtP(index).setText(text);
    fixture.hooks.calls.clear();
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

    QCOMPARE(DownloadVerification(ctx).logicCheck(), differing.isEmpty());
    QStringList expected;
    for (int index : differing)
        expected << differsLine(index);
    QCOMPARE(ctx.statusList.lines(), expected);
    // Every row is visited, whatever differs.
    QCOMPARE(transactions.count(), driveRows(ctx).size());
    QCOMPARE(fixture.hooks.calls.first(), "poll off");
    QCOMPARE(fixture.hooks.calls.mid(fixture.hooks.calls.size() - 2), (QStringList {"poll on", "idle"}));
    QCOMPARE(fixture.errorLogLines(), QStringList());
}

void TestDownloadVerification::failureAtTenthRow()
{
    LinkFixture fixture({"--stop-after", "10"}); // the link test and nine rows
    QString error;
    QVERIFY2(openAndLoad(fixture, &error), qPrintable(error));
    AppContext &ctx = fixture.ctx();
    ctx.link().mod1().setTimeOut(300);
    const QVector<TransferRow> rows = driveRows(ctx);
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);
    QList<int> positions;
    QObject::connect(&ctx.statusList, &StatusList::positionChanged, [&](int p) { positions << p; });

    QVERIFY(!DownloadVerification(ctx).logicCheck());
    QCOMPARE(transactions.count(), 10);
    QCOMPARE(positions.last(), rows.at(9).parameter); // later rows never reached
    QCOMPARE(ctx.statusList.lines().size(), 1);
    QCOMPARE(fixture.prompter().titles(), QStringList {"Error"});
    int code = 0;
    QCOMPARE(commFailureEnd(ctx, fixture.prompter(), fixture.hooks.calls, fixture.errorLogLines(), "  Status List ",
                 "basFunctions_LogicCheck()", &code),
        QString());
    QCOMPARE(code, int(ModbusMaster::TimeOut));
}

QTEST_MAIN(TestDownloadVerification)
#include "tst_downloadverification.moc"
