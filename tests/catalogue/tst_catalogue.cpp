// The shipped catalogue: every drive's data must be usable by the loader,
// the rules and the drive link, and every query text the program sends
// must run as written.
#include "TestSupport.h"

#include "catalogue/Catalogue.h"
#include "model/EditorForm.h"

#include <QRegularExpression>
#include <QSet>
#include <QtTest>

#include <cmath>

using namespace Tarvel;

class TestCatalogue : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanupTestCase();
    void queryTexts_data();
    void queryTexts();
    void rowsAreConsistent();
    void choiceListsMatchTheirValues();
    void ruleParametersAreDependent();
    void identityDefaultsMatchTheDrive();
    void seriesCoverGroups_data();
    void seriesCoverGroups();
    void everyRuleSetHasTwoDrives_data();
    void everyRuleSetHasTwoDrives();
    void fixedTables();

private:
    RecordSet q(const QString &sql) { return m_cat->query(sql); }
    std::unique_ptr<Catalogue> m_cat;
};

void TestCatalogue::initTestCase()
{
    m_cat = std::make_unique<Catalogue>(Test::builtCatalogue());
    m_cat->connect();
}

void TestCatalogue::cleanupTestCase()
{
    m_cat.reset();
}

void TestCatalogue::queryTexts_data()
{
    QTest::addColumn<QString>("sql");
    QTest::addColumn<QStringList>("columns");
    QTest::addColumn<bool>("rowsExpected");

    const QStringList driveCols {"SeriesCode", "ModelCode", "Rev", "Model", "RevDate", "Series"};
    const QStringList paramCols {"Series", "Model", "REV", "Parameter", "P", "min", "max", "default", "resolution",
        "Dependent", "ReadOnly", "Extra", "ToolTipText", "Description", "Address"};
    QTest::newRow("custinfo") << "select * from tblCustInfo where RecNum = 1 " << QStringList {"RecNum", "QuickScreen"}
                              << true;
    QTest::newRow("models by rev") << "Select * from tblDriveModels order by SeriesCode, ModelCode, Rev" << driveCols
                                   << true;
    QTest::newRow("models by code") << "Select * from tblDriveModels order by SeriesCode, ModelCode" << driveCols
                                    << true;
    QTest::newRow("open file") << QStringLiteral("Select * From tblDriveModels")
            + " WHERE SeriesCode = '02' AND ModelCode = '05' AND REV = '104'"
                               << driveCols << true;
    QTest::newRow("statistics")
        << "Select * from tblDriveModels WHERE SeriesCode = '03' AND ModelCode = '01' AND REV = '104'" << driveCols
        << true;
    QTest::newRow("rating") << "Select * from tblDriveModels Where Model = 'QX-2-2P2T' AND Rev = '104'" << driveCols
                            << true;
    QTest::newRow("loader") << "Select * From qryTabParams WHERE Series = '01' AND Model = '01' AND REV = '104'"
                            << paramCols << true;
    QTest::newRow("GetDrive") << QStringLiteral("Select * From qryTabParams") + " WHERE Series = '0" + "3" + "'"
            + " AND Model = '0" + "1" + "'" + " AND REV = '" + "100"
            + "'" << paramCols << true;
    QTest::newRow("read-only") << QStringLiteral("Select * From qryTabParams")
            + " WHERE Series = '02' AND MODEL = '05' AND REV = '120' AND READONLY = true"
                               << paramCols << true;
    QTest::newRow("download group") << "Select * From qryTabParams WHERE Series = '02' AND MODEL = '05' AND REV = "
                                       "'120' AND P = '3' AND READONLY = False"
                                    << paramCols << true;
    QTest::newRow("extra data") << QStringLiteral("Select * From qryExtraData")
            + " WHERE Series = '02' AND Model = '05' AND Parameter = '300'" + " AND REV = '104'"
                                << QStringList {"Series", "Model", "REV", "Parameter", "Setting"} << true;
    QTest::newRow("one parameter") << QStringLiteral("Select * From tblDriveParameters")
            + " WHERE Series = '02' AND Model = '05' AND REV = '104' AND PARAMETER = '720'"
                                   << paramCols << true;
    QTest::newRow("GetP") << "Select Parameter from tblDriveParameters WHERE Series = '03' AND Model = '01' AND Rev = "
                             "'104' AND Address = 2346"
                          << QStringList {"Parameter"} << true;
    QTest::newRow("comset") << "Select * from tblcomset order By Code"
                            << QStringList {"Code", "Port", "PortDefault", "Baud", "BaudDefault", "Bits", "Parity",
                                   "StopBit", "Description", "ProtocolDefault", "Address"}
                            << true;
    QTest::newRow("node address") << "Select * from tblComSet WHERE Code = 99 order by Code" << QStringList {"Address"}
                                  << true;
    QTest::newRow("servers") << "Select * from tblOPCSevers" << QStringList {"ProgID", "ProgId"} << true;
    QTest::newRow("versions") << "Select * from tblDBVER ORDER BY Version" << QStringList {"Version"} << true;
}

