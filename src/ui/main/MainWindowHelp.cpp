// The main window's Help menu, F1, the About window and the trace viewer.
#include "MainWindow.h"

#include "model/AppContext.h"
#include "ui/help/AboutWindow.h"
#include "ui/help/DiagsWindow.h"
#include "ui/help/HelpDesk.h"
#include "ui/help/Manual.h"

#include <QAction>
#include <QLabel>

namespace Tarvel {

void MainWindow::connectHelp()
{
    m_help = new HelpDesk(this);
    m_help->installContextHelp();
    const auto wire = [this](Command command, auto slot) {
        for (QAction *a : commandActions(command))
            connect(a, &QAction::triggered, this, slot);
        setCommandEnabled(command, true);
    };
    const auto open = [this, wire](Command command, HelpWindow::Tab tab) {
        const QString location = QStringLiteral("frmMain, ") + QString::fromLatin1(CommandTable::entry(command).name)
            + QStringLiteral("_Click");
        wire(
            command, [this, location, tab] { m_ctx.trap(location, [&] { m_help->show(Manual::ContentsPage, tab); }); });
    };
    open(Command::Contents, HelpWindow::Contents);
    open(Command::Index, HelpWindow::Index);
    open(Command::Search, HelpWindow::Search);
    wire(Command::About, [this] { showAbout(); });
}

void MainWindow::showAbout()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuAbout_Click"), [&] {
        AboutWindow about(
            m_ctx,
            [this] {
                DiagnosticsFile::Captions captions;
                captions.configPanel = panel(1)->text();
                captions.drivePanel = panel(2)->text();
                captions.connectionPanel = panel(4)->text();
                return captions;
            },
            this);
        about.exec();
    });
}

DiagsWindow *MainWindow::diagsWindow() const
{
    return m_diags.data();
}

// Created once; Close only hides it, so the lines and the tracing stay.
void MainWindow::showDiags()
{
    m_ctx.trap(QStringLiteral("frmStartup, cmdDiags_Click"), [&] {
        if (!m_diags) {
            m_diags = new DiagsWindow(m_ctx, this);
            m_diags->placeBy(this);
        }
        m_diags->show();
        m_diags->raise();
        m_diags->activateWindow();
    });
}

} // namespace Tarvel
