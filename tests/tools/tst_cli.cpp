// tarvel-cli: parameter names, link options and the status report in
// process; then the tool as a user runs it, a process over a program folder
// of its own, against simulated drives (on Modbus/TCP for the Ethernet
// route): what reaches the core from the command line, what comes back on
// stdout, stderr and the exit status, and what the drive holds after.
#include "DriveStatusReport.h"
#include "LinkOptions.h"
#include "LinkTestSupport.h"
#include "ParamName.h"
#include "PdfText.h"
#include "SimProcess.h"
#include "TestSupport.h"
#include "app/AboutInfo.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "comm/ComSetTable.h"
#include "files/FileTestSupport.h"

#include <QCommandLineParser>
#include <QDir>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QtTest>

#include "TestMain.h"

#include <unistd.h>

using namespace Tarvel;
using namespace Tarvel::Test;

namespace Parts {

class TestCliParts : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void paramName_data()
    {
        QTest::addColumn<QString>("name");
        QTest::addColumn<int>("index"); // -1: not a name
        QTest::newRow("P0.05") << "P0.05" << 5;
        QTest::newRow("P9.41") << "P9.41" << 941;
        QTest::newRow("P10.05") << "P10.05" << 1005;
        QTest::newRow("lower case p") << "p3.00" << 300;
        QTest::newRow("beyond the last group") << "P11.00" << -1;
        QTest::newRow("one digit number") << "P1.5" << -1;
        QTest::newRow("no P") << "1.05" << -1;
        QTest::newRow("trailing text") << "P1.05x" << -1;
        QTest::newRow("empty") << "" << -1;
    }

    void paramName()
    {
        QFETCH(QString, name);
        QFETCH(int, index);
        const std::optional<int> parsed = ParamName::parse(name);
        QCOMPARE(parsed.value_or(-1), index);
    }

    void linkOptions_data()
    {
        QTest::addColumn<QStringList>("arguments");
        // "node commPort target asciiMode settings", "-" for no target;
        // empty when the options are refused.
        QTest::addColumn<QString>("parsed");
        QTest::newRow("catalogue defaults") << QStringList {} << "1 0 - 0 19200,E,8,1";
        QTest::newRow("Com 3") << QStringList {"--port", "Com 3"} << "1 2 - 0 19200,E,8,1";
        QTest::newRow("com6 unspaced") << QStringList {"--port", "com6"} << "1 5 - 0 19200,E,8,1";
        QTest::newRow("device path") << QStringList {"--port", "/dev/ttyUSB0", "--node", "12"}
                                     << "12 0 /dev/ttyUSB0 0 19200,E,8,1";
        QTest::newRow("ascii takes its own format") << QStringList {"--mode", "ascii"} << "1 0 - 1 19200,E,7,1";
        QTest::newRow("7 data bits mean ascii") << QStringList {"--settings", "9600,O,7,1"} << "1 0 - 1 9600,O,7,1";
        QTest::newRow("mode wins over bits")
            << QStringList {"--settings", "9600,N,8,2", "--mode", "RTU"} << "1 0 - 0 9600,N,8,2";
        QTest::newRow("Com 7") << QStringList {"--port", "Com 7"} << "";
        QTest::newRow("relative path") << QStringList {"--port", "ttyS0"} << "";
        QTest::newRow("node 0") << QStringList {"--node", "0"} << "";
        QTest::newRow("node 248") << QStringList {"--node", "248"} << "";
        QTest::newRow("node letters") << QStringList {"--node", "1a"} << "";
        QTest::newRow("bad mode") << QStringList {"--mode", "tcp"} << "";
        QTest::newRow("bad settings") << QStringList {"--settings", "19200,X,8,1"} << "";
    }
    void linkOptions()
    {
        QFETCH(QStringList, arguments);
        QFETCH(QString, parsed);
        QCommandLineParser parser;
        LinkOptions::addTo(parser);
        QVERIFY(parser.parse(QStringList {"tarvel-cli"} + arguments));
        Catalogue catalogue(builtCatalogue());
        catalogue.connect();
        QString error;
        const std::optional<SerialLinkSettings> s
            = LinkOptions::fromParser(parser, ComSetTable::read(catalogue), &error);
        QCOMPARE(s.has_value(), !parsed.isEmpty());
        if (!s) {
            QVERIFY(error.startsWith(QLatin1String("--")));
            return;
        }
        QCOMPARE(QStringLiteral("%1 %2 %3 %4 %5")
                     .arg(s->nodeAddress, QString::number(s->commPort), s->target.isEmpty() ? "-" : s->target,
                         QString::number(s->asciiMode), s->portSettings),
            parsed);
    }
    void statusReport_data()
    {
        QTest::addColumn<QStringList>("simArguments");
        QTest::addColumn<QStringList>("head"); // the lines before the status values
        QTest::addColumn<int>("statusLines");
        QTest::addColumn<QString>("notRead");
        QTest::newRow("every read") << QStringList {"--fault",
            "3"} << QStringList {"Drive Status - STOP, FWD     ", "Series: 2", "Model: 5", "Rev: 120", "Fault code: 3"}
                                    << 15 << QString();
        QTest::newRow("fault code refused")
            << QStringList {"--exception-at", "8449"}
            << QStringList {"Drive Status - STOP, FWD     ", "Series: 2", "Model: 5", "Rev: 120"} << 15
            << "Not read: fault code (1 registers from 8449): exception 4 (slave device failure)";
        QTest::newRow("status block refused")
            << QStringList {"--exception-at", "8455"} << QStringList {"Series: 2", "Model: 5", "Fault code: 0"} << 0
            << "Not read: status block (16 registers from 8450): exception 4 (slave device failure)";
    }
    // Only what this run read is shown, and each read that failed is named.
    void statusReport()
    {
        QFETCH(QStringList, simArguments);
        QFETCH(QStringList, head);
        QFETCH(int, statusLines);
        QFETCH(QString, notRead);
        LinkFixture fixture(simArguments);
        QString error;
        QVERIFY2(fixture.start(&error), qPrintable(error));
        const DriveStatusReport::Result result = DriveStatusReport::run(fixture.ctx(), SerialLinkSettings());
        QCOMPARE(result.ok, notRead.isEmpty());
        QCOMPARE(result.lines.mid(0, head.size()), head);
        QCOMPARE(result.lines.filter(QRegularExpression("^ST00\\.")).size(), statusLines);
        if (statusLines > 0)
            QCOMPARE(result.lines.at(head.size() + 14), QStringLiteral("ST00.16 = 120"));
        QCOMPARE(result.lines.filter("Not read: "), notRead.isEmpty() ? QStringList() : QStringList {notRead});
        QCOMPARE(result.error.isEmpty(), notRead.isEmpty());
        QVERIFY(!fixture.link().serialOpen());
    }
};

} // namespace Parts

