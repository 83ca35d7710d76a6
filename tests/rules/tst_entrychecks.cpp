// The checks a typed or chosen value passes on leaving its field.
#include "RulesTestSupport.h"

#include "rules/EntryChecks.h"

#include <QtTest>

using namespace Tarvel;

namespace {

const QString TooHigh = "The value entered for P1.01 is too high!\rThe parameter will be set to the previous value.";
const QString TooLow = "The value entered for P1.01 is too low!\rThe parameter will be set to the previous value.";
const QString NotNumeric = "Your entry needs to be numeric.\rThe value has been reset to the Parameter's Default."
                           " Any dependent parameter will also be changed if necessary";

QString roundedTo(int decimals)
{
    return "The value you entered contains too many decimals.\rThe value will be rounded to "
        + QString::number(decimals) + " decimal place(s).";
}

} // namespace

class TestEntryChecks : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init();
    void cleanup();
    void typedValue_data();
    void typedValue();
    void chosenEntry_data();
    void chosenEntry();
    void parameterLockLabelNeverTurnsRed();
    void validateTracesTheAcceptedText();
    void onlyDependentParametersReachTheRules_data();
    void onlyDependentParametersReachTheRules();
    void fieldsTheUserCannotEditStayUnchanged();
    void faultsGoToTheTrapWithTheirLocation();

private:
    std::unique_ptr<Test::TempProgram> m_program;
    std::unique_ptr<EntryChecks> m_checks;
    AppContext &ctx() { return m_program->ctx(); }
};

void TestEntryChecks::init()
{
    m_program = std::make_unique<Test::TempProgram>();
    // A drive without dependency rules, so only the entry checks act.
    QVERIFY(Test::loadDrive(ctx(), "02", "05", "120"));
    m_checks = std::make_unique<EntryChecks>(ctx());
}

void TestEntryChecks::cleanup()
{
    m_checks.reset();
    m_program.reset();
}

void TestEntryChecks::typedValue_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<float>("resolution"); // 0: the catalogue's
    QTest::addColumn<QString>("before"); // accepted first; empty: none
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QString>("message"); // the one message, empty: none
    QTest::addColumn<int>("icon");
    QTest::addColumn<QString>("lastChance");
    QTest::addColumn<quint32>("colour");

    // P1.01: resolution 0.1, 0.1 to 600, default 10.
    QTest::newRow("kept") << 101 << 0.f << ""
                          << "12.3"
                          << "12.3"
                          << "" << 0 << "12.3" << Colour::Red;
    QTest::newRow("too many decimals") << 101 << 0.f << ""
                                       << "12.345"
                                       << "12.3" << roundedTo(1) << int(Msg::Critical) << "12.3" << Colour::Red;
    QTest::newRow("tie to even") << 101 << 0.f << ""
                                 << "0.25"
                                 << "0.2" << roundedTo(1) << int(Msg::Critical) << "0.2" << Colour::Red;
    QTest::newRow("equal to default") << 101 << 0.f << "20"
                                      << "10.0"
                                      << "10"
                                      << "" << 0 << "10" << Colour::Black;
    QTest::newRow("equal to max") << 101 << 0.f << ""
                                  << "600"
                                  << "600"
                                  << "" << 0 << "600" << Colour::Red;
    QTest::newRow("equal to min") << 101 << 0.f << ""
                                  << "0.1"
                                  << "0.1"
                                  << "" << 0 << "0.1" << Colour::Red;
    QTest::newRow("above max") << 101 << 0.f << "20"
                               << "600.1"
                               << "20" << TooHigh << int(Msg::Critical) << "20" << Colour::Red;
    QTest::newRow("below min") << 101 << 0.f << "20"
                               << "0"
                               << "20" << TooLow << int(Msg::Critical) << "20" << Colour::Red;
    QTest::newRow("above max, label from the refused value")
        << 101 << 0.f << ""
        << "1000"
        << "10" << TooHigh << int(Msg::Critical) << "10" << Colour::Red;
    QTest::newRow("not numeric: default, last accepted kept")
        << 101 << 0.f << "20"
        << "12a"
        << "10" << NotNumeric << int(Msg::Exclamation) << "20" << Colour::Black;
    // P0.01 of this drive: 0.5 to 2.7 A, a bound no single value equals.
    QTest::newRow("single value equal to a double bound") << 1 << 0.f << "1"
                                                          << "2.7"
                                                          << "2.7"
                                                          << "" << 0 << "2.7" << Colour::Black;
    // P3.18: resolution 1 allows three decimals.
    QTest::newRow("resolution 1, three decimals") << 318 << 0.f << ""
                                                  << "5.123"
                                                  << "5.123"
                                                  << "" << 0 << "5.123" << Colour::Red;
    QTest::newRow("resolution 1, four decimals")
        << 318 << 0.f << ""
        << "5.1235"
        << "5.124" << roundedTo(3) << int(Msg::Critical) << "5.124" << Colour::Red;
    QTest::newRow("exponent decimals counted as typed")
        << 318 << 0.f << ""
        << "1.5E+2"
        << "150" << roundedTo(3) << int(Msg::Critical) << "150" << Colour::Red;
    // P4.08: resolution 0.01, default 0.1.
    QTest::newRow("resolution 0.01") << 408 << 0.f << ""
                                     << "0.125"
                                     << "0.12" << roundedTo(2) << int(Msg::Critical) << "0.12" << Colour::Red;
    QTest::newRow("resolution 0.001, eight decimals pass") << 318 << 0.001f << ""
                                                           << "5.12345678"
                                                           << "5.12345678"
                                                           << "" << 0 << "5.12345678" << Colour::Red;
    QTest::newRow("resolution 0.001, nine decimals")
        << 318 << 0.001f << ""
        << "1.123456785"
        << "1.12345678" << roundedTo(8) << int(Msg::Critical) << "1.12345678" << Colour::Red;
}

