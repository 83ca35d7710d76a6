// Looking the connected drive and its register addresses up in the catalogue.
#include "TestSupport.h"

#include "ports/ShellHooks.h"
#include "catalogue/DriveLookup.h"

#include <QtTest>

using namespace Tarvel;

namespace {

class PollHooks : public ShellHooks
{
public:
    QStringList calls;
    void setPollTimerEnabled(bool enabled) override { calls << (enabled ? "poll on" : "poll off"); }
};

void setDrive(AppContext &ctx, const QString &series, const QString &model, const QString &rev)
{
    ctx.state.strDriveSeries = series;
    ctx.state.strDriveModel = model;
    ctx.state.strDriveRev = rev;
}

const QString Unset = QStringLiteral("unset");

void presetCodes(AppContext &ctx)
{
    ctx.state.strDriveSeriesCode = Unset;
    ctx.state.strDriveModelCode = Unset;
    ctx.state.strDriveRevCode = Unset;
}

QStringList codes(const AppContext &ctx)
{
    return {ctx.state.strDriveSeriesCode, ctx.state.strDriveModelCode, ctx.state.strDriveRevCode};
}

} // namespace

class TestDriveLookup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void getDrive_data();
    void getDrive();
    void getDriveFailuresAreTrapped_data();
    void getDriveFailuresAreTrapped();
    void getP_data();
    void getP();
    void parameterNumber_data();
    void parameterNumber();
};

void TestDriveLookup::getDrive_data()
{
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<QString>("where");
    QTest::addColumn<bool>("found");
    QTest::addColumn<QStringList>("codes");

    QTest::newRow("series 1, model 5") << QStringList {"1", "5", "109"}
                                       << " WHERE Series = '01' AND Model = '05' AND REV = '109'" << true
                                       << QStringList {"01", "05", "109"};
    QTest::newRow("series 2, model 10") << QStringList {"2", "10", "120"}
                                        << " WHERE Series = '02' AND Model = '10' AND REV = '120'" << true
                                        << QStringList {"02", "10", "120"};
    QTest::newRow("series 3, model 1") << QStringList {"3", "1", "104"}
                                       << " WHERE Series = '03' AND Model = '01' AND REV = '104'" << true
                                       << QStringList {"03", "01", "104"};
    QTest::newRow("series written 03") << QStringList {"03", "6", "104"}
                                       << " WHERE Series = '03' AND Model = '06' AND REV = '104'" << true
                                       << QStringList {"03", "06", "104"};
    // Revision 120 exists for series 2 only.
    QTest::newRow("revision of another series")
        << QStringList {"1", "5", "120"} << " WHERE Series = '01' AND Model = '05' AND REV = '120'" << false
        << QStringList {Unset, Unset, Unset};
    QTest::newRow("model the series lacks")
        << QStringList {"3", "07", "104"} << " WHERE Series = '03' AND Model = '07' AND REV = '104'" << false
        << QStringList {Unset, Unset, Unset};
    QTest::newRow("no drive answering") << QStringList {"Not Connected", "Not Connected",
        "Not Connected"} << " WHERE Series = '0Not Connected' AND Model = 'Not Connected' AND REV = 'Not Connected'"
                                        << false << QStringList {Unset, Unset, Unset};
}

