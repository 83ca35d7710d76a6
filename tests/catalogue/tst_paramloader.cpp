// Loading a drive's parameter set into the records and the editor fields.
#include "TestSupport.h"

#include "catalogue/Catalogue.h"
#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"

#include <QFile>
#include <QtTest>

using namespace Tarvel;

namespace {

struct Drive
{
    QString series, model, rev;
};

// Catalogue rows of one drive, by index: (default text, description, extra).
QHash<int, QSqlRecord> catalogueRows(const Drive &d)
{
    Catalogue cat(Test::builtCatalogue());
    cat.connect();
    RecordSet rs = cat.query("Select * From qryTabParams WHERE Series = '" + d.series + "' AND Model = '" + d.model
        + "' AND REV = '" + d.rev + "'");
    QHash<int, QSqlRecord> rows;
    for (; !rs.eof(); rs.moveNext())
        rows.insert(rs.field("Parameter").toInt(), rs.current());
    return rows;
}

bool load(AppContext &ctx, const Drive &d)
{
    return ParamLoader(ctx).getParamData(
        ctx.editor, "qryTabParams", "'" + d.series + "'", "'" + d.model + "'", "'" + d.rev + "'");
}

} // namespace

class TestParamLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsEveryField_data();
    void loadsEveryField();
    void choiceListShowsEntryAndCode();
    void nullDefaultShowsOneBlank();
    void customCurveEnablesMidPoints();
    void smallerDriveAfterLargerLeavesNoTrace();
    void missingCatalogueFailsIntoTheTrap();
    void progressFollowsTheIndex();
};

void TestParamLoader::loadsEveryField_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("model");
    QTest::addColumn<QString>("rev");
    QTest::newRow("largest QX3 rev 1.04") << "03"
                                          << "06"
                                          << "104";
    QTest::newRow("smallest QX1 rev 1.04") << "01"
                                           << "01"
                                           << "104";
    QTest::newRow("QX2 rev 1.20") << "02"
                                  << "05"
                                  << "120";
}

void TestParamLoader::loadsEveryField()
{
    QFETCH(QString, series);
    QFETCH(QString, model);
    QFETCH(QString, rev);
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    const Drive drive {series, model, rev};
    QVERIFY(load(ctx, drive));
    QCOMPARE(ctx.state.strSeries, series);
    QCOMPARE(ctx.state.strModel, model);
    QCOMPARE(ctx.state.strRev, rev);
    QVERIFY(ctx.statusList.isShown());

    const QHash<int, QSqlRecord> rows = catalogueRows(drive);
    QVERIFY(!rows.isEmpty());
    EditorForm &f = ctx.editor;
    for (int i : EditorForm::fieldIndices()) {
        const QByteArray where = QByteArray::number(i);
        if (!rows.contains(i)) {
            QCOMPARE(f.lblP(i).caption(), ParamLoader::notUsedCaption(i));
            QCOMPARE(f.lblP(i).foreColor(), Colour::GrayText);
            QVERIFY2(!f.txtP(i).visible(), where);
            QVERIFY2(!ctx.params.blnTextShown[i] && !ctx.params.blnListShown[i], where);
            continue;
        }
        const QSqlRecord &row = rows.value(i);
        QCOMPARE(f.lblP(i).caption(), "   " + row.value("Description").toString());
        QCOMPARE(f.lblP(i).foreColor(), Colour::Black);
        QVERIFY2(f.txtP(i).visible(), where);
        QCOMPARE(f.txtP(i).toolTipText(), row.value("ToolTipText").toString());
        QCOMPARE(f.txtP(i).enabled() || (i >= 204 && i <= 207), !row.value("ReadOnly").toBool());
        QCOMPARE(ctx.params.varLastChance[i].toString(), f.txtP(i).text());
        QCOMPARE(ctx.params.blnListShown[i], row.value("Extra").toBool());
        QCOMPARE(ctx.params.blnTextShown[i], !row.value("Extra").toBool());
        if (!row.value("Extra").toBool())
            QCOMPARE(f.txtP(i).text(),
                NumberText::variant(row.value("default")).isEmpty() ? QStringLiteral(" ")
                                                                    : NumberText::variant(row.value("default")));
    }
}

