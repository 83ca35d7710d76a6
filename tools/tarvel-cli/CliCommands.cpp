#include "CliCommands.h"

#include "CliOptions.h"
#include "CliSession.h"
#include "DiagnosticsCommand.h"
#include "DriveCommands.h"
#include "DriveMonitorCommands.h"
#include "LogCommand.h"
#include "ParamName.h"
#include "SchematicCommands.h"
#include "TransferCommands.h"
#include "base/AtomicTextFile.h"
#include "base/TextFile.h"
#include "files/CompareOperation.h"
#include "files/ConfigReport.h"
#include "files/NewConfig.h"
#include "model/ParamText.h"
#include "rules/EntryChecks.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>

namespace Tarvel {

namespace {

// How long `set` waits for another run's change of the same file.
constexpr int LockWaitMs = 30000;

struct Assignment
{
    QString name;
    QString value;
};

std::optional<Assignment> splitAssignment(const QString &word)
{
    const qsizetype eq = word.indexOf(u'=');
    if (eq <= 0 || !ParamName::parse(word.left(eq)))
        return std::nullopt;
    return Assignment {word.left(eq), word.mid(eq + 1)};
}

// An output file goes into an existing folder; finding out only at the
// save would lose the edits just made.
bool folderExists(const QString &path)
{
    return QFileInfo(CliSession::absolutePath(path)).dir().exists();
}

// Counts the times the checks hand the focus back to a field: the sign of
// an entry they refused, also where the message was only informative.
class RefusalCounter
{
public:
    explicit RefusalCounter(EditorForm &form)
        : m_connection(
            QObject::connect(&form, &EditorForm::focusRequested, &form, [this](FieldKind, int) { ++m_refusals; }))
    { }
    ~RefusalCounter() { QObject::disconnect(m_connection); }
    RefusalCounter(const RefusalCounter &) = delete;
    RefusalCounter &operator=(const RefusalCounter &) = delete;
    bool refused() const { return m_refusals > 0; }

private:
    QMetaObject::Connection m_connection;
    int m_refusals = 0;
};

} // namespace

const QString CliCommands::ProgramName = QStringLiteral("tarvel-cli");

const QList<CliCommand> &CliCommands::table()
{
    static const QList<CliCommand> commands {
        {QStringLiteral("drives"), QStringLiteral("drives"),
            QStringLiteral("One line per drive of the catalogue: series code, model code, revision code\n"
                           "and the text of the new-configuration drive list (\"Model rev. Rev\")."),
            {}, &CliCommands::drives},
        {QStringLiteral("new"), QStringLiteral("new --drive SS,MM,RRR FILE.qxc"),
            QStringLiteral("A new configuration of the drive with the catalogue defaults, saved to FILE.\n"
                           "An existing FILE is replaced only when the question is answered with --yes."),
            {DriveOption}, &CliCommands::newConfig},
        {QStringLiteral("check"), QStringLiteral("check FILE.qxc"),
            QStringLiteral("Opens FILE as the Open command does: every value is checked against the\n"
                           "catalogue; values out of range are reported and replaced by the default."),
            {}, &CliCommands::check},
        {QStringLiteral("get"), QStringLiteral("get FILE.qxc Pg.nn..."),
            QStringLiteral("Prints \"Pg.nn = TEXT\" per parameter, TEXT being the value box text,\n"
                           "followed by \" (disabled)\" when the field cannot be edited."),
            {}, &CliCommands::get},
        {QStringLiteral("set"), QStringLiteral("set FILE.qxc Pg.nn=VALUE... [-o OUT.qxc]"),
            QStringLiteral("Enters each value as a user would, through the same checks and rules:\n"
                           "types VALUE into the value box, or for a choice list picks the entry at\n"
                           "position VALUE (counted from 0; P0.00 and P0.02 take the entry's text).\n"
                           "Prints \"Pg.nn = TEXT\" after each, then saves to OUT or back to FILE."),
            {OutOption}, &CliCommands::set},
        {QStringLiteral("compare"), QStringLiteral("compare FILE.qxc"),
            QStringLiteral("Lists every value of FILE that differs from its catalogue default."), {},
            &CliCommands::compare},
        {QStringLiteral("report"), QStringLiteral("report FILE.qxc [-o OUT.txt]"),
            QStringLiteral("The configuration report of FILE: written to Configs/ConfigReport.txt and\n"
                           "printed, or copied to OUT."),
            {OutOption}, &CliCommands::report},
        {QStringLiteral("detect"), QStringLiteral("detect LINK [--quick [--nodes FIRST-LAST]]"),
            QStringLiteral("Searches LINK (a device path or \"Com N\", or --port LINK) for a drive as the\n"
                           "Auto Detect command does: node 1..254, ASCII then RTU, 4800..38400 baud.\n"
                           "Prints each \"Trying Node Address ...\" line as it is tried, then the\n"
                           "\"Connection established ...\" line and the link options that reach the drive.\n"
                           "--quick: RTU 19200 and 9600 E81, ASCII 19200 and 9600 E71 first, then the\n"
                           "other formats, each over nodes 1..247 (or --nodes) with a time-out of a few\n"
                           "frame times (33 ms at 19200 RTU) instead of 3 s."),
            {PortOption, QuickOption, NodesOption}, &DriveCommands::detect},
        {QStringLiteral("status"),
            QStringLiteral("status [LINK] [--node N] [--mode rtu|ascii] [--settings BAUD,P,D,S] | status --opc PROGID "
                           "--device CHANNEL.DEVICE"),
            QStringLiteral("Connects to the drive, polls it once and prints the drive status text,\n"
                           "\"Series: \", \"Model: \", \"Rev: \" (the drive's identity), \"Fault code: N\"\n"
                           "and one \"ST00.nn = value\" line per status value read."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption}, &DriveCommands::status},
        {QStringLiteral("devices"), QStringLiteral("devices PROGID"),
            QStringLiteral("The devices of an Ethernet route server (Data/Servers/PROGID.ini), one\n"
                           "\"CHANNEL.DEVICE\" a line, as the connection dialog lists them; the drive\n"
                           "commands reach one with --opc PROGID --device CHANNEL.DEVICE. Exit 2 with\n"
                           "the browse's error when the server cannot be browsed."),
            {}, &DriveCommands::devices},
        {QStringLiteral("upload"), QStringLiteral("upload LINK -o FILE.qxc --yes [--block] [link options]"),
            QStringLiteral("Connects, polls the drive once and runs the Upload command: every parameter\n"
                           "is read from the drive, checked and loaded, then saved to FILE (the save\n"
                           "question answered Yes). Without --yes nothing is read or written."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption, OutOption, BlockOption},
            &TransferCommands::upload},
        {QStringLiteral("download"),
            QStringLiteral("download FILE.qxc LINK --yes [--block] [--no-backup] [link options]"),
            QStringLiteral("Opens FILE, connects, polls the drive once and runs the Download command:\n"
                           "the drive must match FILE's drive and be stopped; its settings are saved to\n"
                           "Configs/Backups first (not with --no-backup), every writable parameter\n"
                           "is written and then all are read back and compared (\"Validation\n"
                           "indicates ...\" per difference). Without --yes nothing is written."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption, BlockOption, NoBackupOption},
            &TransferCommands::download},
        {QStringLiteral("faults"), QStringLiteral("faults LINK [link options]"),
            QStringLiteral("Connects, polls the drive once and reads its six fault records P6.31..P6.36 as\n"
                           "the fault viewer does: one line each, the record's caption and the fault text\n"
                           "(\"Unknown fault code N\" for a code the table lacks)."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption},
            &DriveMonitorCommands::faults},
        {QStringLiteral("keypad"),
            QStringLiteral("keypad LINK --yes (run|stop|forward|reverse|frequency HZ) [link options]"),
            QStringLiteral("The maintenance keypad's commands: run or stop the motor, turn it forward or\n"
                           "in reverse, or set the frequency command within the knob's range (P0.02 x\n"
                           "P0.04 / P0.03). A present drive fault refuses run. The keypad's warning is\n"
                           "answered with --yes; without it nothing is written."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption},
            &DriveMonitorCommands::keypad},
        {QStringLiteral("diff"), QStringLiteral("diff A.qxc B.qxc | diff FILE.qxc LINK [--block] [link options]"),
            QStringLiteral("Two files: one line per parameter whose values differ, \"Pg.nn - A = X B = Y\";\n"
                           "files of two drives are compared on the parameters both drives have, and\n"
                           "those only one has are listed as \"Pg.nn - only in A = X\".\n"
                           "A file and a drive: connects, reads every parameter (nothing is written)\n"
                           "and lists \"Pg.nn - Configuration = X Drive = Y\" per difference.\n"
                           "Exit 0 the same, 1 different, 2 not compared (missing or unsupported file,\n"
                           "no drive, a drive of another type, a communication failure)."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption, BlockOption},
            &TransferCommands::diff},
        {QStringLiteral("schematic"),
            QStringLiteral(
                "schematic FILE.qxs | FILE.qxc --set POSITION=DIGIT... | FILE.qxs --svg OUT.svg [--page 1|2]"),
            QStringLiteral("Prints the schematic settings of FILE element by element: position, element\n"
                           "and what its digit shows (\"1 imgFuse: disconnect\"; \"unchanged\" for a digit\n"
                           "the element does not know). --set changes elements as the symbol pickers do\n"
                           "and saves the .qxs beside FILE.qxc; --svg draws the diagram (page 1 or 2 of a\n"
                           "series-3 drive) with the captions of the .qxc of the same name."),
            {SetOption, SvgOption, PageOption}, &SchematicCommands::schematic},
        {QStringLiteral("log"),
            QStringLiteral("log LINK --interval MS --duration S -o FILE.csv [--config FILE.qxc] [link options]"),
            QStringLiteral("Connects and records the ten trend pens every MS milliseconds for S seconds:\n"
                           "a header row, then one row per poll (time in seconds from the first row,\n"
                           "then one value per pen, scaled as the trend shows it; pen 2 takes P8.01\n"
                           "from FILE.qxc, else the drive's catalogue default). Each row is written at\n"
                           "once. Exit 0 recorded, 1 the link was lost (the rows so far are kept), 2\n"
                           "no drive."),
            {PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption, OutOption,
                LogCommand::IntervalOption, LogCommand::DurationOption, ConfigOption},
            &LogCommand::run},
        {QStringLiteral("diagnostics"),
            QStringLiteral("diagnostics [-o FILE] [--config FILE.qxc] [LINK] [link options]"),
            QStringLiteral("Writes the diagnostics file of the About window (Data/Diags.Log, or FILE):\n"
                           "platform, program paths and versions, the connected drive, the configuration\n"
                           "in memory with every value, and the whole error log. With --config the file\n"
                           "is opened first; with a link the drive is connected and polled once."),
            {OutOption, ConfigOption, PortOption, NodeOption, ModeOption, SettingsOption, OpcOption, DeviceOption},
            &DiagnosticsCommand::run},
    };
    return commands;
}

const CliCommand *CliCommands::find(const QString &name)
{
    for (const CliCommand &command : table()) {
        if (command.name == name)
            return &command;
    }
    return nullptr;
}

QList<QCommandLineOption> CliCommands::commandOptions()
{
    return {
        QCommandLineOption(OutOption, QStringLiteral("Write to OUT instead."), QStringLiteral("OUT")),
        QCommandLineOption(
            DriveOption, QStringLiteral("The drive as series, model and revision code."), QStringLiteral("SS,MM,RRR")),
        QCommandLineOption(BlockOption, QStringLiteral("Move runs of neighbouring registers in one transaction.")),
        QCommandLineOption(NoBackupOption, QStringLiteral("Download without saving the drive's settings first.")),
        QCommandLineOption(SetOption, QStringLiteral("Set the element at POSITION of the state string."),
            QStringLiteral("POSITION=DIGIT")),
        QCommandLineOption(SvgOption, QStringLiteral("Draw the schematic to OUT.svg."), QStringLiteral("OUT.svg")),
        QCommandLineOption(PageOption, QStringLiteral("The page of a two-page schematic."), QStringLiteral("1|2")),
        QCommandLineOption(LogCommand::IntervalOption, QStringLiteral("Time between rows."), QStringLiteral("MS")),
        QCommandLineOption(LogCommand::DurationOption, QStringLiteral("Length of the recording."), QStringLiteral("S")),
        QCommandLineOption(QuickOption, QStringLiteral("The quick search: common settings first, short time-outs.")),
        QCommandLineOption(
            NodesOption, QStringLiteral("The node addresses the quick search tries."), QStringLiteral("FIRST-LAST")),
        QCommandLineOption(ConfigOption,
            QStringLiteral("The configuration to open first (for log, the one giving P8.01)."), QStringLiteral("FILE")),
    };
}

QString CliCommands::usage()
{
    QString text = QStringLiteral("Usage: ") + ProgramName + QStringLiteral(" [--home DIR] [--yes] COMMAND ...\n");
    for (const CliCommand &command : table())
        text += QStringLiteral("       ") + ProgramName + u' ' + command.synopsis + u'\n';
    return text + QStringLiteral("Try '") + ProgramName + QStringLiteral(" --help' for more.\n");
}

// ------------------------------------------------------------- commands

int CliCommands::drives(CliSession &s)
{
    if (!s.args().isEmpty())
        return s.usageError(QStringLiteral("drives takes no arguments"));
    const QList<DriveListEntry> list = NewConfig(s.ctx()).driveList();
    if (list.isEmpty()) {
        s.finish();
        return s.cannotRun(QStringLiteral("the catalogue lists no drives"));
    }
    for (const DriveListEntry &d : list)
        s.out() << d.seriesCode << u' ' << d.modelCode << u' ' << d.rev << u' ' << d.text << Qt::endl;
    return s.finish();
}

int CliCommands::newConfig(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() != 1 || !s.isSet(DriveOption))
        return s.usageError(QStringLiteral("new needs --drive SS,MM,RRR and one file name"));
    const QStringList code = s.value(DriveOption).split(u',');
    if (code.size() != 3)
        return s.usageError(QStringLiteral("--drive takes series, model and revision code: 02,05,120"));
    NewConfig creator(s.ctx());
    const std::optional<DriveListEntry> drive = NewConfig::findDrive(creator.driveList(), code[0], code[1], code[2]);
    if (!drive) {
        s.finish();
        return s.cannotRun(QStringLiteral("drive %1 is not in the catalogue (see '%2 drives')")
                               .arg(s.value(DriveOption), ProgramName));
    }
    const QString path = CliSession::absolutePath(args[0]);
    if (!folderExists(path))
        return s.cannotRun(QStringLiteral("no folder for %1").arg(args[0]));
    if (!creator.confirmReplace(path)) {
        s.problem(QStringLiteral("%1 exists and was not replaced (--yes replaces it)").arg(args[0]));
        return s.finish();
    }
    if (!creator.startNewConfig(NewConfig::Mode::Detailed, *drive, path))
        s.problem(QStringLiteral("the new configuration was not saved"));
    return s.finish();
}

