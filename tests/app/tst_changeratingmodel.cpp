// The change-rating dialog's decisions: which drives it offers, the
// warning against an older revision, and OK running the change.
#include "TestSupport.h"
#include "files/FileTestSupport.h"

#include "app/ChangeRatingModel.h"
#include "ports/ShellHooks.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QStringList QX2 {"02", "05", "120"};
const QStringList QX3 {"03", "06", "104"};

struct BusyHooks : ShellHooks
{
    QList<bool> busy;
    void setBusyPointer(bool on) override { busy << on; }
};

} // namespace

class TestChangeRatingModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void candidates_data();
    void candidates();
    void demotion_data();
    void demotion();
    void okRunsUpdate();
};

void TestChangeRatingModel::candidates_data()
{
    QTest::addColumn<QString>("series"); // the text of P9.41
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    // Every revision of every model from the configuration's series on.
    QTest::newRow("QX1 offers all") << "01" << 109 << "QX-1-0P2S @ rev. 104";
    QTest::newRow("QX2 offers QX2 and QX3") << "02" << 81 << "QX-2-0P7T @ rev. 103";
    QTest::newRow("QX3 offers QX3 only") << "03" << 15 << "QX-3-011H @ rev. 100";
    QTest::newRow("no configuration") << "" << 109 << "QX-1-0P2S @ rev. 104";
    QTest::newRow("after every series") << "04" << 0 << "No models available to update to.";
    // Compared as text: "1" follows "03" although 1 is below 3.
    QTest::newRow("one digit sorts after") << "1" << 0 << "No models available to update to.";
}

void TestChangeRatingModel::candidates()
{
    QFETCH(QString, series);
    QFETCH(int, count);
    QFETCH(QString, first);
    TempProgram program;
    AppContext &ctx = program.ctx();
    ctx.editor.txtP(941).setText(series);
    ChangeRatingModel m(ctx);
    m.load();

    QCOMPARE(m.candidates().size(), count);
    QCOMPARE(m.lines().size(), std::max(count, 1));
    QCOMPARE(m.currentIndex(), 0);
    QCOMPARE(m.currentText(), first);
    QCOMPARE(m.okEnabled(), count > 0);
    // Catalogue order: series, then model code.
    QString previous;
    for (const ChangeRatingModel::Candidate &c : m.candidates()) {
        QVERIFY2(c.seriesCode >= series && c.seriesCode + c.modelCode >= previous, qPrintable(c.text));
        QVERIFY(c.text.endsWith(" @ rev. " + c.rev));
        previous = c.seriesCode + c.modelCode;
    }
    // With OK off nothing can be started.
    if (count == 0) {
        QVERIFY(!m.accept());
        QVERIFY(ctx.statusList.lines().isEmpty());
        QVERIFY(program.prompter().messages().isEmpty());
    }
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
    ctx.editor.txtP(941).setText(drive[0]);
    ctx.state.strRev = drive[2];
    ChangeRatingModel m(ctx);
    m.load();
    const int index = int(m.lines().indexOf(choice));
    QVERIFY(index >= 0);

    m.choose(index);

    // The warning does not undo the choice.
    QCOMPARE(m.currentText(), choice);
    const QList<ScriptedPrompter::Message> &messages = program.prompter().messages();
    QCOMPARE(messages.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(messages.first().text, QStringLiteral("Please select a later series/rev drive model."));
        QCOMPARE(messages.first().title, QStringLiteral("Cannot demote drive."));
        QCOMPARE(messages.first().style, int(Msg::Exclamation));
    }
}

void TestChangeRatingModel::okRunsUpdate()
{
    TempProgram program;
    AppContext &ctx = program.ctx();
    BusyHooks hooks;
    ctx.setHooks(&hooks);
    QVERIFY(loadDrive(ctx, QX2));
    ChangeRatingModel m(ctx);
    int closed = 0;
    m.setCloseDialog([&] { ++closed; });
    m.load();
    m.choose(int(m.lines().indexOf("QX-3-045H @ rev. 104")));

    QVERIFY(m.accept());

    QCOMPARE(closed, 1);
    // What the update carries over and reports is RatingUpdate's own test.
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX3);
    // Busy while it runs, normal at its end.
    QCOMPARE(hooks.busy.first(), true);
    QCOMPARE(hooks.busy.last(), false);
    QVERIFY(program.errorLogLines().isEmpty());
}

QTEST_GUILESS_MAIN(TestChangeRatingModel)
#include "tst_changeratingmodel.moc"
