// The master against an independent Modbus implementation (libmodbus),
// over a pseudo-terminal in RTU and over loopback Modbus/TCP; and the
// simulated drive's Modbus/TCP server against libmodbus as the client.
#include "SimProcess.h"
#include "WaitedTransaction.h"

#include <QProcess>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

#ifndef TARVEL_MODBUS_PEER
#define TARVEL_MODBUS_PEER ""
#endif

namespace {

constexpr int kUnit = 5;

} // namespace

class TestModbusPeer : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void init()
    {
        if (QStringLiteral(TARVEL_MODBUS_PEER).isEmpty())
            QSKIP("libmodbus (libmodbus-dev) not installed: no independent peer");
    }
    void cleanup()
    {
        m_master.reset();
        if (m_peer.state() != QProcess::NotRunning) {
            m_peer.kill();
            m_peer.waitForFinished(3000);
        }
    }
    void transactions_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::newRow("rtu") << "rtu";
        QTest::newRow("tcp") << "tcp";
    }
    void transactions()
    {
        QFETCH(QString, mode);
        QVERIFY(start(mode));
        ModbusMaster &master = *m_master;

        // Register N is the peer's address N-1, which holds (N-1) * 7.
        QCOMPARE(runTransaction(master, ModbusMaster::ReadRegisters, 8449, 16), 0);
        for (int i = 0; i < 16; ++i)
            QCOMPARE(master.registerValue(i), qint16(quint16((8448 + i) * 7)));
        QCOMPARE(runTransaction(master, ModbusMaster::ReadRegisters, 1, 125), 0);
        QCOMPARE(master.registerValue(124), qint16(124 * 7));

        master.setRegisterValue(0, -2);
        QCOMPARE(runTransaction(master, ModbusMaster::WriteRegister, 2346), 0);
        master.setRegisterValue(0, 605);
        master.setRegisterValue(1, 32766);
        QCOMPARE(runTransaction(master, ModbusMaster::DownloadRegisters, 1793, 2), 0);
        QCOMPARE(runTransaction(master, ModbusMaster::ReadRegisters, 1793, 2), 0);
        QCOMPARE(master.registerValue(0), qint16(605));
        QCOMPARE(master.registerValue(1), qint16(32766));
        QCOMPARE(runTransaction(master, ModbusMaster::ReadRegisters, 2346), 0);
        QCOMPARE(master.registerValue(0), qint16(-2));

        // Past the peer's registers: its refusal, illegal data address.
        QCOMPARE(runTransaction(master, ModbusMaster::ReadRegisters, 10001), 2);
        master.setRegisterValue(0, 1);
        QCOMPARE(runTransaction(master, ModbusMaster::WriteRegister, 10001), 2);
        // And the link goes on after a refusal.
        QCOMPARE(runTransaction(master, ModbusMaster::ReadRegisters, 2), 0);
        QCOMPARE(master.registerValue(0), qint16(7));
    }
    void simulatorServesLibmodbus_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<QStringList>("operations"); // protocol addresses: register number - 1
        QTest::addColumn<QStringList>("expected");

        // 2345/2346: series and model numbers; 2330: the frequency command.
        QTest::newRow("one drive") << QStringList {} // unit 255 is the device itself
                                   << QStringList {"r:2345:2", "m:2330:150", "r:2330:1", "w:2330:-3", "r:60000:1",
                                          "u:255", "r:2345:2", "u:7", "r:2345:2"}
                                   << QStringList {"ok 2 5", "ok", "ok 150", "exception 3", "exception 2", "ok 2 5",
                                          "error Connection timed out"};
        QTest::newRow("gateway, two drives")
            << QStringList {"--units", "1,2"}
            << QStringList {"u:1", "w:2330:123", "u:2", "w:2330:45", "u:1", "r:2330:1", "u:2", "r:2330:1", "r:2345:2",
                   "u:3", "r:2345:2", "u:255", "m:2330:1"}
            << QStringList {"ok", "ok", "ok 123", "ok 45", "ok 2 5", "exception 11", "exception 11"};
        QTest::newRow("node 3") << QStringList {"--node", "3"} << QStringList {"u:3", "r:2345:2", "u:1", "r:2345:2"}
                                << QStringList {"ok 2 5", "error Connection timed out"};
    }
    void simulatorServesLibmodbus()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(QStringList, operations);
        QFETCH(QStringList, expected);
        Test::SimProcess sim(QStringList {"--drive", "02,05,120"} + simArguments);
        QString error;
        QVERIFY2(sim.startTcp(&error), qPrintable(error));
        const QString target = sim.readyTarget();
        QProcess client;
        client.start(QStringLiteral(TARVEL_MODBUS_PEER),
            QStringList {"client", target.section(u':', 0, 0), target.section(u':', 1)} + operations);
        QVERIFY(client.waitForFinished(10000));
        QCOMPARE(client.exitCode(), 0);
        QCOMPARE(QString::fromLatin1(client.readAllStandardOutput()).split(u'\n', Qt::SkipEmptyParts), expected);
    }

private:
    // Starts the peer and opens a new master on what it serves.
    bool start(const QString &mode)
    {
        m_peer.start(QStringLiteral(TARVEL_MODBUS_PEER), {mode, QString::number(kUnit)});
        if (!m_peer.waitForStarted(5000))
            return false;
        while (!m_peer.canReadLine()) {
            if (!m_peer.waitForReadyRead(5000))
                return false;
        }
        m_master = std::make_unique<ModbusMaster>();
        m_master->setConnectionTarget(QString::fromLocal8Bit(m_peer.readLine()).trimmed());
        m_master->setNodeAddress(QString::number(kUnit));
        m_master->setAsciiMode(0);
        m_master->setPortSettings(QStringLiteral("19200,N,8,1"));
        m_master->setTimeOut(1000);
        m_master->setPortOpen(true);
        return m_master->portOpen();
    }

    QProcess m_peer;
    std::unique_ptr<ModbusMaster> m_master;
};

QTEST_GUILESS_MAIN(TestModbusPeer)
#include "tst_modbuspeer.moc"
