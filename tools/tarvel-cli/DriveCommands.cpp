#include "DriveCommands.h"

#include "CliSession.h"
#include "DriveStatusReport.h"
#include "LinkOptions.h"
#include "TransferCommands.h"
#include "catalogue/Catalogue.h"
#include "comm/AutoDetectSearch.h"
#include "comm/ComSetTable.h"
#include "comm/CommLink.h"
#include "comm/DriveValues.h"
#include "comm/RegisterTransactions.h"
#include "ethernet/EthernetRoute.h"

namespace Tarvel {

namespace {

// Prints the search's status lines in the order they were added, as each
// appears: the search keeps them newest first and redraws after each try.
class SearchEcho
{
public:
    SearchEcho(AutoDetectSearch &search, QTextStream &out)
        : m_search(search)
        , m_out(out)
    {
        QObject::connect(&search, &AutoDetectSearch::changed, &search, [this] { printNew(); });
    }

private:
    void printNew()
    {
        const QStringList &lines = m_search.statusLines();
        if (lines.size() < m_shown) // a new search cleared the list
            m_shown = 0;
        for (qsizetype k = lines.size() - m_shown - 1; k >= 0; --k)
            m_out << lines.at(k) << Qt::endl; // endl flushes: a watcher sees each try at once
        m_shown = lines.size();
    }

    AutoDetectSearch &m_search;
    QTextStream &m_out;
    qsizetype m_shown = 0;
};

} // namespace

std::optional<QString> DriveCommands::linkWord(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() > 1) {
        s.usageError(QStringLiteral("%1 takes one link: a device path or \"Com N\"").arg(s.commandName()));
        return std::nullopt;
    }
    if (!args.isEmpty() && s.isSet(PortOption)) {
        s.usageError(QStringLiteral("give the link either as a word or with --port, not both"));
        return std::nullopt;
    }
    return args.isEmpty() ? s.value(PortOption) : args.first();
}

int DriveCommands::detect(CliSession &s)
{
    const std::optional<QString> port = linkWord(s);
    if (!port)
        return ExitCannotRun;
    if (port->isEmpty())
        return s.usageError(QStringLiteral("detect needs the port to search: a device path or \"Com N\""));
    SerialLinkSettings where;
    QString error;
    if (!LinkOptions::parsePort(*port, where, &error))
        return s.usageError(error);

    AutoDetectSearch search(s.ctx());
    if (s.isSet(NodesOption) && !s.isSet(QuickOption))
        return s.usageError(QStringLiteral("--nodes narrows the quick search: give --quick too"));
    search.setQuick(s.isSet(QuickOption));
    if (s.isSet(NodesOption)) {
        const QStringList range = s.value(NodesOption).split(u'-');
        bool firstOk = false;
        bool lastOk = false;
        const int first = range.value(0).toInt(&firstOk);
        const int last = range.value(range.size() - 1).toInt(&lastOk);
        if (range.size() > 2 || !firstOk || !lastOk || first < 1 || last < first
            || last > AutoDetectSearch::QuickLastNode)
            return s.usageError(
                QStringLiteral("--nodes takes FIRST-LAST within 1-247, not \"%1\"").arg(s.value(NodesOption)));
        search.setNodeRange(first, last);
    }
    if (where.target.isEmpty())
        search.choosePort(where.commPort);
    else
        search.setTarget(where.target);
    SearchEcho echo(search, s.out());
    const bool found = search.detect();
    if (found) {
        s.out() << search.state() << Qt::endl;
        const AutoDetectSearch::Found &f = search.found();
        s.out() << QStringLiteral("Link options: ") << optionsText(f.node, f.asciiMode, f.portSettings) << Qt::endl;
        s.ctx().link().closeConnection();
        return s.finish();
    }
    // Nothing was tried: the port could not be opened (the message said
    // why) or an error stopped the search before its first try.
    if (search.tries() == 0) {
        s.finish();
        return ExitCannotRun;
    }
    s.problem(QStringLiteral("no drive answered on %1 after %2 tries").arg(*port).arg(search.tries()));
    return s.finish();
}

QString DriveCommands::optionsText(int node, int asciiMode, const QString &portSettings)
{
    return QStringLiteral("--node %1 --mode %2 --settings %3")
        .arg(QString::number(node), asciiMode ? QStringLiteral("ascii") : QStringLiteral("rtu"), portSettings);
}

// The route's first data link keeps identity, fault code and status word
// current; the other status values are read item by item as the serial
// poll reads them in its block.
int DriveCommands::statusEthernet(CliSession &s)
{
    if (!TransferCommands::linkSettings(s, QString()))
        return ExitCannotRun;
    if (!TransferCommands::connect(s, SerialLinkSettings())) {
        s.finish();
        return ExitCannotRun;
    }
    AppContext &ctx = s.ctx();
    DriveStatusReport::ReadCodes codes {};
    for (int k = 0; k < DriveValues::StatusBlockCount - 1 && codes[1] == 0; ++k) {
        const int address = DriveValues::StatusBlock + 1 + k;
        RegisterTransactions transactions(ctx);
        const qint16 value = transactions.uploadWhile(address, 1);
        codes[1] = transactions.lastResult();
        DriveValues::storeItem(ctx.state, address, value);
    }
    for (const QString &line : DriveStatusReport::lines(ctx.state, codes))
        s.out() << line << Qt::endl;
    ctx.link().closeConnection();
    const int finished = s.finish();
    return codes[1] == 0 ? finished : ExitProblems;
}

int DriveCommands::devices(CliSession &s)
{
    const QStringList args = s.args();
    if (args.size() != 1)
        return s.usageError(QStringLiteral("devices takes one server: its ProgID"));
    QStringList devices;
    QString error;
    const DeviceBrowser browser = s.ctx().ethernet()->browser();
    if (browser.getDevices(args.first(), &devices, &error, true) != DeviceBrowser::Browsed)
        return s.cannotRun(error);
    for (const QString &device : std::as_const(devices))
        s.out() << device << Qt::endl;
    return s.finish();
}

int DriveCommands::status(CliSession &s)
{
    if (LinkOptions::ethernet(s.parser()))
        return statusEthernet(s);
    const std::optional<QString> port = linkWord(s);
    if (!port)
        return ExitCannotRun;
    AppContext &ctx = s.ctx();
    ComSetTable defaults;
    if (!ctx.trap(QStringLiteral("tarvel-cli, status"), [&] { defaults = ComSetTable::read(*connectDB(ctx)); })) {
        s.finish();
        return ExitCannotRun;
    }
    QString error;
    std::optional<SerialLinkSettings> settings = LinkOptions::fromParser(s.parser(), defaults, &error);
    if (settings && !port->isEmpty() && !LinkOptions::parsePort(*port, *settings, &error))
        settings.reset();
    if (!settings)
        return s.usageError(error);

    DriveStatusReport::Result result;
    const bool ran
        = ctx.trap(QStringLiteral("tarvel-cli, status"), [&] { result = DriveStatusReport::run(ctx, *settings); });
    for (const QString &line : std::as_const(result.lines))
        s.out() << line << Qt::endl;
    // The report's error reads "<title>: <text>", as the message box would.
    if (!result.error.isEmpty())
        s.out() << QStringLiteral("MSG ") << QString(result.error).replace(u'\r', QLatin1String("\\r")) << Qt::endl;
    const int finished = s.finish();
    if (!ran || (!result.ok && result.lines.isEmpty()))
        return ExitCannotRun; // no drive was reached
    return result.ok ? finished : ExitProblems;
}

} // namespace Tarvel
