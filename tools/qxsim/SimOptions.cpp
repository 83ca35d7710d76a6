#include "SimOptions.h"

#include <QCommandLineParser>
#include <QRegularExpression>
#include <QSet>

#include <algorithm>

namespace Tarvel::Sim {

namespace {

const char *const Epilogue = R"(
Registers (numbers counted from 1; protocol address = number - 1):
  Every catalogue parameter of the drive at its Address, starting at its
  default in register units (default / resolution, rounded; a list
  parameter holds its position; no default reads 0), signed 16-bit.
  2346 P9.41  series number as the drive reports it (2 for series 02)
  2347 P9.42  model number (5 for model 05)
  8449 ST00.00 present fault code (0 = none)
  8450 ST00.01 status word: bits 1..0 0 stop, 1 run to stop, 2 standby,
               3 run; bit 2 jog; bits 4..3 0 fwd, 1 rev to fwd,
               2 fwd to rev, 3 rev
  8451 ST00.02 frequency command, 0.1 Hz      8452 ST00.03 output frequency, 0.1 Hz
  8453 ST00.04 output current, 0.1 A          8454 ST00.05 DC bus voltage, 0.1 V
  8455 ST00.06 output voltage, 0.1 V          8456 ST00.07 motor speed, rpm
  8457 ST00.08 output frequency x P8.01, 0.01 8458-8459 ST00.09-10 read 0
  8460 ST00.11 motor current, 0.1 % of P0.01  8461 ST00.12 PID setpoint (P7.10)
  8462 ST00.13 PID feedback, 0.1 units        8463-8464 ST00.14-15 read 0
  8465 ST00.16 revision number (120)          8466 ST00.17 reads 0
  8467 ST00.18 link status, always 1
  Commands: 2331 P9.26 frequency in 0.1 Hz, 2332 P9.27 run (1) / stop (0),
  2333 P9.28 direction (0 fwd, 1 rev), P9.29 = 1 trips an external fault
  (code 7), P9.30 = 1 resets the present fault (a run command given while
  tripped is void; give it again), P9.31 = 1 jogs at P1.06.
  Ramps use P1.01/P1.02 (0 Hz to P0.02 x P0.04 / P0.03), P1.05 when
  jogging; P1.00 = 1 coasts; the output is held within P6.16..P6.15.
  The PID feedback follows P7.10 with a first-order lag of P7.05 +
  2 s / P7.20 while P7.00 > 0 and the drive runs, and falls to 0 otherwise.
  A trip shifts the fault history P6.31..P6.36 and stops the output.
  --fault-at SECONDS:CODE trips with CODE once the drive has been running
  (run command or jog in force) for SECONDS in all since start.
  P9.00, P9.01 and P9.05 show the link settings qxsim was started with;
  writes to them are stored, but the link keeps those settings.

Answers: functions 03, 06 and 16. Exception 01 for any other function,
02 for an address the drive lacks (every register of a range must exist)
and for writes to read-only parameters and status registers, 03 for a
count outside 1..125 (1..123 for writes) and for a value outside the
parameter's catalogue min..max (unless --no-range-check), 04 at
--exception-at addresses; with --refuse-blocks, 01 for any read or write
of more than one register (a drive that only takes single registers).
Writes to --ignore-write-at registers are answered as done but leave the
register as it was (a drive that loses what it is sent).
Broadcasts (node 0) are carried out without an
answer; on TCP, units 0 and 255 reach the drive too. Requests for another
node, in the other framing, or sent with other line settings get no
answer. With --units, one process is a gateway with a drive at each of
those unit ids (each its own state; the options apply to each); a unit
id without a drive gets exception 0B, and unit 0 reaches every drive
as a broadcast. On a pseudo-terminal the kernel keeps only the speed, the stop
bits and odd parity of what the master set, so those are compared (which
tells the six drive formats apart).

Fault injection counts the requests addressed to this drive (1, 2, ...):
request k is dropped unanswered and not carried out when k is a multiple
of --drop-every; otherwise carried out, and its answer has its last
check byte spoilt (on TCP: its protocol number) when k is a multiple of
--corrupt-every, or is sent --slow-ms late when k is a multiple of
--slow-every. After --stop-after answers the drive answers nothing more.
--misbehave KIND then spoils every answer of a request carried out:
exception:CODE refuses it with that exception code; silent sends
nothing; other-node answers as node + 1; bad-check spoils the check
bytes; wrong-function answers as a single write (06); short sends the
first half of the frame; echo-mismatch acknowledges a write with its
value or count changed; noise sends bytes that form no frame;
stale-transaction (TCP) first sends an exception 06 with the previous
transaction number; flood sends 64 KiB of bytes that form no frame in
128 pieces, 5 ms apart. --pieces N writes every answer in N pieces,
5 ms apart. With --verbose every request frame is traced as received,
and on a serial line the quiet time before it in microseconds.
)";

std::optional<QList<int>> parseIntList(const QString &text)
{
    QList<int> values;
    for (const QString &part : text.split(u',', Qt::SkipEmptyParts)) {
        bool ok = false;
        const int v = part.trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
        values << v;
    }
    return values;
}

bool parseCount(const QCommandLineParser &p, const QString &name, int min, int max, int *out, QString *message)
{
    if (!p.isSet(name))
        return true;
    bool ok = false;
    const int v = p.value(name).toInt(&ok);
    if (!ok || v < min || v > max) {
        *message = QStringLiteral("--%1 takes a whole number from %2 to %3").arg(name).arg(min).arg(max);
        return false;
    }
    *out = v;
    return true;
}

// Register numbers from every use of a repeatable option, each "a" or "a,b,...".
bool parseRegisters(const QCommandLineParser &p, const QString &name, QList<int> *out, QString *message)
{
    for (const QString &text : p.values(name)) {
        const std::optional<QList<int>> list = parseIntList(text);
        const bool valid
            = list && std::all_of(list->cbegin(), list->cend(), [](int n) { return n >= 1 && n <= 65536; });
        if (!valid) {
            *message = QStringLiteral("--%1 takes register numbers 1..65536").arg(name);
            return false;
        }
        *out << *list;
    }
    return true;
}

bool parseFaultsAt(const QStringList &texts, QList<SimOptions::FaultAt> *out)
{
    for (const QString &text : texts) {
        const QStringList parts = text.split(u':');
        bool secondsOk = false;
        bool codeOk = false;
        const double seconds = parts.size() == 2 ? parts[0].toDouble(&secondsOk) : 0;
        const int code = parts.size() == 2 ? parts[1].toInt(&codeOk) : 0;
        if (!secondsOk || !codeOk || !(seconds >= 0) || code < 1 || code > 32767)
            return false;
        *out << SimOptions::FaultAt {seconds, code};
    }
    return true;
}

// --units: distinct unit ids, only on TCP, instead of --node.
bool parseUnits(const QCommandLineParser &p, bool tcp, QList<int> *out, QString *message)
{
    if (!p.isSet(QStringLiteral("units")))
        return true;
    const std::optional<QList<int>> list = parseIntList(p.value(QStringLiteral("units")));
    const bool valid = list && !list->isEmpty()
        && std::all_of(list->cbegin(), list->cend(), [](int n) { return n >= 1 && n <= 247; })
        && QSet<int>(list->cbegin(), list->cend()).size() == list->size();
    if (!tcp || p.isSet(QStringLiteral("node")) || !valid) {
        *message = QStringLiteral("--units takes distinct unit ids 1..247, with --tcp and without --node");
        return false;
    }
    *out = *list;
    return true;
}

} // namespace