int CliCommands::check(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() != 1)
        return s.usageError(QStringLiteral("check takes one file name"));
    if (!s.openConfig(args[0])) {
        s.finish();
        return ExitCannotRun;
    }
    return s.finish();
}

int CliCommands::get(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() < 2)
        return s.usageError(QStringLiteral("get takes a file name and at least one parameter"));
    for (const QString &name : args.mid(1)) {
        if (!ParamName::parse(name))
            return s.usageError(QStringLiteral("%1 is not a parameter name (write it as P9.41 or P10.05)").arg(name));
    }
    if (!s.openConfig(args[0])) {
        s.finish();
        return ExitCannotRun;
    }
    QList<int> indices;
    for (const QString &name : args.mid(1)) {
        const std::optional<int> index = s.usedParameter(name);
        if (!index) {
            s.finish();
            return ExitCannotRun;
        }
        indices << *index;
    }
    for (int index : indices)
        s.out() << s.parameterLine(index) << Qt::endl;
    return s.finish();
}

int CliCommands::set(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() < 2)
        return s.usageError(QStringLiteral("set takes a file name and at least one Pg.nn=VALUE"));
    QList<Assignment> assignments;
    for (const QString &word : args.mid(1)) {
        const std::optional<Assignment> a = splitAssignment(word);
        if (!a)
            return s.usageError(QStringLiteral("%1 is not an assignment such as P1.00=60").arg(word));
        assignments << *a;
    }
    const QString out = s.isSet(OutOption) ? s.value(OutOption) : args[0];
    if (!folderExists(out))
        return s.cannotRun(QStringLiteral("no folder for %1").arg(out));
    // Read, change and write as one step: a second run on the same file
    // waits instead of writing over this one's edit. A folder that takes no
    // lock file (full, read-only) takes no configuration either: the save
    // then reports that.
    QLockFile lock(s.absolutePath(out) + QStringLiteral(".lock"));
    if (!lock.tryLock(LockWaitMs) && lock.error() == QLockFile::LockFailedError)
        return s.cannotRun(QStringLiteral("%1 is being changed by another run; nothing was changed").arg(out));
    if (!s.openConfig(args[0])) {
        s.finish();
        return ExitCannotRun;
    }
    QList<int> indices;
    for (const Assignment &a : assignments) {
        const std::optional<int> index = s.usedParameter(a.name);
        if (!index) {
            s.finish();
            return ExitCannotRun;
        }
        indices << *index;
    }
    EntryChecks checks(s.ctx());
    for (qsizetype n = 0; n < assignments.size(); ++n) {
        enter(s, checks, indices[n], assignments[n].value);
        s.out() << s.parameterLine(indices[n]) << Qt::endl;
    }
    if (!s.saveConfig(out))
        s.problem(QStringLiteral("%1 was not saved").arg(out));
    return s.finish();
}