void TestEntryChecks::typedValue()
{
    QFETCH(int, index);
    QFETCH(float, resolution);
    QFETCH(QString, before);
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    QFETCH(QString, message);
    QFETCH(int, icon);
    QFETCH(QString, lastChance);
    QFETCH(quint32, colour);
    if (resolution > 0)
        ctx().params.sngResolution[index] = resolution;
    if (!before.isEmpty()) {
        m_checks->typeValue(index, before);
        QCOMPARE(ctx().editor.txtP(index).text(), before);
    }
    ScriptedPrompter &prompter = m_program->prompter();
    prompter.clear();
    ctx().state.blnConfigChanged = false;
    ctx().editor.setFocus(FieldKind::List, 0);

    m_checks->typeValue(index, typed);

    QCOMPARE(ctx().editor.txtP(index).text(), shown);
    QCOMPARE(prompter.messages().size(), message.isEmpty() ? 0 : 1);
    if (!message.isEmpty()) {
        QCOMPARE(prompter.messages().first().text, message);
        QCOMPARE(Msg::icon(prompter.messages().first().style), icon);
        // A refused entry hands the focus back to its box.
        const bool refused = icon == Msg::Exclamation || message.startsWith("The value entered");
        QCOMPARE(ctx().editor.focusIndex() == index && ctx().editor.focusKind() == FieldKind::Text, refused);
    }
    QCOMPARE(ctx().params.varLastChance[index].toString(), lastChance);
    QCOMPARE(ctx().editor.lblP(index).foreColor(), colour);
    QVERIFY(ctx().state.blnConfigChanged); // typing marks the configuration, kept or not
}

void TestEntryChecks::chosenEntry_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<int>("position");
    QTest::addColumn<QString>("value");
    QTest::addColumn<quint32>("colour");
    QTest::newRow("position as value") << 401 << 2 << "2" << Colour::Red;
    QTest::newRow("position equal to default") << 401 << 0 << "0" << Colour::Black;
    QTest::newRow("P0.02 entry text is the value") << 2 << 0 << "50" << Colour::Red;
    QTest::newRow("P0.02 default entry") << 2 << 1 << "60" << Colour::Black;
    QTest::newRow("P0.00 of a 460 V drive") << 0 << 4 << "460" << Colour::Black;
    QTest::newRow("P0.00 other voltage") << 0 << 0 << "380" << Colour::Red;
    QTest::newRow("P9.39 turns red from its list") << 939 << 1 << "1" << Colour::Red;
}