void TestCatalogue::queryTexts()
{
    QFETCH(QString, sql);
    QFETCH(QStringList, columns);
    QFETCH(bool, rowsExpected);
    RecordSet rs = q(sql);
    QCOMPARE(rs.recordCount() > 0, rowsExpected);
    for (const QString &column : columns)
        QVERIFY2(rs.current().indexOf(column) >= 0, qPrintable(column));
}

void TestCatalogue::rowsAreConsistent()
{
    const QSet<int> fields(EditorForm::fieldIndices().cbegin(), EditorForm::fieldIndices().cend());
    RecordSet rs = q(QStringLiteral("Select * From qryTabParams"));
    QVERIFY(rs.recordCount() > 10000);
    for (; !rs.eof(); rs.moveNext()) {
        const QString p = rs.field("Parameter").toString();
        const int i = p.toInt();
        const QString where = rs.field("Series").toString() + "/" + rs.field("Model").toString() + "/"
            + rs.field("REV").toString() + " P" + p;
        QVERIFY2(fields.contains(i), qPrintable(where));
        QCOMPARE(p, QString::number(i)); // no leading zeros
        QCOMPARE(rs.field("P").toInt(), i / 100);
        QCOMPARE(rs.field("Address").toInt(), (i / 100) * 256 + i % 100 + 1);
        QVERIFY2(rs.field("Description")
                     .toString()
                     .startsWith(QStringLiteral("P%1.%2 ").arg(i / 100).arg(i % 100, 2, 10, QChar('0'))),
            qPrintable(where));
        QVERIFY2(!rs.field("ToolTipText").toString().isEmpty(), qPrintable(where));
        const double res = rs.field("resolution").toDouble();
        const double min = rs.field("min").toDouble();
        const double max = rs.field("max").toDouble();
        QVERIFY2(res == 1.0 || res == 0.1 || res == 0.01, qPrintable(where));
        QVERIFY2(min <= max, qPrintable(where));
        // Every value must fit a signed 16-bit register at this resolution.
        QVERIFY2(std::abs(max / res) <= 32767 && std::abs(min / res) <= 32768, qPrintable(where));
        const QVariant def = rs.field("default");
        if (def.isNull())
            continue;
        const double d = def.toDouble();
        QVERIFY2(min <= d && d <= max, qPrintable(where));
        QVERIFY2(std::abs(d / res - std::round(d / res)) < 1e-6, qPrintable(where));
    }
}

