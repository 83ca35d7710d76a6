// The shipped catalogue, the parameter loader, the drive look-up and the
// quick-start items.
#include "LinkTestSupport.h"
#include "TestMain.h"
#include "TestSupport.h"

#include "base/NumberText.h"
#include "catalogue/Catalogue.h"
#include "catalogue/DriveLookup.h"
#include "catalogue/ParamLoader.h"
#include "catalogue/QuickStartItems.h"
#include "model/ParamText.h"

#include <QSet>
#include <QtTest>

#include <cmath>

using namespace Tarvel;

namespace {

QString driveWhere(const QString &s, const QString &m, const QString &r)
{
    return " WHERE Series = '" + s + "' AND Model = '" + m + "' AND REV = '" + r + "'";
}

} // namespace

// Every drive's data must be usable by the loader, the rules and the link.
class TestCatalogue : public QObject
{
    Q_OBJECT
    std::unique_ptr<Catalogue> m_cat;
    RecordSet q(const QString &sql) { return m_cat->query(sql); }

private Q_SLOTS:
    void initTestCase()
    {
        m_cat = std::make_unique<Catalogue>(Test::builtCatalogue());
        m_cat->connect();
    }
    void cleanupTestCase() { m_cat.reset(); }

    void rowsAreConsistent()
    {
        const QSet<int> fields(EditorForm::fieldIndices().cbegin(), EditorForm::fieldIndices().cend());
        const QSet<int> choices(EditorForm::choiceIndices().cbegin(), EditorForm::choiceIndices().cend());
        const QList<int> ruled {1, 2, 3, 4, 200, 204, 205, 206, 207, 210, 301, 302, 303, 304, 305, 306, 307, 308, 309,
            310, 317, 400, 413, 602, 615, 616, 700, 701, 710, 711, 712, 713, 714, 715, 716, 717};
        QHash<QString, QStringList> lists;
        for (RecordSet e = q("Select * From qryExtraData"); !e.eof(); e.moveNext())
            lists[e.field("Series").toString() + e.field("Model").toString() + e.field("REV").toString() + "/"
                + e.field("Parameter").toString()]
                << e.field("Setting").toString();
        RecordSet rs = q("Select * From qryTabParams");
        QVERIFY(rs.recordCount() > 10000);
        for (; !rs.eof(); rs.moveNext()) {
            const QString p = rs.field("Parameter").toString();
            const int i = p.toInt();
            const QString key
                = rs.field("Series").toString() + rs.field("Model").toString() + rs.field("REV").toString() + "/" + p;
            const QByteArray where = key.toLatin1();
            QVERIFY2(fields.contains(i) && p == QString::number(i), where);
            QCOMPARE(rs.field("Address").toInt(), (i / 100) * 256 + i % 100 + 1);
            QVERIFY2(rs.field("Description").toString().startsWith(ParamText::parameterNumber(i) + ' '), where);
            QVERIFY2(!rs.field("ToolTipText").toString().isEmpty(), where);
            QCOMPARE(rs.field("Dependent").toBool(), ruled.contains(i));
            if (i == 941 || i == 942)
                QVERIFY2(rs.field("ReadOnly").toBool(), where);
            const double res = rs.field("resolution").toDouble();
            const double min = rs.field("min").toDouble();
            const double max = rs.field("max").toDouble();
            QVERIFY2(res == 1.0 || res == 0.1 || res == 0.01, where);
            // Every value fits a signed 16-bit register at this resolution.
            QVERIFY2(min <= max && std::abs(max / res) <= 32767 && std::abs(min / res) <= 32768, where);
            const QVariant def = rs.field("default");
            if (!def.isNull())
                QVERIFY2(min <= def.toDouble() && def.toDouble() <= max, where);
            QCOMPARE(rs.field("Extra").toBool(), choices.contains(i));
            const QStringList list = lists.value(key);
            QCOMPARE(list.isEmpty(), !choices.contains(i));
            if (list.isEmpty() || ParamTables::listHoldsValue(i))
                continue;
            QCOMPARE(rs.field("max").toInt(), int(list.size()) - 1);
            for (int pos = 0; pos < list.size(); ++pos)
                QVERIFY2(list.at(pos).startsWith(QStringLiteral("%1 ").arg(pos, 2, 10, QChar('0'))), where);
        }
    }

    // P9.41 and P9.42 default to the drive's own codes, and P9.42's list
    // names the model at the code's position.
    void identityDefaultsMatchTheDrive()
    {
        RecordSet drives = q("Select * from tblDriveModels order by SeriesCode, ModelCode, Rev");
        QVERIFY(drives.recordCount() >= 15);
        for (; !drives.eof(); drives.moveNext()) {
            const QString s = drives.field("SeriesCode").toString();
            const QString m = drives.field("ModelCode").toString();
            const QString where = driveWhere(s, m, drives.field("Rev").toString());
            QCOMPARE(
                q("Select * From qryTabParams" + where + " AND Parameter = '941'").field("default").toInt(), s.toInt());
            QCOMPARE(
                q("Select * From qryTabParams" + where + " AND Parameter = '942'").field("default").toInt(), m.toInt());
            RecordSet entries = q("Select * From qryExtraData" + where + " AND Parameter = '942'");
            for (int k = 0; k < m.toInt(); ++k)
                entries.moveNext();
            QCOMPARE(entries.field("Setting").toString(), m + " " + drives.field("Model").toString());
        }
    }

