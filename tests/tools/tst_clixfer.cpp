// tarvel-cli upload and download as a user runs them: processes against
// simulated drives on pseudo-terminals, the drives' registers read back
// over the line to see what really arrived.
#include "SimProcess.h"
#include "TestSupport.h"

#include "files/ConfigFile.h"

#include <QProcess>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace {

const QString Rtu = QStringLiteral("19200,E,8,1");

struct Run
{
    int status = -1;
    QStringList out;
    QString err;
};

// What the tests write into a simulator or a file, away from the defaults:
// P1.03 = 12.5 and P1.06 = 7.5 (resolution 0.1) and the list P1.07 at its
// entry 2.
struct Setting
{
    QString name;
    int reg;
    QString value; // as `set` takes it
    qint16 raw; // in register units
};
const QList<Setting> Settings {
    {"P1.03", 260, "12.5", 125},
    {"P1.06", 263, "7.5", 75},
    {"P1.07", 264, "2", 2},
};

} // namespace

class TestCliTransfer : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgram> m_program;
    std::vector<std::unique_ptr<SimProcess>> m_sims;

    QString path(const QString &name) const { return m_program->path(name); }

    SimProcess *startSim(const QStringList &arguments)
    {
        auto sim = std::make_unique<SimProcess>(arguments);
        QString error;
        if (!sim->startPty(&error)) {
            qWarning() << error;
            return nullptr;
        }
        m_sims.push_back(std::move(sim));
        return m_sims.back().get();
    }

    // "LINK" in `args` stands for the simulator's device, a missing device
    // without one.
    Run run(QStringList args, const SimProcess *sim = nullptr)
    {
        QProcess process;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TARVEL_HOME", m_program->dir());
        env.insert("TARVEL_PACING", "fast");
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_program->dir());
        process.start(QStringLiteral(TARVEL_CLI_PATH),
            args.replaceInStrings("LINK", sim ? sim->link() : m_program->path("no-drive")));
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        return {process.exitCode(), QString::fromUtf8(process.readAllStandardOutput()).split('\n', Qt::SkipEmptyParts),
            QString::fromUtf8(process.readAllStandardError())};
    }

    // A line of its own to the simulator, closed again before the tool
    // opens the device.
    static bool openLine(SimLine &line, const SimProcess &sim, const QString &format)
    {
        QString error;
        if (!line.open(sim.link(), format, &error)) {
            qWarning() << error;
            return false;
        }
        return true;
    }

    static std::optional<qint16> readRegister(SimLine &line, int reg, quint8 node = 1)
    {
        const std::optional<ModbusReply> reply = line.ask(node, ModbusPdu::readHoldingRegisters(quint16(reg - 1), 1));
        if (!reply || reply->status != ModbusReply::Status::Ok || reply->values.size() != 1)
            return std::nullopt;
        return qint16(reply->values.first());
    }

    static bool writeSettings(const SimProcess &sim, quint8 node = 1, const QString &format = Rtu,
        ModbusTransport::Framing framing = ModbusTransport::Framing::Rtu)
    {
        SimLine line(framing);
        if (!openLine(line, sim, format))
            return false;
        for (const Setting &s : Settings) {
            const std::optional<ModbusReply> reply
                = line.ask(node, ModbusPdu::writeSingleRegister(quint16(s.reg - 1), quint16(s.raw)));
            if (!reply || reply->status != ModbusReply::Status::Ok)
                return false;
        }
        return true;
    }

    // For each test setting, whether the drive holds its value.
    static QList<bool> settingsHeld(const SimProcess &sim)
    {
        SimLine line;
        QList<bool> held;
        if (!openLine(line, sim, Rtu))
            return held;
        for (const Setting &s : Settings)
            held << (readRegister(line, s.reg) == s.raw);
        return held;
    }

    // A configuration of 02,05,120 holding the test settings, made with
    // the tool's own new and set.
    QString settingsFile()
    {
        const QString file = path("settings.qxc");
        if (run({"new", "--drive", "02,05,120", file}).status != 0)
            return {};
        QStringList set {"set", file};
        for (const Setting &s : Settings)
            set << s.name + u'=' + s.value;
        return run(set).status == 0 ? file : QString();
    }

    // The settings file with P1.03 beyond its maximum of 600, as a hand
    // edit might leave it; the open puts the default in its place.
    QString outOfRangeFile()
    {
        const QString file = settingsFile();
        QFile f(file);
        if (file.isEmpty() || !f.open(QIODevice::ReadOnly))
            return {};
        QByteArray bytes = f.readAll();
        f.close();
        const qsizetype at = bytes.indexOf("\n103");
        if (at < 0 || !f.open(QIODevice::WriteOnly))
            return {};
        bytes.insert(at + 4, "9999");
        f.write(bytes);
        return file;
    }

