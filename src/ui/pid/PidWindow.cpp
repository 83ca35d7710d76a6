#include "PidWindow.h"

#include "DecimatedChart.h"
#include "ScreenHost.h"
#include "model/AppContext.h"

#include <QCloseEvent>
#include <QDateTime>
#include <QDial>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QVBoxLayout>

#include <cmath>

namespace Tarvel {

namespace {

constexpr int KnobScale = 10; // the dial counts tenths: arrow 0.1, page 1.0
constexpr int KnobSettleMs = 400; // keys and wheel: the move is finished after this pause

double nowMs()
{
    return double(QDateTime::currentMSecsSinceEpoch());
}

} // namespace

PidWindow::PidWindow(AppContext &ctx, std::function<QString()> driveStatus, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_driveStatus(std::move(driveStatus))
    , m_model(ctx)
    , m_chart(new DecimatedChart(ctx, m_model.table(), m_model, this))
{
    setObjectName(QStringLiteral("frmPID"));
    setWindowTitle(QStringLiteral("  PID Tuning"));
    m_chart->setObjectName(QStringLiteral("trend2"));
    m_chart->setLeftAxis(QStringLiteral("Value"), 100);
    m_chart->addChannels({
        {QStringLiteral("PID Setpoint"), QColor(0x20, 0x9f, 0xdf), 0, false, true},
        {QStringLiteral("PID Feedback"), QColor(Qt::yellow), 0, false, true},
        {QStringLiteral("PMark"), QColor(0xFF, 0x60, 0x60), 0, true, false},
        {QStringLiteral("IMark"), QColor(Qt::white), 0, true, false},
        {QStringLiteral("DMark"), QColor(0x40, 0x60, 0xFF), 0, true, false},
    });
    connect(m_chart, &DecimatedChart::xAxisRequested, this, &PidWindow::xAxisRequested);
    connect(m_chart, &DecimatedChart::cursorChanged, this, [this](double value) {
        m_ctx.trap(QStringLiteral("frmPID, trend2_OnDataCursorChange"),
            [&] { m_cursorValue->setText(QString::number(value, 'f', 2)); });
    });
    connect(&m_model, &PidTuning::xSpanChanged, m_chart, &DecimatedChart::redraw);

    auto *layout = new QHBoxLayout(this);
    layout->addWidget(m_chart, 1);
    layout->addWidget(buildControls());

    m_model.setTimerSwitch([this](bool on) { on ? m_tmrPID.start() : m_tmrPID.stop(); });
    m_tmrPID.setObjectName(QStringLiteral("tmrPID"));
    m_tmrPID.setInterval(PidTuning::TickMs);
    connect(&m_tmrPID, &QTimer::timeout, this, &PidWindow::tick);
    m_knobSettle.setSingleShot(true);
    m_knobSettle.setInterval(KnobSettleMs);
    connect(&m_knobSettle, &QTimer::timeout, this, &PidWindow::knobFinished);
    resize(1000, 560);
}

QWidget *PidWindow::buildControls()
{
    auto *panel = new QWidget(this);
    auto *v = new QVBoxLayout(panel);
    auto *caption = new QLabel(QStringLiteral("PID Setpoint (P7.10)"), panel);
    caption->setObjectName(QStringLiteral("lblPIDSetpoint"));
    m_knob = new QDial(panel);
    m_knob->setObjectName(QStringLiteral("iKnobX1"));
    m_knob->setNotchesVisible(true);
    m_knob->setSingleStep(1);
    m_knob->setPageStep(KnobScale);
    m_knob->setRange(0, 999);
    m_knob->setMinimumSize(150, 150);
    m_knob->installEventFilter(this);
    m_knobValue = new QLabel(panel);
    m_knobValue->setObjectName(QStringLiteral("knobValue"));
    m_knobValue->setAlignment(Qt::AlignCenter);
    connect(m_knob, &QDial::valueChanged, this, [this](int value) {
        m_knobValue->setText(QString::number(double(value) / KnobScale, 'f', 1));
        if (!m_knob->isSliderDown())
            m_knobSettle.start();
    });
    connect(m_knob, &QDial::sliderPressed, &m_tmrPID, qOverload<>(&QTimer::stop));
    connect(m_knob, &QDial::sliderReleased, this, [this] {
        m_tmrPID.start();
        knobFinished();
    });
    v->addWidget(caption);
    v->addWidget(m_knob, 0, Qt::AlignHCenter);
    v->addWidget(m_knobValue);
    v->addWidget(buildGains());

    auto *run = new QPushButton(QStringLiteral("RUN"), panel);
    run->setObjectName(QStringLiteral("cmdRun"));
    auto *stop = new QPushButton(QStringLiteral("STOP"), panel);
    stop->setObjectName(QStringLiteral("cmdStop"));
    auto *close = new QPushButton(QStringLiteral("Close"), panel);
    close->setObjectName(QStringLiteral("cmdClose"));
    connect(run, &QPushButton::clicked, this, [this] { m_model.run(); });
    connect(stop, &QPushButton::clicked, this, [this] { m_model.stop(); });
    connect(close, &QPushButton::clicked, this, [this] {
        if (m_model.confirmClose())
            closeHost(this);
    });
    auto *drive = new QLabel(QStringLiteral("DRIVE"), panel);
    drive->setObjectName(QStringLiteral("Label3"));
    m_driveStat = new QLabel(panel);
    m_driveStat->setObjectName(QStringLiteral("lblDriveStat"));
    m_cursorCaption = new QLabel(QStringLiteral("Value At Selected Cursor:"), panel);
    m_cursorCaption->setObjectName(QStringLiteral("lblCursor"));
    m_cursorValue = new QLabel(panel);
    m_cursorValue->setObjectName(QStringLiteral("lblCursorVal"));
    auto *runStop = new QHBoxLayout;
    runStop->addWidget(run);
    runStop->addWidget(stop);
    v->addLayout(runStop);
    v->addWidget(drive);
    v->addWidget(m_driveStat);
    v->addWidget(m_cursorCaption);
    v->addWidget(m_cursorValue);
    v->addStretch(1);
    v->addWidget(close);
    return panel;
}

QWidget *PidWindow::buildGains()
{
    static const char *const captions[] = {"P - P7.20", "I - P7.21", "D - P7.22"};
    static const char *const labelNames[] = {"lblI", "Label1", "Label2"};
    auto *box = new QWidget(this);
    auto *grid = new QGridLayout(box);
    grid->setContentsMargins(0, 0, 0, 0);
    for (int g = 0; g < 3; ++g) {
        auto *label = new QLabel(QString::fromLatin1(captions[g]), box);
        label->setObjectName(QString::fromLatin1(labelNames[g]));
        m_gains[size_t(g)] = new QLineEdit(box);
        m_gains[size_t(g)]->setObjectName(QStringLiteral("txtPID_%1").arg(g));
        m_gains[size_t(g)]->setMaximumWidth(80);
        m_updates[size_t(g)] = new QPushButton(QStringLiteral("Update"), box);
        m_updates[size_t(g)]->setObjectName(QStringLiteral("cmdPID_%1").arg(g));
        connect(m_updates[size_t(g)], &QPushButton::clicked, this, [this, g] { updateGain(g); });
        grid->addWidget(label, g, 0);
        grid->addWidget(m_gains[size_t(g)], g, 1);
        grid->addWidget(m_updates[size_t(g)], g, 2);
    }
    return box;
}

bool PidWindow::open()
{
    if (!m_model.open(nowMs()))
        return false;
    const double max = m_model.knobMaximum();
    {
        const QSignalBlocker quiet(m_knob);
        m_knob->setRange(0, int(std::lround(max * KnobScale)));
    }
    m_chart->setLeftSpan(max);
    fillFromDrive();
    m_tmrPID.start();
    return true;
}

// GetPID's last step: the boxes and the knob from the values read.
void PidWindow::fillFromDrive()
{
    for (int g = 0; g < 3; ++g)
        m_gains[size_t(g)]->setText(m_model.gainText(g));
    setKnobValue(m_model.setpoint());
}

void PidWindow::setKnobValue(double value)
{
    const QSignalBlocker quiet(m_knob);
    m_knob->setValue(int(std::lround(value * KnobScale)));
    m_knobValue->setText(QString::number(double(m_knob->value()) / KnobScale, 'f', 1));
}

void PidWindow::tick()
{
    m_cursorCaption->setVisible(m_chart->cursorShown());
    m_cursorValue->setVisible(m_chart->cursorShown());
    m_model.tick(nowMs());
    m_driveStat->setText(m_driveStatus ? m_driveStatus() : QString());
}

void PidWindow::knobFinished()
{
    m_knobSettle.stop();
    m_model.knobFinished(double(m_knob->value()) / KnobScale);
}

void PidWindow::updateGain(int gain)
{
    const PidTuning::GainOutcome outcome = m_model.updateGain(gain, m_gains[size_t(gain)]->text(), nowMs());
    if (outcome == PidTuning::GainOutcome::TooLow || outcome == PidTuning::GainOutcome::TooHigh)
        m_gains[size_t(gain)]->setText(m_model.gainText(gain));
}

// While a key is held on the knob the chart waits, as while the mouse holds it.
bool PidWindow::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_knob) {
        if (event->type() == QEvent::KeyPress)
            m_tmrPID.stop();
        else if (event->type() == QEvent::KeyRelease && !static_cast<QKeyEvent *>(event)->isAutoRepeat())
            m_tmrPID.start();
    }
    return QWidget::eventFilter(watched, event);
}

// Enter moves on like Tab.
void PidWindow::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_ctx.trap(QStringLiteral("frmPID, Form_KeyDown"), [&] { focusNextChild(); });
        return;
    }
    QWidget::keyPressEvent(event);
}

void PidWindow::closeEvent(QCloseEvent *event)
{
    if (!m_model.mayUnload(m_driveStatus ? m_driveStatus() : QString())) {
        event->ignore();
        return;
    }
    m_tmrPID.stop();
    m_chart->frameTimer().stop();
    event->accept();
}

} // namespace Tarvel
