#pragma once

#include <QCommandLineOption>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Tarvel {

class CliSession;
class EntryChecks;

// One command of the tool. A new command is one function and one row of
// the table; options of its own are listed by name and declared in
// commandOptions().
struct CliCommand
{
    QString name;
    QString synopsis; // "get FILE.qxc Pg.nn..."
    QString summary; // one or more lines for --help
    QStringList options; // names of the command's own options
    int (*run)(CliSession &session);
};

// The commands of tarvel-cli, one function each, over the same core
// procedures as the desktop program's menu commands.
class CliCommands
{
public:
    static const QString ProgramName; // "tarvel-cli"

    static const QList<CliCommand> &table();
    static const CliCommand *find(const QString &name);
    // Every option a command may take, for the one parser of the tool.
    static QList<QCommandLineOption> commandOptions();
    // The synopsis of every command, for usage errors and --help.
    static QString usage();

    static int drives(CliSession &s);
    static int newConfig(CliSession &s);
    static int check(CliSession &s);
    static int get(CliSession &s);
    static int set(CliSession &s);
    static int compare(CliSession &s);
    static int report(CliSession &s);

private:
    static bool enter(CliSession &s, EntryChecks &checks, int index, const QString &value);
    static std::optional<int> entryPosition(CliSession &s, int index, const QString &value);
    static bool writeCopy(CliSession &s, const QString &from, const QString &to);
    static void printFile(CliSession &s, const QString &path);
};

} // namespace Tarvel
