#pragma once

#include <QString>

#include <optional>

namespace Tarvel {

class AppContext;

// The windows start-up shows, as the GUI provides them.
class StartupWindows
{
public:
    virtual ~StartupWindows() = default;
    virtual void loadDetailedEditor() = 0; // loaded, not shown
    virtual void showMainWindow() = 0;
    virtual void showNavigator() = 0; // frmStartup, over the main window
    virtual void showSplash() = 0; // frmSplash
};

// basMain: start-up and the one per-installation setting, QuickScreen.
class Startup
{
public:
    explicit Startup(AppContext &ctx);

    // Main(), from step 2 on (the single-instance refusal happens before
    // any window exists, see InstanceGuard).
    void main(StartupWindows &windows);

    // Custinfo: QuickScreen of tblCustInfo record 1, or none when the
    // catalogue could not be read (the error is logged).
    std::optional<bool> readQuickScreen(const QString &location = QStringLiteral("basMain, Custinfo()"));
    // Writes QuickScreen; false when it could not be written (logged).
    bool writeQuickScreen(bool show, const QString &location);

    static QString custInfoQuery() { return QStringLiteral("select * from tblCustInfo where RecNum = 1 "); }

private:
    AppContext &m_ctx;
};

} // namespace Tarvel
