// The checks a typed or chosen value passes on leaving its field.
#include "RulesTestSupport.h"

#include <QtTest>

using namespace Tarvel;
using Tarvel::Test::row;

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
    void entry_data();
    void entry();
    void faultsGoToTheTrapWithTheirLocation();
};

void TestEntryChecks::entry_data()
{
    Test::editScriptColumns();
    const QString high = rangeMessage("P1.01", "high");
    const QString low = rangeMessage("P1.01", "low");

    row("kept", Plain, "t 101 12.3", "101=12.3; last101=12.3; red101; changed");
    row("too many decimals", Plain, "t 101 12.345", "101=12.3; last101=12.3", {rounded(1)});
    row("tie to even", Plain, "t 101 0.25", "101=0.2", {rounded(1)});
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
    row("resolution 0.01", Plain, "t 408 0.125", "408=0.12", {rounded(2)});
    row("resolution 0.001, eight decimals", Plain, "r 318 0.001; t 318 5.12345678", "318=5.12345678");
    row("resolution 0.001, nine", Plain, "r 318 0.001; t 318 1.123456785", "318=1.12345678", {rounded(8)});

    row("list position is the value", Plain, "c 401 2", "401=2; red401");
    row("list back to default", Plain, "c 401 2; c 401 0", "401=0; black401");
    row("P0.02 entry text is the value", Plain, "c 2 0", "2=50; red2");
    row("P0.02 default entry", Plain, "c 2 0; c 2 1", "2=60; black2");
    row("P0.00 of a 460 V drive", Plain, "c 0 0; c 0 4", "0=460; black0");
    row("P9.39 turns red from its list", Plain, "c 939 1", "939=1; red939");
    row("P9.39 not red through Validate", Plain, "v 939 2", "black939");
    row("P9.39 black when default", Plain, "c 939 1; v 939 0", "black939");
    row("other labels red through Validate", Plain, "v 938 2", "red938");

    row("read-only box", Plain, "t 935 9", "935=1.2; unchanged");
    row("list parameter not typed", Plain, "t 401 1", "401=00; unchanged");
    row("value box not chosen", Plain, "c 101 0", "101=10; unchanged");
    const QString below = "!Invalid Value|Value must be less than or equal to P6.15.";
    row("dependent reaches the rules", "03/06/104", "t 616 70", "616=0", {below});
    row("not dependent never does", "03/06/104", "d 616 0; t 616 70", "616=70");
}

void TestEntryChecks::entry()
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

void TestEntryChecks::faultsGoToTheTrapWithTheirLocation()
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

QTEST_GUILESS_MAIN(TestEntryChecks)
#include "tst_entrychecks.moc"
