// Change of drive rating: which values are carried to the new drive, what
// the status list and the closing message show, and that an unknown entry
// leaves the configuration alone.
#include "FileTestSupport.h"

#include "ports/ShellHooks.h"
#include "base/TextFile.h"
#include "catalogue/ParamLoader.h"
#include "files/RatingUpdate.h"

#include <QDateTime>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QStringList QX2 {"02", "05", "120"};
const QStringList QX3 {"03", "06", "104"};
const QString ToQX3 = QStringLiteral("QX-3-045H @ rev. 104");
const QString ToQX2 = QStringLiteral("QX-2-0P7H @ rev. 120");
const QString ToQX2Rev103 = QStringLiteral("QX-2-0P7H @ rev. 103");

// "index=text" entries typed into the old configuration.
void applyEdits(AppContext &ctx, const QStringList &edits)
{
    for (const QString &edit : edits) {
        const qsizetype eq = edit.indexOf(u'=');
        ctx.editor.txtP(edit.left(eq).toInt()).setText(edit.mid(eq + 1));
    }
}

struct BusyHooks : ShellHooks
{
    QList<bool> busy;
    void setBusyPointer(bool on) override { busy << on; }
};

// The date in a start or end line, checked to be a time of the update.
bool stampedWithin(const QString &line, const QString &words, const QDateTime &from, const QDateTime &to)
{
    if (!line.startsWith(words) || !line.endsWith(u'.'))
        return false;
    const QString stamp = line.mid(words.size(), line.size() - words.size() - 1);
    for (QDateTime t = from.addSecs(-1); t <= to.addSecs(1); t = t.addSecs(1))
        if (stamp == TextFile::generalDate(t))
            return true;
    return false;
}

} // namespace

class TestRatingUpdate : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void carriesValues_data();
    void carriesValues();
    void reportsAndEnds();
    void unknownEntryChangesNothing_data();
    void unknownEntryChangesNothing();
};

void TestRatingUpdate::carriesValues_data()
{
    QTest::addColumn<QStringList>("from");
    QTest::addColumn<QStringList>("edits");
    QTest::addColumn<QList<int>>("unlocked"); // boxes the editor had freed
    QTest::addColumn<QString>("entry");
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("text");
    QTest::addColumn<quint32>("colour");
    QTest::addColumn<int>("listIndex"); // -2: no list to check
    QTest::addColumn<QString>("listText"); // empty: not checked

    const QList<int> none;
    const quint32 red = Colour::Red, black = Colour::Black, grey = Colour::GrayText;
    QTest::newRow("kept, differs from new default")
        << QX2 << QStringList {"103=10"} << none << ToQX3 << 103 << "10" << red << -2 << QString();
    QTest::newRow("kept, equals new default")
        << QX2 << QStringList {"103=30"} << none << ToQX3 << 103 << "30" << black << -2 << QString();
    QTest::newRow("spelling kept as typed")
        << QX2 << QStringList {"103=10.50"} << none << ToQX3 << 103 << "10.50" << red << -2 << QString();
    QTest::newRow("above new maximum: new default")
        << QX2 << QStringList {"203=12"} << none << ToQX3 << 203 << "4" << black << -2 << QString();
    QTest::newRow("read-only not carried")
        << QX2 << QStringList {"934=5"} << none << ToQX3 << 934 << "91" << black << -2 << QString();
    QTest::newRow("locked curve point not carried")
        << QX2 << QStringList {"205=100"} << none << ToQX3 << 205 << "24" << black << -2 << QString();
    QTest::newRow("freed curve point carried")
        << QX2 << QStringList {"200=03", "205=100"} << QList<int> {204, 205, 206, 207} << ToQX3 << 205 << "100" << red
        << -2 << QString();
    QTest::newRow("list by position") << QX2 << QStringList {"302=20"} << none << ToQX3 << 302 << "20" << red << 20
                                      << QString();
    QTest::newRow("list at new default") << QX2 << QStringList {"302=14"} << none << ToQX3 << 302 << "14" << black << 14
                                         << QString();
    QTest::newRow("list code written short")
        << QX2 << QStringList {"5=1"} << none << ToQX3 << 5 << "01" << red << 1 << QString();
    QTest::newRow("P0.00 list shows the number")
        << QX2 << QStringList {"0=400"} << none << ToQX3 << 0 << "400" << red << -2 << "400";
    QTest::newRow("list beyond new maximum: default entry")
        << QX3 << QStringList {"302=23"} << none << ToQX2 << 302 << "14" << black << 14 << QString();
    QTest::newRow("not a number: new default")
        << QX2 << QStringList {"103=abc"} << none << ToQX3 << 103 << "30" << black << -2 << QString();
    QTest::newRow("series follows the new drive")
        << QX2 << QStringList() << none << ToQX3 << 941 << "03" << black << 3 << QString();
    QTest::newRow("new drive lacks the parameter")
        << QX2 << QStringList {"328=5"} << none << ToQX2Rev103 << 328 << "" << grey << -2 << QString();
    QTest::newRow("new drive lacks the list")
        << QX2 << QStringList {"418=01"} << none << ToQX2Rev103 << 418 << "" << grey << -2 << QString();
}

