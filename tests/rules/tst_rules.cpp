// Resolution, label colours, the entry checks and the rules between
// parameters, run on real catalogue drives of each family.
#include "RulesTestSupport.h"
#include "TestMain.h"

#include "base/TrappedError.h"
#include "rules/LabelColours.h"
#include "rules/Resolution.h"

#include <QtTest>

#include <cmath>

using namespace Tarvel;
using Tarvel::Test::row;

class TestResolution : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void decimalCount()
    {
        // 1/r/10 as a single: 0.1, 1, 10, 99.99999, 0.2, 0.01 -> its length.
        const QList<std::pair<float, int>> table {{1.f, 3}, {0.1f, 1}, {0.01f, 2}, {0.001f, 8}, {0.5f, 3}, {10.f, 4}};
        for (const auto &[resolution, decimals] : table)
            QCOMPARE(Resolution::decimalCount(resolution), decimals);
        QVERIFY_THROWS_EXCEPTION(TrappedError, Resolution::decimalCount(0.f));
    }

    void roundToDecimals_data()
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

    void roundToDecimals()
    {
        QFETCH(QString, text);
        QFETCH(int, decimals);
        QFETCH(QString, rounded);
        QCOMPARE(Resolution::roundToDecimals(text, decimals), rounded);
    }

    void decimalsAfterPoints()
    {
        QCOMPARE(Resolution::decimalsAfterPoints("12"), QList<int>());
        QCOMPARE(Resolution::decimalsAfterPoints(" 12.345 "), QList<int> {3});
        QCOMPARE(Resolution::decimalsAfterPoints("12."), QList<int> {0});
        QCOMPARE(Resolution::decimalsAfterPoints("1.2.34"), (QList<int> {4, 2}));
    }

    // The register values of a download are rounded so (only ties differ
    // from ordinary rounding).
    void roundHalfEven()
    {
        for (const auto &[value, rounded] : {std::pair {2.5, 2.0}, {3.5, 4.0}, {2.51, 3.0}, {2.49, 2.0}, {-2.5, -2.0}})
            QCOMPARE(Resolution::roundHalfEven(value), rounded);
    }

    void singleOverflowsToInfinity()
    {
        QVERIFY(std::isinf(Resolution::singleValue("1e39")));
        QVERIFY(Resolution::singleValue("-1e39") < 0);
        QCOMPARE(Resolution::singleValue("2.7"), 2.7f);
    }
};

namespace {

// Without dependency rules, so only the entry checks act. P1.01: resolution
// 0.1, 0.1 to 600, default 10; P0.01: 0.5 to 2.7 A; P3.18: resolution 1;
// P4.08: resolution 0.01; P9.35 read-only.
const QString Plain = "02/05/120";

QString rangeMessage(const QString &number, const QString &side)
{
    return "xValue Out Of Range|The value entered for " + number + " is too " + side
        + "!\rThe parameter will be set to the previous value.";
}
QString rounded(int decimals)
{
    return "xInvalid Resolution|The value you entered contains too many decimals.\rThe value will be rounded to "
        + QString::number(decimals) + " decimal place(s).";
}
const QString NotNumeric = "!Wrong Data Type|Your entry needs to be numeric.\rThe value has been reset to the "
                           "Parameter's Default. Any dependent parameter will also be changed if necessary";

} // namespace

class TestEntryChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void entry_data()
    {
        Test::editScriptColumns();
        const QString high = rangeMessage("P1.01", "high");
        const QString low = rangeMessage("P1.01", "low");

        row("kept", Plain, "t 101 12.3", "101=12.3; last101=12.3; red101; changed");
        row("too many decimals", Plain, "t 101 12.345", "101=12.3; last101=12.3", {rounded(1)});
        row("equal to default", Plain, "t 101 20; t 101 10.0", "101=10; black101");
        row("equal to max", Plain, "t 101 600", "101=600; last101=600");
        row("equal to min", Plain, "t 101 0.1", "101=0.1; last101=0.1");
        row("above max", Plain, "t 101 20; t 101 600.1", "101=20; last101=20; red101; focus=T101", {high});
        row("refusal traces the restored text", Plain, "t 101 12.3; t 101 600.5",
            "trace Changed value for varLastChance to 12.3 for param 101", {high});
        row("below min", Plain, "t 101 20; t 101 0", "101=20; last101=20; focus=T101", {low});
        row("label from the refused value", Plain, "t 101 1000", "101=10; red101", {high});
        row("not numeric: default, last accepted kept", Plain, "t 101 20; t 101 12a",
            "101=10; last101=20; black101; focus=T101", {NotNumeric});
        row("typing marks the configuration though put back", Plain, "t 101 abc", "101=10; changed", {NotNumeric});
        row("single value equal to a double bound", Plain, "t 1 1; t 1 2.7", "1=2.7; black1");
        row("resolution 1, three decimals", Plain, "t 318 5.123", "318=5.123");
        row("resolution 1, four decimals", Plain, "t 318 5.1235", "318=5.124", {rounded(3)});
        row("exponent decimals counted as typed", Plain, "t 318 1.5E+2", "318=150", {rounded(3)});

        row("list position is the value", Plain, "c 401 2", "401=2; red401");
        row("list back to default", Plain, "c 401 2; c 401 0", "401=0; black401");
        row("P0.02 entry text is the value", Plain, "c 2 0", "2=50; red2");
        row("P0.00 of a 460 V drive", Plain, "c 0 0; c 0 4", "0=460; black0");
        row("P9.39 turns red from its list", Plain, "c 939 1", "939=1; red939");
        row("P9.39 not red through Validate", Plain, "v 939 2", "black939");
        row("other labels red through Validate", Plain, "v 938 2", "red938");

        row("read-only box", Plain, "t 935 9", "935=1.2; unchanged");
        row("list parameter not typed", Plain, "t 401 1", "401=00; unchanged");
        row("value box not chosen", Plain, "c 101 0", "101=10; unchanged");
        const QString below = "!Invalid Value|Value must be less than or equal to P6.15.";
        row("dependent reaches the rules", "03/06/104", "t 616 70", "616=0", {below});
        row("not dependent never does", "03/06/104", "d 616 0; t 616 70", "616=70");
    }

    void entry() { Test::runEditScriptRow(); }

    void faultsGoToTheTrapWithTheirLocation()
    {
        Test::EditScript script(Plain);
        script.run("c 401 3; v 950 1"); // the list has 0 to 2; no field at 950
        script.checks().wrongDataType(951);
        QCOMPARE(script.mismatches("401=00"), QStringList());
        const QStringList log = script.program().errorLogLines();
        QCOMPARE(log.size(), 3);
        QVERIFY(log.at(0).contains("frmTabConfig, cmbP_Click, Program, 380, "));
        QVERIFY(log.at(1).contains("basFunctions, Validate(), Program, 340, "));
        QVERIFY(log.at(2).contains("WrongDataType(), Program, 340, "));
    }
};

namespace {

// A drive of each rule set.
const QString A = "01/01/105"; // 230 V, 1.6 A
const QString B = "02/01/103"; // 230 V, 5 A
const QString C = "02/05/106"; // 460 V, 2.7 A
const QString D = "03/01/100"; // 460 V, 25 A
const QString E = "03/06/104"; // 460 V, 91 A

QString invalid(const QString &text)
{
    return "!Invalid Value|" + text;
}
const QString P204 = invalid("Value must be greater than or equal to P2.06\rand less than or equal to P0.02.");
const QString P205 = invalid("Value must be greater than or equal to P2.07\rand less than or equal to P0.00.");
const QString Speed = "iParameter Dependency|P4.00 must be set to 1 to enable speed selection.";
const QString Feedback = "iAdditional Config Details|In order to set feedback for P2.10, please refer to your "
                         "hardware manual\rand review settings for Parameter Groups 0 and 10.";
const QString Restart = "iParameter Dependency|This parameter will only work if the Source of Operation, (P3.00) "
                        "\ris set to something other than 00 (Operation determined by digital keypad";
const QString Pid = "!Parameter Dependency|To enable PID operation, P4.00 must be set to option 00 or 01.";

} // namespace

