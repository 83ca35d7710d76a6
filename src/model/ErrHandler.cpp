#include "ErrHandler.h"

#include "base/ErrorCodes.h"

#include "ErrorLog.h"
#include "ports/ShellHooks.h"

#include <exception>

namespace Tarvel {

ErrHandler::ErrHandler(ErrorLog &log, ShellHooks *&hooks)
    : m_log(log)
    , m_hooks(hooks)
{ }

void ErrHandler::operator()(int number, const QString &description, const QString &location)
{
    try {
        m_hooks->setMainEnabled(true);
        m_log.write(location, QStringLiteral("Program"), number, description);
        m_hooks->setBusyPointer(false);
        m_hooks->setPollTimerEnabled(true);
    } catch (const std::exception &e) {
        m_log.reportFailure(QStringLiteral("ErrHandler()"), Err::InternalError, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace Tarvel