int CliCommands::compare(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() != 1)
        return s.usageError(QStringLiteral("compare takes one file name"));
    if (!s.openConfig(args[0])) {
        s.finish();
        return ExitCannotRun;
    }
    CompareOperation(s.ctx()).compare();
    return s.finish();
}

int CliCommands::report(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() != 1)
        return s.usageError(QStringLiteral("report takes one file name"));
    if (s.isSet(OutOption) && !folderExists(s.value(OutOption)))
        return s.cannotRun(QStringLiteral("no folder for %1").arg(s.value(OutOption)));
    if (!s.openConfig(args[0])) {
        s.finish();
        return ExitCannotRun;
    }
    ConfigReport report(s.ctx());
    // A program folder made by hand may lack Configs/, which the
    // installation would have created.
    QDir().mkpath(s.ctx().paths().configsDir());
    const QString written = report.reportPath();
    QFile::remove(written); // so that a stale report is never taken for this one
    report.configReport();
    if (!QFileInfo::exists(written)) {
        s.problem(QStringLiteral("the report was not written"));
        return s.finish();
    }
    if (s.isSet(OutOption))
        writeCopy(s, written, s.value(OutOption));
    else
        printFile(s, written);
    return s.finish();
}

// ------------------------------------------------------------ helpers

bool CliCommands::enter(CliSession &s, EntryChecks &checks, int index, const QString &value)
{
    const QString name = ParamText::parameterNumber(index);
    if (!s.editable(index)) {
        // No user could type into it: the checks would not even look.
        s.problem(QStringLiteral("%1 is disabled; %2 was not entered").arg(name, value));
        return false;
    }
    RefusalCounter counter(s.ctx().editor);
    if (s.ctx().params.blnListShown[index]) {
        const std::optional<int> position = entryPosition(s, index, value);
        if (!position)
            return false;
        checks.chooseEntry(index, *position);
    } else {
        checks.typeValue(index, value);
    }
    if (counter.refused())
        s.problem(QStringLiteral("%1=%2 was refused").arg(name, value));
    return !counter.refused();
}

