// tarvel-cli parts: parameter names as users write them.
#include "ParamName.h"

#include <QtTest>

using namespace Tarvel;

class TestCliParamName : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paramName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index"); // -1: not a name
        QTest::newRow("P0.05") << "P0.05" << 5;
        QTest::newRow("P9.41") << "P9.41" << 941;
        QTest::newRow("P10.05") << "P10.05" << 1005;
        QTest::newRow("lower case p") << "p3.00" << 300;
        QTest::newRow("last index") << "P10.99" << 1099;
        QTest::newRow("beyond the last group") << "P11.00" << -1;
        QTest::newRow("one digit number") << "P1.5" << -1;
        QTest::newRow("three digit number") << "P1.005" << -1;
        QTest::newRow("no P") << "1.05" << -1;
        QTest::newRow("trailing text") << "P1.05x" << -1;
        QTest::newRow("assignment") << "P1.05=3" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void paramName()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const std::optional<int> parsed = ParamName::parse(name);
        QCOMPARE(parsed.value_or(-1), index);
    }
};

QTEST_GUILESS_MAIN(TestCliParamName)
#include "tst_cli_paramname.moc"
