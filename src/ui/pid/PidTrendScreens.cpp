#include "PidTrendScreens.h"

#include "ClosedLoopDiagram.h"
#include "PidWindow.h"
#include "SetTrendXDialog.h"
#include "TrendWindow.h"
#include "base/Logging.h"
#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPushButton>

namespace Tarvel {

PidTrendScreens::PidTrendScreens(AppContext &ctx, Shell shell, QWidget *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_shell(std::move(shell))
    , m_parent(parent)
    , m_commands(ctx, *this)
{ }

TrendWindow *PidTrendScreens::trend() const
{
    return m_trend ? qobject_cast<TrendWindow *>(m_trend->widget()) : nullptr;
}

PidWindow *PidTrendScreens::pid() const
{
    return m_pid ? qobject_cast<PidWindow *>(m_pid->widget()) : nullptr;
}

SetTrendXDialog *PidTrendScreens::xDialog() const
{
    return m_xDialog;
}

ClosedLoopDiagram *PidTrendScreens::diagram() const
{
    return m_diagram;
}

void PidTrendScreens::showConnectDialog()
{
    if (m_shell.showConnectDialog)
        m_shell.showConnectDialog();
}

QMdiSubWindow *PidTrendScreens::host(QWidget *screen)
{
    QMdiSubWindow *sub = m_shell.mdi->addSubWindow(screen);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWindowIcon(AppIcons::application());
    sub->resize(screen->size());
    sub->move(20, 20); // 300 twips from the area's corner
    sub->show();
    return sub;
}

void PidTrendScreens::showTrend()
{
    if (m_trend) {
        m_shell.mdi->setActiveSubWindow(m_trend);
        return;
    }
    auto *screen = new TrendWindow(m_ctx);
    connect(screen, &TrendWindow::xAxisRequested, this, [this] { showXDialog(QStringLiteral("1")); });
    m_trend = host(screen);
    qCInfo(lcUi) << "trend screen opened";
    // One trend screen at a time: the command waits for this one to close.
    if (m_shell.setTrendCommandEnabled) {
        m_shell.setTrendCommandEnabled(false);
        connect(m_trend, &QObject::destroyed, this, [this] { m_shell.setTrendCommandEnabled(true); });
    }
}

void PidTrendScreens::showPid()
{
    if (m_pid) {
        m_shell.mdi->setActiveSubWindow(m_pid);
        return;
    }
    auto *screen = new PidWindow(m_ctx, m_shell.driveStatus);
    if (!screen->open()) {
        qCInfo(lcUi) << "PID tuning refused by the drive's P7.00/P7.02";
        delete screen;
        return;
    }
    connect(screen, &PidWindow::xAxisRequested, this, [this] { showXDialog(QStringLiteral("2")); });
    m_pid = host(screen);
}

ChartXSpan *PidTrendScreens::chartFor(const QString &tag) const
{
    if (tag == SetTrendX::TrendTag && trend())
        return &trend()->model();
    if (tag == SetTrendX::PidTag && pid())
        return &pid()->model();
    return nullptr;
}

void PidTrendScreens::showXDialog(const QString &tag)
{
    const QString location = tag == SetTrendX::TrendTag ? QStringLiteral("frmTrend, trend1_OnMouseUp")
                                                        : QStringLiteral("frmPID, trend2_OnMouseUp");
    m_ctx.trap(location, [&] {
        if (!m_xDialog) {
            m_xDialog = new SetTrendXDialog(
                m_ctx, [this](const QString &t) { return chartFor(t); }, m_parent);
            m_xDialog->setAttribute(Qt::WA_DeleteOnClose);
        }
        m_xDialog->prepare(tag);
        m_xDialog->show();
        m_xDialog->raise();
        m_xDialog->activateWindow();
    });
}

void PidTrendScreens::showDiagram()
{
    if (!m_diagram) {
        m_diagram = new ClosedLoopDiagram(m_ctx, m_parent);
        m_diagram->setAttribute(Qt::WA_DeleteOnClose);
    }
    m_diagram->show();
    m_diagram->raise();
}

void PidTrendScreens::wireDiagramButton(QWidget *editor)
{
    if (auto *button = editor->findChild<QPushButton *>(QStringLiteral("cmdDiagram"))) {
        button->setEnabled(true);
        connect(button, &QPushButton::clicked, this, &PidTrendScreens::showDiagram);
    }
}

} // namespace Tarvel
