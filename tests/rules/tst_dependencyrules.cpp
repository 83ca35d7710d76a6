// The rules between parameters, run on real catalogue drives of each family.
#include "RulesTestSupport.h"

#include <QtTest>

using namespace Tarvel;
using Tarvel::Test::row;

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
    void ruleSet_data();
    void ruleSet();
    void catalogueMarksRuleParametersDependent_data();
    void catalogueMarksRuleParametersDependent();
    void rule_data();
    void rule();
};

void TestDependencyRules::ruleSet_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("rev");
    QTest::addColumn<QString>("set");
    const QStringList table {"01 104 none", "01 105 A", "01 109 A", "01 110 none", "02 103 B", "02 104 C", "02 107 C",
        "02 108 none", "02 120 none", "03 100 D", "03 102 D", "03 104 E", "03 105 none", "3 104 none"};
    for (const QString &r : table) {
        const QStringList f = r.split(u' ');
        QTest::newRow(qPrintable(r)) << f.at(0) << f.at(1) << f.at(2);
    }
}

void TestDependencyRules::ruleSet()
{
    QFETCH(QString, series);
    QFETCH(QString, rev);
    QFETCH(QString, set);
    QCOMPARE(DependencyRules::name(DependencyRules::ruleSet(series, rev)), set);
}

void TestDependencyRules::catalogueMarksRuleParametersDependent_data()
{
    QTest::addColumn<QString>("drive");
    QTest::addColumn<QList<int>>("indices");
    const QList<int> all {1, 3, 4, 200, 204, 205, 206, 207, 301, 302, 303, 304, 305, 317, 400, 615, 616};
    const QList<int> later {2, 700, 701, 710, 711, 712, 713, 714, 715, 716, 717};
    const QList<int> series3 {210, 306, 307, 308, 309, 310, 602};
    QTest::newRow("A") << A << all;
    QTest::newRow("B") << B << all + later;
    QTest::newRow("C") << C << all + later;
    QTest::newRow("D") << D << all + later + series3;
    QTest::newRow("E") << E << all + later + series3 + QList<int> {413};
}

// The rules reach only parameters the catalogue marks dependent, so every
// parameter a rule set acts on must be present and marked.
void TestDependencyRules::catalogueMarksRuleParametersDependent()
{
    QFETCH(QString, drive);
    QFETCH(QList<int>, indices);
    Test::EditScript script(drive);
    const ParamTables &t = script.ctx().params;
    for (int i : indices)
        QVERIFY2((t.blnTextShown[i] || t.blnListShown[i]) && t.blnDependent[i], qPrintable(QString::number(i)));
}

void TestDependencyRules::rule_data()
{
    Test::editScriptColumns();

    // P0.01 bounds P3.17 (defaults: both the rated current).
    row("P0.01 lowered pulls P3.17 down", A, "t 1 0.8", "317=0.8; max317=0.8; last317=0.8; red317");
    row("P3.17 follows P0.01 as rounded", A, "t 1 0.805", "1=0.8; 317=0.8; max317=0.8",
        {"xInvalid Resolution|The value you entered contains too many decimals.\rThe value will be rounded to 2 "
         "decimal place(s)."});
    row("P0.01 raised lifts only the bound", A, "t 1 0.8; t 1 1.6", "317=0.8; max317=1.6");
    row("P3.17 passes the raised bound", A, "t 1 0.8; t 1 1.6; t 317 1.2", "317=1.2; max317=1.6");
    row("P3.17 held at P0.01", A, "t 1 0.8; t 317 1.2", "317=0.8");
    row("P0.01 set C", C, "t 1 1.5", "317=1.5; max317=1.5");
    row("P3.17 held at P0.01, set E", E, "t 1 50; t 317 70", "317=50; max317=50");
    row("P3.17 passes, set E", E, "t 1 50; t 1 91; t 317 70", "317=70");
    // P0.03 bounds P0.04 from below (1800 by default).
    row("P0.03 lower: P0.04 stays", A, "t 3 1500", "4=1800; min4=1500");
    row("P0.03 above P0.04 raises it", C, "t 3 2000", "4=2000; min4=2000; last4=2000");
    row("P0.04 below P0.03 raised", E, "t 3 2000; t 4 1900", "4=2000");
    row("P0.03 lowered never lowers P0.04", E, "t 3 2000; t 3 1000", "4=2000; min4=1000");
    // P2.00 owns the custom curve points P2.04 to P2.07.
    row("custom curve enables", A, "c 200 3", "204:on; 207:on");
    row("other pattern resets valid points", A, "c 200 3; t 204 5; t 206 2; c 200 2",
        "204=3; 205=12; 206=1.5; 207=6; 204:off; 206:off; black204; black206");
    row("back to custom with the defaults", E, "c 200 3; t 205 30; c 200 1; c 200 3", "205=24; 205:on; 207=12");
    row("P2.04 below P2.06", A, "c 200 3; t 204 1.4", "204=3; focus=T204", {P204});
    row("P2.04 equal to P2.06", A, "c 200 3; t 204 1.5", "204=1.5");
    row("P2.04 equal to P0.02", A, "c 200 3; t 204 60", "204=60");
    row("P2.04 above P0.02", A, "c 200 3; t 204 60.1", "204=3", {P204});
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
    row("P3.04 15, set A", A, "c 304 15", "304=15", {Speed});
    row("P3.04 13, set A", A, "c 304 13", "304=13");
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
    row("P7.01 below one set-point", C, "t 712 50; t 715 30; t 701 20", "701=100; focus=T701",
        {invalid("Value must be greater than P7.12.")});
    row("P7.01 restored value also low", C, "t 712 90; t 715 80; s 701 70; t 701 20", "701=70",
        {invalid("Value must be greater than P7.12."), invalid("Value must be greater than P7.15.")});
    row("P7.01 equal to a set-point", C, "t 712 50; t 701 50", "701=50");
    row("set-point above P7.01", B, "t 701 50; t 710 60", "710=0; max710=50",
        {"xValue Out Of Range|The value entered for P7.10 is too high!\rThe parameter will be set to the previous "
         "value."});
    row("set-point under a raised P7.01", E, "t 701 50; t 701 200; t 710 150", "710=150");
    row("rule decisions traced", A, "t 1 0.8; c 200 3; t 204 70",
        "trace Dependent: upper bound of P3.17 set to 0.8; trace Dependent: P3.17 set to 0.8; "
        "trace Dependent: P2.04 refused 70, back to 3",
        {P204});
    // Revisions without rules.
    const QString free = "t 616 70; t 1 1; t 3 2000; c 200 3; c 400 1";
    row("no rules 01/104", "01/01/104", free, "616=70; 317=1.6; 4=1800; 204:off");
    row("no rules 02/108", "02/05/108", free, "616=70; 317=2.7; 4=1800; 204:off");
}

void TestDependencyRules::rule()
{
    QFETCH(QString, drive);
    QFETCH(QString, steps);
    QFETCH(QString, expect);
    QFETCH(QStringList, messages);
    Test::EditScript script(drive);
    QVERIFY(script.loaded());
    script.run(steps);
    QCOMPARE(script.mismatches(expect).join("; "), QString());
    QCOMPARE(script.messages(), messages);
}

QTEST_GUILESS_MAIN(TestDependencyRules)
#include "tst_dependencyrules.moc"