private Q_SLOTS:
    void init() { m_program = std::make_unique<TempProgram>(); }
    void cleanup()
    {
        m_sims.clear();
        m_program.reset();
    }

    void upload_data()
    {
        QTest::addColumn<QStringList>("simLink"); // the simulator's link options
        QTest::addColumn<QStringList>("cliLink"); // those the tool is given
        QTest::addColumn<bool>("outOfRange"); // the drive holds P1.03 above its maximum
        QTest::newRow("catalogue link settings") << QStringList {} << QStringList {} << false;
        QTest::newRow("block") << QStringList {} << QStringList {"--block"} << false;
        QTest::newRow("node 9, 9600 baud") << QStringList {"--node", "9", "--settings", "9600,O,8,1"}
                                           << QStringList {"--node", "9", "--settings", "9600,O,8,1"} << false;
        QTest::newRow("value out of range") << QStringList {"--no-range-check"} << QStringList {} << true;
    }

    // The tool reads over the link it is told to use and writes the file;
    // that the file holds every value the drive holds is the round trip's
    // and the upload operation's own test.
    void upload()
    {
        QFETCH(QStringList, simLink);
        QFETCH(QStringList, cliLink);
        QFETCH(bool, outOfRange);
        SimProcess *sim = startSim(QStringList {"--drive", "02,05,120"} + simLink);
        QVERIFY(sim);
        const quint8 node = simLink.contains("--node") ? 9 : 1;
        const QString format = simLink.contains("--settings") ? simLink.last() : Rtu;
        QVERIFY(writeSettings(*sim, node, format));
        if (outOfRange) {
            SimLine line;
            QVERIFY(openLine(line, *sim, Rtu));
            QVERIFY(line.ask(1, ModbusPdu::writeSingleRegister(260 - 1, 9999)));
        }
        const QString file = path("up.qxc");
        const Run r = run(QStringList {"upload", "LINK", "-o", file, "--yes"} + cliLink, sim);
        QVERIFY2(r.status == (outOfRange ? 1 : 0), qPrintable(r.out.join('\n') + r.err));
        QVERIFY(r.out.filter(QRegularExpression("^Upload started ")).size() == 1);
        QVERIFY2(r.out.filter(QRegularExpression("^Upload of Drive Model .* completed ")).size() == 1,
            qPrintable(r.out.join('\n')));
        QCOMPARE(r.err.contains("values read from the drive were out of range and replaced by their defaults: 1"),
            outOfRange);
        AppContext &ctx = m_program->ctx();
        QVERIFY(ConfigFile(ctx).openFile(file));
        if (!outOfRange)
            QCOMPARE(ctx.editor.txtP(103).text().toDouble(), Settings.first().value.toDouble());
    }

    void download_data()
    {
        QTest::addColumn<QStringList>("simExtra");
        QTest::addColumn<QStringList>("cliExtra");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("ignored"); // parameters whose writes the drive drops
        QTest::newRow("single") << QStringList {} << QStringList {} << 0 << QStringList {};
        QTest::newRow("block") << QStringList {} << QStringList {"--block"} << 0 << QStringList {};
        QTest::newRow("write ignored") << QStringList {"--ignore-write-at", "260"} << QStringList {} << 1
                                       << QStringList {"P1.03"};
        QTest::newRow("writes ignored, block") << QStringList {"--ignore-write-at", "260,264"}
                                               << QStringList {"--block"} << 1 << QStringList {"P1.03", "P1.07"};
    }

    // What the file holds arrives in the drive; what the drive dropped is
    // found by the read-back, one line per parameter.
    void download()
    {
        QFETCH(QStringList, simExtra);
        QFETCH(QStringList, cliExtra);
        QFETCH(int, status);
        QFETCH(QStringList, ignored);
        const QString file = settingsFile();
        QVERIFY(!file.isEmpty());
        SimProcess *sim = startSim(QStringList {"--drive", "02,05,120"} + simExtra);
        QVERIFY(sim);
        const Run r = run(QStringList {"download", file, "LINK", "--yes"} + cliExtra, sim);
        QVERIFY2(r.status == status, qPrintable(r.out.join('\n') + r.err));
        QStringList differs;
        for (const QString &name : ignored)
            differs << "Validation indicates " + name + " differs between configuration and drive.";
        QCOMPARE(r.out.filter("Validation indicates "), differs);
        QCOMPARE(r.out.filter(QRegularExpression("^Download & Verification complete ")).size(), status == 0 ? 1 : 0);
        QList<bool> held;
        for (const Setting &s : Settings)
            held << !ignored.contains(s.name);
        QCOMPARE(settingsHeld(*sim), held);
    }

    // Uploading from one drive and downloading into another leaves the
    // second holding what the first held (value by value in the download
    // operation's round trip).
    void uploadThenDownload()
    {
        SimProcess *from = startSim({"--drive", "03,06,104"});
        SimProcess *to = startSim({"--drive", "03,06,104"});
        QVERIFY(from && to && writeSettings(*from));
        const QString file = path("copy.qxc");
        QCOMPARE(run({"upload", "LINK", "-o", file, "--yes", "--block"}, from).status, 0);
        const Run r = run({"download", file, "LINK", "--yes", "--block"}, to);
        QVERIFY2(r.status == 0, qPrintable(r.out.join('\n') + r.err));
        QCOMPARE(settingsHeld(*to), QList<bool>(Settings.size(), true));
    }

    void refused_data()
    {
        QTest::addColumn<QString>("sim"); // drive of the simulator; empty for none
        QTest::addColumn<bool>("running");
        QTest::addColumn<QStringList>("args"); // FILE: a configuration of 02,05,120
        QTest::addColumn<QString>("told"); // start of a stdout line, or of stderr
        const QString noPort = "MSG Com Error: Selected Com port does not exist or is in use";
        QTest::newRow("upload, no --yes") << "02,05,120" << false << QStringList {"upload", "LINK", "-o", "OUT"}
                                          << "MSG Verification Required: Any configuration information";
        QTest::newRow("upload, no simulator")
            << "" << false << QStringList {"upload", "LINK", "-o", "OUT", "--yes"} << noPort;
        QTest::newRow("upload, wrong settings")
            << "02,05,120" << false << QStringList {"upload", "LINK", "-o", "OUT", "--yes", "--settings", "9600,E,8,1"}
            << "MSG Drive Not Found.: Drive not found.";
        QTest::newRow("upload, drive not in catalogue")
            << "02,05,120 --identity 02,05,199" << false << QStringList {"upload", "LINK", "-o", "OUT", "--yes"}
            << "MSG Drive not supported: Program does not support connected drive model/rev.";
        QTest::newRow("upload, no -o") << "02,05,120" << false << QStringList {"upload", "LINK", "--yes"}
                                       << "tarvel-cli: upload needs -o FILE.qxc";
        QTest::newRow("download, no --yes") << "02,05,120" << false << QStringList {"download", "FILE", "LINK"}
                                            << "MSG Confirm Download: The setup in the QX AC Drive";
        QTest::newRow("download, other drive")
            << "03,06,104" << false << QStringList {"download", "FILE", "LINK", "--yes"}
            << "MSG Drive Mismatch: Current configuration does not match";
        QTest::newRow("download, drive running")
            << "02,05,120" << true << QStringList {"download", "FILE", "LINK", "--yes"}
            << "MSG Drive Is Running!: Drive must be stopped";
        QTest::newRow("download, missing file")
            << "02,05,120" << false << QStringList {"download", "missing.qxc", "LINK", "--yes"}
            << "MSG File missing: Error loading file.";
        QTest::newRow("download, value out of range")
            << "02,05,120" << false << QStringList {"download", "BADFILE", "LINK", "--yes"} << "tarvel-cli: values of ";
        QTest::newRow("download, no simulator")
            << "" << false << QStringList {"download", "FILE", "LINK", "--yes"} << noPort;
    }

    // Refused or broken off: status 2, told why, no file written and no
    // register of the drive changed.
    void refused()
    {
        QFETCH(QString, sim);
        QFETCH(bool, running);
        QFETCH(QStringList, args);
        QFETCH(QString, told);
        SimProcess *drive = nullptr;
        if (!sim.isEmpty()) {
            drive = startSim(QStringList {"--drive"} + sim.split(' '));
            QVERIFY(drive);
        }
        if (running) {
            SimLine line;
            QVERIFY(openLine(line, *drive, Rtu));
            QVERIFY(line.ask(1, ModbusPdu::writeSingleRegister(2332 - 1, 1))); // P9.27, run
        }
        const QString out = path("out.qxc");
        if (args.contains("BADFILE"))
            args.replaceInStrings("BADFILE", outOfRangeFile());
        const Run r = run(args.replaceInStrings("OUT", out).replaceInStrings("FILE", settingsFile()), drive);
        QVERIFY2(r.status == 2, qPrintable(r.out.join('\n') + r.err));
        if (told.startsWith("MSG "))
            QVERIFY2(r.out.filter(told).size() == 1, qPrintable(r.out.join('\n')));
        else
            QVERIFY2(r.err.startsWith(told), qPrintable(r.err));
        QVERIFY(!QFileInfo::exists(out));
        QVERIFY(r.out.filter(QRegularExpression("^(Upload|Download) started ")).isEmpty());
        // The settings file's values never reached a drive that would take them.
        if (sim == "02,05,120")
            QCOMPARE(settingsHeld(*drive), QList<bool>(Settings.size(), false));
    }
};

QTEST_GUILESS_MAIN(TestCliTransfer)
#include "tst_clixfer.moc"