void TestRatingUpdate::carriesValues()
{
    QFETCH(QStringList, from);
    QFETCH(QStringList, edits);
    QFETCH(QList<int>, unlocked);
    QFETCH(QString, entry);
    QFETCH(int, index);
    QFETCH(QString, text);
    QFETCH(quint32, colour);
    QFETCH(int, listIndex);
    QFETCH(QString, listText);

    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, from));
    for (int i : unlocked)
        ctx.editor.txtP(i).setEnabled(true);
    applyEdits(ctx, edits);
    ctx.statusList.clear();

    QVERIFY(RatingUpdate(ctx).update(entry));

    const EditorForm &form = ctx.editor;
    QCOMPARE(form.txtP(index).text(), text);
    QCOMPARE(form.lblP(index).foreColor(), colour);
    if (colour == Colour::GrayText) {
        QCOMPARE(form.lblP(index).caption(), ParamLoader::notUsedCaption(index));
        QVERIFY(!form.txtP(index).visible());
    } else {
        // A later refused entry falls back to what is shown now.
        QCOMPARE(ctx.params.varLastChance[index].toString(), text);
    }
    if (listIndex != -2)
        QCOMPARE(form.cmbP(index).listIndex(), listIndex);
    if (!listText.isEmpty())
        QCOMPARE(form.cmbP(index).text(), listText);
    // The custom-curve points follow the P2.00 carried over.
    const bool custom = form.txtP(200).text() == QStringLiteral("03");
    for (int i = 204; i <= 207; ++i)
        QCOMPARE(form.txtP(i).enabled(), custom);
    // Replaced values are not reported: the list holds the start and end.
    QCOMPARE(ctx.statusList.lines().size(), 2);
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestRatingUpdate::reportsAndEnds()
{
    TempProgram program;
    AppContext &ctx = program.ctx();
    BusyHooks hooks;
    ctx.setHooks(&hooks);
    QVERIFY(loadDrive(ctx, QX2));
    ctx.state.blnConfigChanged = false;
    ctx.statusList.clear();

    QStringList captions, statuses;
    QMap<QString, QList<int>> positions; // by caption
    connect(&ctx.statusList, &StatusList::captionChanged, this, [&](const QString &c) { captions << c; });
    connect(&ctx.statusList, &StatusList::statusChanged, this, [&](const QString &s) { statuses << s; });
    connect(
        &ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions[ctx.statusList.caption()] << p; });
    int closed = 0;
    QString seriesAtClose;
    RatingUpdate update(ctx);
    update.setCloseDialog([&] {
        ++closed;
        // The dialog closes once the drive is known, before the load.
        seriesAtClose = ctx.state.strSeries + ctx.editor.txtP(941).text();
    });

    const QDateTime before = QDateTime::currentDateTime();
    QVERIFY(update.update(ToQX3));
    const QDateTime after = QDateTime::currentDateTime();

    const QStringList &lines = ctx.statusList.lines();
    QCOMPARE(lines.size(), 2);
    QVERIFY2(stampedWithin(lines.first(), "Configuration update started ", before, after), qPrintable(lines.first()));
    QVERIFY2(stampedWithin(lines.last(), "Configuration update complete ", before, after), qPrintable(lines.last()));
    const QString head = QStringLiteral("  Status List - ");
    QCOMPARE(captions,
        (QStringList {head + "Updating Configuration", head + "Storing Existing Data", head + "Loading New Data",
            head + "Verifying Configuration Data", StatusList::DefaultCaption}));
    QCOMPARE(statuses,
        (QStringList {"Updating Configuration", "Storing Existing Data", "Loading New Data",
            "Verifying Configuration Data", " "}));
    QList<int> everyPosition;
    for (int i = 0; i <= StatusList::MaxPosition; ++i)
        everyPosition << i;
    // The bar stood at the end of the loader before the second pass.
    QCOMPARE(positions.value(head + "Storing Existing Data").mid(1), everyPosition.mid(1));
    QCOMPARE(positions.value(head + "Verifying Configuration Data").first(), 0);
    QCOMPARE(positions.value(head + "Verifying Configuration Data").last(), StatusList::MaxPosition);
    QVERIFY(!ctx.statusList.barVisible());

    QCOMPARE(program.prompter().messages().size(), 1);
    const ScriptedPrompter::Message &m = program.prompter().messages().first();
    QCOMPARE(m.title, QStringLiteral("Update Complete"));
    QCOMPARE(m.style, int(Msg::Information));
    QCOMPARE(m.text,
        QStringLiteral("Your current configuration has been updated.\rRemember to save your new configuration to "
                       "ensure the changes are not lost."));

    QCOMPARE(closed, 1);
    QCOMPARE(seriesAtClose, QStringLiteral("0302"));
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX3);
    // The configuration no longer matches its file.
    QVERIFY(ctx.state.blnConfigChanged);
    QCOMPARE(hooks.busy, QList<bool> {false});
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestRatingUpdate::unknownEntryChangesNothing_data()
{
    QTest::addColumn<QString>("entry");
    QTest::addColumn<QString>("error");
    QTest::newRow("model not in catalogue") << "QX-9-999H @ rev. 104"
                                            << "3021";
    QTest::newRow("revision not of this model") << "QX-3-045H @ rev. 100"
                                                << "3021";
    QTest::newRow("no revision part") << "QX-3-045H"
                                      << "9";
    QTest::newRow("no models line") << "No models available to update to."
                                    << "9";
}

