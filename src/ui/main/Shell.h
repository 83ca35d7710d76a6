#pragma once

#include "SplashWindow.h"
#include "app/Startup.h"

#include <QPointer>

#include <memory>

namespace Tarvel {

class AppContext;
class MainWindow;
class QtFileDialogs;
class QtLinePrinter;
class QtPrompter;

// The GUI around the core: the main window, the real message boxes, file
// and printer dialogs, and the windows start-up shows.
class Shell : public StartupWindows
{
public:
    explicit Shell(AppContext &ctx);
    ~Shell() override;

    MainWindow &mainWindow() { return *m_main; }
    SplashWindow *splash() const { return m_splash; }
    void setSplashTickMs(int ms) { m_splashTickMs = ms; }

    // Main(): start-up from the catalogue look-up on.
    void start();
    // Brings the main window forward and opens `path` when one is named
    // (the command line, or a later start handing its file over).
    void activate(const QString &path);

    void loadDetailedEditor() override;
    void showMainWindow() override;
    void showNavigator() override;
    void showSplash() override;

private:
    AppContext &m_ctx;
    // The message boxes exist before the main window, so that an error
    // while it is built can still show the "Error Generated" box.
    std::unique_ptr<QtPrompter> m_prompter;
    std::unique_ptr<MainWindow> m_main;
    std::unique_ptr<QtFileDialogs> m_fileDialogs;
    std::unique_ptr<QtLinePrinter> m_printer;
    QPointer<SplashWindow> m_splash;
    int m_splashTickMs = 1000;
};

} // namespace Tarvel