namespace Process {

namespace {

struct Run
{
    int status = -1;
    QStringList out;
    QStringList err;
    QString errText() const { return err.join(u'\n'); }
    QString all() const { return out.join(u'\n') + u'\n' + errText(); }
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

// A configuration of 02,05,120 with P1.03 beyond its maximum of 600, as a
// hand edit might leave it; the open puts the default in its place.
const QStringList OutOfRange {"#0205120", "#", "#", "#", "#", "103700"};

QStringList fileLines(const QString &path)
{
    return TextFile::decodeLines(readBytes(path));
}

void writeLines(const QString &path, const QStringList &lines)
{
    writeBytes(path, TextFile::encodeLines(lines));
}

// The simulated drive's answer (node 1, RTU) on a line of the test's own,
// closed again before the tool opens the device.
std::optional<ModbusReply> ask(const SimProcess &sim, const ModbusRequest &request)
{
    SimLine line;
    QString error;
    if (!line.open(sim.link(), QStringLiteral("19200,E,8,1"), &error)) {
        qWarning() << error;
        return std::nullopt;
    }
    return line.ask(1, request);
}

std::optional<qint16> readRegister(const SimProcess &sim, int reg)
{
    const std::optional<ModbusReply> reply = ask(sim, ModbusPdu::readHoldingRegisters(quint16(reg - 1), 1));
    if (!reply || reply->status != ModbusReply::Status::Ok || reply->values.size() != 1)
        return std::nullopt;
    return qint16(reply->values.first());
}

bool writeRegister(const SimProcess &sim, int reg, qint16 value)
{
    const std::optional<ModbusReply> reply = ask(sim, ModbusPdu::writeSingleRegister(quint16(reg - 1), quint16(value)));
    return reply && reply->status == ModbusReply::Status::Ok;
}

bool writeSettings(const SimProcess &sim)
{
    return std::all_of(
        Settings.begin(), Settings.end(), [&](const Setting &s) { return writeRegister(sim, s.reg, s.raw); });
}

// For each test setting, whether the drive holds its value.
QList<bool> settingsHeld(const SimProcess &sim)
{
    QList<bool> held;
    for (const Setting &s : Settings)
        held << (readRegister(sim, s.reg) == s.raw);
    return held;
}

} // namespace

class TestCli : public QObject
{
    Q_OBJECT

    std::unique_ptr<TempProgram> m_program;
    std::vector<std::unique_ptr<SimProcess>> m_sims;

    QString path(const QString &relative) const { return m_program->path(relative); }

    // A simulated QX2 (02,05,120) on a pseudo-terminal; null when it did
    // not start.
    SimProcess *startSim(const QStringList &arguments = {})
    {
        auto sim = std::make_unique<SimProcess>(QStringList {"--drive", "02,05,120"} + arguments);
        QString error;
        if (!sim->startPty(&error)) {
            qWarning() << error;
            return nullptr;
        }
        m_sims.push_back(std::move(sim));
        return m_sims.back().get();
    }

    // Starts the tool over the program folder, through `wrapper` when one
    // is given. "LINK" in `args` stands for the simulator's device, a
    // missing device without one; every "Com N" leads there too.
    void start(QProcess &process, QStringList args, const SimProcess *sim = nullptr, QStringList wrapper = {})
    {
        const QString link = sim ? sim->link() : path("no-drive");
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert("TARVEL_HOME", m_program->dir());
        env.insert("TARVEL_PACING", "fast");
        env.insert("TARVEL_PORTS", QStringList(4, link).join(u':'));
        process.setProcessEnvironment(env);
        process.setWorkingDirectory(m_program->dir());
        wrapper << TARVEL_CLI_PATH;
        const QString program = wrapper.takeFirst();
        process.start(program, wrapper + args.replaceInStrings("LINK", link));
    }

    static Run finish(QProcess &process)
    {
        if (!process.waitForFinished(120000) || process.exitStatus() != QProcess::NormalExit)
            return {};
        const auto lines
            = [](const QByteArray &bytes) { return QString::fromUtf8(bytes).split(u'\n', Qt::SkipEmptyParts); };
        return {process.exitCode(), lines(process.readAllStandardOutput()), lines(process.readAllStandardError())};
    }

    Run run(const QStringList &args, const SimProcess *sim = nullptr, const QStringList &wrapper = {})
    {
        QProcess process;
        start(process, args, sim, wrapper);
        return finish(process);
    }