void TestRatingUpdate::unknownEntryChangesNothing()
{
    QFETCH(QString, entry);
    QFETCH(QString, error);
    TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(loadDrive(ctx, QX2));
    applyEdits(ctx, {"103=12", "302=20"});
    ctx.editor.lblP(103).setForeColor(Colour::Red);
    ctx.state.blnConfigChanged = false;
    const auto snapshot = [&ctx] {
        QStringList texts;
        for (int i : EditorForm::fieldIndices())
            texts << ctx.editor.txtP(i).text() + u'|' + ctx.editor.lblP(i).caption();
        return texts;
    };
    const QStringList before = snapshot();
    bool closed = false;
    RatingUpdate update(ctx);
    update.setCloseDialog([&] { closed = true; });

    QVERIFY(!update.update(entry));

    QCOMPARE(snapshot(), before);
    QCOMPARE(ctx.editor.lblP(103).foreColor(), Colour::Red);
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX2);
    QVERIFY(!ctx.state.blnConfigChanged);
    QVERIFY(!closed);
    QVERIFY(program.prompter().messages().isEmpty());
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 1);
    QVERIFY2(log.first().contains(" - basFunctions, Update(), Program, " + error + ", "), qPrintable(log.first()));
    // The list no longer claims to be at work.
    QCOMPARE(ctx.statusList.caption(), StatusList::DefaultCaption);
    QVERIFY(!ctx.statusList.barVisible());
    QCOMPARE(ctx.statusList.lines().size(), 1);
}

QTEST_GUILESS_MAIN(TestRatingUpdate)
#include "tst_ratingupdate.moc"
