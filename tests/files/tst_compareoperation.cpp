// Comparing the current configuration with the catalogue defaults.
#include "FileTestSupport.h"

#include "files/CompareOperation.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

// Runs the compare on a fresh list; returns the lines between start and end.
QStringList compareResults(AppContext &ctx)
{
    ctx.statusList.clear();
    CompareOperation(ctx).compare();
    const QStringList &lines = ctx.statusList.lines();
    if (lines.size() < 2 || !lines.first().startsWith("Compare started ")
        || !lines.last().startsWith("Compare complete "))
        return {"start or end line missing"};
    return lines.mid(1, lines.size() - 2);
}

} // namespace

class TestCompareOperation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void freshLoadReportsNothing_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::newRow("QX1") << QStringList {"01", "01", "104"};
        QTest::newRow("QX2") << QStringList {"02", "05", "120"};
        QTest::newRow("QX3") << QStringList {"03", "06", "104"};
    }

    void freshLoadReportsNothing()
    {
        QFETCH(QStringList, drive);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, drive));
        ctx.state.blnConfigChanged = false;
        QStringList captions;
        QList<int> positions;
        connect(&ctx.statusList, &StatusList::captionChanged, this, [&](const QString &c) { captions << c; });
        connect(&ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions << p; });

        QCOMPARE(compareResults(ctx), QStringList());
        QCOMPARE(captions,
            (QStringList {"  Status List - Comparing Configuration With Defaults", StatusList::DefaultCaption}));
        // Every index moves the bar, which stays at its end from 999 on.
        QCOMPARE(positions.size(), 1000);
        QCOMPARE(positions.first(), 0);
        QCOMPARE(positions.last(), StatusList::MaxPosition);
        QVERIFY(!ctx.state.blnConfigChanged);
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void changedValues_data()
    {
        QTest::addColumn<QStringList>("edits"); // index=text
        QTest::addColumn<QStringList>("expected");
        const QString differs = QStringLiteral(" - Value different from default. Value = ");
        QTest::newRow("same number, other spelling") << QStringList {"103=10.00", "2=60", "300=00"} << QStringList();
        QTest::newRow("no default is never reported") << QStringList {"629=5"} << QStringList();
        QTest::newRow("one value") << QStringList {"103=61"} << QStringList {"P1.03" + differs + "61 Default = 10"};
        QTest::newRow("text as shown, ascending")
            << QStringList {"938=1234", "5=01", "103=61.0", "209=.25"}
            << QStringList {"P0.05" + differs + "01 Default = 0", "P1.03" + differs + "61.0 Default = 10",
                   "P2.09" + differs + ".25 Default = 0.5", "P9.38" + differs + "1234 Default = 0"};
        QTest::newRow("emptied value counts as zero")
            << QStringList {"103="} << QStringList {"P1.03" + differs + " Default = 10"};
    }

    void changedValues()
    {
        QFETCH(QStringList, edits);
        QFETCH(QStringList, expected);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
        for (const QString &edit : edits)
            ctx.editor.txtP(edit.section('=', 0, 0).toInt()).setText(edit.section('=', 1));
        QCOMPARE(compareResults(ctx), expected);
    }

    void parametersOfAnEarlierDriveTakeNoPart()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(loadDrive(ctx, {"03", "06", "104"}));
        QVERIFY(loadDrive(ctx, {"01", "01", "104"}));
        // The records still hold the QX3 default at an index QX1 lacks.
        QCOMPARE(ctx.params.varDefault[617].toDouble(), 150.0);
        QVERIFY(ctx.editor.txtP(617).text().isEmpty());
        QCOMPARE(compareResults(ctx), QStringList());
    }
};

QTEST_GUILESS_MAIN(TestCompareOperation)
#include "tst_compareoperation.moc"
