// The check of a value read from a drive, against the same check of a value
// read from a file: where the two agree and the two places they differ.
#include "FileTestSupport.h"

#include "model/AppContext.h"
#include "files/ConfigFile.h"
#include "rules/UploadValidation.h"

#include "TestSupport.h"

#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

// The report part of the status-list lines, after their date and time.
QStringList reports(const StatusList &list)
{
    QStringList out;
    for (const QString &line : list.lines())
        out << line.mid(line.indexOf(" - P"));
    return out;
}

struct Outcome
{
    QStringList reports;
    QString text;
    quint32 labelColour = 0;
};

// One value put into its box and checked the way `check` does it.
template<class Check> Outcome checked(int index, const QString &value, Check check)
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    if (!loadDrive(ctx, {"02", "05", "120"}))
        return {};
    ctx.statusList.clear();
    ctx.editor.txtP(index).setText(value);
    check(ctx, index, value);
    return {reports(ctx.statusList), ctx.editor.txtP(index).text(), ctx.editor.lblP(index).foreColor()};
}

} // namespace

class TestUploadValidation : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void validateUpload_data();
    void validateUpload();
};

void TestUploadValidation::validateUpload_data()
{
    QTest::addColumn<int>("index");
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("report");
    QTest::addColumn<bool>("sameAsFile");
    QTest::newRow("equal to default") << 101 << "10"
                                      << "10"
                                      << "" << true;
    QTest::newRow("too low") << 1 << "0.1"
                             << "2.7"
                             << " - P0.01 - Value too low. Value = 0.1 Min = 0.5 Parameter's default of 2.7 was loaded."
                             << true;
    QTest::newRow("too high: no word of the default")
        << 3 << "99999"
        << "1740"
        << " - P0.03 - Value too high. Value = 99999 Max = 24000" << false;
    QTest::newRow("list past its end") << 300 << "9"
                                       << "00"
                                       << " - P3.00 - Value too high. Value = 9 Max = 4" << false;
    QTest::newRow("different") << 101 << "25.5"
                               << "25.5"
                               << " - P1.01 - Value different from default. Value = 25.5 Default = 10" << true;
    QTest::newRow("list different") << 300 << "2"
                                    << "2"
                                    << " - P3.00 - Value different from default. Value = 2 Default = 0" << true;
    QTest::newRow("node address never different") << 939 << "1"
                                                  << "1"
                                                  << "" << false;
    QTest::newRow("node address still range-checked") << 939 << "7"
                                                      << "00"
                                                      << " - P9.39 - Value too high. Value = 7 Max = 3" << false;
}

void TestUploadValidation::validateUpload()
{
    QFETCH(int, index);
    QFETCH(QString, value);
    QFETCH(QString, text);
    QFETCH(QString, report);
    QFETCH(bool, sameAsFile);
    const Outcome upload = checked(
        index, value, [](AppContext &ctx, int i, const QString &v) { UploadValidation(ctx).validateUpload(i, v); });
    const Outcome file
        = checked(index, value, [](AppContext &ctx, int i, const QString &v) { ConfigFile(ctx).validateFile(i, v); });

    QCOMPARE(upload.reports, report.isEmpty() ? QStringList() : QStringList {report});
    QCOMPARE(upload.text, text);
    QCOMPARE(upload.labelColour, report.contains("different") ? Colour::Red : Colour::Black);
    // Out of range, both put the default into the box.
    QCOMPARE(upload.text, file.text);
    QCOMPARE(upload.reports == file.reports, sameAsFile);
}

QTEST_MAIN(TestUploadValidation)
#include "tst_uploadvalidation.moc"
