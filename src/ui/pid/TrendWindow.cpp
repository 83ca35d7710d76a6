#include "TrendWindow.h"

#include "DecimatedChart.h"
#include "ScreenHost.h"
#include "model/AppContext.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QDateTime>
#include <QGridLayout>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

namespace Tarvel {

TrendWindow::TrendWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_model(ctx)
    , m_chart(new DecimatedChart(ctx, m_model.table(), m_model, this))
{
    setObjectName(QStringLiteral("frmTrend"));
    setWindowTitle(QStringLiteral("  Trend"));
    m_chart->setObjectName(QStringLiteral("trend1"));
    m_chart->setLeftAxis(QStringLiteral("Value"), m_model.valueSpan());
    m_chart->setRightAxis(QStringLiteral("Motor Speed"), TrendModel::MotorSpeedSpan, QColor(0xFFFF00));
    QList<DecimatedChart::Channel> channels;
    for (const TrendPens::Pen &pen : TrendPens::pens())
        channels << DecimatedChart::Channel {
            QString::fromLatin1(pen.legend), QColor(QRgb(pen.rgb)), pen.axis == TrendPens::Axis::MotorSpeed ? 1 : 0};
    m_chart->addChannels(channels);
    m_chart->setLegendAlignment(Qt::AlignRight); // ten names: a column beside the plot
    connect(m_chart, &DecimatedChart::xAxisRequested, this, &TrendWindow::xAxisRequested);

    auto *panel = new QWidget(this);
    buildBoxes(panel);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addWidget(panel);

    connect(&m_model, &TrendModel::penVisibilityChanged, this, [this](int pen, bool visible) {
        m_chart->setChannelVisible(pen, visible);
        const QSignalBlocker quiet(m_boxes[size_t(pen)]);
        m_boxes[size_t(pen)]->setChecked(visible);
    });
    connect(&m_model, &TrendModel::axesChanged, this, [this] {
        m_chart->setLeftSpan(m_model.valueSpan());
        m_chart->redraw();
    });
    m_model.open();

    m_tmrTrend.setObjectName(QStringLiteral("tmrTrend"));
    m_tmrTrend.setInterval(TrendModel::TickMs);
    connect(&m_tmrTrend, &QTimer::timeout, this, [this] { m_model.tick(double(QDateTime::currentMSecsSinceEpoch())); });
    m_tmrTrend.start();
    resize(900, 600);
}

void TrendWindow::buildBoxes(QWidget *panel)
{
    auto *grid = new QGridLayout(panel);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int i = 0; i <= ToggleAllBox; ++i) {
        const QString caption = i < TrendPens::Count ? QString::fromLatin1(TrendPens::pens()[size_t(i)].box)
                                                     : QStringLiteral("Toggle All Pens");
        auto *box = new QCheckBox(caption, panel);
        box->setObjectName(QStringLiteral("chkPen_%1").arg(i));
        if (i < TrendPens::Count) {
            QPixmap swatch(12, 12);
            swatch.fill(QColor(QRgb(TrendPens::pens()[size_t(i)].rgb)));
            QPainter(&swatch).drawRect(0, 0, 11, 11);
            box->setIcon(QIcon(swatch));
        }
        connect(box, &QCheckBox::clicked, this, [this, i] { penClicked(i); });
        grid->addWidget(box, i / 4, i % 4);
        m_boxes[size_t(i)] = box;
    }
    auto *close = new QPushButton(QStringLiteral("Close"), panel);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(close, &QPushButton::clicked, this,
        [this] { m_ctx.trap(QStringLiteral("frmTrend, cmdClose_Click"), [&] { closeHost(this); }); });
    grid->addWidget(close, 2, 3, Qt::AlignRight);
}

void TrendWindow::penClicked(int index)
{
    m_ctx.trap(QStringLiteral("frmTrend, chkPen_Click"), [&] {
        const bool on = m_boxes[size_t(index)]->isChecked();
        if (index == ToggleAllBox)
            m_model.setAllVisible(on);
        else
            m_model.setPenVisible(index, on);
    });
}

// Form_QueryUnload: the collected samples go with the window.
void TrendWindow::closeEvent(QCloseEvent *event)
{
    bool ok = false;
    m_ctx.trap(QStringLiteral("frmTrend_QueryUnload()"), [&] { ok = TrendModel::confirmDiscard(m_ctx); });
    if (!ok) {
        event->ignore();
        return;
    }
    m_tmrTrend.stop();
    m_chart->frameTimer().stop();
    m_model.close();
    event->accept();
}

} // namespace Tarvel