    // A new configuration at `name` in the program folder, made by the tool.
    QString newConfig(const QString &name, const QString &drive = QStringLiteral("02,05,120"))
    {
        const QString file = path(name);
        return run({"new", "--drive", drive, file}).status == 0 ? file : QString();
    }

    // A configuration of 02,05,120 holding the test settings, made with
    // the tool's own new and set.
    QString settingsFile()
    {
        const QString file = newConfig("settings.qxc");
        QStringList set {"set", file};
        for (const Setting &s : Settings)
            set << s.name + u'=' + s.value;
        return run(set).status == 0 ? file : QString();
    }

private Q_SLOTS:
    void init() { m_program = std::make_unique<TempProgram>(); }
    void cleanup()
    {
        m_sims.clear();
        m_program.reset();
    }

    // new writes the drive's catalogue defaults; get shows each value as
    // its value box does; new replaces a file only when told.
    void newAndGet()
    {
        const QString file = path("Configs/Fan 1.qxc");
        const Run made = run({"new", "--drive", "02,05,120", file});
        QCOMPARE(made.status, 0);
        QVERIFY(made.err.isEmpty());
        QCOMPARE(fileLines(file).mid(0, 2), (QStringList {"#0205120", "#" + file}));

        const QStringList params {"P1.03", "P0.00", "P1.01"};
        const Run got = run(QStringList {"get", file, "P9.41"} + params);
        QCOMPARE(got.status, 0);
        QVERIFY(got.err.isEmpty());
        QVERIFY(loadDrive(m_program->ctx(), {"02", "05", "120"}));
        QStringList shown {"P9.41 = 02 (disabled)"}; // read-only: the drive's own
        for (const QString &name : params)
            shown << name + " = " + m_program->ctx().editor.txtP(ParamName::parse(name).value()).text();
        QCOMPARE(got.out.filter(" = "), shown);

        // The replace question is answered No, or Yes with --yes.
        const QByteArray before = readBytes(file);
        const Run no = run({"new", "--drive", "03,01,100", file});
        QCOMPARE(no.status, 1);
        QVERIFY2(no.out.value(0).startsWith("MSG Tarvel: The file " + file + " already exists."), qPrintable(no.all()));
        QCOMPARE(readBytes(file), before);
        QCOMPARE(run({"--yes", "new", "--drive", "03,01,100", file}).status, 0);
        QCOMPARE(fileLines(file).value(0), "#0301100");
    }

    void setValues_data()
    {
        QTest::addColumn<QStringList>("args"); // after the file; OUT: another file
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("messages");
        QTest::addColumn<QStringList>("values"); // "Pg.nn = TEXT" after each
        // The last parameter read back from the saved file: a choice comes
        // back as its entry's two-character code.
        QTest::addColumn<QString>("reread");
        QTest::newRow("too high keeps the last value")
            << QStringList {"P1.03=12.5", "P1.03=600.1"} << 1
            << QStringList {"MSG Value Out Of Range: The value entered for P1.03 is too high!\\rThe parameter will be "
                            "set to the previous value."}
            << QStringList {"P1.03 = 12.5", "P1.03 = 12.5"} << QString("P1.03 = 12.5");
        QTest::newRow("choice list position")
            << QStringList {"P3.00=3"} << 0 << QStringList {} << QStringList {"P3.00 = 3"} << QString("P3.00 = 03");
        QTest::newRow("to another file") << QStringList {"P1.03=20", "-o", "OUT"} << 0 << QStringList {}
                                         << QStringList {"P1.03 = 20"} << QString("P1.03 = 20");
    }

    void setValues()
    {
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QStringList, messages);
        QFETCH(QStringList, values);
        QFETCH(QString, reread);
        const QString file = newConfig("Configs/Pump.qxc");
        const QByteArray before = readBytes(file);
        const QString saved = args.contains("OUT") ? path("Configs/Copy.qxc") : file;
        const Run r = run(QStringList {"set", file} + args.replaceInStrings("OUT", saved));
        QCOMPARE(r.out.filter(QRegularExpression("^MSG ")), messages);
        QCOMPARE(r.out.filter(QRegularExpression("^P\\d+\\.\\d\\d = ")), values);
        QCOMPARE(r.status, status);
        if (status == 0)
            QVERIFY2(r.err.isEmpty(), qPrintable(r.errText()));
        QVERIFY2(r.out.last().startsWith("File Save operation completed "), qPrintable(r.out.last()));
        QCOMPARE(readBytes(file) == before, saved != file);
        // What the file now holds is what the last line showed, read back
        // through the open checks without a replacement.
        const Run back = run({"get", saved, reread.section(' ', 0, 0)});
        QCOMPARE(back.status, 0);
        QCOMPARE(back.out.last(), reread);
    }

    // A value out of range is reported, replaced, and makes the run one
    // with problems.
    void check()
    {
        writeLines(path("hand.qxc"), OutOfRange);
        const Run r = run({"check", path("hand.qxc")});
        QCOMPARE(r.status, 1);
        QCOMPARE(r.out.filter(" - P1.03 - Value too high. ").size(), 1);
        QCOMPARE(r.err.size(), 1); // one line telling of the replacement
    }