void TestDriveLookup::getDrive()
{
    QFETCH(QStringList, drive);
    QFETCH(QString, where);
    QFETCH(bool, found);
    QFETCH(QStringList, codes);

    Test::TempProgram program;
    setDrive(program.ctx(), drive[0], drive[1], drive[2]);
    presetCodes(program.ctx());
    PollHooks hooks;
    program.ctx().setHooks(&hooks);
    DriveLookup lookup(program.ctx());

    QCOMPARE(lookup.getDrive(), found);
    QCOMPARE(hooks.calls, QStringList({"poll off", "poll on"}));
    QCOMPARE(lookup.lastQuery(), "Select * From qryTabParams" + where);
    QCOMPARE(::codes(program.ctx()), codes);
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestDriveLookup::getDriveFailuresAreTrapped_data()
{
    QTest::addColumn<bool>("withCatalogue");
    QTest::addColumn<QString>("rev");
    QTest::addColumn<int>("number");

    QTest::newRow("no catalogue") << false << "120" << 3024;
    QTest::newRow("quote in a value") << true << "1'20" << 3075;
}

void TestDriveLookup::getDriveFailuresAreTrapped()
{
    QFETCH(bool, withCatalogue);
    QFETCH(QString, rev);
    QFETCH(int, number);

    Test::TempProgram program(withCatalogue);
    PollHooks hooks;
    program.ctx().setHooks(&hooks);
    setDrive(program.ctx(), "2", "5", rev);
    presetCodes(program.ctx());

    QVERIFY(!DriveLookup(program.ctx()).getDrive());
    QCOMPARE(codes(program.ctx()), QStringList({Unset, Unset, Unset}));
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 1);
    QVERIFY2(
        log[0].contains(" - basFunctions, GetDrive(), Program, " + QString::number(number) + ", "), qPrintable(log[0]));
    // The trap gives the polling back.
    QCOMPARE(hooks.calls.last(), QStringLiteral("poll on"));
}

void TestDriveLookup::getP_data()
{
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<int>("address");
    QTest::addColumn<QString>("number");

    QTest::newRow("P0.00") << QStringList {"1", "5", "109"} << 1 << "P0.00";
    QTest::newRow("P7.00") << QStringList {"2", "10", "120"} << 1793 << "P7.00";
    QTest::newRow("P9.41") << QStringList {"3", "1", "104"} << 2346 << "P9.41";
    QTest::newRow("P10.05") << QStringList {"3", "1", "104"} << 2566 << "P10.05";
    QTest::newRow("codes already two characters") << QStringList {"03", "01", "104"} << 2566 << "P10.05";
    // No row: trapped, logged, empty text.
    QTest::newRow("address of no parameter") << QStringList {"3", "1", "104"} << 2000 << "";
    // P10.05 came with revision 104: the drive's own revision decides.
    QTest::newRow("parameter of a later revision") << QStringList {"3", "1", "100"} << 2566 << "";
    QTest::newRow("group the series lacks") << QStringList {"1", "5", "109"} << 2566 << "";
}

void TestDriveLookup::getP()
{
    QFETCH(QStringList, drive);
    QFETCH(int, address);
    QFETCH(QString, number);

    Test::TempProgram program;
    setDrive(program.ctx(), drive[0], drive[1], drive[2]);
    DriveLookup lookup(program.ctx());

    QCOMPARE(lookup.getP(qint16(address)), number);
    QVERIFY(lookup.lastQuery().endsWith("' AND Address = " + QString::number(address)));
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), number.isEmpty() ? 1 : 0);
    if (!log.isEmpty())
        QVERIFY2(log[0].contains(" - basFunctions, GetP(), Program, 3021, "), qPrintable(log[0]));
}

void TestDriveLookup::parameterNumber_data()
{
    QTest::addColumn<QString>("parameter");
    QTest::addColumn<QString>("number");

    QTest::newRow("three digits") << "941"
                                  << "P9.41";
    QTest::newRow("four digits") << "1005"
                                 << "P10.05";
    QTest::newRow("group 0") << "005"
                             << "P0.05";
    QTest::newRow("stored without leading zeros") << "5"
                                                  << "P0.05";
    QTest::newRow("two digits") << "41"
                                << "P0.41";
}

void TestDriveLookup::parameterNumber()
{
    QFETCH(QString, parameter);
    QFETCH(QString, number);
    QCOMPARE(DriveLookup::parameterNumber(parameter), number);
}

QTEST_GUILESS_MAIN(TestDriveLookup)
#include "tst_drivelookup.moc"
