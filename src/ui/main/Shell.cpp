#include "Shell.h"

#include "MainWindow.h"
#include "NavigatorDialog.h"
#include "SplashWindow.h"
#include "model/AppContext.h"
#include "print/QtLinePrinter.h"
#include "ui/common/QtFileDialogs.h"
#include "ui/common/QtPrompter.h"

#include <QScreen>

namespace Tarvel {

namespace {

std::unique_ptr<QtPrompter> attachPrompter(AppContext &ctx)
{
    auto prompter = std::make_unique<QtPrompter>();
    ctx.setPrompter(prompter.get());
    return prompter;
}

} // namespace

Shell::Shell(AppContext &ctx)
    : m_ctx(ctx)
    , m_prompter(attachPrompter(ctx))
    , m_main(std::make_unique<MainWindow>(ctx))
    , m_fileDialogs(std::make_unique<QtFileDialogs>(m_main.get()))
    , m_printer(std::make_unique<QtLinePrinter>(m_main.get()))
{
    m_prompter->setParentWidget(m_main.get());
    m_ctx.setFileDialogs(m_fileDialogs.get());
    m_ctx.setPrinter(m_printer.get());
    m_ctx.setHooks(m_main.get());
}

Shell::~Shell()
{
    m_ctx.setHooks(nullptr);
    m_ctx.setPrinter(nullptr);
    m_ctx.setFileDialogs(nullptr);
    m_ctx.setPrompter(nullptr);
    delete m_splash.data();
}

void Shell::start()
{
    Startup(m_ctx).main(*this);
}

void Shell::activate(const QString &path)
{
    m_main->showNormal();
    m_main->raise();
    m_main->activateWindow();
    if (!path.isEmpty())
        m_main->commands().openNamedFile(path);
}

// The detailed editor's fields live in the context from the start; its
// window is built on first use.
void Shell::loadDetailedEditor() { }

void Shell::showMainWindow()
{
    m_main->show();
}

void Shell::showNavigator()
{
    m_main->showNavigator();
}

void Shell::showSplash()
{
    m_splash = new SplashWindow(m_main.get(), m_splashTickMs);
    m_splash->adjustSize();
    if (const QScreen *screen = m_main->screen())
        m_splash->move(screen->availableGeometry().center() - m_splash->rect().center());
    m_splash->show();
    m_splash->raise();
    m_splash->activateWindow();
}

} // namespace Tarvel
