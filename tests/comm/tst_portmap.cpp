// Port names of the link settings and the device paths they lead to.
#include "base/TrappedError.h"
#include "comm/ModbusMaster.h"
#include "comm/PortMap.h"

#include <QSettings>
#include <QTemporaryDir>
#include <QtTest>

using namespace Tarvel;

class TestPortMap : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void initTestCase();
    void cleanup();
    void defaults();
    void settingThenEnvironment();
    void splitList_data();
    void splitList();
    void byName_data();
    void byName();
    void commPortOpensItsTarget();

private:
    QTemporaryDir m_settingsDir;
};

void TestPortMap::initTestCase()
{
    QVERIFY(m_settingsDir.isValid());
    QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, m_settingsDir.path());
    QCoreApplication::setOrganizationName(QStringLiteral("TarvelTest"));
    QCoreApplication::setApplicationName(QStringLiteral("tst_portmap"));
}

void TestPortMap::cleanup()
{
    QSettings().clear();
    qunsetenv("TARVEL_PORTS");
}

void TestPortMap::defaults()
{
    const PortMap map;
    QCOMPARE(map.target(0), QStringLiteral("/dev/ttyS0"));
    QCOMPARE(map.target(5), QStringLiteral("/dev/ttyS5"));
    QCOMPARE(map.target(6), QString());
    QCOMPARE(map.target(-1), QString());
    QCOMPARE(map.displayName(2), QStringLiteral("Com 3 (/dev/ttyS2)"));
    QCOMPARE(PortMap::portName(0), QStringLiteral("Com 1"));
}

void TestPortMap::settingThenEnvironment()
{
    QSettings().setValue(QStringLiteral("ports/Com 1"), QStringLiteral("/dev/ttyUSB0"));
    QSettings().setValue(QStringLiteral("ports/Com 2"), QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(PortMap().displayName(0), QStringLiteral("Com 1 (/dev/ttyUSB0)"));
    QCOMPARE(PortMap().target(1), QStringLiteral("/dev/ttyUSB1"));

    // The environment wins; an empty entry keeps the setting, a missing one too.
    qputenv("TARVEL_PORTS", "/dev/pts/7::tcp://127.0.0.1:1502");
    const PortMap map;
    QCOMPARE(map.target(0), QStringLiteral("/dev/pts/7"));
    QCOMPARE(map.target(1), QStringLiteral("/dev/ttyUSB1"));
    QCOMPARE(map.target(2), QStringLiteral("tcp://127.0.0.1:1502"));
    QCOMPARE(map.target(3), QStringLiteral("/dev/ttyS3"));
    QCOMPARE(map.displayName(2), QStringLiteral("Com 3 (tcp://127.0.0.1:1502)"));
}

void TestPortMap::splitList_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QStringList>("parts");
    QTest::newRow("empty") << "" << QStringList();
    QTest::newRow("one") << "/dev/ttyUSB0" << QStringList {"/dev/ttyUSB0"};
    QTest::newRow("two") << "/dev/a:/dev/b" << QStringList {"/dev/a", "/dev/b"};
    QTest::newRow("gap") << "/dev/a::/dev/c" << QStringList {"/dev/a", "", "/dev/c"};
    QTest::newRow("tcp keeps its colon") << "tcp://localhost:1502:/dev/b"
                                         << QStringList {"tcp://localhost:1502", "/dev/b"};
    QTest::newRow("tcp last") << "/dev/a:tcp://127.0.0.1:502" << QStringList {"/dev/a", "tcp://127.0.0.1:502"};
    QTest::newRow("trailing colon") << "/dev/a:" << QStringList {"/dev/a", ""};
}

void TestPortMap::splitList()
{
    QFETCH(QString, value);
    QFETCH(QStringList, parts);
    QCOMPARE(PortMap::splitList(value), parts);
}

void TestPortMap::byName_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<QString>("target");
    QTest::newRow("Com 3") << "Com 3"
                           << "/dev/c";
    QTest::newRow("COM3") << "COM3"
                          << "/dev/c";
    QTest::newRow("blanks") << "  com 1 "
                            << "/dev/a";
    QTest::newRow("path passes") << "/dev/ttyACM0"
                                 << "/dev/ttyACM0";
    QTest::newRow("tcp passes") << "tcp://10.0.0.5:502"
                                << "tcp://10.0.0.5:502";
    QTest::newRow("Com 7") << "Com 7"
                           << "";
    QTest::newRow("Com 0") << "Com 0"
                           << "";
    QTest::newRow("other word") << "Ethernet"
                                << "";
}

void TestPortMap::byName()
{
    QFETCH(QString, name);
    QFETCH(QString, target);
    const PortMap map({"/dev/a", "/dev/b", "/dev/c"});
    QCOMPARE(map.target(name), target);
}

void TestPortMap::commPortOpensItsTarget()
{
    ModbusMaster master;
    master.setPortMap(PortMap({"/dev/tarvel-none-1", "/dev/tarvel-none-2"}));
    master.setCommPort(1);
    try {
        master.setPortOpen(true);
        QFAIL("a missing port must raise");
    } catch (const TrappedError &e) {
        QCOMPARE(e.number(), 380);
        QVERIFY2(e.description().contains(QLatin1String("/dev/tarvel-none-2")), qPrintable(e.description()));
    }
    // An explicit target takes the place of the port index.
    master.setConnectionTarget(QStringLiteral("/dev/tarvel-none-3"));
    try {
        master.setPortOpen(true);
        QFAIL("a missing port must raise");
    } catch (const TrappedError &e) {
        QVERIFY2(e.description().contains(QLatin1String("/dev/tarvel-none-3")), qPrintable(e.description()));
    }
}

QTEST_GUILESS_MAIN(TestPortMap)
#include "tst_portmap.moc"
