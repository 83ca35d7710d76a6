#pragma once

#include "AppState.h"
#include "EditorForm.h"
#include "ErrHandler.h"
#include "ErrorLog.h"
#include "ParamTables.h"
#include "StatusList.h"
#include "base/DiagTrace.h"
#include "base/ErrorCodes.h"
#include "base/Pacing.h"
#include "base/ProgramPaths.h"
#include "base/TrappedError.h"
#include "ports/ShellHooks.h"

namespace Tarvel {

class CommLink;
class EthernetRoute;
class FileDialogs;
class LinePrinter;
class Prompter;

// Everything the procedures of the program share: paths, state, parameter
// records, the detailed editor's fields, the status list, the error trap,
// and the interfaces through which core code reaches the user.
//
// The drive link is a communication object, a layer above this one, so the
// context does not make it: whoever builds the program attaches it.
class AppContext
{
public:
    AppContext(const ProgramPaths &paths, Prompter *prompter);
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
    // The main window's hooks; without a window, hooks that do nothing.
    ShellHooks &hooks() const { return *m_hooks; }
    void setHooks(ShellHooks *hooks) { m_hooks = hooks ? hooks : &m_noWindow; }
    ErrorLog &errorLog() { return m_errorLog; }

    // The drive link (Mod1 and the link state). Attached once by whoever
    // builds the program; asking for it before is a programming error.
    CommLink &link() const;
    bool hasLink() const { return m_link != nullptr; }
    void attachLink(CommLink *link) { m_link = link; }
    // The Ethernet route (the OPC data links and the device browser), a
    // layer above the link; null where the program was built without it.
    EthernetRoute *ethernet() const { return m_ethernet; }
    void attachEthernet(EthernetRoute *route) { m_ethernet = route; }

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
    ShellHooks m_noWindow;
    ShellHooks *m_hooks = &m_noWindow;
    ErrorLog m_errorLog;
    ErrHandler m_errHandler;
    CommLink *m_link = nullptr;
    EthernetRoute *m_ethernet = nullptr;
};

} // namespace Tarvel
