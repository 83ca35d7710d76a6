// The change-rating dialog's decisions: which drives it offers, the
// warning against an older revision, OK running the change, and the main
// window's command in front of it.
#include "TestSupport.h"
#include "files/FileTestSupport.h"

#include "app/ChangeRatingModel.h"
#include "app/ShellHooks.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QStringList QX1 {"01", "01", "104"};
const QStringList QX2 {"02", "05", "120"};
const QStringList QX3 {"03", "06", "104"};

struct BusyHooks : ShellHooks
{
    QList<bool> busy;
    void setBusyPointer(bool on) override { busy << on; }
};

int lineOf(const ChangeRatingModel &m, const QString &text)
{
    return int(m.lines().indexOf(text));
}

} // namespace

class TestChangeRatingModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void candidates_data();
    void candidates();
    void noModels_data();
    void noModels();
    void demotion_data();
    void demotion();
    void okRunsUpdate();
    void cancelOnlyCloses();
    void mainCommand_data();
    void mainCommand();
};

void TestChangeRatingModel::candidates_data()
{
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    QTest::addColumn<QString>("last");
    // Every revision of every model from the configuration's series on.
    QTest::newRow("QX1 offers all") << QX1 << 109 << "QX-1-0P2S @ rev. 104"
                                    << "QX-3-045H @ rev. 104";
    QTest::newRow("QX2 offers QX2 and QX3") << QX2 << 81 << "QX-2-0P7T @ rev. 103"
                                            << "QX-3-045H @ rev. 104";
    QTest::newRow("QX3 offers QX3 only") << QX3 << 15 << "QX-3-011H @ rev. 100"
                                         << "QX-3-045H @ rev. 104";
}

void TestChangeRatingModel::candidates()
{
    QFETCH(QStringList, drive);
    QFETCH(int, count);
    QFETCH(QString, first);
    QFETCH(QString, last);
    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, drive));
    ChangeRatingModel m(ctx);
    m.load();

    QCOMPARE(m.lines().size(), count);
    QCOMPARE(m.candidates().size(), count);
    QCOMPARE(m.lines().first(), first);
    QCOMPARE(m.lines().last(), last);
    QCOMPARE(m.currentIndex(), 0);
    QCOMPARE(m.currentText(), first);
    QVERIFY(m.okEnabled());
    // Catalogue order: series, then model code.
    QString previous;
    for (const ChangeRatingModel::Candidate &c : m.candidates()) {
        QVERIFY2(c.seriesCode >= drive[0], qPrintable(c.text));
        const QString key = c.seriesCode + c.modelCode;
        QVERIFY2(key >= previous, qPrintable(c.text));
        QVERIFY(c.text.endsWith(" @ rev. " + c.rev));
        previous = key;
    }
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestChangeRatingModel::noModels_data()
{
    QTest::addColumn<QString>("series"); // the text of P9.41
    QTest::addColumn<int>("count");
    QTest::newRow("after every series") << "04" << 0;
    // Compared as text: "1" follows "03" although 1 is below 3.
    QTest::newRow("one digit sorts after") << "1" << 0;
    QTest::newRow("no configuration") << "" << 109;
    QTest::newRow("leading zero") << "03" << 15;
}