    void cannotRun_data()
    {
        QTest::addColumn<bool>("withSim");
        // FILE: a configuration of 02,05,120 holding the test settings;
        // BADFILE: one with P1.03 out of range; SAME: a configuration
        // of 02,05,107 that must stay as it is; OUT: a file not to write;
        // EMPTY: a folder without catalogue; LOCKED: a device closed to the
        // user.
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<bool>("usage");
        // The start of the one "MSG " line of stdout, else text of the first
        // line of stderr; DIR stands for the program folder.
        QTest::addColumn<QString>("told");
        const QString noPort = "MSG Com Error: Selected Com port does not exist or is in use";
        const QString denied = "MSG Com Port Permission: Permission denied on DIR/ttyUSB9: user ";
        QTest::newRow("no command") << false << QStringList {} << true << "no command given";
        QTest::newRow("unknown command") << false << QStringList {"erase"} << true << "unknown command 'erase'";
        QTest::newRow("unknown option") << false << QStringList {"drives", "--fast"} << true << "Unknown option 'fast'";
        QTest::newRow("option of another command")
            << false << QStringList {"get", "SAME", "P1.00", "--drive", "02,05,120"} << true
            << "get does not take the option --drive";
        QTest::newRow("get without parameter") << false << QStringList {"get", "SAME"} << true << "get takes";
        QTest::newRow("set without value")
            << false << QStringList {"set", "SAME", "P1.00"} << true << "P1.00 is not an assignment";
        QTest::newRow("set, parameter the drive does not use")
            << false << QStringList {"set", "SAME", "P1.03=20", "P10.05=1"} << false
            << "P10.05 is not used by this drive (02 05 107)";
        QTest::newRow("set, no such field")
            << false << QStringList {"set", "SAME", "P1.03=20", "P1.99=1"} << false << "P1.99 is not a parameter name";
        QTest::newRow("new without drive") << false << QStringList {"new", "OUT"} << true << "new needs --drive";
        QTest::newRow("new with an unknown drive") << false << QStringList {"new", "--drive", "02,05,999", "OUT"}
                                                   << false << "drive 02,05,999 is not in the catalogue";
        QTest::newRow("new into a missing folder")
            << false << QStringList {"new", "--drive", "02,05,120", "nowhere/x.qxc"} << false << "no folder for";
        QTest::newRow("missing program folder") << false << QStringList {"--home", "/no/such/folder", "drives"} << false
                                                << "tarvel-cli: no program folder /no/such/folder";
        QTest::newRow("missing catalogue") << false << QStringList {"--home", "EMPTY", "drives"} << false
                                           << "tarvel-cli: catalogue not found: DIR/Empty/Data/QX.qxd";
        QTest::newRow("missing file") << false << QStringList {"get", "gone.qxc", "P1.00"} << false
                                      << "MSG File missing: Error loading file.\\rCould not find DIR/gone.qxc.";
        QTest::newRow("unsupported drive")
            << false << QStringList {"check", "old.qxc"} << false
            << "MSG Non-Supported Drive Model: The file you are opening is configured for a drive model that is not "
               "curently supported.";
        QTest::newRow("devices, no server") << false << QStringList {"devices", "Tarvel.KOLV.9"} << false
                                            << "Tarvel.KOLV.9.ini: no such server definition";
        QTest::newRow("log, no drive") << false
                                       << QStringList {"log", "LINK", "--interval", "100", "--duration", "1", "-o",
                                              "OUT"}
                                       << false << noPort;
        QTest::newRow("status, wrong settings")
            << true << QStringList {"status", "LINK", "--settings", "9600,E,8,1"} << false
            << "MSG Drive Not Found.: Drive not found. Please check your settings.";
        QTest::newRow("detect, missing port") << false << QStringList {"detect", "--port", "LINK"} << false << noPort;
        QTest::newRow("detect, no port") << false << QStringList {"detect"} << true
                                         << "tarvel-cli: detect needs the port to search: a device path or \"Com N\"";
        QTest::newRow("detect, link options") << false << QStringList {"detect", "LINK", "--node", "3"} << true
                                              << "tarvel-cli: detect does not take the option --node";
        QTest::newRow("status, closed device") << false << QStringList {"status", "LOCKED"} << false << denied;
        QTest::newRow("upload, closed device")
            << false << QStringList {"upload", "LOCKED", "-o", "OUT", "--yes"} << false << denied;
        QTest::newRow("upload, no --yes") << true << QStringList {"upload", "LINK", "-o", "OUT"} << false
                                          << "MSG Verification Required: Any configuration information";
        QTest::newRow("upload, no simulator")
            << false << QStringList {"upload", "LINK", "-o", "OUT", "--yes"} << false << noPort;
        QTest::newRow("upload, no -o") << true << QStringList {"upload", "LINK", "--yes"} << true
                                       << "tarvel-cli: upload needs -o FILE.qxc";
        QTest::newRow("download, no --yes") << true << QStringList {"download", "FILE", "LINK"} << false
                                            << "MSG Confirm Download: The setup in the QX AC Drive";
        QTest::newRow("download, value out of range")
            << true << QStringList {"download", "BADFILE", "LINK", "--yes"} << false << "tarvel-cli: values of ";
    }

