#include "MonitorCommands.h"

#include "MainWindow.h"
#include "model/AppContext.h"
#include "monitor/KeypadModel.h"
#include "ui/common/AppIcons.h"
#include "ui/monitor/FaultsWindow.h"
#include "ui/monitor/KeypadWindow.h"
#include "ui/monitor/StatsWindow.h"

#include <QAction>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMouseEvent>
#include <QStatusBar>

namespace Tarvel {

MonitorCommands::MonitorCommands(AppContext &ctx, MainWindow &window)
    : QObject(&window)
    , m_ctx(ctx)
    , m_window(window)
{
    const auto wire = [this](Command command, void (MonitorCommands::*slot)()) {
        for (QAction *a : m_window.commandActions(command))
            connect(a, &QAction::triggered, this, slot);
    };
    wire(Command::Keypad, &MonitorCommands::keypad);
    wire(Command::Stats, &MonitorCommands::showStats);
    wire(Command::Faults, &MonitorCommands::showFaults);
    // Both work without a link: the one shows there is none, the other asks
    // to connect.
    m_window.setCommandEnabled(Command::Stats, true);
    m_window.setCommandEnabled(Command::Faults, true);
    QStatusBar *bar = m_window.statusBar();
    bar->setToolTip(QStringLiteral("Click to open Current Config Info"));
    bar->installEventFilter(this);
    m_statusBar = bar;
}

KeypadWindow *MonitorCommands::keypadWindow() const
{
    return m_keypad;
}

StatsWindow *MonitorCommands::statsWindow() const
{
    return m_stats;
}

FaultsWindow *MonitorCommands::faultsWindow() const
{
    return m_faults;
}

bool MonitorCommands::eventFilter(QObject *watched, QEvent *event)
{
    // Compared by the pointer kept: while the main window is taken down its
    // status bar still sends events, but the window is no longer to be asked.
    if (event->type() == QEvent::MouseButtonPress && watched == m_statusBar)
        showStats();
    return QObject::eventFilter(watched, event);
}

void MonitorCommands::showChild(QWidget *window)
{
    QMdiSubWindow *frame = m_window.mdiArea()->addSubWindow(window);
    frame->setWindowIcon(AppIcons::application());
    frame->adjustSize();
    frame->show();
}

void MonitorCommands::raise(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        m_window.mdiArea()->setActiveSubWindow(frame);
}

void MonitorCommands::keypad()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuKeypad_Click"), [&] {
        if (!m_keypad) {
            if (!KeypadModel::confirmOpen(m_ctx))
                return;
            m_keypad = new KeypadWindow(m_ctx, [this] { return m_window.panel(2)->text(); });
            showChild(m_keypad);
        }
        raise(m_keypad);
    });
}

void MonitorCommands::showStats()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuStats_Click"), [&] {
        if (!m_stats) {
            m_stats = new StatsWindow(m_ctx);
            showChild(m_stats);
        }
        raise(m_stats);
    });
}

void MonitorCommands::showFaults()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuFaults_Click"), [&] {
        if (!m_faults) {
            m_faults = new FaultsWindow(m_ctx, [this] { m_window.showConnection(); });
            showChild(m_faults);
        }
        raise(m_faults);
    });
}

} // namespace Tarvel
