#pragma once

#include <QStringList>
#include <QTextStream>

namespace Tarvel {

class ProgramPaths;
struct CliCommand;

// tarvel-cli: the desktop program's editing commands without windows.
// Reads the command line, finds the program folder and the catalogue as
// the desktop program does, and runs one command of CliCommands.
class CliApp
{
public:
    CliApp(QTextStream &out, QTextStream &err);

    // arguments as QCoreApplication::arguments() gives them, the program
    // first. Returns the exit status (CliExit).
    int run(const QStringList &arguments);

    static QString helpText();
    // The command draws text onto pages and needs the GUI library's fonts.
    static bool drawsPages(const QStringList &arguments);

private:
    int usageError(const QString &text);
    int cannotRun(const QString &text);
    // An option given to a command that does not take it.
    QString foreignOption(const QStringList &given, const CliCommand &command) const;

    QTextStream &m_out;
    QTextStream &m_err;
};

} // namespace Tarvel