    // Refused or broken off: status 2, told why, no file written or
    // changed, no transfer started and no register of the drive changed.
    void cannotRun()
    {
        QFETCH(bool, withSim);
        QFETCH(QStringList, args);
        QFETCH(bool, usage);
        QFETCH(QString, told);
        QStringList wrapper;
        if (args.contains("LOCKED")) {
            // Root opens any file; without the capability that allows it,
            // the file's mode holds for root too.
            if (::geteuid() == 0)
                wrapper = QStringList {
                    QStandardPaths::findExecutable("setpriv"), "--bounding-set=-dac_override,-dac_read_search", "--"};
            if (wrapper.value(0, "not root").isEmpty())
                QSKIP("running as root without setpriv: every device opens");
            writeBytes(path("ttyUSB9"), {});
            QVERIFY(QFile::setPermissions(path("ttyUSB9"), {}));
        }
        const SimProcess *sim = withSim ? startSim() : nullptr;
        QVERIFY(sim || !withSim);
        writeLines(path("old.qxc"), {"#0205999", "#", "#", "#", "#", "10320"});
        writeLines(path("bad.qxc"), OutOfRange);
        writeLines(path("same.qxc"), {"#0205107", "#", "#", "#", "#", "10320"});
        const QByteArray same = readBytes(path("same.qxc"));
        args.replaceInStrings("SAME", path("same.qxc")).replaceInStrings("OUT", path("out.qxc"));
        args.replaceInStrings("BADFILE", path("bad.qxc"));
        args.replaceInStrings("EMPTY", path("Empty")).replaceInStrings("LOCKED", path("ttyUSB9"));
        QVERIFY(QDir().mkpath(path("Empty")));
        if (args.contains("FILE"))
            args.replaceInStrings("FILE", settingsFile());

        const Run r = run(args, sim, wrapper);
        QVERIFY2(r.status == 2, qPrintable(r.all()));
        told.replace("DIR", m_program->dir());
        const QStringList messages = r.out.filter(QRegularExpression("^MSG "));
        if (told.startsWith("MSG ")) {
            QCOMPARE(messages.size(), 1);
            QVERIFY2(messages.first().startsWith(told), qPrintable(messages.first()));
        } else {
            QVERIFY(messages.isEmpty());
            QVERIFY2(r.err.value(0).contains(told), qPrintable(r.errText()));
        }
        if (args.contains(path("ttyUSB9")))
            QVERIFY2(messages.first().contains("\\rsudo usermod -aG dialout "), qPrintable(messages.first()));
        QCOMPARE(r.err.contains("Usage: tarvel-cli [--home DIR] [--yes] COMMAND ..."), usage);
        QVERIFY(!QFile::exists(path("out.qxc")));
        QCOMPARE(readBytes(path("same.qxc")), same);
        QVERIFY(r.out.filter(QRegularExpression("^P\\d+\\.\\d\\d = ")).isEmpty());
        QVERIFY(r.out.filter(QRegularExpression("^(Upload|Download) started |^Trying ")).isEmpty());
        // The settings file's values never reached a drive that would take them.
        if (sim)
            QCOMPARE(settingsHeld(*sim), QList<bool>(Settings.size(), false));
    }

    // The schematic settings file decoded, changed as the pickers change it,
    // and drawn.
    void schematic()
    {
        const QString config = newConfig("Configs/Pump1.qxc");
        const QString file = path("Configs/Pump1.qxs");
        writeLines(path("Configs/Lone.qxs"), {"#x", "@" + path("Configs/Lone.qxc"), "321210130340434000"});
        const Run lone = run({"schematic", path("Configs/Lone.qxs")});
        QCOMPARE(lone.status, 0);
        QCOMPARE(lone.out.size(), 18); // no configuration: the length says series 3
        QCOMPARE(lone.out.value(6), "7 imgSW1: sink");

        const Run set = run({"schematic", config, "--set", "1=1", "--set", "5=9", "9=0", "10=0", "3=3"});
        QCOMPARE(set.status, 1); // 5=9 and the fixed 9 refused, the rest set
        QCOMPARE(set.err.size(), 2);
        QCOMPARE(fileLines(file).value(5), "11344444X0");

        writeLines(file, {"#", "1724"});
        const Run decoded = run({"schematic", file});
        QCOMPARE(decoded.status, 0);
        QCOMPARE(decoded.out,
            (QStringList {"1 imgFuse: disconnect", "2 imgReactor: unchanged", "3 imgDI(1): unchanged",
                "4 imgDI(2): none", "5 imgDI(3): unchanged", "6 imgDI(4): unchanged", "7 imgDI(5): unchanged",
                "8 imgDI(6): unchanged", "10 imgBrakeResistor: unchanged"}));

        const Run svg = run({"schematic", file, "--svg", path("out.svg")});
        QCOMPARE(svg.status, 0);
        const QByteArray drawing = readBytes(path("out.svg"));
        QVERIFY(drawing.contains(">QX-2-0P7H<") && drawing.contains(">Motor Nameplate Data<"));
        QCOMPARE(run({"schematic", file, "--svg", path("out2.svg"), "--page", "2"}).status, 2);

        QCOMPARE(run({"schematic", path("Configs/gone.qxs")}).status, 2);
        QCOMPARE(run({"schematic", path("Configs/Lone.qxs"), "--svg", path("x.svg")}).status, 2); // no .qxc
    }

    // The schematic printed without a display: a page per diagram page,
    // the title block's texts from the options and the configuration.
    void printToPdf()
    {
        if (!Test::hasPdfToText())
            QSKIP(Test::NoPdfToText);
        newConfig("Configs/Kiln.qxc", "03,06,104");
        const Run r = run({"print", path("Configs/Kiln.qxs"), "-o", path("kiln.pdf"), "--company", "Acme Mills",
            "--project", "Kiln 2", "--original"});
        QCOMPARE(r.status, 0);
        const QString text = Test::pdfText(path("kiln.pdf"));
        QCOMPARE(text.count(u'\f'), 2);
        for (const char *shown : {"Acme Mills", "Kiln 2", "Kiln.qxc"})
            QVERIFY2(text.contains(shown), shown);
        QCOMPARE(run({"print", path("Configs/Kiln.qxs"), "-o", path("x.pdf"), "--fit", "--original"}).status, 2);
        QVERIFY(!QFile::exists(path("x.pdf")));
    }

