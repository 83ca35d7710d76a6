#pragma once

#include "CliPrompter.h"
#include "comm/BusMonitor.h"
#include "comm/CommLink.h"
#include "ethernet/EthernetRoute.h"
#include "model/AppContext.h"

#include <QCommandLineParser>
#include <QTextStream>

#include <memory>
#include <optional>

namespace Tarvel {

// Exit status of every command.
enum CliExit : int {
    ExitOk = 0, // the operation succeeded
    ExitProblems = 1, // it ran, but something was refused, replaced or failed
    ExitCannotRun = 2, // bad arguments, missing file, unsupported drive, no catalogue
};

// What one run of a command works with: the program's context (as the
// desktop program has it, without windows), the parsed command line, the
// output streams, and the tally of problems that decides the exit status.
// Every status-list line and every message box reaches standard output.
class CliSession
{
public:
    CliSession(const ProgramPaths &paths, const QCommandLineParser &parser, bool answerYes, QTextStream &out,
        QTextStream &err);

    AppContext &ctx() { return m_ctx; }
    QTextStream &out() { return m_out; }
    QTextStream &err() { return m_err; }

    // The command name and the words after it.
    QString commandName() const;
    QStringList args() const;
    const QCommandLineParser &parser() const { return m_parser; }
    bool isSet(const QString &option) const { return m_parser.isSet(option); }
    QString value(const QString &option) const { return m_parser.value(option); }

    // A problem the tool found itself (no message box told it): to standard
    // error, and the run ends with ExitProblems.
    void problem(const QString &text);
    // The run cannot go on: the reason to standard error.
    int cannotRun(const QString &text);
    // Wrong words on the command line: the reason and the usage.
    int usageError(const QString &text);

    // The exit status of a run that went to its end: ExitProblems when a
    // critical or exclamation box was shown, problem() was called or an
    // error was logged (each new log line is repeated on standard error).
    int finish();

    // Opens a configuration file as the Open command does and makes it the
    // current file. False when it could not be opened (already told).
    // Values the open replaced by their default count as a problem.
    bool openConfig(const QString &path);
    // Saves the configuration as the Save As command does.
    bool saveConfig(const QString &path);

    // The index of a parameter the current drive uses, or none after telling
    // why on standard error.
    std::optional<int> usedParameter(const QString &name);
    // "P2.04 = 60 (disabled)": the value box text, and whether the field
    // the user would edit is disabled.
    QString parameterLine(int index) const;
    // Whether the user can edit the parameter: its choice list for a list
    // parameter, else its value box.
    bool editable(int index) const;

    // Absolute, so that the file's own path line names it fully.
    static QString absolutePath(const QString &path);

private:
    void echoErrorLog();

    const QCommandLineParser &m_parser;
    QTextStream &m_out;
    QTextStream &m_err;
    CliPrompter m_prompter;
    AppContext m_ctx;
    CommLink m_link;
    std::unique_ptr<EthernetRoute> m_ethernet;
    std::unique_ptr<BusMonitor> m_trace; // --trace
    qsizetype m_errorLinesEchoed = 0;
    int m_problems = 0;
};

} // namespace Tarvel
