// tarvel-cli's detect and status as a user runs them: processes talking to
// the simulated drive on a pseudo-terminal.
#include "SimProcess.h"
#include "TestSupport.h"

#include <QProcess>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QString ComError
    = QStringLiteral("MSG Com Error: Selected Com port does not exist or is in use by another application.");
const QString DriveNotFound = QStringLiteral("MSG Drive Not Found.: Drive not found. Please check your settings.");

struct Run
{
    int status = -1;
    QStringList out;
    QString err;
};

} // namespace

class TestCliLink : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgram> m_program;
    std::unique_ptr<SimProcess> m_sim;

    // "LINK" in `args` stands for the simulator's device (a missing one
    // without simulator); every "Com N" leads there too.
    void start(QProcess &process, QStringList args)
    {
        const QString link = m_sim ? m_sim->link() : m_program->path("no-drive");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TARVEL_HOME", m_program->dir());
        env.insert("TARVEL_PORTS", QStringList(4, link).join(u':'));
        process.setProcessEnvironment(env);
        process.start(QStringLiteral(TARVEL_CLI_PATH), args.replaceInStrings("LINK", link));
    }

    Run finish(QProcess &process)
    {
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
    }

    Run run(const QStringList &args)
    {
        QProcess process;
        start(process, args);
        return finish(process);
    }

    bool startSim(const QStringList &arguments)
    {
        m_sim = std::make_unique<SimProcess>(arguments);
        QString error;
        const bool started = m_sim->startPty(&error);
        if (!started)
            qWarning() << error;
        return started;
    }

private Q_SLOTS:
    void init() { m_program = std::make_unique<TempProgram>(); }
    void cleanup()
    {
        m_sim.reset();
        m_program.reset();
    }

    void status_data()
    {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QStringList>("identity");
        QTest::newRow("device path, catalogue settings")
            << QStringList {"--drive", "03,06,104", "--fault", "7"} << QStringList {"status", "LINK"}
            << QStringList {"Series: 3", "Model: 6", "Rev: 104", "Fault code: 7"};
        QTest::newRow("--port with node and ascii settings")
            << QStringList {"--drive", "02,05,120", "--node", "17", "--mode", "ascii", "--settings", "9600,O,7,1"}
            << QStringList {"status", "--port", "LINK", "--node", "17", "--settings", "9600,O,7,1"}
            << QStringList {"Series: 2", "Model: 5", "Rev: 120", "Fault code: 0"};
        QTest::newRow("Com 2") << QStringList {"--drive", "01,01,104"} << QStringList {"status", "Com 2"}
                               << QStringList {"Series: 1", "Model: 1", "Rev: 104", "Fault code: 0"};
    }

    void status()
    {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, args);
        QFETCH(QStringList, identity);
        QVERIFY(startSim(sim));
        const Run r = run(args);
        QVERIFY2(r.status == 0, qPrintable(r.out.join('\n') + r.err));
        QVERIFY2(r.out.value(0).startsWith("Drive Status - STOP"), qPrintable(r.out.value(0)));
        QCOMPARE(r.out.mid(1, 4), identity);
        // ST00.02 .. ST00.16; the last is the drive's revision.
        QCOMPARE(r.out.size(), 5 + 15);
        QVERIFY(r.out.at(5).startsWith("ST00.02 = "));
        QCOMPARE(r.out.last(), "ST00.16 = " + identity.at(2).mid(5));
    }

    void cannotRun_data()
    {
        QTest::addColumn<bool>("withSim");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<QString>("firstLine"); // of stdout, or of stderr when stdout is empty
        QTest::newRow("status, wrong settings")
            << true << QStringList {"status", "LINK", "--settings", "9600,E,8,1"} << DriveNotFound;
        QTest::newRow("status, wrong node") << true << QStringList {"status", "LINK", "--node", "2"} << DriveNotFound;
        QTest::newRow("status, missing port") << false << QStringList {"status", "LINK"} << ComError;
        QTest::newRow("detect, missing port") << false << QStringList {"detect", "--port", "LINK"} << ComError;
        QTest::newRow("detect, missing Com 4") << false << QStringList {"detect", "Com 4"} << ComError;
        QTest::newRow("detect, no port") << false << QStringList {"detect"}
                                         << "tarvel-cli: detect needs the port to search: a device path or \"Com N\"";
        QTest::newRow("detect, link options") << false << QStringList {"detect", "LINK", "--node", "3"}
                                              << "tarvel-cli: detect does not take the option --node";
    }

    void cannotRun()
    {
        QFETCH(bool, withSim);
        QFETCH(QStringList, args);
        QFETCH(QString, firstLine);
        if (withSim)
            QVERIFY(startSim({"--drive", "02,05,120"}));
        const Run r = run(args);
        QCOMPARE(r.status, 2);
        QVERIFY(r.out.size() <= 1);
        const QString first = r.out.isEmpty() ? r.err.section(u'\n', 0, 0) : r.out.first();
        QVERIFY2(first.startsWith(firstLine), qPrintable(first));
    }

    // The drive answers on the fifth combination; every try is printed
    // while the search goes on, and the options it prints reach the drive.
    void detectFindsAsciiDrive()
    {
        QVERIFY(startSim({"--drive", "02,05,120", "--mode", "ascii", "--settings", "9600,E,7,1"}));
        QProcess process;
        start(process, {"detect", "--port", "LINK"});
        QVERIFY(process.waitForReadyRead(10000) && process.canReadLine());
        QCOMPARE(process.readLine(), "Trying Node Address 1 - ASCII Mode - 4800,N,7,2\n");
        QCOMPARE(process.state(), QProcess::Running);
        const Run r = finish(process);
        QCOMPARE(r.status, 0);
        QCOMPARE(r.out,
            (QStringList {"Trying Node Address 1 - ASCII Mode - 4800,E,7,1",
                "Trying Node Address 1 - ASCII Mode - 4800,O,7,1", "Trying Node Address 1 - ASCII Mode - 9600,N,7,2",
                "Trying Node Address 1 - ASCII Mode - 9600,E,7,1",
                "Node Address 1 - ASCII Mode - 9600,E,7,1 - Succeeded",
                "Connection established to Node Address 1 - ASCII Mode - 9600,E,7,1",
                "Link options: --node 1 --mode ascii --settings 9600,E,7,1"}));
        const Run status = run(QStringList {"status", "LINK"} + r.out.last().section(u' ', 2).split(u' '));
        QVERIFY2(status.status == 0, qPrintable(status.out.join('\n') + status.err));
        QCOMPARE(status.out.at(1), "Series: 2");
    }
};

QTEST_GUILESS_MAIN(TestCliLink)
#include "tst_clilink.moc"