std::optional<int> CliCommands::entryPosition(CliSession &s, int index, const QString &value)
{
    const ComboField &list = s.ctx().editor.cmbP(index);
    const QString name = ParamText::parameterNumber(index);
    if (ParamTables::listHoldsValue(index)) {
        const qsizetype k = list.list().indexOf(value);
        if (k < 0)
            s.problem(QStringLiteral("%1 has no entry %2 (entries: %3)").arg(name, value, list.list().join(", ")));
        return k < 0 ? std::nullopt : std::optional<int>(int(k));
    }
    bool ok = false;
    const int k = value.toInt(&ok);
    if (!ok || k < 0 || k >= list.listCount()) {
        s.problem(QStringLiteral("%1 has no entry at position %2 (0 to %3)")
                      .arg(name, value, QString::number(list.listCount() - 1)));
        return std::nullopt;
    }
    return k;
}

bool CliCommands::writeCopy(CliSession &s, const QString &from, const QString &to)
{
    QFile source(from);
    if (!source.open(QIODevice::ReadOnly)) {
        s.problem(QStringLiteral("could not read %1: %2").arg(from, source.errorString()));
        return false;
    }
    const QByteArray bytes = source.readAll();
    return s.ctx().trap(QStringLiteral("tarvel-cli, report"), [&] { AtomicTextFile::writeBytes(to, bytes); });
}

void CliCommands::printFile(CliSession &s, const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        s.problem(QStringLiteral("could not read %1").arg(path));
        return;
    }
    for (const QString &line : TextFile::decodeLines(file.readAll()))
        s.out() << line << Qt::endl;
}

} // namespace Tarvel
