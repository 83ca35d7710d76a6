#include "CliTransferWindows.h"

#include "CliCommands.h"
#include "CliSession.h"

namespace Tarvel {

CliTransferWindows::CliTransferWindows(CliSession &session, const QString &savePath, const QString &linkWord)
    : m_session(session)
    , m_savePath(savePath)
    , m_linkWord(linkWord)
{ }

// The search dialog has no place on the command line; the detect command
// is the same search.
void CliTransferWindows::showAutoDetect()
{
    m_session.out() << QStringLiteral("Auto Detect: search the port with '") << CliCommands::ProgramName
                    << QStringLiteral(" detect ") << (m_linkWord.isEmpty() ? QStringLiteral("LINK") : m_linkWord)
                    << u'\'' << Qt::endl;
}

// What the configuration information window tells first: the identity the
// drive reported, which the catalogue does not know.
void CliTransferWindows::showConfigInfo()
{
    const AppState &state = m_session.ctx().state;
    m_session.out() << QStringLiteral("Connected drive: Series ") << state.strDriveSeries << QStringLiteral(", Model ")
                    << state.strDriveModel << QStringLiteral(", Rev ") << state.strDriveRev << Qt::endl;
    m_session.out() << QStringLiteral("Drives the catalogue supports: '") << CliCommands::ProgramName
                    << QStringLiteral(" drives'") << Qt::endl;
}

void CliTransferWindows::saveConfiguration()
{
    if (m_savePath.isEmpty()) {
        m_session.problem(QStringLiteral("no file to save to"));
        return;
    }
    m_saved = m_session.saveConfig(m_savePath);
    if (m_saved)
        m_session.out() << QStringLiteral("Saved ") << CliSession::absolutePath(m_savePath) << Qt::endl;
    else
        m_session.problem(QStringLiteral("%1 was not saved").arg(m_savePath));
}

// The configuration is in the editor's fields; on the command line the file
// just saved is where the user looks at it.
void CliTransferWindows::showDetailedEditor() { }

} // namespace Tarvel
