#pragma once

#include <QString>

namespace Tarvel {

class ErrorLog;
class ShellHooks;

// Reports one trapped error: puts the main window back into a usable state
// (enabled, normal pointer, polling on) and writes the error-log line.
// Nothing is shown to the user on this path; the log is the record.
class ErrHandler
{
public:
    // hooks: the context's hooks pointer, never null, followed when it changes.
    ErrHandler(ErrorLog &log, ShellHooks *&hooks);
    void operator()(int number, const QString &description, const QString &location);

private:
    ErrorLog &m_log;
    ShellHooks *&m_hooks;
};

} // namespace Tarvel
