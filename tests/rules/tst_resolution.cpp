// Decimal count of a resolution and the rounding of typed values.
#include "base/TrappedError.h"
#include "rules/Resolution.h"

#include <QtTest>

#include <cmath>

using namespace Tarvel;

class TestResolution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decimalCount();
    void roundToDecimals_data();
    void roundToDecimals();
    void decimalsAfterPoints();
    void singleOverflowsToInfinity();
};

void TestResolution::decimalCount()
{
    // 1/r/10 as a single: 0.1, 1, 10, 99.99999, 0.2, 0.01 -> its length.
    const QList<std::pair<float, int>> table {{1.f, 3}, {0.1f, 1}, {0.01f, 2}, {0.001f, 8}, {0.5f, 3}, {10.f, 4}};
    for (const auto &[resolution, decimals] : table)
        QCOMPARE(Resolution::decimalCount(resolution), decimals);
    QVERIFY_THROWS_EXCEPTION(TrappedError, Resolution::decimalCount(0.f));
}

void TestResolution::roundToDecimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("rounded");
    // Ties go to the even digit of the text as typed, not of the nearest
    // binary double (0.35 and 2.675 lie below their ties there).
    const QStringList table {"0.25|1|0.2", "0.35|1|0.4", "2.675|2|2.68", "2.665|2|2.66", "0.2501|1|0.3",
        "12.345|1|12.3", "9.96|1|10", "99.95|1|100", "0.05|1|0", "0.051|1|0.1", "-0.25|1|-0.2", "-0.04|1|0",
        "12.300|2|12.3", ".5|1|0.5", "+007.50|2|7.5", "1500|3|1500", "1.5E2|1|150", "3e-9|3|0", "25e-2|2|0.25",
        "1.234567891|8|1.23456789", " 4.44 |1|4.4", "2.5|0|2", "3.5|0|4", "abc|1|abc", "1e500|1|1e500"};
    for (const QString &r : table) {
        const QStringList f = r.split(u'|');
        QTest::newRow(qPrintable(f.at(0) + " to " + f.at(1))) << f.at(0) << f.at(1).toInt() << f.at(2);
    }
}

void TestResolution::roundToDecimals()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(QString, rounded);
    QCOMPARE(Resolution::roundToDecimals(text, decimals), rounded);
}

void TestResolution::decimalsAfterPoints()
{
    QCOMPARE(Resolution::decimalsAfterPoints("12"), QList<int>());
    QCOMPARE(Resolution::decimalsAfterPoints(" 12.345 "), QList<int> {3});
    QCOMPARE(Resolution::decimalsAfterPoints("12."), QList<int> {0});
    QCOMPARE(Resolution::decimalsAfterPoints("1.2.34"), (QList<int> {4, 2}));
}

void TestResolution::singleOverflowsToInfinity()
{
    QVERIFY(std::isinf(Resolution::singleValue("1e39")));
    QVERIFY(Resolution::singleValue("-1e39") < 0);
    QCOMPARE(Resolution::singleValue("2.7"), 2.7f);
}

QTEST_GUILESS_MAIN(TestResolution)
#include "tst_resolution.moc"