void TestCatalogue::choiceListsMatchTheirValues()
{
    const QSet<int> choices(EditorForm::choiceIndices().cbegin(), EditorForm::choiceIndices().cend());
    RecordSet rs = q(QStringLiteral("Select * From qryTabParams"));
    QHash<QString, QStringList> lists;
    RecordSet entries = q(QStringLiteral("Select * From qryExtraData"));
    for (; !entries.eof(); entries.moveNext()) {
        const QString key = entries.field("Series").toString() + "/" + entries.field("Model").toString() + "/"
            + entries.field("REV").toString() + "/" + entries.field("Parameter").toString();
        lists[key] << entries.field("Setting").toString();
    }
    for (; !rs.eof(); rs.moveNext()) {
        const int i = rs.field("Parameter").toInt();
        const QString key = rs.field("Series").toString() + "/" + rs.field("Model").toString() + "/"
            + rs.field("REV").toString() + "/" + rs.field("Parameter").toString();
        QCOMPARE(rs.field("Extra").toBool(), choices.contains(i));
        if (!choices.contains(i)) {
            QVERIFY2(!lists.contains(key), qPrintable(key));
            continue;
        }
        const QStringList list = lists.value(key);
        QVERIFY2(!list.isEmpty(), qPrintable(key));
        const int def = rs.field("default").toInt();
        if (i == 0 || i == 2) {
            // The entries are the values themselves.
            QVERIFY2(list.contains(QString::number(def)), qPrintable(key));
            QCOMPARE(rs.field("max").toInt(), QString(list.last()).toInt());
            continue;
        }
        QCOMPARE(rs.field("max").toInt(), int(list.size()) - 1);
        QCOMPARE(rs.field("min").toInt(), 0);
        QVERIFY2(def >= 0 && def < list.size(), qPrintable(key));
        for (int pos = 0; pos < list.size(); ++pos)
            QVERIFY2(list.at(pos).startsWith(QStringLiteral("%1 ").arg(pos, 2, 10, QChar('0'))),
                qPrintable(key + ": " + list.at(pos)));
    }
}

void TestCatalogue::ruleParametersAreDependent()
{
    const QList<int> ruled {1, 2, 3, 4, 200, 204, 205, 206, 207, 210, 301, 302, 303, 304, 305, 306, 307, 308, 309, 310,
        317, 400, 413, 602, 615, 616, 700, 701, 710, 711, 712, 713, 714, 715, 716, 717};
    RecordSet rs = q(QStringLiteral("Select Parameter, Dependent, ReadOnly From tblDriveParameters"));
    int dependent = 0;
    for (; !rs.eof(); rs.moveNext()) {
        const int i = rs.field("Parameter").toInt();
        QCOMPARE(rs.field("Dependent").toBool(), ruled.contains(i));
        dependent += rs.field("Dependent").toBool();
        if (i == 941 || i == 942 || (i >= 631 && i <= 636))
            QVERIFY(rs.field("ReadOnly").toBool());
    }
    QVERIFY(dependent > 0);
}

void TestCatalogue::identityDefaultsMatchTheDrive()
{
    RecordSet drives = q(QStringLiteral("Select * from tblDriveModels order by SeriesCode, ModelCode, Rev"));
    QVERIFY(drives.recordCount() >= 15);
    for (; !drives.eof(); drives.moveNext()) {
        const QString s = drives.field("SeriesCode").toString();
        const QString m = drives.field("ModelCode").toString();
        const QString r = drives.field("Rev").toString();
        const QString model = drives.field("Model").toString();
        QCOMPARE(model.mid(3, 1), s.right(1)); // fourth character is the series digit
        const QString key = " WHERE Series = '" + s + "' AND Model = '" + m + "' AND REV = '" + r + "'";
        RecordSet series = q("Select * From qryTabParams" + key + " AND Parameter = '941'");
        RecordSet models = q("Select * From qryTabParams" + key + " AND Parameter = '942'");
        QCOMPARE(series.field("default").toInt(), s.toInt());
        QCOMPARE(models.field("default").toInt(), m.toInt());
        RecordSet entries = q("Select * From qryExtraData" + key + " AND Parameter = '942'");
        for (int k = 0; k < m.toInt(); ++k)
            entries.moveNext();
        const QString entry = entries.field("Setting").toString();
        QCOMPARE(entry, m + " " + model);
        QCOMPARE(entry.mid(6, 1), s.right(1)); // character 7 is the series digit
    }
}