    void log_data()
    {
        QTest::addColumn<QString>("sim"); // the simulator's options
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("rows"); // -1: some, fewer than a full run
        QTest::newRow("recorded") << "" << 0 << 10;
        QTest::newRow("link lost") << "--stop-after 16" << 1 << -1;
    }

    // One row per interval, each with the time from the first and the ten
    // pens; a lost link keeps the rows before it.
    void log()
    {
        QFETCH(QString, sim);
        QFETCH(int, status);
        QFETCH(int, rows);
        const SimProcess *drive = startSim(sim.split(' ', Qt::SkipEmptyParts));
        QVERIFY(drive);
        const QString csv = path("rec.csv");
        const Run r = run({"log", "LINK", "--interval", "100", "--duration", "1", "-o", csv}, drive);
        QVERIFY2(r.status == status, qPrintable(r.all()));
        const QList<QByteArray> lines = readBytes(csv).split('\n');
        QCOMPARE(lines.first(),
            "Time (s),Output Frequency,Motor Speed,Output Hz X P8.01,Output Current,Motor Output "
            "Current,Output Voltage,DC Bus Voltage,PID Setpoint,PID Feedback,Frequency Setpoint\r");
        QCOMPARE(lines.last(), QByteArray());
        const qsizetype taken = lines.size() - 2;
        QVERIFY2(rows < 0 ? taken > 0 && taken < 10 : taken == rows, qPrintable(QString::number(taken)));
        double last = -1;
        for (const QByteArray &line : lines.mid(1, taken)) {
            const QList<QByteArray> cells = line.trimmed().split(',');
            QCOMPARE(cells.size(), 11);
            QVERIFY(cells[0].toDouble() > last);
            last = cells[0].toDouble();
            QCOMPARE(cells[8], "0"); // pen 7: no PID set-point given
        }
        QCOMPARE(lines.at(1).left(6), "0.000,");
    }

    void detect_data()
    {
        QTest::addColumn<QStringList>("sim");
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("tries");
        QTest::addColumn<QString>("first"); // the end of the first line
        QTest::addColumn<QString>("last");
        QTest::newRow("full search") << QStringList {"--mode", "ascii", "--settings", "4800,E,7,1"} << QStringList {}
                                     << 0 << 2 << "ASCII Mode - 4800,N,7,2"
                                     << "Link options: --node 1 --mode ascii --settings 4800,E,7,1";
        QTest::newRow("quick, RTU, node 200")
            << QStringList {"--node", "200"} << QStringList {"--quick", "--nodes", "199-200"} << 0 << 2
            << "RTU Mode - 19200,E,8,1"
            << "Link options: --node 200 --mode rtu --settings 19200,E,8,1";
        // After RTU 19200 and 9600 over every node.
        QTest::newRow("quick, ASCII") << QStringList {"--mode", "ascii", "--settings", "19200,E,7,1"}
                                      << QStringList {"--quick"} << 0 << 2 * 247 + 1 << "RTU Mode - 19200,E,8,1"
                                      << "Link options: --node 1 --mode ascii --settings 19200,E,7,1";
        // Every format, the common ones first; the last is the table's last.
        QTest::newRow("quick, no drive at nodes 1-2")
            << QStringList {"--node", "5"} << QStringList {"--quick", "--nodes", "1-2"} << 1 << 48
            << "RTU Mode - 19200,E,8,1"
            << "Trying Node Address 2 - ASCII Mode - 38400,O,7,1";
    }

    // Every try is printed while the search goes on; the link options
    // printed for the drive found reach it. The order of the tries is the
    // search's own test.
    void detect()
    {
        QFETCH(QStringList, sim);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(int, tries);
        QFETCH(QString, first);
        QFETCH(QString, last);
        const SimProcess *drive = startSim(sim);
        QVERIFY(drive);
        QProcess process;
        start(process, QStringList {"detect", "--port", "LINK"} + args, drive);
        QVERIFY(process.waitForReadyRead(10000) && process.canReadLine());
        QVERIFY(QString(process.readLine()).endsWith(first + '\n'));
        if (!args.contains("--quick"))
            QCOMPARE(process.state(), QProcess::Running); // waiting out the first try
        const Run r = finish(process);
        QVERIFY2(r.status == status, qPrintable(r.all()));
        QCOMPARE(r.out.last(), last);
        // One more when the drive's answer came after the short time-out
        // and its node was asked again with the full one.
        const qsizetype tried = 1 + r.out.filter(QRegularExpression("^Trying ")).size();
        QVERIFY2(tried == tries || (status == 0 && tried == tries + 1), qPrintable(QString::number(tried)));
        if (status != 0)
            return;
        QCOMPARE(r.out.filter(QRegularExpression(" - Succeeded$")).size(), 1);
        const Run polled = run(QStringList {"status", "LINK"} + last.section(u' ', 2).split(u' '), drive);
        QVERIFY2(polled.status == 0, qPrintable(polled.all()));
        QCOMPARE(polled.out.mid(1, 4), (QStringList {"Series: 2", "Model: 5", "Rev: 120", "Fault code: 0"}));
    }

    void upload_data()
    {
        QTest::addColumn<bool>("outOfRange"); // the drive holds P1.03 above its maximum
        QTest::addColumn<QStringList>("transfer");
        QTest::newRow("in range, in blocks") << false << QStringList {"--block"};
        QTest::newRow("value out of range") << true << QStringList {};
    }

