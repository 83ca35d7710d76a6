#include "CliSession.h"

#include "CliCommands.h"
#include "CliOptions.h"
#include "ParamName.h"
#include "base/TextFile.h"
#include "files/ConfigFile.h"
#include "model/ParamText.h"

#include <QFile>
#include <QFileInfo>

namespace Tarvel {

CliSession::CliSession(
    const ProgramPaths &paths, const QCommandLineParser &parser, bool answerYes, QTextStream &out, QTextStream &err)
    : m_parser(parser)
    , m_out(out)
    , m_err(err)
    , m_prompter(out, answerYes)
    , m_ctx(paths, &m_prompter)
    , m_link(m_ctx.state)
{
    m_ctx.attachLink(&m_link);
    m_ethernet = std::make_unique<EthernetRoute>(m_ctx);
    QObject::connect(&m_ctx.statusList, &StatusList::lineAdded, &m_ctx.statusList,
        [this](const QString &line) { m_out << line << Qt::endl; });
    if (parser.isSet(TraceOption)) {
        m_trace = std::make_unique<BusMonitor>(m_ctx);
        m_trace->attach();
        QObject::connect(m_trace.get(), &BusMonitor::recorded, m_trace.get(),
            [this](const BusTransaction &t) { m_err << m_trace->line(t) << Qt::endl; });
    }
}

QString CliSession::commandName() const
{
    return m_parser.positionalArguments().value(0);
}

QStringList CliSession::args() const
{
    return m_parser.positionalArguments().mid(1);
}

void CliSession::problem(const QString &text)
{
    ++m_problems;
    m_err << CliCommands::ProgramName << ": " << text << Qt::endl;
}

int CliSession::cannotRun(const QString &text)
{
    m_err << CliCommands::ProgramName << ": " << text << Qt::endl;
    return ExitCannotRun;
}

int CliSession::usageError(const QString &text)
{
    m_err << CliCommands::ProgramName << ": " << text << Qt::endl << Qt::endl << CliCommands::usage();
    m_err.flush();
    return ExitCannotRun;
}

int CliSession::finish()
{
    echoErrorLog();
    m_out.flush();
    return m_problems > 0 || m_prompter.problemShown() ? ExitProblems : ExitOk;
}

// Trapped errors only reach the error log; a user of the tool sees them on
// standard error, and they make the run one with problems. Lines another
// process appended meanwhile are not this run's.
void CliSession::echoErrorLog()
{
    const QStringList &lines = m_ctx.errorLog().writtenLines();
    for (qsizetype n = m_errorLinesEchoed; n < lines.size(); ++n)
        problem(QStringLiteral("error logged: ") + lines.at(n));
    m_errorLinesEchoed = lines.size();
}

bool CliSession::openConfig(const QString &path)
{
    const QString file = absolutePath(path);
    if (!ConfigFile(m_ctx).openFile(file))
        return false;
    m_ctx.state.strConfigPath = file;
    m_ctx.state.strConfigName = QFileInfo(file).fileName();
    // The open replaced a value it could not accept: what is in memory no
    // longer matches the file.
    if (m_ctx.state.blnConfigChanged)
        problem(QStringLiteral("values of %1 were out of range and replaced by their defaults").arg(path));
    return true;
}

bool CliSession::saveConfig(const QString &path)
{
    const QString file = absolutePath(path);
    m_ctx.state.strConfigPath = file;
    m_ctx.state.strConfigName = QFileInfo(file).fileName();
    return ConfigFile(m_ctx).saveFile(file);
}

std::optional<int> CliSession::usedParameter(const QString &name)
{
    const std::optional<int> index = ParamName::parse(name);
    if (!index || !m_ctx.editor.hasTxtP(*index)) {
        cannotRun(QStringLiteral("%1 is not a parameter name (write it as P9.41 or P10.05)").arg(name));
        return std::nullopt;
    }
    const ParamTables &t = m_ctx.params;
    if (!t.blnTextShown[*index] && !t.blnListShown[*index]) {
        cannotRun(QStringLiteral("%1 is not used by this drive (%2 %3 %4)")
                      .arg(ParamText::parameterNumber(*index), m_ctx.state.strSeries, m_ctx.state.strModel,
                          m_ctx.state.strRev));
        return std::nullopt;
    }
    return index;
}

bool CliSession::editable(int index) const
{
    if (m_ctx.params.blnListShown[index] && m_ctx.editor.hasCmbP(index))
        return m_ctx.editor.cmbP(index).enabled();
    return m_ctx.editor.txtP(index).enabled();
}

QString CliSession::parameterLine(int index) const
{
    QString line = ParamText::parameterNumber(index) + QStringLiteral(" = ") + m_ctx.editor.txtP(index).text();
    if (!editable(index))
        line += QStringLiteral(" (disabled)");
    return line;
}

QString CliSession::absolutePath(const QString &path)
{
    return QFileInfo(path).absoluteFilePath();
}

} // namespace Tarvel
