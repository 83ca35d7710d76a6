// The read-only refresh before a download against the simulated drive.
#include "TransferTestSupport.h"

#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "model/ParamText.h"
#include "transfer/ReadonlyRefresh.h"

#include <QSignalSpy>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestReadonlyRefresh : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void differencesTakenFromDrive_data();
    void differencesTakenFromDrive();
    void failureEnd();
};

void TestReadonlyRefresh::differencesTakenFromDrive_data()
{
    // Read-only parameters of 02,05,120 changed in the configuration before
    // the refresh; each must come back with one line, in catalogue order.
    QTest::addColumn<QList<int>>("changed");
    QTest::newRow("none changed") << QList<int> {};
    QTest::newRow("a number") << QList<int> {934};
    QTest::newRow("a number and a list") << QList<int> {934, 941};
    QTest::newRow("a fault code and a number") << QList<int> {631, 934};
}

void TestReadonlyRefresh::differencesTakenFromDrive()
{
    QFETCH(QList<int>, changed);
    LinkFixture fixture;
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    QCOMPARE(fixture.openRtu(), 0);
    AppContext &ctx = fixture.ctx();
    QVERIFY(ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'"));
    const QStringList loaded = editorSnapshot(ctx);
    for (int i : changed) {
        QVERIFY(ctx.params.blnReadOnly[i]);
        if (ctx.params.blnExtra[i]) {
            ComboField &list = ctx.editor.cmbP(i);
            const int other = (list.listIndex() + 1) % list.listCount();
            list.setListIndex(other);
            ctx.editor.txtP(i).setText(list.list().at(other).left(2));
        } else {
            ctx.editor.txtP(i).setText("123");
        }
    }
    ctx.statusList.clear();
    QSignalSpy transactions(&ctx.link().mod1(), &ModbusMaster::done);

    QVERIFY(ReadonlyRefresh(ctx).getReadonly());
    QStringList expected;
    for (int i : changed)
        expected << "The read only parameter " + ParamText::parameterNumber(i)
                + " has been updated in your configuration to match the drive.";
    QCOMPARE(ctx.statusList.lines().join(u'\n'), expected.join(u'\n'));
    // The drive holds the catalogue values, so the configuration is as
    // loaded, except that a read-only value without a default (the DC bus
    // voltage at the last fault) now holds what the drive reads.
    QStringList expectedSnapshot = loaded;
    expectedSnapshot.replace(expectedSnapshot.indexOf("txtP(629)= "), "txtP(629)=0");
    QCOMPARE(editorSnapshot(ctx), expectedSnapshot);
    int readOnlyRows = 0;
    for (const TransferRow &row : driveRows(ctx))
        readOnlyRows += ctx.params.blnReadOnly[row.parameter] ? 1 : 0;
    QCOMPARE(transactions.count(), readOnlyRows);
    QCOMPARE(fixture.errorLogLines(), QStringList());
}

void TestReadonlyRefresh::failureEnd()
{
    LinkFixture fixture({"--stop-after", "2"}); // the link test and the first row
    QString error;
    QVERIFY2(fixture.start(&error), qPrintable(error));
    QCOMPARE(fixture.openRtu(), 0);
    AppContext &ctx = fixture.ctx();
    ctx.link().mod1().setTimeOut(300);
    QVERIFY(ParamLoader(ctx).getParamData(ctx.editor, "qryTabParams", "'02'", "'05'", "'120'"));
    ctx.statusList.clear();
    fixture.hooks.calls.clear();

    QVERIFY(!ReadonlyRefresh(ctx).getReadonly());
    QCOMPARE(ctx.statusList.lines().size(), 1);
    QCOMPARE(fixture.prompter().titles(), QStringList {"Error"});
    int code = 0;
    QCOMPARE(commFailureEnd(ctx, fixture.prompter(), fixture.hooks.calls, fixture.errorLogLines(), "  Status List ",
                 "basFunctions_GetReadOnly()", &code),
        QString());
    QCOMPARE(code, int(ModbusMaster::TimeOut));
}

QTEST_MAIN(TestReadonlyRefresh)
#include "tst_readonlyrefresh.moc"