void TestCatalogue::seriesCoverGroups_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QList<int>>("groups");
    QTest::addColumn<int>("atLeast");
    QTest::newRow("QX1") << "01" << QList<int> {0, 1, 2, 3, 4, 5, 6, 8, 9} << 100;
    QTest::newRow("QX2") << "02" << QList<int> {0, 1, 2, 3, 4, 5, 6, 7, 8, 9} << 190;
    QTest::newRow("QX3") << "03" << QList<int> {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10} << 220;
}

void TestCatalogue::seriesCoverGroups()
{
    QFETCH(QString, series);
    QFETCH(QList<int>, groups);
    QFETCH(int, atLeast);
    RecordSet rs = q("Select P, count(*) AS n From tblDriveParameters WHERE Series = '" + series + "' GROUP BY P");
    QList<int> found;
    for (; !rs.eof(); rs.moveNext())
        found << rs.field("P").toInt();
    QCOMPARE(found, groups);
    RecordSet largest = q("Select max(n) AS n From (Select count(*) AS n From tblDriveParameters WHERE Series = '"
        + series + "' GROUP BY Model, REV)");
    QVERIFY(largest.field("n").toInt() >= atLeast);
    if (series == "03") // the largest drive has every field of the editor
        QCOMPARE(largest.field("n").toInt(), int(EditorForm::fieldIndices().size()));
}

void TestCatalogue::everyRuleSetHasTwoDrives_data()
{
    QTest::addColumn<QString>("series");
    QTest::addColumn<QStringList>("revs");
    QTest::newRow("A") << "01" << QStringList {"105", "106", "107", "108", "109"};
    QTest::newRow("B") << "02" << QStringList {"103"};
    QTest::newRow("C") << "02" << QStringList {"104", "105", "106", "107"};
    QTest::newRow("D") << "03" << QStringList {"100", "102"};
    QTest::newRow("E") << "03" << QStringList {"104"};
    QTest::newRow("no rules 01/104") << "01" << QStringList {"104"};
    QTest::newRow("no rules 02/108") << "02" << QStringList {"108"};
    QTest::newRow("no rules 02/120") << "02" << QStringList {"120"};
}

void TestCatalogue::everyRuleSetHasTwoDrives()
{
    QFETCH(QString, series);
    QFETCH(QStringList, revs);
    for (const QString &rev : revs) {
        RecordSet rs = q("Select * from tblDriveModels WHERE SeriesCode = '" + series + "' AND Rev = '" + rev + "'");
        QVERIFY2(rs.recordCount() >= 2, qPrintable(series + "/" + rev));
    }
}

void TestCatalogue::fixedTables()
{
    RecordSet com = q(QStringLiteral("Select * from tblcomset order By Code"));
    QStringList ports, protocols;
    for (; !com.eof(); com.moveNext()) {
        if (!com.field("Port").toString().isEmpty())
            ports << com.field("Port").toString();
        if (com.field("Code").toInt() != 99 && !com.field("Bits").toString().isEmpty())
            protocols << QStringList {com.field("Bits").toString(), com.field("Parity").toString(),
                com.field("StopBit").toString(), com.field("Description").toString()}
                             .join(", ");
    }
    QCOMPARE(ports, (QStringList {"Com 1", "Com 2", "Com 3", "Com 4"}));
    QCOMPARE(protocols,
        (QStringList {
            "7, N, 2, ASCII", "7, E, 1, ASCII", "7, O, 1, ASCII", "8, N, 2, RTU", "8, E, 1, RTU", "8, O, 1, RTU"}));
    QCOMPARE(q(QStringLiteral("Select * from tblComSet WHERE Code = 99 order by Code")).field("Address").toInt(), 1);
    QCOMPARE(q(QStringLiteral("Select * from tblOPCSevers")).recordCount(), 1);
    QCOMPARE(q(QStringLiteral("select * from tblCustInfo where RecNum = 1 ")).field("QuickScreen").toBool(), true);
}

QTEST_GUILESS_MAIN(TestCatalogue)
#include "tst_catalogue.moc"