class TestDependencyRules : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void ruleSet_data()
    {
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("rev");
        QTest::addColumn<QString>("set");
        const QStringList table {"01 104 none", "01 105 A", "01 109 A", "01 110 none", "02 103 B", "02 104 C",
            "02 107 C", "02 108 none", "02 120 none", "03 100 D", "03 102 D", "03 104 E", "03 105 none", "3 104 none"};
        for (const QString &r : table) {
            const QStringList f = r.split(u' ');
            QTest::newRow(qPrintable(r)) << f.at(0) << f.at(1) << f.at(2);
        }
    }

    void ruleSet()
    {
        QFETCH(QString, series);
        QFETCH(QString, rev);
        QFETCH(QString, set);
        QCOMPARE(DependencyRules::name(DependencyRules::ruleSet(series, rev)), set);
    }

    void rule_data()
    {
        Test::editScriptColumns();

        // P0.01 bounds P3.17 (defaults: both the rated current).
        row("P0.01 lowered pulls P3.17 down", A, "t 1 0.8", "317=0.8; max317=0.8; last317=0.8; red317");
        row("P3.17 follows P0.01 as rounded", A, "t 1 0.805", "1=0.8; 317=0.8; max317=0.8", {rounded(2)});
        row("P0.01 raised lifts only the bound", A, "t 1 0.8; t 1 1.6", "317=0.8; max317=1.6");
        row("P3.17 held at P0.01", A, "t 1 0.8; t 317 1.2", "317=0.8");
        // P0.03 bounds P0.04 from below (1800 by default).
        row("P0.03 above P0.04 raises it", C, "t 3 2000", "4=2000; min4=2000; last4=2000");
        row("P0.04 below P0.03 raised", E, "t 3 2000; t 4 1900", "4=2000");
        row("P0.03 lowered never lowers P0.04", E, "t 3 2000; t 3 1000", "4=2000; min4=1000");
        // An entry the range check refuses moves no limit and no other value.
        row("P0.03 huge", C, "t 3 1e39", "4=1800; last4=1800", {rangeMessage("P0.03", "high")});
        row("P0.01 huge below zero", C, "t 1 -1e39", "317=2.7", {rangeMessage("P0.01", "low")});
        // P2.00 owns the custom curve points P2.04 to P2.07.
        row("custom curve enables", A, "c 200 3", "204:on; 207:on");
        row("other pattern resets valid points", A, "c 200 3; t 204 5; t 206 2; c 200 2",
            "204=3; 205=12; 206=1.5; 207=6; 204:off; 206:off; black204; black206");
        row("P2.04 below P2.06", A, "c 200 3; t 204 1.4", "204=3; focus=T204", {P204});
        row("P2.04 equal to P2.06", A, "c 200 3; t 204 1.5", "204=1.5");
        row("P2.04 equal to P0.02", A, "c 200 3; t 204 60", "204=60");
        row("back to the entry value, not the last accepted", A, "c 200 3; s 204 2; t 204 70", "204=2", {P204});
        row("P2.05 above P0.00", C, "c 200 3; t 205 460.1", "205=24", {P205});
        row("P2.05 below P2.07", C, "c 200 3; t 205 11.9", "205=24", {P205});
        row("P2.06 above P2.04", C, "c 200 3; t 206 3.1", "206=1.5",
            {invalid("Value must be less than or equal to P2.04.")});
        row("P2.06 equal to P2.04", C, "c 200 3; t 206 3", "206=3");
        row("P2.07 above P2.05", D, "c 200 3; t 207 24.1", "207=12",
            {invalid("Value must be less than or equal to P2.05.")});
        // P0.02 of the later families.
        row("P0.02 outside the list refused", B, "l 2 55", "2=60; L2=60; focus=L2",
            {"iTarvel|P0.02 must be 50, 60, or 400."});
        row("P0.02 400", B, "c 2 2", "2=400");
        row("P0.02 free in set A", A, "l 2 55", "2=55");
        // Information only.
        row("P2.10 feedback 1, set D", D, "c 210 1", "210=1", {Feedback});
        row("P2.10 feedback 3, set E", E, "c 210 3", "210=3", {Feedback});
        row("P2.10 not in set C", C, "c 210 1", "210=1");
        row("3-wire locks P3.02", B, "c 301 2", "L302:off");
        row("2-wire frees P3.02", B, "c 301 2; c 301 1", "L302:on");
        row("P3.02 under 3-wire", A, "s 301 2; c 302 5", "302=5",
            {"iParameter Dependency for P302|The functionality of Digital Input 3 is being determined by the setting "
             "in P3.01"});
        row("P3.02 multi-speed", B, "c 302 15", "302=15",
            {"iParameter Dependency for P302|P4.00 must be set to 1 to enable speed selection."});
        row("P3.02 13", B, "c 302 13", "302=13");
        row("P3.02 17", B, "c 302 17", "302=17");
        row("P3.02 with P4.00 = 1", B, "c 400 1; c 302 15", "302=15");
        row("P3.05 15, set A: last speed input", A, "c 305 15", "305=15", {Speed});
        row("P3.06 not in set B", B, "c 306 15", "306=15");
        row("P3.06 in set D", D, "c 306 15", "306=15", {Speed});
        row("P3.10 in set E", E, "c 310 16", "310=16", {Speed});
        row("P6.02 with keypad source, set E", E, "c 602 1", "602=1", {Restart});
        row("P6.02 with terminal source", E, "c 300 1; c 602 1", "602=1");
        row("P6.02 not in set C", C, "c 602 1", "602=1");
        row("P7.00 with P4.00 = 2", C, "c 400 2; c 700 1", "700=1", {Pid});
        row("P7.00 with P4.00 = 1", D, "c 400 1; c 700 1", "700=1");
        // P4.00 and P4.13 (defaults 0 and 1) in set E: the clash stays.
        row("P4.00 equal to P4.13, set D", D, "c 400 1", "400=1");
        row("P4.00 equal to P4.13, set E", E, "c 400 1", "400=1; focus=L400",
            {invalid("Value of P4.00 must be different than value of P4.13. Please make another selection.")});
        row("P4.13 equal to P4.00, set E", E, "c 400 2; c 413 2", "413=2; focus=L413",
            {invalid("Value of P4.13 must be different than value of P4.00. Please make another selection.")});
        // Frequency limits (P6.15 60, P6.16 0).
        row("P6.15 below P6.16", E, "t 616 10; t 615 9.9", "615=60",
            {invalid("Value must be greater than or equal to P6.16.")});
        row("P6.16 above P6.15", B, "t 616 60.1", "616=0", {invalid("Value must be less than or equal to P6.15.")});
        // P7.01 walks P7.10 to P7.17; they are bounded by it.
        row("P7.01 below the last set-point", C, "t 717 50; t 701 20", "701=100; focus=T701",
            {invalid("Value must be greater than P7.17.")});
        row("P7.01 restored value also low", C, "t 712 90; t 715 80; s 701 70; t 701 20", "701=70",
            {invalid("Value must be greater than P7.12."), invalid("Value must be greater than P7.15.")});
        row("P7.01 equal to a set-point", C, "t 712 50; t 701 50", "701=50");
        row("set-point above P7.01", B, "t 701 50; t 710 60", "710=0; max710=50", {rangeMessage("P7.10", "high")});
        row("rule decisions traced", A, "t 1 0.8; c 200 3; t 204 70",
            "trace Dependent: upper bound of P3.17 set to 0.8; trace Dependent: P3.17 set to 0.8; "
            "trace Dependent: P2.04 refused 70, back to 3",
            {P204});
        // Revisions without rules.
        row("no rules 01/104", "01/01/104", "t 616 70; t 1 1; t 3 2000; c 200 3; c 400 1",
            "616=70; 317=1.6; 4=1800; 204:off");
    }

    void rule() { Test::runEditScriptRow(); }
};

class TestLabelColours : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void forText_data()
    {
        QTest::addColumn<QVariant>("defaultValue");
        QTest::addColumn<QString>("text");
        QTest::addColumn<int>("colour"); // -1: no default, the label stays
        QTest::newRow("equal in single precision") << QVariant(2.7) << "2.7" << int(Colour::Black);
        QTest::newRow("spelt otherwise") << QVariant(10) << "10.00" << int(Colour::Black);
        QTest::newRow("differs") << QVariant(10) << "10.1" << int(Colour::Red);
        QTest::newRow("text equal to a text default") << QVariant(" ") << " " << int(Colour::Black);
        QTest::newRow("text against a number") << QVariant(10) << "ten" << int(Colour::Red);
        QTest::newRow("no default") << QVariant() << "1" << -1;
    }
    void forText()
    {
        QFETCH(QVariant, defaultValue);
        QFETCH(QString, text);
        QFETCH(int, colour);
        const std::optional<quint32> got = LabelColours::forText(defaultValue, text);
        QCOMPARE(got ? int(*got) : -1, colour);
    }
};

TARVEL_TEST_GUILESS_MAIN(TestResolution, TestLabelColours, TestEntryChecks, TestDependencyRules)
#include "tst_rules.moc"
