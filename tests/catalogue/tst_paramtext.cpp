// Parameter number texts and the classic number-to-text conversions.
#include "TestMain.h"
#include "base/NumberText.h"
#include "model/ParamText.h"

#include <QtTest>

using namespace Tarvel;

class TestParamText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void texts_data();
    void texts();
    void singleText_data();
    void singleText();
    void numeric_data();
    void numeric();
};

void TestParamText::texts_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("caption");
    QTest::addColumn<QString>("number");
    QTest::addColumn<QString>("file2");
    QTest::addColumn<QString>("file3");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<int>("reg");
    QTest::newRow("P0.05") << 5 << "   P0.05"
                           << "P0.05"
                           << "005"
                           << "0005"
                           << "P00.05@WORD" << 6;
    QTest::newRow("P0.99") << 99 << "   P0.99"
                           << "P0.99"
                           << "099"
                           << "0099"
                           << "P00.99@WORD" << 100;
    QTest::newRow("P1.23") << 123 << "   P1.23"
                           << "P1.23"
                           << "123"
                           << "0123"
                           << "P01.23@WORD" << 280;
    QTest::newRow("P7.00") << 700 << "   P7.00"
                           << "P7.00"
                           << "700"
                           << "0700"
                           << "P07.00@WORD" << 1793;
    QTest::newRow("P9.41") << 941 << "   P9.41"
                           << "P9.41"
                           << "941"
                           << "0941"
                           << "P09.41@WORD" << 2346;
    QTest::newRow("P10.05") << 1005 << "   P10.05"
                            << "P10.05"
                            << "1005"
                            << "1005"
                            << "P10.05@WORD" << 2566;
}

void TestParamText::texts()
{
    QFETCH(int, index);
    QFETCH(QString, caption);
    QFETCH(QString, number);
    QFETCH(QString, file2);
    QFETCH(QString, file3);
    QFETCH(QString, tag);
    QFETCH(int, reg);
    QCOMPARE(ParamText::captionPrefix(index), caption);
    QCOMPARE(ParamText::parameterNumber(index), number);
    QCOMPARE(ParamText::fileIndex(index, 2), file2);
    QCOMPARE(ParamText::fileIndex(index, 3), file3);
    QCOMPARE(ParamText::linkTag(index), tag);
    QCOMPARE(ParamText::registerNumber(index), reg);
}

void TestParamText::singleText_data()
{
    QTest::addColumn<double>("value");
    QTest::addColumn<QString>("text");
    QTest::newRow("scaled register") << 605 * 0.1 << "60.5";
    QTest::newRow("whole") << 60.0 << "60";
    QTest::newRow("half") << 0.5 << "0.5";
    QTest::newRow("negative") << -12.25 << "-12.25";
    QTest::newRow("seven digits") << 1234567.0 << "1234567";
    QTest::newRow("rounded to seven") << 2.0 / 3.0 << "0.6666667";
    QTest::newRow("float noise") << double(0.1f) * 3 << "0.3";
    QTest::newRow("large") << 12345678.0 << "1.234568E+07";
    QTest::newRow("small") << 0.00001 << "1E-05";
    QTest::newRow("zero") << 0.0 << "0";
    QTest::newRow("ten over resolution 0.001") << 1.0 / 0.001 / 10.0 << "100";
}

void TestParamText::singleText()
{
    QFETCH(double, value);
    QFETCH(QString, text);
    QCOMPARE(NumberText::single(value), text);
}

void TestParamText::numeric_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<double>("val");
    QTest::newRow("integer") << "42" << true << 42.0;
    QTest::newRow("decimal") << "12.345" << true << 12.345;
    QTest::newRow("signed") << "-0.5" << true << -0.5;
    QTest::newRow("leading point") << ".25" << true << 0.25;
    QTest::newRow("exponent") << "1e3" << true << 1000.0;
    QTest::newRow("blanks") << " 7 " << true << 7.0;
    QTest::newRow("letters") << "12a" << false << 12.0;
    QTest::newRow("empty") << "" << false << 0.0;
    QTest::newRow("blank") << " " << false << 0.0;
    QTest::newRow("two points") << "1.2.3" << false << 1.2;
    QTest::newRow("list code") << "03" << true << 3.0;
}

void TestParamText::numeric()
{
    QFETCH(QString, text);
    QFETCH(bool, numeric);
    QFETCH(double, val);
    QCOMPARE(NumberText::isNumeric(text), numeric);
    QCOMPARE(NumberText::val(text), val);
}

TARVEL_TEST_GUILESS_MAIN(TestParamText)
#include "tst_paramtext.moc"