void TestEntryChecks::chosenEntry()
{
    QFETCH(int, index);
    QFETCH(int, position);
    QFETCH(QString, value);
    QFETCH(quint32, colour);
    ctx().editor.lblP(index).setForeColor(colour == Colour::Red ? Colour::Black : Colour::Red);
    m_checks->chooseEntry(index, position);
    QCOMPARE(ctx().editor.txtP(index).text(), value);
    QCOMPARE(ctx().editor.lblP(index).foreColor(), colour);
    QVERIFY(m_program->prompter().messages().isEmpty());
}

void TestEntryChecks::parameterLockLabelNeverTurnsRed()
{
    LabelField &label = ctx().editor.lblP(939);
    m_checks->validate(2.0f, 939);
    QCOMPARE(label.foreColor(), Colour::Black);
    label.setForeColor(Colour::Red);
    m_checks->validate(0.0f, 939);
    QCOMPARE(label.foreColor(), Colour::Black);
    // Any other parameter does turn red.
    m_checks->validate(2.0f, 938);
    QCOMPARE(ctx().editor.lblP(938).foreColor(), Colour::Red);
}

void TestEntryChecks::validateTracesTheAcceptedText()
{
    const QString line = " - Changed value for varLastChance to 12.3 for param 101";
    const auto traced = [&] {
        return std::any_of(ctx().trace.lines().cbegin(), ctx().trace.lines().cend(),
            [&](const QString &l) { return l.endsWith(line); });
    };
    m_checks->typeValue(101, "12.3");
    QVERIFY(!traced()); // tracing is off
    ctx().state.blnDiagsTrace = true;
    m_checks->typeValue(101, "600.5"); // refused: the restored text is recorded
    QVERIFY(traced());
}

void TestEntryChecks::onlyDependentParametersReachTheRules_data()
{
    QTest::addColumn<bool>("dependent");
    QTest::addColumn<QString>("shown");
    QTest::addColumn<QStringList>("titles");
    QTest::newRow("flagged: refused by P6.15") << true << "0" << QStringList {"Invalid Value"};
    QTest::newRow("not flagged: kept") << false << "70" << QStringList();
}

void TestEntryChecks::onlyDependentParametersReachTheRules()
{
    QFETCH(bool, dependent);
    QFETCH(QString, shown);
    QFETCH(QStringList, titles);
    QVERIFY(Test::loadDrive(ctx(), "03", "06", "104"));
    ctx().params.blnDependent[616] = dependent;
    m_checks->typeValue(616, "70"); // lower limit above the upper one (60)
    QCOMPARE(ctx().editor.txtP(616).text(), shown);
    QCOMPARE(m_program->prompter().titles(), titles);
}

void TestEntryChecks::fieldsTheUserCannotEditStayUnchanged()
{
    const QString firmware = ctx().editor.txtP(935).text(); // read-only
    m_checks->typeValue(935, "9");
    QCOMPARE(ctx().editor.txtP(935).text(), firmware);
    m_checks->typeValue(401, "1"); // shown as a list
    QCOMPARE(ctx().editor.txtP(401).text(), "00");
    m_checks->chooseEntry(101, 0); // shown as a value box
    QCOMPARE(ctx().editor.txtP(101).text(), "10");
    QVERIFY(!ctx().state.blnConfigChanged);
}

void TestEntryChecks::faultsGoToTheTrapWithTheirLocation()
{
    m_checks->chooseEntry(401, 3); // the list has 0 to 2
    QCOMPARE(ctx().editor.txtP(401).text(), "00");
    m_checks->validate(1.0f, 950); // no field at 950
    m_checks->wrongDataType(951);
    const QStringList log = m_program->errorLogLines();
    QCOMPARE(log.size(), 3);
    QVERIFY(log.at(0).contains("frmTabConfig, cmbP_Click, Program, 380, "));
    QVERIFY(log.at(1).contains("basFunctions, Validate(), Program, 340, "));
    QVERIFY(log.at(2).contains("WrongDataType(), Program, 340, "));
}

QTEST_GUILESS_MAIN(TestEntryChecks)
#include "tst_entrychecks.moc"
