#pragma once

#include "monitor/PidTrendCommands.h"

#include <QObject>
#include <QPointer>

#include <functional>

class QMdiArea;
class QMdiSubWindow;

namespace Tarvel {

class AppContext;
class ChartXSpan;
class ClosedLoopDiagram;
class PidWindow;
class SetTrendXDialog;
class TrendWindow;

// The main window's PID and trend screens: one trend, one PID screen and
// one X-axis dialog at a time, as MDI children; the closed-loop diagram
// beside them.
class PidTrendScreens : public QObject, private PidTrendCommands::Windows
{
    Q_OBJECT
public:
    // What the screens need of the main window.
    struct Shell
    {
        QMdiArea *mdi = nullptr;
        std::function<QString()> driveStatus; // status-bar panel 2
        std::function<void()> showConnectDialog;
        std::function<void(bool)> setTrendCommandEnabled;
    };

    PidTrendScreens(AppContext &ctx, Shell shell, QWidget *parent);

    // mnuTrend_Click, mnuPID_Click
    void trendCommand() { m_commands.trend(); }
    void pidCommand() { m_commands.pid(); }

    bool trendOpen() const { return !m_trend.isNull(); }
    TrendWindow *trend() const;
    PidWindow *pid() const;
    SetTrendXDialog *xDialog() const;
    ClosedLoopDiagram *diagram() const;

    // cmdDiagram_Click of the detailed editor, wired to its button.
    void showDiagram();
    void wireDiagramButton(QWidget *editor);

private:
    // PidTrendCommands::Windows
    void showConnectDialog() override;
    void showTrend() override;
    void showPid() override;

    QMdiSubWindow *host(QWidget *screen);
    void showXDialog(const QString &tag);
    ChartXSpan *chartFor(const QString &tag) const;

    AppContext &m_ctx;
    Shell m_shell;
    QWidget *m_parent;
    PidTrendCommands m_commands;
    QPointer<QMdiSubWindow> m_trend;
    QPointer<QMdiSubWindow> m_pid;
    QPointer<SetTrendXDialog> m_xDialog;
    QPointer<ClosedLoopDiagram> m_diagram;
};

} // namespace Tarvel