    // The tool reads over the link it is told to use and writes the file;
    // that the file holds every value the drive holds is the round trip's
    // and the upload operation's own test. --trace prints one line for each
    // read the drive saw, all answered; what a line tells is the bus
    // monitor's test.
    void upload()
    {
        QFETCH(bool, outOfRange);
        QFETCH(QStringList, transfer);
        SimProcess *sim = startSim({"--verbose", "--no-range-check"});
        QVERIFY(sim && writeSettings(*sim));
        if (outOfRange)
            QVERIFY(writeRegister(*sim, 260, 9999));
        const QString file = path("up.qxc");
        const Run r = run(QStringList {"--trace", "upload", "LINK", "-o", file, "--yes"} + transfer, sim);
        QVERIFY2(r.status == (outOfRange ? 1 : 0), qPrintable(r.all()));
        QCOMPARE(r.errText().contains("values read from the drive were out of range and replaced by their defaults: 1"),
            outOfRange);
        QCOMPARE(sim->terminate(), 0);
        const QString wire = QString::fromLocal8Bit(sim->process().readAllStandardError());
        const qsizetype reads = wire.count(QRegularExpression("request \\d+: \"?03 "));
        QVERIFY(reads > 10);
        const QRegularExpression traced("^\\d\\d:\\d\\d:\\d\\d\\.\\d{3}  node 1  read 03  reg \\d+ n \\d+  .*  ok  ");
        QCOMPARE(r.err.filter(traced).size(), reads);
        QCOMPARE(run({"get", file, "P1.03"}).out.last(), outOfRange ? "P1.03 = 10" : "P1.03 = 12.5");
    }

    void download_data()
    {
        QTest::addColumn<QStringList>("simExtra");
        QTest::addColumn<QStringList>("cliExtra");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("ignored"); // parameters whose writes the drive drops
        QTest::newRow("single") << QStringList {} << QStringList {} << 0 << QStringList {};
        QTest::newRow("write ignored, no backup")
            << QStringList {"--ignore-write-at", "260"} << QStringList {"--no-backup"} << 1 << QStringList {"P1.03"};
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
        const SimProcess *sim = startSim(simExtra);
        QVERIFY(sim && !file.isEmpty());
        const Run r = run(QStringList {"download", file, "LINK", "--yes"} + cliExtra, sim);
        QVERIFY2(r.status == status, qPrintable(r.all()));
        QCOMPARE(r.out.filter("Validation indicates ").size(), ignored.size());
        QCOMPARE(r.out.filter(QRegularExpression("^Drive settings saved to .*/Configs/Backups/0205120-")).size(),
            cliExtra.contains("--no-backup") ? 0 : 1);
        QList<bool> held;
        for (const Setting &s : Settings)
            held << !ignored.contains(s.name);
        QCOMPARE(settingsHeld(*sim), held);
    }

    void diff_data()
    {
        QTest::addColumn<QString>("sim"); // identity of the simulated drive; empty for none
        QTest::addColumn<bool>("settings"); // the drive holds the file's values
        QTest::addColumn<QStringList>("args"); // FILE: the settings; DEFAULTS: catalogue defaults
        QTest::addColumn<int>("status");
        QTest::addColumn<QString>("told"); // a line of standard output
        const QString p103 = "P1.03 - %1 = 12.5 %2 = 10 (Acceleration Time 2 (s))";
        QTest::newRow("files, same") << "" << false << QStringList {"diff", "FILE", "FILE"} << 0 << "";
        QTest::newRow("files, different")
            << "" << false << QStringList {"diff", "FILE", "DEFAULTS"} << 1 << p103.arg("A", "B");
        QTest::newRow("files, one missing") << "" << false << QStringList {"diff", "FILE", "missing.qxc"} << 2 << "";
        QTest::newRow("drive, same") << "02,05,120" << true << QStringList {"diff", "FILE", "LINK"} << 0 << "";
        QTest::newRow("drive, different")
            << "02,05,120" << false << QStringList {"diff", "FILE", "LINK"} << 1 << p103.arg("Configuration", "Drive");
        QTest::newRow("drive of another type") << "02,06,120" << false << QStringList {"diff", "FILE", "LINK"} << 2
                                               << "MSG Drive Mismatch: The connected drive (series 2, model 6, "
                                                  "revision 120) is not the drive of this configuration (series 02, "
                                                  "model 05, revision 120).\\rNothing was compared.";
        QTest::newRow("no drive") << "" << false << QStringList {"diff", "FILE", "LINK"} << 2 << "";
    }

    void diff()
    {
        QFETCH(QString, sim);
        QFETCH(bool, settings);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QString, told);
        const QString file = settingsFile();
        const QString defaults = newConfig("defaults.qxc");
        const SimProcess *drive = sim.isEmpty() ? nullptr : startSim({"--identity", sim});
        QVERIFY(!file.isEmpty() && (sim.isEmpty() || drive));
        if (settings)
            QVERIFY(writeSettings(*drive));
        const Run r = run(args.replaceInStrings("FILE", file).replaceInStrings("DEFAULTS", defaults), drive);
        QVERIFY2(r.status == status, qPrintable(r.all()));
        if (!told.isEmpty())
            QVERIFY2(r.out.contains(told), qPrintable(r.out.join('\n')));
    }

