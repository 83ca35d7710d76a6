#pragma once

#include "AppState.h"
#include "DiagTrace.h"
#include "ErrHandler.h"
#include "ErrorCodes.h"
#include "ErrorLog.h"
#include "Pacing.h"
#include "ProgramPaths.h"
#include "StatusList.h"
#include "TrappedError.h"
#include "catalogue/EditorForm.h"
#include "catalogue/ParamTables.h"

#include <memory>

namespace Tarvel {

class Catalogue;
class CommLink;
class FileDialogs;
class LinePrinter;
class Prompter;
class ShellHooks;

// Everything the procedures of the program share: paths, state, parameter
// records, the detailed editor's fields, the status list, the error trap,
// and the interfaces through which core code reaches the user.
class AppContext
{
public:
    AppContext(const ProgramPaths &paths, Prompter *prompter);
    ~AppContext();
    AppContext(const AppContext &) = delete;
    AppContext &operator=(const AppContext &) = delete;

    const ProgramPaths &paths() const { return m_paths; }
    AppState state;
    ParamTables params;
    EditorForm editor; // frmTabConfig's fields, created once at start-up
    StatusList statusList; // frmList
    DiagTrace trace;
    Pacing pacing;

    Prompter &prompter() const { return *m_prompter; }
    void setPrompter(Prompter *prompter);
    FileDialogs *fileDialogs() const { return m_fileDialogs; }
    void setFileDialogs(FileDialogs *dialogs) { m_fileDialogs = dialogs; }
    LinePrinter *printer() const { return m_printer; }
    void setPrinter(LinePrinter *printer) { m_printer = printer; }
    ShellHooks *hooks() const { return m_hooks; }
    void setHooks(ShellHooks *hooks) { m_hooks = hooks; }
    ErrorLog &errorLog() { return m_errorLog; }
    // The drive link (Mod1 and the link state); made on first use, so a
    // program that never talks to a drive never opens anything.
    CommLink &link();

    // ConnectDB: a fresh connection to the catalogue; sets blnStepDone.
    std::unique_ptr<Catalogue> connectDB();

    void pause(double seconds) const { pacing.pause(seconds); }
    // WriteTrace: a line to the diagnostics trace while tracing is on.
    void writeTrace(const QString &text);
    // ErrHandler: report one trapped error.
    void errHandler(int number, const QString &description, const QString &location);

    // The common trap: runs a procedure; an error that escapes it goes to
    // ErrHandler with the procedure's location text. Returns whether the
    // procedure ran to its end.
    template<class F> bool trap(const QString &location, F &&procedure)
    {
        try {
            procedure();
            return true;
        } catch (const TrappedError &e) {
            errHandler(e.number(), e.description(), location);
        } catch (const std::exception &e) {
            errHandler(Err::InternalError, QString::fromLocal8Bit(e.what()), location);
        }
        return false;
    }

private:
    ProgramPaths m_paths;
    Prompter *m_prompter;
    FileDialogs *m_fileDialogs = nullptr;
    LinePrinter *m_printer = nullptr;
    ShellHooks *m_hooks = nullptr;
    ErrorLog m_errorLog;
    ErrHandler m_errHandler;
    std::unique_ptr<CommLink> m_link;
};

} // namespace Tarvel