std::optional<DriveKey> DriveKey::parse(const QString &text)
{
    static const QRegularExpression form(QStringLiteral("^(\\d{1,2}),(\\d{1,2}),(\\d{3})$"));
    const QRegularExpressionMatch m = form.match(text.trimmed());
    if (!m.hasMatch())
        return std::nullopt;
    return DriveKey {m.captured(1).rightJustified(2, u'0'), m.captured(2).rightJustified(2, u'0'), m.captured(3)};
}

std::optional<int> SimOptions::speedCode() const
{
    static const QList<int> speeds {4800, 9600, 19200, 38400};
    const qsizetype code = speeds.indexOf(settings.baud);
    return code < 0 ? std::nullopt : std::optional<int>(int(code));
}

std::optional<int> SimOptions::protocolCode() const
{
    // The order of the drive's protocol list: ASCII 7N2 7E1 7O1, RTU 8N2 8E1 8O1.
    static const QStringList formats {QStringLiteral("N,7,2"), QStringLiteral("E,7,1"), QStringLiteral("O,7,1"),
        QStringLiteral("N,8,2"), QStringLiteral("E,8,1"), QStringLiteral("O,8,1")};
    const QString format = settings.toString().section(u',', 1);
    const qsizetype code = formats.indexOf(format);
    const bool ascii = code >= 0 && code < 3;
    if (code < 0 || ascii != (framing == Framing::Ascii))
        return std::nullopt;
    return int(code);
}