void TestChangeRatingModel::noModels()
{
    QFETCH(QString, series);
    QFETCH(int, count);
    TempProgram program;
    AppContext &ctx = program.ctx();
    ctx.editor.txtP(941).setText(series);
    ChangeRatingModel m(ctx);
    m.load();

    if (count > 0) {
        QCOMPARE(m.lines().size(), count);
        QVERIFY(m.okEnabled());
        return;
    }
    QCOMPARE(m.lines(), QStringList {"No models available to update to."});
    QVERIFY(m.candidates().isEmpty());
    QCOMPARE(m.currentText(), QStringLiteral("No models available to update to."));
    QVERIFY(!m.okEnabled());
    // OK is off: nothing is started.
    QVERIFY(!m.accept());
    QVERIFY(ctx.statusList.lines().isEmpty());
    QVERIFY(program.prompter().messages().isEmpty());
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestChangeRatingModel::demotion_data()
{
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("warned");
    QTest::newRow("same model, older rev") << QX2 << "QX-2-0P7H @ rev. 103" << true;
    QTest::newRow("other model, older rev") << QX2 << "QX-2-3P7T @ rev. 108" << true;
    QTest::newRow("same rev") << QX2 << "QX-2-0P7H @ rev. 120" << false;
    QTest::newRow("later series, lower rev code") << QX2 << "QX-3-011H @ rev. 100" << false;
    QTest::newRow("QX3 older rev") << QX3 << "QX-3-011H @ rev. 102" << true;
    QTest::newRow("QX3 same rev") << QX3 << "QX-3-011H @ rev. 104" << false;
}

void TestChangeRatingModel::demotion()
{
    QFETCH(QStringList, drive);
    QFETCH(QString, choice);
    QFETCH(bool, warned);
    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, drive));
    ChangeRatingModel m(ctx);
    m.load();
    const int index = lineOf(m, choice);
    QVERIFY(index >= 0);

    m.choose(index);

    // The warning does not undo the choice.
    QCOMPARE(m.currentIndex(), index);
    QCOMPARE(m.currentText(), choice);
    const QList<ScriptedPrompter::Message> &messages = program.prompter().messages();
    QCOMPARE(messages.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(messages.first().text, QStringLiteral("Please select a later series/rev drive model."));
        QCOMPARE(messages.first().title, QStringLiteral("Cannot demote drive."));
        QCOMPARE(messages.first().style, int(Msg::Exclamation));
    }
    QVERIFY(m.okEnabled());
}

void TestChangeRatingModel::okRunsUpdate()
{
    TempProgram program;
    AppContext &ctx = program.ctx();
    BusyHooks hooks;
    ctx.setHooks(&hooks);
    QVERIFY(loadDrive(ctx, QX2));
    ctx.editor.txtP(103).setText("12");
    ChangeRatingModel m(ctx);
    int closed = 0;
    m.setCloseDialog([&] { ++closed; });
    m.load();
    m.choose(lineOf(m, "QX-3-045H @ rev. 104"));

    QVERIFY(m.accept());

    QCOMPARE(closed, 1);
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX3);
    QCOMPARE(ctx.editor.txtP(941).text(), QStringLiteral("03"));
    QCOMPARE(ctx.editor.txtP(103).text(), QStringLiteral("12"));
    QCOMPARE(program.prompter().titles(), QStringList {"Update Complete"});
    // Busy while it runs, normal at its end.
    QVERIFY(hooks.busy.size() >= 2);
    QCOMPARE(hooks.busy.first(), true);
    QCOMPARE(hooks.busy.last(), false);
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestChangeRatingModel::cancelOnlyCloses()
{
    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, QX2));
    ChangeRatingModel m(ctx);
    int closed = 0;
    m.setCloseDialog([&] { ++closed; });
    m.load();
    m.choose(lineOf(m, "QX-3-045H @ rev. 104"));
    m.cancel();
    m.queryUnload();

    QCOMPARE(closed, 1);
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX2);
    QCOMPARE(ctx.editor.txtP(941).text(), QStringLiteral("02"));
    QVERIFY(ctx.statusList.lines().isEmpty());
    QVERIFY(program.prompter().messages().isEmpty());
}

void TestChangeRatingModel::mainCommand_data()
{
    QTest::addColumn<QString>("configPath");
    QTest::addColumn<bool>("dialogShown");
    QTest::newRow("no file") << " " << false;
    QTest::newRow("file open") << "Configs/Pump.qxc" << true;
}

void TestChangeRatingModel::mainCommand()
{
    QFETCH(QString, configPath);
    QFETCH(bool, dialogShown);
    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, QX2));
    ctx.state.strConfigPath = configPath;
    int shown = 0;

    ChangeRatingModel::changeDriveRating(ctx, [&] { ++shown; });

    QCOMPARE(shown, dialogShown ? 1 : 0);
    const QList<ScriptedPrompter::Message> &messages = program.prompter().messages();
    QCOMPARE(messages.size(), dialogShown ? 0 : 1);
    if (!dialogShown) {
        QCOMPARE(messages.first().title, QStringLiteral("No Configuration Loaded"));
        QCOMPARE(messages.first().text, QStringLiteral("Please load a configuration to update."));
        QCOMPARE(messages.first().style, int(Msg::Exclamation));
    }
    // Only the command: the configuration stays as it is.
    QCOMPARE(ctx.state.strSeries, QStringLiteral("02"));
    QVERIFY(ctx.statusList.lines().isEmpty());
}

QTEST_GUILESS_MAIN(TestChangeRatingModel)
#include "tst_changeratingmodel.moc"
