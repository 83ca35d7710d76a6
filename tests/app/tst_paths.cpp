// Where the program keeps its files, the pacing setting and the trace.
#include "TestSupport.h"

#include "base/Pacing.h"
#include "base/ProgramPaths.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QtTest>

using namespace Tarvel;

class TestPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void homeVariableWins();
    void userFolderIsSeededOnce();
    void fixedSuffixes();
    void pacingSetting_data();
    void pacingSetting();
    void traceOnlyWhileTracing();
};

void TestPaths::homeVariableWins()
{
    QTemporaryDir home, exe;
    QDir(exe.path()).mkpath("Data");
    qputenv("TARVEL_HOME", home.path().toLocal8Bit());
    QCOMPARE(ProgramPaths::resolve(exe.path()), home.path());
    qunsetenv("TARVEL_HOME");
    QCOMPARE(ProgramPaths::resolve(exe.path()), exe.path());
}

void TestPaths::userFolderIsSeededOnce()
{
    QTemporaryDir exe;
    QDir(exe.path()).mkpath("Data");
    QVERIFY(QFile::copy(Test::builtCatalogue(), exe.filePath("Data/QX.qxd")));
    QDir(exe.path()).rename("Data", "Shipped"); // no Data/ beside the executable
    QDir(exe.path()).mkpath("../share/tarvel");
    const QString shipped = QDir(exe.path()).filePath("../share/tarvel/Data");
    QDir().rename(exe.filePath("Shipped"), shipped);

    const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
    QDir(user).removeRecursively();
    QCOMPARE(ProgramPaths::resolve(exe.path()), user);
    QVERIFY(QFile::exists(user + "/Data/QX.qxd"));
    QVERIFY(QDir(user + "/Configs").exists());
    // A second start keeps the user's catalogue (and its setting) as it is.
    QFile mark(user + "/Data/QX.qxd");
    QVERIFY(mark.open(QIODevice::Append));
    mark.write("x");
    mark.close();
    const qint64 size = QFileInfo(user + "/Data/QX.qxd").size();
    ProgramPaths::resolve(exe.path());
    QCOMPARE(QFileInfo(user + "/Data/QX.qxd").size(), size);
    QDir(user).removeRecursively();
    QDir(shipped).removeRecursively();
}

void TestPaths::fixedSuffixes()
{
    const ProgramPaths p("/opt/tarvel/");
    QCOMPARE(p.catalogue(), QStringLiteral("/opt/tarvel/Data/QX.qxd"));
    QCOMPARE(p.errorLog(), QStringLiteral("/opt/tarvel/Data/Error.Log"));
    QCOMPARE(p.diagsLog(), QStringLiteral("/opt/tarvel/Data/Diags.Log"));
    QCOMPARE(p.configsDir(), QStringLiteral("/opt/tarvel/Configs"));
    QCOMPARE(p.helpFile(), QStringLiteral("/opt/tarvel/Tarvel_Help.chm"));
}

void TestPaths::pacingSetting_data()
{
    QTest::addColumn<QByteArray>("value");
    QTest::addColumn<int>("mode");
    QTest::newRow("unset") << QByteArray() << int(Pacing::Fast);
    QTest::newRow("classic") << QByteArray("classic") << int(Pacing::Classic);
    QTest::newRow("any case") << QByteArray("Classic") << int(Pacing::Classic);
    QTest::newRow("other") << QByteArray("slow") << int(Pacing::Fast);
}

void TestPaths::pacingSetting()
{
    QFETCH(QByteArray, value);
    QFETCH(int, mode);
    const QByteArray saved = qgetenv("TARVEL_PACING");
    if (value.isEmpty())
        qunsetenv("TARVEL_PACING");
    else
        qputenv("TARVEL_PACING", value);
    QCOMPARE(int(Pacing().mode()), mode);
    qputenv("TARVEL_PACING", saved);
}

void TestPaths::traceOnlyWhileTracing()
{
    Test::TempProgram program(false);
    AppContext &ctx = program.ctx();
    ctx.writeTrace("Changed value for varLastChance to 5 for param 5");
    QVERIFY(ctx.trace.lines().isEmpty());
    ctx.state.blnDiagsTrace = true;
    ctx.writeTrace("Changed value for varLastChance to 6 for param 5");
    QCOMPARE(ctx.trace.lines().size(), 1);
    QVERIFY(ctx.trace.lines().first().endsWith(" - Changed value for varLastChance to 6 for param 5"));
}

QTEST_GUILESS_MAIN(TestPaths)
#include "tst_paths.moc"
