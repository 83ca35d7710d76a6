// Number texts, program paths, pacing, the atomic file writer and the
// single-instance rule.
#include "TestMain.h"
#include "TestSupport.h"

#include "base/AtomicTextFile.h"
#include "base/InstanceGuard.h"
#include "base/NumberText.h"
#include "base/Pacing.h"
#include "base/ProgramPaths.h"
#include "base/TextFile.h"
#include "base/TrappedError.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QtTest>

using namespace Tarvel;

namespace {

QByteArray readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

// A file system of 64 KiB; not mounted when this user may not mount one.
struct SmallDisk
{
    QTemporaryDir dir;
    bool mounted = QProcess::execute("mount", {"-t", "tmpfs", "-o", "size=64k", "tmpfs", dir.path()}) == 0;
    ~SmallDisk()
    {
        if (mounted)
            QProcess::execute("umount", {dir.path()});
    }
    // Fills it up but for `room` bytes.
    void fill(qint64 room)
    {
        QFile fill(dir.filePath("fill"));
        QVERIFY(fill.open(QIODevice::WriteOnly | QIODevice::Unbuffered));
        while (fill.write(QByteArray(1024, 'x')) == 1024) { }
        fill.resize(fill.size() - room);
    }
};

} // namespace

class TestNumberText : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void single_data()
    {
        QTest::addColumn<double>("value");
        QTest::addColumn<QString>("text");
        QTest::newRow("scaled register") << 605 * 0.1 << "60.5";
        QTest::newRow("negative") << -12.25 << "-12.25";
        QTest::newRow("seven digits") << 1234567.0 << "1234567";
        QTest::newRow("rounded to seven") << 2.0 / 3.0 << "0.6666667";
        QTest::newRow("float noise") << double(0.1f) * 3 << "0.3";
        QTest::newRow("large") << 12345678.0 << "1.234568E+07";
        QTest::newRow("small") << 0.00001 << "1E-05";
    }
    void single()
    {
        QFETCH(double, value);
        QFETCH(QString, text);
        QCOMPARE(NumberText::single(value), text);
    }

    void numeric_data()
    {
        QTest::addColumn<QString>("text");
        QTest::addColumn<bool>("numeric");
        QTest::addColumn<double>("val");
        QTest::newRow("signed") << "-0.5" << true << -0.5;
        QTest::newRow("leading point") << ".25" << true << 0.25;
        QTest::newRow("exponent") << "1e3" << true << 1000.0;
        QTest::newRow("blanks") << " 7 " << true << 7.0;
        QTest::newRow("letters") << "12a" << false << 12.0;
        QTest::newRow("blank") << " " << false << 0.0;
        QTest::newRow("two points") << "1.2.3" << false << 1.2;
    }
    void numeric()
    {
        QFETCH(QString, text);
        QFETCH(bool, numeric);
        QFETCH(double, val);
        QCOMPARE(NumberText::isNumeric(text), numeric);
        QCOMPARE(NumberText::val(text), val);
    }
};

class TestProgramPaths : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }

    void homeVariableWins()
    {
        QTemporaryDir home, exe;
        QDir(exe.path()).mkpath("Data");
        qputenv("TARVEL_HOME", home.path().toLocal8Bit());
        QCOMPARE(ProgramPaths::resolve(exe.path()), home.path());
        qunsetenv("TARVEL_HOME");
        QCOMPARE(ProgramPaths::resolve(exe.path()), exe.path());
        const ProgramPaths p("/opt/tarvel/");
        QCOMPARE(p.errorLog(), "/opt/tarvel/Data/Error.Log");
        QCOMPARE(p.configsDir(), "/opt/tarvel/Configs");
    }

    void userFolderIsSeededOnce()
    {
        QTemporaryDir exe;
        const QString shipped = QDir(exe.path()).filePath("../share/tarvel/Data");
        QVERIFY(QDir().mkpath(shipped));
        QVERIFY(QFile::copy(Test::builtCatalogue(), shipped + "/QX.qxd"));
        // The Ethernet route's server definitions come along.
        QVERIFY(QDir().mkpath(shipped + "/Servers"));
        QVERIFY(QFile::copy(Test::builtCatalogue(), shipped + "/Servers/S.ini"));
        const QString user = QStandardPaths::writableLocation(QStandardPaths::AppLocalDataLocation);
        QDir(user).removeRecursively();
        QCOMPARE(ProgramPaths::resolve(exe.path()), user);
        QVERIFY(QDir(user + "/Configs").exists());
        QCOMPARE(ProgramPaths(user).serversDir(), user + "/Data/Servers");
        QVERIFY(QFileInfo::exists(user + "/Data/Servers/S.ini"));
        // A second start keeps the user's catalogue (and its setting).
        QFile mark(user + "/Data/QX.qxd");
        QVERIFY(mark.open(QIODevice::Append) && mark.write("x") == 1);
        mark.close();
        const qint64 size = QFileInfo(mark.fileName()).size();
        ProgramPaths::resolve(exe.path());
        QCOMPARE(QFileInfo(mark.fileName()).size(), size);
        QDir(user).removeRecursively();
        QDir(shipped).removeRecursively();
    }

    void pacingSetting()
    {
        const QByteArray saved = qgetenv("TARVEL_PACING");
        for (const auto &[value, mode] : {std::pair {"classic", Pacing::Classic}, {"Classic", Pacing::Classic},
                 {"slow", Pacing::Fast}, {"", Pacing::Fast}}) {
            qputenv("TARVEL_PACING", value);
            QCOMPARE(Pacing().mode(), mode);
        }
        qputenv("TARVEL_PACING", saved);
    }
};

class TestAtomicTextFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // A full disk fails the write itself: the old file stays whole, no
    // temporary file is left beside it, and a write that fits still works.
    void fullDiskKeepsOldFile()
    {
        SmallDisk disk;
        if (!disk.mounted)
            QSKIP("this user may not mount a small file system");
        const QString path = disk.dir.filePath("F.qxc");
        const QStringList old(40, "0010123456789");
        AtomicTextFile::write(path, old);
        disk.fill(4096); // one free page
        QVERIFY_THROWS_EXCEPTION(TrappedError, AtomicTextFile::write(path, QStringList(400, "0010123456789")));
        QCOMPARE(readAll(path), TextFile::encodeLines(old));
        QCOMPARE(QDir(disk.dir.path()).entryList(QDir::Files | QDir::Hidden), (QStringList {"F.qxc", "fill"}));
        AtomicTextFile::write(path, {"short"});
        QCOMPARE(readAll(path), "short\r\n");
    }
};

class TestInstanceGuard : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // One program folder, however it is named and whatever the runtime folder.
    void oneCopyPerProgramFolder()
    {
        QTemporaryDir a, b, links;
        const QString link = links.filePath("via-link");
        QVERIFY(QFile::link(a.path(), link));
        InstanceGuard first(a.path());
        QVERIFY(first.tryAcquire());
        const QByteArray runtime = qgetenv("XDG_RUNTIME_DIR");
        qputenv("XDG_RUNTIME_DIR", links.path().toLocal8Bit());
        QVERIFY(!InstanceGuard(link).tryAcquire());
        QVERIFY(!InstanceGuard(a.path() + "/.").tryAcquire());
        QVERIFY(InstanceGuard(b.path()).tryAcquire());
        qputenv("XDG_RUNTIME_DIR", runtime);
    }
};

TARVEL_TEST_GUILESS_MAIN(TestNumberText, TestProgramPaths, TestAtomicTextFile, TestInstanceGuard)
#include "tst_base.moc"