    void monitor_data()
    {
        QTest::addColumn<QString>("sim"); // the simulator's options; "none" for no simulator
        QTest::addColumn<QStringList>("args");
        QTest::addColumn<int>("status");
        QTest::addColumn<QStringList>("lines"); // stdout lines expected among the output
        QTest::addColumn<int>("reg"); // a register to read afterwards; 0 none
        QTest::addColumn<int>("value");
        const QString none = "No Faults Occurred";
        QTest::newRow("faults") << "--faults 2,25" << QStringList {"faults", "LINK"} << 0
                                << QStringList {"P6.31 - Present Fault Record: Over-Voltage (ov)",
                                       "P6.32 - 2nd Most Recent Fault Record: Unknown fault code 25",
                                       "P6.36 - 6th Most Recent Fault Record: " + none}
                                << 0 << 0;
        QTest::newRow("faults, no drive") << "none" << QStringList {"faults", "LINK"} << 2 << QStringList {} << 0 << 0;
        QTest::newRow("run") << "" << QStringList {"keypad", "LINK", "--yes", "run"} << 0
                             << QStringList {"Run command written (P9.27 = 1)."} << 2332 << 1;
        QTest::newRow("run without --yes")
            << "" << QStringList {"keypad", "LINK", "run"} << 2 << QStringList {} << 2332 << 0;
        QTest::newRow("reverse") << "" << QStringList {"keypad", "LINK", "--yes", "reverse"} << 0
                                 << QStringList {"Direction command written (P9.28 = 1)."} << 2333 << 1;
        QTest::newRow("forward, already")
            << "" << QStringList {"keypad", "LINK", "--yes", "forward"} << 0
            << QStringList {"The direction is already forward; nothing written."} << 2333 << 0;
        QTest::newRow("frequency") << "" << QStringList {"keypad", "LINK", "--yes", "frequency", "12.5"} << 0
                                   << QStringList {"Frequency command written (P9.26 = 12.5 Hz)."} << 2331 << 125;
        QTest::newRow("frequency beyond the knob")
            << "" << QStringList {"keypad", "LINK", "--yes", "frequency", "62.1"} << 1 << QStringList {} << 2331 << 0;
        QTest::newRow("keypad, no drive")
            << "none" << QStringList {"keypad", "LINK", "--yes", "stop"} << 2 << QStringList {} << 0 << 0;
    }

    // The fault viewer's read and the keypad's writes on the command line:
    // what they print, their exit status and what the drive holds after.
    void monitor()
    {
        QFETCH(QString, sim);
        QFETCH(QStringList, args);
        QFETCH(int, status);
        QFETCH(QStringList, lines);
        QFETCH(int, reg);
        QFETCH(int, value);
        const SimProcess *drive = sim == "none" ? nullptr : startSim(sim.split(' ', Qt::SkipEmptyParts));
        QVERIFY(drive || sim == "none");
        const Run r = run(args, drive);
        QVERIFY2(r.status == status, qPrintable(r.all()));
        for (const QString &line : lines)
            QVERIFY2(r.out.contains(line), qPrintable(r.out.join('\n')));
        if (reg)
            QCOMPARE(readRegister(*drive, reg), std::optional<qint16>(qint16(value)));
    }

    // The Ethernet route: its server's devices listed as the connection
    // dialog lists them, and a drive command reaching the drive through
    // --opc and --device.
    void ethernetRoute()
    {
        SimProcess sim({"--drive", "02,05,120"});
        QString error;
        QVERIFY2(sim.startTcp(&error), qPrintable(error));
        const QStringList where = sim.readyTarget().split(u':');
        QVERIFY(QDir(path("Data")).mkpath("Servers"));
        writeBytes(path("Data/Servers/Tarvel.KOLV.1.ini"),
            QStringLiteral("[Channel1.Drive1]\nhost=%1\nport=%2\n[Channel1._Spare]\nhost=a\n")
                .arg(where[0], where[1])
                .toLatin1());
        const Run listed = run({"devices", "Tarvel.KOLV.1"});
        QCOMPARE(listed.status, 0);
        QCOMPARE(listed.out, QStringList {"Channel1.Drive1"});

        const QString file = path("Configs/up.qxc");
        const Run r = run({"upload", "--opc", "Tarvel.KOLV.1", "--device", "Channel1.Drive1", "-o", file, "--yes"});
        QVERIFY2(r.status == 0, qPrintable(r.all()));
        QVERIFY(r.out.contains("MSG Ethernet Connection Established: Connected via Ethernet to Channel1.Drive1."));
        QVERIFY(QFileInfo(file).size() > 0);
    }

    // The diagnostics file to its default place or to -o (a folder that
    // does not exist writes nothing); with the configuration opened and the
    // drive polled once, as the main window would have them. The lines are
    // the writer's test.
    void diagnostics()
    {
        Run r = run({"diagnostics"});
        QVERIFY2(r.status == 0, qPrintable(r.all()));
        QVERIFY(fileLines(path("Data/Diags.Log")).contains(AboutInfo::versionCaption()));
        QCOMPARE(run({"diagnostics", "-o", path("missing/d.log")}).status, 2);

        const QString file = settingsFile();
        const SimProcess *sim = startSim();
        QVERIFY(sim && !file.isEmpty());
        r = run({"diagnostics", "--config", file, "LINK", "-o", path("support.log")}, sim);
        QVERIFY2(r.status == 0, qPrintable(r.all()));
        const QStringList lines = fileLines(path("support.log"));
        QVERIFY(lines.contains("Current config file = " + file));
        QVERIFY(lines.contains("103 - 12.5"));
        QVERIFY(lines.contains("Drive Series/Model/Rev Equal "));
        const qsizetype drive = lines.indexOf("Connected Drive info follows ----------------------");
        QVERIFY(lines.at(drive + 1).startsWith("Drive Status - "));
        QVERIFY(lines.at(drive + 1) != "Drive Status - Offline");
        QVERIFY(lines.at(drive + 2) != "Connection: Off-Line ");
        QVERIFY(!lines.at(drive + 3).contains("Not Connected"));
    }
};

} // namespace Process

TARVEL_TEST_GUILESS_MAIN(Parts::TestCliParts, Process::TestCli)
#include "tst_cli.moc"
