// The quick-start items the wizard marks in the detailed editor.
#include "TestSupport.h"

#include "catalogue/Catalogue.h"
#include "catalogue/QuickStartItems.h"
#include "model/EditorForm.h"

#include <QSet>
#include <QtTest>

using namespace Tarvel;

class TestQuickStartItems : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void groupsHoldTheWizardsDotCounts_data()
    {
        QTest::addColumn<int>("group");
        QTest::addColumn<int>("dots");
        QTest::newRow("P0 motor") << 0 << 6;
        QTest::newRow("P1 ramps") << 1 << 4;
        QTest::newRow("P2 volts/hertz") << 2 << 3;
        QTest::newRow("P3 digital") << 3 << 17;
        QTest::newRow("P4 analog") << 4 << 7;
        QTest::newRow("P7 PID") << 7 << 7;
        QTest::newRow("P8 display") << 8 << 3;
        QTest::newRow("P5 presets: none") << 5 << 0;
        QTest::newRow("P9 communications: none") << 9 << 0;
    }
    void groupsHoldTheWizardsDotCounts()
    {
        QFETCH(int, group);
        QFETCH(int, dots);
        const QVector<int> &items = QuickStartItems::items(group);
        QCOMPARE(items.size(), dots);
        QCOMPARE(QSet<int>(items.begin(), items.end()).size(), dots);
        for (int i : items) {
            QCOMPARE(i / 100, group);
            QVERIFY2(EditorForm::fieldIndices().contains(i), qPrintable(QString::number(i)));
            QVERIFY(QuickStartItems::contains(i));
        }
        QVERIFY(std::is_sorted(items.begin(), items.end()));
    }

    // The largest drive has every parameter a quick start can ask for, and
    // none of them is read-only.
    void everyItemIsAWritableParameterOfTheLargestDrive()
    {
        Catalogue cat(Test::builtCatalogue());
        cat.connect();
        RecordSet rs = cat.query("Select Parameter, ReadOnly From qryTabParams WHERE Series = '03' AND Model = '06' "
                                 "AND REV = '104'");
        QSet<int> writable;
        for (; !rs.eof(); rs.moveNext())
            if (!rs.field("ReadOnly").toBool())
                writable.insert(rs.field("Parameter").toInt());
        for (int g : QuickStartItems::groups())
            for (int i : QuickStartItems::items(g))
                QVERIFY2(writable.contains(i), qPrintable(QString::number(i)));
    }
};

QTEST_MAIN(TestQuickStartItems)
#include "tst_quickstartitems.moc"