void TestParamLoader::choiceListShowsEntryAndCode()
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(load(ctx, {"02", "05", "104"}));
    EditorForm &f = ctx.editor;
    // An ordinary list: the entry at the default's position, its code in the box.
    const int def = ctx.params.varDefault[300].toInt();
    QCOMPARE(f.cmbP(300).listIndex(), def);
    QCOMPARE(f.txtP(300).text(), f.cmbP(300).list().at(def).left(2));
    QCOMPARE(f.txtP(300).text(), QStringLiteral("%1").arg(def, 2, 10, QChar('0')));
    // P0.00 and P0.02: the list holds the values, the box the number.
    QCOMPARE(f.cmbP(2).text(), QStringLiteral("60"));
    QCOMPARE(f.txtP(2).text(), QStringLiteral("60"));
    QCOMPARE(f.cmbP(0).text(), f.txtP(0).text());
    QVERIFY(f.cmbP(0).list().contains(f.txtP(0).text()));
    // Read-only identity: both fields disabled; the model list names this drive.
    QVERIFY(!f.txtP(942).enabled() && !f.cmbP(942).enabled());
    QCOMPARE(f.cmbP(942).text().mid(3), QStringLiteral("QX-2-0P7H"));
}

void TestParamLoader::nullDefaultShowsOneBlank()
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(load(ctx, {"03", "01", "104"}));
    int nulls = 0;
    for (int i : EditorForm::fieldIndices()) {
        if (ctx.params.blnTextShown[i] && ctx.params.varDefault[i].isNull()) {
            QCOMPARE(ctx.editor.txtP(i).text(), QStringLiteral(" "));
            ++nulls;
        }
    }
    QVERIFY(nulls > 0);
}

void TestParamLoader::customCurveEnablesMidPoints()
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(load(ctx, {"02", "05", "104"}));
    const bool custom = ctx.editor.txtP(200).text().toInt() == 3;
    for (int i = 204; i <= 207; ++i)
        QCOMPARE(ctx.editor.txtP(i).enabled(), custom);
    QVERIFY(!custom); // the factory pattern is not the custom curve
}

void TestParamLoader::smallerDriveAfterLargerLeavesNoTrace()
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    QVERIFY(load(ctx, {"03", "06", "104"}));
    QVERIFY(ctx.editor.txtP(1005).visible());
    QVERIFY(load(ctx, {"01", "01", "104"}));
    EditorForm &f = ctx.editor;
    for (int i : {700, 1005, 1000}) {
        QCOMPARE(f.lblP(i).caption(), ParamLoader::notUsedCaption(i));
        QVERIFY(!f.txtP(i).visible());
        QVERIFY(f.txtP(i).text().isEmpty());
    }
    QVERIFY(!f.cmbP(1005).visible());
    QVERIFY(f.cmbP(1005).list().isEmpty());
    QCOMPARE(ctx.state.strSeries, QStringLiteral("01"));
}

void TestParamLoader::missingCatalogueFailsIntoTheTrap()
{
    Test::TempProgram program(false);
    AppContext &ctx = program.ctx();
    QVERIFY(!load(ctx, {"02", "05", "104"}));
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 1);
    QVERIFY2(log.first().contains(" - basFunctions, getParamData(), Program, 3024, "), qPrintable(log.first()));
    QVERIFY(!QFile::exists(program.path("Data/QX.qxd"))); // not created as an empty database
}

void TestParamLoader::progressFollowsTheIndex()
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    QList<int> positions;
    connect(&ctx.statusList, &StatusList::positionChanged, this, [&](int p) { positions << p; });
    QVERIFY(load(ctx, {"02", "05", "104"}));
    QVERIFY(positions.size() > 150);
    QVERIFY(std::is_sorted(positions.begin(), positions.end()));
    QCOMPARE(positions.last(), 942);
}

QTEST_GUILESS_MAIN(TestParamLoader)
#include "tst_paramloader.moc"