SimOptions::Parse SimOptions::parse(const QStringList &arguments, QString *message)
{
    QCommandLineParser p;
    p.setApplicationDescription(QStringLiteral("Simulated QX drive: a Modbus RTU/ASCII slave on a pseudo-terminal, "
                                               "or a Modbus/TCP server, answering from the drive catalogue."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    p.addOptions({
        help,
        {QStringLiteral("drive"), QStringLiteral("Drive to simulate, as series,model,revision (02,05,120)."),
            QStringLiteral("SS,MM,RRR")},
        {QStringLiteral("identity"),
            QStringLiteral("Report another series,model,revision at 2346/2347/8465 than the simulated drive."),
            QStringLiteral("SS,MM,RRR")},
        {QStringLiteral("node"), QStringLiteral("Node address, 1..247 (default 1)."), QStringLiteral("N")},
        {QStringLiteral("mode"), QStringLiteral("Framing: rtu or ascii (default rtu)."), QStringLiteral("rtu|ascii")},
        {QStringLiteral("settings"),
            QStringLiteral("Line settings the master must use (default 19200,E,8,1 for rtu, 19200,E,7,1 for ascii)."),
            QStringLiteral("baud,parity,data,stop")},
        {QStringLiteral("pty"), QStringLiteral("Serve on a new pseudo-terminal; LINK becomes a symbolic link to it."),
            QStringLiteral("LINK")},
        {QStringLiteral("tcp"), QStringLiteral("Serve Modbus/TCP on this address (port 0 picks a free one)."),
            QStringLiteral("HOST:PORT")},
        {QStringLiteral("units"),
            QStringLiteral("With --tcp: one drive per unit id (1..247) behind this address, as a gateway "
                           "(a unit without a drive gets exception 0B). Replaces --node."),
            QStringLiteral("a,b,...")},
        {QStringLiteral("catalogue"), QStringLiteral("Catalogue file (default Data/QX.qxd of the program)."),
            QStringLiteral("PATH")},
        {QStringLiteral("wire-timing"),
            QStringLiteral("Answer after the time request and answer take on the wire at the line settings.")},
        {QStringLiteral("turnaround"), QStringLiteral("Extra delay before each answer with --wire-timing."),
            QStringLiteral("MS")},
        {QStringLiteral("drop-every"), QStringLiteral("Leave every Nth request unanswered."), QStringLiteral("N")},
        {QStringLiteral("corrupt-every"), QStringLiteral("Flip a check byte in every Nth answer."),
            QStringLiteral("N")},
        {QStringLiteral("exception-at"),
            QStringLiteral("Answer exception 04 for requests touching these register numbers (repeatable, or a,b)."),
            QStringLiteral("ADDR")},
        {QStringLiteral("ignore-write-at"),
            QStringLiteral("Acknowledge writes to these register numbers but keep the old value (repeatable, or a,b)."),
            QStringLiteral("ADDR")},
        {QStringLiteral("stop-after"), QStringLiteral("Answer nothing after N answers."), QStringLiteral("N")},
        {QStringLiteral("slow-every"), QStringLiteral("Send every Nth answer --slow-ms late."), QStringLiteral("N")},
        {QStringLiteral("slow-ms"),
            QStringLiteral("Delay of the slow answers (default 3500, above the 3000 ms time-out)."),
            QStringLiteral("MS")},
        {QStringLiteral("faults"), QStringLiteral("Fault history P6.31..P6.36, most recent first (up to six codes)."),
            QStringLiteral("a,b,c")},
        {QStringLiteral("fault"), QStringLiteral("Present fault code at start (ST00.00; default 0)."),
            QStringLiteral("CODE")},
        {QStringLiteral("fault-at"), QStringLiteral("Trip with CODE after SECONDS of running (repeatable)."),
            QStringLiteral("SECONDS:CODE")},
        {QStringLiteral("misbehave"),
            QStringLiteral("Answer every request wrongly in one way: %1.").arg(Misbehaviour::names().join(u", ")),
            QStringLiteral("KIND")},
        {QStringLiteral("pieces"), QStringLiteral("Write each answer in N pieces, 5 ms apart."), QStringLiteral("N")},
        {QStringLiteral("no-range-check"), QStringLiteral("Store written values without checking min..max.")},
        {QStringLiteral("refuse-blocks"),
            QStringLiteral("Answer exception 01 to any read or write of more than one register.")},
        {QStringLiteral("verbose"), QStringLiteral("Trace every request and answer on stderr.")},
    });

    if (!p.parse(arguments)) {
        *message = p.errorText();
        return Parse::Error;
    }
    if (p.isSet(help)) {
        *message = p.helpText() + QString::fromLatin1(Epilogue);
        return Parse::Help;
    }
    if (!p.positionalArguments().isEmpty()) {
        *message = QStringLiteral("unexpected argument: ") + p.positionalArguments().constFirst();
        return Parse::Error;
    }

    const std::optional<DriveKey> key = DriveKey::parse(p.value(QStringLiteral("drive")));
    if (!key) {
        *message = QStringLiteral("--drive SS,MM,RRR is required (for example 02,05,120)");
        return Parse::Error;
    }
    drive = *key;
    if (p.isSet(QStringLiteral("identity"))) {
        identity = DriveKey::parse(p.value(QStringLiteral("identity")));
        if (!identity) {
            *message = QStringLiteral("--identity takes SS,MM,RRR");
            return Parse::Error;
        }
    }

    const QString mode = p.value(QStringLiteral("mode")).toLower();
    if (mode.isEmpty() || mode == u"rtu") {
        framing = Framing::Rtu;
    } else if (mode == u"ascii") {
        framing = Framing::Ascii;
    } else {
        *message = QStringLiteral("--mode takes rtu or ascii");
        return Parse::Error;
    }
    const QString defaultSettings
        = framing == Framing::Rtu ? QStringLiteral("19200,E,8,1") : QStringLiteral("19200,E,7,1");
    const std::optional<SerialFormat> line = SerialFormat::parse(
        p.isSet(QStringLiteral("settings")) ? p.value(QStringLiteral("settings")) : defaultSettings);
    // The drives offer parity none, even or odd with 7 or 8 data bits.
    if (!line || !QByteArrayLiteral("NEO").contains(line->parity) || line->dataBits < 7) {
        *message = QStringLiteral("--settings takes baud,N|E|O,7|8,1|2 (for example 19200,E,8,1)");
        return Parse::Error;
    }
    settings = *line;

    const bool pty = p.isSet(QStringLiteral("pty"));
    const bool tcp = p.isSet(QStringLiteral("tcp"));
    if (pty == tcp) {
        *message = QStringLiteral("give exactly one of --pty LINK and --tcp HOST:PORT");
        return Parse::Error;
    }
    if (pty) {
        ptyLink = p.value(QStringLiteral("pty"));
    } else {
        const QString target = p.value(QStringLiteral("tcp"));
        const qsizetype colon = target.lastIndexOf(u':');
        bool ok = false;
        const int port = colon > 0 ? target.mid(colon + 1).toInt(&ok) : -1;
        if (!ok || port < 0 || port > 65535 || !tcpHost.setAddress(target.left(colon))) {
            *message = QStringLiteral("--tcp takes HOST:PORT (for example 127.0.0.1:1502)");
            return Parse::Error;
        }
        // Port 0 asks the system for a free port; the ready line tells which.
        tcpPort = quint16(port);
        serveTcp = true;
    }
    catalogue = p.value(QStringLiteral("catalogue"));

    if (!parseCount(p, QStringLiteral("node"), 1, 247, &node, message)
        || !parseCount(p, QStringLiteral("turnaround"), 0, 60000, &turnaroundMs, message)
        || !parseCount(p, QStringLiteral("drop-every"), 1, 1000000, &dropEvery, message)
        || !parseCount(p, QStringLiteral("corrupt-every"), 1, 1000000, &corruptEvery, message)
        || !parseCount(p, QStringLiteral("stop-after"), 1, 100000000, &stopAfter, message)
        || !parseCount(p, QStringLiteral("slow-every"), 1, 1000000, &slowEvery, message)
        || !parseCount(p, QStringLiteral("slow-ms"), 1, 600000, &slowMs, message)
        || !parseCount(p, QStringLiteral("fault"), 0, 20, &activeFault, message)
        || !parseCount(p, QStringLiteral("pieces"), 1, 256, &answerPieces, message))
        return Parse::Error;
    if (p.isSet(QStringLiteral("misbehave"))) {
        const std::optional<Misbehaviour> chosen = Misbehaviour::parse(p.value(QStringLiteral("misbehave")));
        if (!chosen) {
            *message = QStringLiteral("--misbehave takes one of: ") + Misbehaviour::names().join(u", ");
            return Parse::Error;
        }
        misbehaviour = *chosen;
    }
    wireTiming = p.isSet(QStringLiteral("wire-timing"));
    if (!parseUnits(p, tcp, &units, message))
        return Parse::Error;
    if (units.isEmpty())
        units = {node};

    if (!parseRegisters(p, QStringLiteral("exception-at"), &exceptionAt, message)
        || !parseRegisters(p, QStringLiteral("ignore-write-at"), &ignoreWriteAt, message))
        return Parse::Error;
    if (p.isSet(QStringLiteral("faults"))) {
        const std::optional<QList<int>> list = parseIntList(p.value(QStringLiteral("faults")));
        if (!list || list->size() > 6) {
            *message = QStringLiteral("--faults takes up to six fault codes, most recent first");
            return Parse::Error;
        }
        faultHistory = *list;
    }
    if (!parseFaultsAt(p.values(QStringLiteral("fault-at")), &faultsAt)) {
        *message = QStringLiteral("--fault-at takes SECONDS:CODE, seconds 0 or more and a code 1..32767");
        return Parse::Error;
    }
    rangeCheck = !p.isSet(QStringLiteral("no-range-check"));
    refuseBlocks = p.isSet(QStringLiteral("refuse-blocks"));
    verbose = p.isSet(QStringLiteral("verbose"));
    return Parse::Ok;
}

} // namespace Tarvel::Sim
