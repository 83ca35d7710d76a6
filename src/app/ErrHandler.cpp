#include "ErrHandler.h"

#include "ErrorCodes.h"

#include "ErrorLog.h"
#include "ShellHooks.h"

#include <exception>

namespace Tarvel {

ErrHandler::ErrHandler(ErrorLog &log, ShellHooks *&hooks)
    : m_log(log)
    , m_hooks(hooks)
{ }

void ErrHandler::operator()(int number, const QString &description, const QString &location)
{
    try {
        if (m_hooks)
            m_hooks->setMainEnabled(true);
        m_log.write(location, QStringLiteral("Program"), number, description);
        if (m_hooks) {
            m_hooks->setBusyPointer(false);
            m_hooks->setPollTimerEnabled(true);
        }
    } catch (const std::exception &e) {
        m_log.reportFailure(QStringLiteral("ErrHandler()"), Err::InternalError, QString::fromLocal8Bit(e.what()));
    }
}

} // namespace Tarvel
