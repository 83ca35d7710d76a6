#include "CliApp.h"

#include "CliCommands.h"
#include "CliSession.h"
#include "LinkOptions.h"
#include "base/ProgramPaths.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

namespace Tarvel {

namespace {

// Options every command takes.
QList<QCommandLineOption> commonOptions()
{
    return {
        QCommandLineOption(HomeOption, QStringLiteral("Program folder (Data/QX.qxd, Data/Error.Log, Configs/)."),
            QStringLiteral("DIR")),
        QCommandLineOption(YesOption, QStringLiteral("Answer Yes (or OK) to questions.")),
        QCommandLineOption(TraceOption, QStringLiteral("Every Modbus transaction on standard error.")),
        QCommandLineOption({QStringLiteral("h"), HelpOption}, QStringLiteral("This help.")),
    };
}

} // namespace

CliApp::CliApp(QTextStream &out, QTextStream &err)
    : m_out(out)
    , m_err(err)
{ }

int CliApp::run(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.addOptions(commonOptions());
    parser.addOptions(CliCommands::commandOptions());
    LinkOptions::addTo(parser);
    if (!parser.parse(arguments))
        return usageError(parser.errorText());
    if (parser.isSet(HelpOption)) {
        m_out << helpText();
        m_out.flush();
        return ExitOk;
    }
    const QStringList words = parser.positionalArguments();
    if (words.isEmpty())
        return usageError(QStringLiteral("no command given"));
    const CliCommand *command = CliCommands::find(words.first());
    if (!command)
        return usageError(QStringLiteral("unknown command '%1'").arg(words.first()));
    const QString foreign = foreignOption(parser.optionNames(), *command);
    if (!foreign.isEmpty())
        return usageError(QStringLiteral("%1 does not take the option %2").arg(command->name, foreign));

    QString dir;
    if (parser.isSet(HomeOption)) {
        dir = QFileInfo(parser.value(HomeOption)).absoluteFilePath();
        if (!QFileInfo(dir).isDir())
            return cannotRun(QStringLiteral("no program folder %1").arg(dir));
    } else {
        dir = ProgramPaths::resolve(QCoreApplication::applicationDirPath());
    }
    const ProgramPaths paths(dir);
    if (!QFileInfo(paths.catalogue()).isFile())
        return cannotRun(QStringLiteral("catalogue not found: %1").arg(QDir::toNativeSeparators(paths.catalogue())));

    CliSession session(paths, parser, parser.isSet(YesOption), m_out, m_err);
    const int status = command->run(session);
    m_out.flush();
    m_err.flush();
    return status;
}

QString CliApp::foreignOption(const QStringList &given, const CliCommand &command) const
{
    QStringList allowed;
    for (const QCommandLineOption &option : commonOptions())
        allowed << option.names();
    // Options without other names (the link options among them) are
    // allowed by their name alone.
    allowed << command.options;
    for (const QCommandLineOption &option : CliCommands::commandOptions()) {
        if (command.options.contains(option.names().constFirst()))
            allowed << option.names();
    }
    for (const QString &name : given) {
        if (!allowed.contains(name))
            return (name.size() == 1 ? QStringLiteral("-") : QStringLiteral("--")) + name;
    }
    return {};
}

int CliApp::usageError(const QString &text)
{
    m_err << CliCommands::ProgramName << ": " << text << Qt::endl << Qt::endl << CliCommands::usage();
    m_err.flush();
    return ExitCannotRun;
}

int CliApp::cannotRun(const QString &text)
{
    m_err << CliCommands::ProgramName << ": " << text << Qt::endl;
    m_err.flush();
    return ExitCannotRun;
}

QString CliApp::helpText()
{
    QString text = CliCommands::ProgramName
        + QStringLiteral(" - edit, check and report QX drive configuration files without windows,\n"
                         "through the same checks and rules as the desktop program, and find and read\n"
                         "a drive over the serial link, and upload from and download to it.\n\n")
        + CliCommands::usage().section(u'\n', 0, -3) + QStringLiteral("\n\nCommands:\n");
    for (const CliCommand &command : CliCommands::table()) {
        text += QStringLiteral("  ") + command.synopsis + u'\n';
        for (const QString &line : command.summary.split(u'\n'))
            text += QStringLiteral("      ") + line + u'\n';
    }
    text += QStringLiteral("\nOptions:\n"
                           "  --home DIR   program folder holding Data/QX.qxd, Data/Error.Log and Configs/;\n"
                           "               by default TARVEL_HOME, else the folder the desktop program uses\n"
                           "  --yes        answer Yes (or OK) to questions; without it they are answered\n"
                           "               No (or Cancel)\n"
                           "  -o OUT       (set, report, diagnostics) write to OUT instead; (upload) the file\n"
                           "               to save to\n"
                           "  --config FILE.qxc  (diagnostics) the configuration to have in memory\n"
                           "  --drive SS,MM,RRR  (new) series, model and revision code as 'drives' lists them\n"
                           "  --trace      (drive commands) every Modbus transaction on standard error as\n"
                           "               the bus monitor shows it: time, node, function, first register\n"
                           "               and count, the values as parameters and status values, the\n"
                           "               result (\"ok\" or \"FAILED ...\") and the round-trip time\n"
                           "  -h, --help   this help\n"
                           "\nLink options (detect and the drive commands):\n"
                           "  --port LINK  the serial port: a device path such as /dev/ttyUSB0, or \"Com 1\" ..\n"
                           "               \"Com 6\" (their devices from TARVEL_PORTS or the settings);\n"
                           "               the same as giving LINK after the command\n"
                           "  --node N     (not detect) node address of the drive, 1..247\n"
                           "  --mode rtu|ascii  (not detect) framing of the messages\n"
                           "  --settings BAUD,P,D,S  (not detect) speed, parity N|E|O, data bits 7|8 and stop\n"
                           "               bits, e.g. 19200,E,8,1; 7 data bits alone mean ASCII\n"
                           "  What is not given comes from the catalogue's link settings, as the connection\n"
                           "  dialog presets them (Com 1, node 1, 19200,E,8,1 RTU).\n"
                           "  --opc PROGID --device CHANNEL.DEVICE  (not detect) in place of a port: the\n"
                           "               drive behind the Ethernet route's device, the server being\n"
                           "               Data/Servers/PROGID.ini ('devices PROGID' lists its devices)\n"
                           "  --block      (upload, download) move runs of neighbouring registers in one\n"
                           "               transaction instead of one register per transaction\n"
                           "  --quick      (detect) the quick search; --nodes FIRST-LAST narrows its nodes\n"
                           "\nOutput:\n"
                           "  Every line the operation adds to the status list is printed on its own line.\n"
                           "  Every message box is printed as one line \"MSG <title>: <text>\", each line\n"
                           "  break of the text written as the two characters \\r.\n"
                           "  Refusals and errors that no message box tells are written to standard error.\n"
                           "\nExit status:\n"
                           "  0  the operation succeeded\n"
                           "  1  it ran but reported problems: values of the file out of range and replaced\n"
                           "     by their defaults, an entry refused or rounded (a warning or critical\n"
                           "     message), a disabled field, a question answered No, an error logged\n"
                           "  2  it could not run: bad arguments, missing file, unsupported drive, unknown or\n"
                           "     unused parameter, catalogue missing, a port that does not exist or is in\n"
                           "     use (\"MSG Com Error: ...\"), no drive answering the status command's\n"
                           "     link settings (\"MSG Drive Not Found.: ...\")\n"
                           "  detect: 0 a drive answered, 1 none answered, 2 the search could not run.\n"
                           "  A port the user may not open (\"MSG Com Port Permission: ...\") exits 2.\n"
                           "  status: 1 when a polling read failed (\"Not read: ...\" lines).\n"
                           "  upload: 0 read and saved, 1 read but values out of range or not saved,\n"
                           "    2 not run or broken off: no --yes, port or drive not found, drive not in\n"
                           "    the catalogue, communication failure.\n"
                           "  download: 0 written and verified, 1 written but the read-back differs\n"
                           "    (\"Validation indicates ...\" lines), 2 not run or broken off: no --yes,\n"
                           "    missing file or one with replaced values, drive of another type or\n"
                           "    running, port or drive not found, communication failure.\n"
                           "  diagnostics: 0 written, 1 written but an error was logged on the way, 2 not\n"
                           "    written: no folder for it, configuration not opened, drive not reached.\n");
    return text;
}

} // namespace Tarvel
