#include "AppContext.h"

#include "catalogue/Catalogue.h"
#include "comm/CommLink.h"

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

AppContext::~AppContext() = default;

CommLink &AppContext::link()
{
    if (!m_link)
        m_link = std::make_unique<CommLink>(state);
    return *m_link;
}

void AppContext::setPrompter(Prompter *prompter)
{
    m_prompter = prompter;
    m_errorLog.setPrompter(prompter);
}

std::unique_ptr<Catalogue> AppContext::connectDB()
{
    auto catalogue = std::make_unique<Catalogue>(m_paths.catalogue());
    catalogue->connect();
    state.blnStepDone = true;
    return catalogue;
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