    void fixedTables()
    {
        QStringList protocols;
        for (RecordSet com = q("Select * from tblcomset order By Code"); !com.eof(); com.moveNext()) {
            if (com.field("Code").toInt() != 99 && !com.field("Bits").toString().isEmpty())
                protocols << com.field("Bits").toString() + com.field("Parity").toString()
                        + com.field("StopBit").toString() + ' ' + com.field("Description").toString();
        }
        QCOMPARE(protocols, (QStringList {"7N2 ASCII", "7E1 ASCII", "7O1 ASCII", "8N2 RTU", "8E1 RTU", "8O1 RTU"}));
        QCOMPARE(q("Select * from tblComSet WHERE Code = 99 order by Code").field("Address").toInt(), 1);
        QCOMPARE(q("select * from tblCustInfo where RecNum = 1 ").field("QuickScreen").toBool(), true);
    }

    // The items the wizard marks, group by group (none in 5 and 9): sorted
    // writable parameters of their group on the largest drive, which has
    // every parameter a quick start can ask for.
    void quickStartItems()
    {
        QSet<int> writable;
        for (RecordSet rs = q("Select * From qryTabParams" + driveWhere("03", "06", "104")); !rs.eof(); rs.moveNext())
            if (!rs.field("ReadOnly").toBool())
                writable.insert(rs.field("Parameter").toInt());
        qsizetype total = 0;
        for (int g : QuickStartItems::groups()) {
            const QVector<int> &items = QuickStartItems::items(g);
            QVERIFY(std::is_sorted(items.begin(), items.end()));
            QVERIFY(std::adjacent_find(items.begin(), items.end()) == items.end());
            for (int i : items)
                QVERIFY2(i / 100 == g && writable.contains(i) && QuickStartItems::contains(i),
                    qPrintable(QString::number(i)));
            total += items.size();
        }
        QCOMPARE(total, 47);
        QVERIFY(QuickStartItems::items(5).isEmpty() && QuickStartItems::items(9).isEmpty());
        QVERIFY(!QuickStartItems::contains(105));
    }
};

class TestParamLoader : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadsEveryField_data()
    {
        QTest::addColumn<DriveKey>("drive");
        QTest::newRow("largest QX3") << DriveKey {"03", "06", "104"};
        QTest::newRow("smallest QX1") << DriveKey {"01", "01", "104"};
    }
    void loadsEveryField()
    {
        QFETCH(DriveKey, drive);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        QVERIFY(ParamLoader(ctx).loadDrive(drive));
        QCOMPARE((DriveKey {ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), drive);
        Catalogue cat(Test::builtCatalogue());
        cat.connect();
        QHash<int, QSqlRecord> rows;
        for (RecordSet rs = cat.query("Select * From qryTabParams" + driveWhere(drive.series, drive.model, drive.rev));
             !rs.eof(); rs.moveNext())
            rows.insert(rs.field("Parameter").toInt(), rs.current());
        EditorForm &f = ctx.editor;
        for (int i : EditorForm::fieldIndices()) {
            const QByteArray where = QByteArray::number(i);
            if (!rows.contains(i)) {
                QCOMPARE(f.lblP(i).caption(), ParamLoader::notUsedCaption(i));
                QCOMPARE(f.lblP(i).foreColor(), Colour::GrayText);
                QVERIFY2(!f.txtP(i).visible() && !ctx.params.blnTextShown[i] && !ctx.params.blnListShown[i], where);
                continue;
            }
            const QSqlRecord &row = rows.value(i);
            const bool extra = row.value("Extra").toBool();
            QCOMPARE(f.lblP(i).caption(), "   " + row.value("Description").toString());
            QCOMPARE(f.lblP(i).foreColor(), Colour::Black);
            QVERIFY2(f.txtP(i).visible(), where);
            QCOMPARE(f.txtP(i).toolTipText(), row.value("ToolTipText").toString());
            QCOMPARE(f.txtP(i).enabled() || (i >= 204 && i <= 207), !row.value("ReadOnly").toBool());
            QCOMPARE(ctx.params.varLastChance[i].toString(), f.txtP(i).text());
            QCOMPARE(ctx.params.blnListShown[i], extra);
            QCOMPARE(ctx.params.blnTextShown[i], !extra);
            const QString def = NumberText::variant(row.value("default"));
            if (!extra)
                QCOMPARE(f.txtP(i).text(), def.isEmpty() ? QStringLiteral(" ") : def);
            else if (ParamTables::listHoldsValue(i))
                QCOMPARE(f.cmbP(i).text(), f.txtP(i).text());
            else
                QCOMPARE(f.txtP(i).text(), f.cmbP(i).list().at(def.toInt()).left(2));
        }
    }

    // A field a rule disabled for one drive is editable after the next load;
    // what the next drive lacks is emptied and hidden.
    void nextLoadStartsFromTheCatalogue()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        EditorForm &f = ctx.editor;
        QVERIFY(ParamLoader(ctx).loadDrive({"03", "06", "104"}));
        f.cmbP(302).setEnabled(false);
        f.txtP(302).setEnabled(false);
        f.txtP(101).setEnabled(false);
        QVERIFY(ParamLoader(ctx).loadDrive({"01", "01", "104"}));
        QVERIFY(f.cmbP(302).enabled() && f.txtP(302).enabled() && f.txtP(101).enabled());
        QVERIFY(!f.txtP(942).enabled() && !f.cmbP(942).enabled()); // read-only again
        for (int i : {700, 1005}) {
            QCOMPARE(f.lblP(i).caption(), ParamLoader::notUsedCaption(i));
            QVERIFY(!f.txtP(i).visible() && f.txtP(i).text().isEmpty());
        }
        QVERIFY(!f.cmbP(1005).visible() && f.cmbP(1005).list().isEmpty());
    }

    void missingCatalogueFailsIntoTheTrap()
    {
        Test::TempProgram program(false);
        QVERIFY(!ParamLoader(program.ctx()).loadDrive({"02", "05", "104"}));
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains(" - basFunctions, getParamData(), Program, 3024, "), qPrintable(log.first()));
        QVERIFY(!QFile::exists(program.path("Data/QX.qxd"))); // not created as an empty database
    }
};

