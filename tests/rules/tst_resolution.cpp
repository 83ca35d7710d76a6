// Decimal count of a resolution and the rounding of typed values.
#include "app/TrappedError.h"
#include "rules/Resolution.h"

#include <QtTest>

#include <cmath>

using namespace Tarvel;

class TestResolution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decimalCount_data();
    void decimalCount();
    void zeroResolutionIsDivisionByZero();
    void roundToDecimals_data();
    void roundToDecimals();
    void decimalsAfterPoints_data();
    void decimalsAfterPoints();
    void singleOverflowsToInfinity();
};

void TestResolution::decimalCount_data()
{
    QTest::addColumn<float>("resolution");
    QTest::addColumn<int>("decimals");
    QTest::newRow("1 gives 0.1, three characters") << 1.0f << 3;
    QTest::newRow("0.1 gives 1") << 0.1f << 1;
    QTest::newRow("0.01 gives 10") << 0.01f << 2;
    QTest::newRow("0.001 gives 99.99999") << 0.001f << 8;
    QTest::newRow("0.5 gives 0.2") << 0.5f << 3;
    QTest::newRow("10 gives 0.01") << 10.0f << 4;
}

void TestResolution::decimalCount()
{
    QFETCH(float, resolution);
    QFETCH(int, decimals);
    QCOMPARE(Resolution::decimalCount(resolution), decimals);
}

void TestResolution::zeroResolutionIsDivisionByZero()
{
    try {
        Resolution::decimalCount(0.0f);
        QFAIL("no error raised");
    } catch (const TrappedError &e) {
        QCOMPARE(e.number(), 11);
    }
}

void TestResolution::roundToDecimals_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("decimals");
    QTest::addColumn<QString>("rounded");
    // Ties go to the even digit of the decimal text as typed, not of the
    // nearest binary double (0.35 and 2.675 lie below their ties there).
    QTest::newRow("tie to even, down") << "0.25" << 1 << "0.2";
    QTest::newRow("tie to even, up") << "0.35" << 1 << "0.4";
    QTest::newRow("2.675 is a true tie") << "2.675" << 2 << "2.68";
    QTest::newRow("2.665 tie down") << "2.665" << 2 << "2.66";
    QTest::newRow("above the tie") << "0.2501" << 1 << "0.3";
    QTest::newRow("truncating") << "12.345" << 1 << "12.3";
    QTest::newRow("carry through nines") << "9.96" << 1 << "10";
    QTest::newRow("carry on a tie") << "99.95" << 1 << "100";
    QTest::newRow("tie at the first digit") << "0.05" << 1 << "0";
    QTest::newRow("just above that tie") << "0.051" << 1 << "0.1";
    QTest::newRow("negative tie") << "-0.25" << 1 << "-0.2";
    QTest::newRow("no negative zero") << "-0.04" << 1 << "0";
    QTest::newRow("trailing zeros dropped") << "12.300" << 2 << "12.3";
    QTest::newRow("leading zero added") << ".5" << 1 << "0.5";
    QTest::newRow("plus sign and zeros") << "+007.50" << 2 << "7.5";
    QTest::newRow("integer stays") << "1500" << 3 << "1500";
    QTest::newRow("exponent expands") << "1.5E2" << 1 << "150";
    QTest::newRow("tiny exponent") << "3e-9" << 3 << "0";
    QTest::newRow("negative exponent kept") << "25e-2" << 2 << "0.25";
    QTest::newRow("eight decimals") << "1.234567891" << 8 << "1.23456789";
    QTest::newRow("surrounding blanks") << " 4.44 " << 1 << "4.4";
    QTest::newRow("zero decimals tie even") << "2.5" << 0 << "2";
    QTest::newRow("zero decimals tie odd") << "3.5" << 0 << "4";
    QTest::newRow("not numeric unchanged") << "abc" << 1 << "abc";
    QTest::newRow("huge left as typed") << "1e500" << 1 << "1e500";
}

void TestResolution::roundToDecimals()
{
    QFETCH(QString, text);
    QFETCH(int, decimals);
    QFETCH(QString, rounded);
    QCOMPARE(Resolution::roundToDecimals(text, decimals), rounded);
}

void TestResolution::decimalsAfterPoints_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QList<int>>("counts");
    QTest::newRow("no point") << "12" << QList<int>();
    QTest::newRow("three after") << "12.345" << QList<int> {3};
    QTest::newRow("point at end") << "12." << QList<int> {0};
    QTest::newRow("blanks not counted") << " 1.5 " << QList<int> {1};
    QTest::newRow("exponent counted as typed") << "1.5E+2" << QList<int> {4};
    QTest::newRow("every point") << "1.2.34" << QList<int> {4, 2};
}

void TestResolution::decimalsAfterPoints()
{
    QFETCH(QString, text);
    QFETCH(QList<int>, counts);
    QCOMPARE(Resolution::decimalsAfterPoints(text), counts);
}

void TestResolution::singleOverflowsToInfinity()
{
    QVERIFY(std::isinf(Resolution::singleValue(QStringLiteral("1e39"))));
    QVERIFY(Resolution::singleValue(QStringLiteral("-1e39")) < 0);
    QCOMPARE(Resolution::singleValue(QStringLiteral("2.7")), 2.7f);
}

QTEST_GUILESS_MAIN(TestResolution)
#include "tst_resolution.moc"
