#include "AppContext.h"

namespace Tarvel {

AppContext::AppContext(const ProgramPaths &paths, Prompter *prompter)
    : m_paths(paths)
    , m_prompter(prompter)
    , m_errorLog(paths.errorLog(), prompter)
    , m_errHandler(m_errorLog, m_hooks)
{
    state.strErrorLogPath = paths.errorLog();
    state.helpFile = paths.helpFile();
    // txtP_Change: any change of a value box, typed or put there by code,
    // marks the configuration as changed; loading and saving clear it after.
    QObject::connect(&editor, &EditorForm::textChanged, [this] { state.blnConfigChanged = true; });
}

CommLink &AppContext::link() const
{
    Q_ASSERT_X(m_link, "AppContext::link", "no drive link attached");
    return *m_link;
}

void AppContext::setPrompter(Prompter *prompter)
{
    m_prompter = prompter;
    m_errorLog.setPrompter(prompter);
}

void AppContext::writeTrace(const QString &text)
{
    if (state.blnDiagsTrace)
        trace.write(text);
}

void AppContext::errHandler(int number, const QString &description, const QString &location)
{
    m_errHandler(number, description, location);
}

} // namespace Tarvel