class TestDriveLookup : public QObject
{
    Q_OBJECT

    static void setDrive(AppContext &ctx, const QStringList &drive)
    {
        ctx.state.strDriveSeries = drive[0];
        ctx.state.strDriveModel = drive[1];
        ctx.state.strDriveRev = drive[2];
        ctx.state.strDriveSeriesCode = ctx.state.strDriveModelCode = ctx.state.strDriveRevCode = "unset";
    }

private Q_SLOTS:
    void getDrive_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QStringList>("codes");
        QTest::addColumn<int>("error");
        const QStringList none {"unset", "unset", "unset"};
        QTest::newRow("series 2, model 10") << QStringList {"2", "10", "120"} << QStringList {"02", "10", "120"} << 0;
        QTest::newRow("series written 03") << QStringList {"03", "6", "104"} << QStringList {"03", "06", "104"} << 0;
        QTest::newRow("revision of another series") << QStringList {"1", "5", "120"} << none << 0;
        QTest::newRow("model the series lacks") << QStringList {"3", "07", "104"} << none << 0;
        QTest::newRow("quote in a value") << QStringList {"2", "5", "1'20"} << none << 3075;
    }
    void getDrive()
    {
        QFETCH(QStringList, drive);
        QFETCH(QStringList, codes);
        QFETCH(int, error);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        setDrive(ctx, drive);
        Test::RecordingHooks hooks;
        ctx.setHooks(&hooks);
        QCOMPARE(DriveLookup(ctx).getDrive(), codes.first() != "unset");
        QCOMPARE(hooks.calls.filter("poll"), QStringList({"poll off", "poll on"}));
        QCOMPARE((QStringList {ctx.state.strDriveSeriesCode, ctx.state.strDriveModelCode, ctx.state.strDriveRevCode}),
            codes);
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), error ? 1 : 0);
        if (error)
            QVERIFY(log[0].contains(QStringLiteral(" - basFunctions, GetDrive(), Program, %1, ").arg(error)));
    }

    void getP_data()
    {
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<int>("address");
        QTest::addColumn<QString>("number");
        QTest::newRow("P0.00") << QStringList {"1", "5", "109"} << 1 << "P0.00";
        QTest::newRow("P10.05") << QStringList {"03", "01", "104"} << 2566 << "P10.05";
        QTest::newRow("address of no parameter") << QStringList {"3", "1", "104"} << 2000 << "";
        QTest::newRow("parameter of a later revision") << QStringList {"3", "1", "100"} << 2566 << "";
    }
    void getP()
    {
        QFETCH(QStringList, drive);
        QFETCH(int, address);
        QFETCH(QString, number);
        Test::TempProgram program;
        setDrive(program.ctx(), drive);
        QCOMPARE(DriveLookup(program.ctx()).getP(qint16(address)), number);
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), number.isEmpty() ? 1 : 0);
        if (!log.isEmpty())
            QVERIFY2(log[0].contains(" - basFunctions, GetP(), Program, 3021, "), qPrintable(log[0]));
    }

    void parameterNumber()
    {
        for (const auto &[stored, number] :
            {std::pair {"941", "P9.41"}, {"1005", "P10.05"}, {"005", "P0.05"}, {"5", "P0.05"}, {"41", "P0.41"}})
            QCOMPARE(DriveLookup::parameterNumber(stored), QString(number));
    }
};

TARVEL_TEST_GUILESS_MAIN(TestCatalogue, TestParamLoader, TestDriveLookup)
#include "tst_catalogue.moc"
