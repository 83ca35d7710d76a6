// tarvel-cli parts: parameter names, message lines and scripted answers.
#include "CliApp.h"
#include "CliCommands.h"
#include "CliPrompter.h"
#include "ParamName.h"

#include <QtTest>

using namespace Tarvel;

class TestCliParts : public QObject
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

    void messageLine()
    {
        QCOMPARE(CliPrompter::line("Error loading file.\rCould not find x.", "File missing"),
            "MSG File missing: Error loading file.\\rCould not find x.");
        QCOMPARE(CliPrompter::line("a\r\rb\nc", "T"), "MSG T: a\\r\\rb\\nc");
    }

    void answers_data()
    {
        QTest::addColumn<int>("style");
        QTest::addColumn<bool>("yes");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("problem");
        QTest::newRow("question, no --yes") << int(Msg::YesNo | Msg::Question) << false << int(Msg::No) << false;
        QTest::newRow("question, --yes") << int(Msg::YesNo | Msg::Question) << true << int(Msg::Yes) << false;
        QTest::newRow("OK/Cancel, no --yes")
            << int(Msg::OKCancel | Msg::Question) << false << int(Msg::Cancel) << false;
        QTest::newRow("OK/Cancel, --yes") << int(Msg::OKCancel | Msg::Question) << true << int(Msg::OK) << false;
        QTest::newRow("critical") << int(Msg::Critical) << false << int(Msg::OK) << true;
        QTest::newRow("exclamation") << int(Msg::Exclamation) << true << int(Msg::OK) << true;
        QTest::newRow("information") << int(Msg::Information) << false << int(Msg::OK) << false;
        QTest::newRow("critical question") << int(Msg::YesNo | Msg::Critical) << false << int(Msg::No) << true;
    }

    void answers()
    {
        QFETCH(int, style);
        QFETCH(bool, yes);
        QFETCH(int, answer);
        QFETCH(bool, problem);
        QString text;
        QTextStream out(&text);
        CliPrompter prompter(out, yes);
        QCOMPARE(prompter.msgBox("a\rb", style, "Title"), answer);
        QCOMPARE(prompter.problemShown(), problem);
        QCOMPARE(text, "MSG Title: a\\rb\n");
    }

    // Every command is in the usage and in the help, and the help tells
    // every exit status.
    void helpNamesEverything()
    {
        const QString usage = CliCommands::usage();
        const QString help = CliApp::helpText();
        for (const CliCommand &command : CliCommands::table()) {
            QVERIFY2(usage.contains("tarvel-cli " + command.synopsis + "\n"), qPrintable(command.name));
            QVERIFY2(help.contains("  " + command.synopsis + "\n"), qPrintable(command.name));
            QCOMPARE(CliCommands::find(command.name), &command);
        }
        QCOMPARE(CliCommands::find("upload"), nullptr);
        for (const char *code : {"  0  ", "  1  ", "  2  "})
            QVERIFY(help.contains(code));
    }
};

QTEST_GUILESS_MAIN(TestCliParts)
#include "tst_cli_parts.moc"
