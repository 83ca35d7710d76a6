#include "KeypadWindow.h"

#include "ChildWindow.h"
#include "ui/common/AppIcons.h"

#include <QCloseEvent>
#include <QDial>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLCDNumber>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

#include <cmath>

namespace Tarvel {

namespace {

constexpr int TurnRestMs = 400;
constexpr int KnobSteps = 10; // the knob moves in tenths of Hz

QColor lampColour(KeypadModel::Lamp lamp)
{
    const int bgr = int(lamp);
    return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF);
}

} // namespace

KeypadWindow::KeypadWindow(AppContext &ctx, std::function<QString()> statusPanel, QWidget *parent)
    : QWidget(parent)
    , m_model(ctx)
    , m_statusPanel(std::move(statusPanel))
{
    setObjectName(QStringLiteral("frmKeypad"));
    setWindowTitle(QStringLiteral("  Maintenance Keypad"));
    setWindowIcon(AppIcons::application());
    build();
    showLamps(); // all off until the first tick
    m_model.open();
    render();
    m_tmrKeyDisplay.setObjectName(QStringLiteral("tmrKeyDisplay"));
    m_tmrKeypad.setObjectName(QStringLiteral("tmrKeypad"));
    connect(&m_tmrKeyDisplay, &QTimer::timeout, this, &KeypadWindow::showValue);
    connect(&m_tmrKeypad, &QTimer::timeout, this, [this] {
        m_model.updateLamps();
        showLamps();
    });
    m_tmrKeyDisplay.start(m_model.displayIntervalMs());
    m_tmrKeypad.start(m_model.lampIntervalMs());
    m_turnRest.setSingleShot(true);
    m_turnRest.setInterval(TurnRestMs);
    connect(&m_turnRest, &QTimer::timeout, this, &KeypadWindow::turnEnded);
}

QPushButton *KeypadWindow::addButton(const QString &name, const QString &caption)
{
    auto *button = new QPushButton(caption, this);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

QLabel *KeypadWindow::addLamp(const QString &name, const QString &caption)
{
    auto *lamp = new QLabel(caption, this);
    lamp->setObjectName(name);
    lamp->setAlignment(Qt::AlignCenter);
    lamp->setMinimumSize(48, 22);
    lamp->setFrameShape(QFrame::Panel);
    lamp->setFrameShadow(QFrame::Sunken);
    lamp->setAutoFillBackground(true);
    return lamp;
}

void KeypadWindow::build()
{
    m_lcd = new QLCDNumber(7, this);
    m_lcd->setObjectName(QStringLiteral("lcdValue"));
    m_lcd->setSegmentStyle(QLCDNumber::Filled);
    m_lcd->setMinimumSize(260, 70);
    QPalette lcdColours = m_lcd->palette();
    lcdColours.setColor(QPalette::Window, Qt::black);
    lcdColours.setColor(QPalette::WindowText, QColor(255, 40, 40));
    m_lcd->setPalette(lcdColours);
    m_lcd->setAutoFillBackground(true);

    m_caption = new QLabel(KeypadModel::caption(0), this);
    m_caption->setObjectName(QStringLiteral("lblDisplay"));
    m_caption->setAlignment(Qt::AlignCenter);
    QPushButton *left = addButton(QStringLiteral("cmdDisplayL"), QStringLiteral("<"));
    QPushButton *right = addButton(QStringLiteral("cmdDisplayR"), QStringLiteral(">"));
    auto *displayRow = new QHBoxLayout;
    displayRow->addWidget(left);
    displayRow->addWidget(m_caption, 1);
    displayRow->addWidget(right);

    auto *lamps = new QHBoxLayout;
    const std::pair<const char *, const char *> lampNames[]
        = {{"lblRun", "RUN"}, {"lblStop", "STOP"}, {"lblJog", "JOG"}, {"lblFwd", "FWD"}, {"lblRev", "REV"}};
    for (const auto &[name, text] : lampNames)
        lamps->addWidget(addLamp(QString::fromLatin1(name), QString::fromLatin1(text)));

    m_knob = new QDial(this);
    m_knob->setObjectName(QStringLiteral("iKnobX1"));
    m_knob->setNotchesVisible(true);
    m_knob->setMinimumSize(120, 120);
    m_arrows = new QWidget(this);
    auto *arrows = new QVBoxLayout(m_arrows);
    QPushButton *up = addButton(QStringLiteral("cmdUp"), QString());
    QPushButton *down = addButton(QStringLiteral("cmdDown"), QString());
    up->setIcon(style()->standardIcon(QStyle::SP_ArrowUp));
    down->setIcon(style()->standardIcon(QStyle::SP_ArrowDown));
    arrows->addWidget(up);
    arrows->addWidget(down);
    QPushButton *knobSwitch = addButton(QStringLiteral("cmdKnob"), QStringLiteral("Buttons"));
    auto *setpoint = new QHBoxLayout;
    setpoint->addWidget(m_knob, 1);
    setpoint->addWidget(m_arrows, 1);
    setpoint->addWidget(knobSwitch, 0, Qt::AlignBottom);

    auto *commands = new QHBoxLayout;
    QPushButton *run = addButton(QStringLiteral("cmdRun"), QStringLiteral("Run"));
    QPushButton *stop = addButton(QStringLiteral("cmdStop"), QStringLiteral("Stop"));
    QPushButton *fwdRev = addButton(QStringLiteral("cmdFwdRev"), QStringLiteral(" Fwd / Rev"));
    QPushButton *close = addButton(QStringLiteral("cmdClose"), QStringLiteral("Close"));
    for (QPushButton *b : {run, stop, fwdRev, close})
        commands->addWidget(b);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_lcd);
    layout->addLayout(displayRow);
    layout->addLayout(lamps);
    layout->addLayout(setpoint);
    layout->addLayout(commands);

    const auto act = [this](auto step) {
        return [this, step] {
            step();
            render();
        };
    };
    connect(left, &QPushButton::clicked, this, act([this] { m_model.previousDisplay(); }));
    connect(right, &QPushButton::clicked, this, act([this] { m_model.nextDisplay(); }));
    connect(up, &QPushButton::pressed, this, act([this] { m_model.step(+1); }));
    connect(down, &QPushButton::pressed, this, act([this] { m_model.step(-1); }));
    connect(knobSwitch, &QPushButton::clicked, this, act([this] { m_model.toggleKnob(); }));
    connect(run, &QPushButton::clicked, this, act([this] { m_model.run(); }));
    connect(stop, &QPushButton::clicked, this, act([this] { m_model.stop(); }));
    connect(fwdRev, &QPushButton::clicked, this, act([this] { m_model.fwdRev(); }));
    connect(close, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
    connect(m_knob, &QDial::sliderPressed, this, act([this] { m_model.knobPressed(); }));
    connect(m_knob, &QDial::sliderReleased, this, &KeypadWindow::turnEnded);
    connect(m_knob, &QDial::valueChanged, this, &KeypadWindow::knobMoved);
}

QPushButton *KeypadWindow::button(const QString &name) const
{
    return findChild<QPushButton *>(name);
}

QLabel *KeypadWindow::lamp(const QString &name) const
{
    return findChild<QLabel *>(name);
}

void KeypadWindow::showValue()
{
    const int index = m_model.display();
    m_lcd->display(QString::number(m_model.value(index), 'f', KeypadModel::decimals(index)));
}

void KeypadWindow::showLamps()
{
    const KeypadModel::Lamps &l = m_model.lamps();
    const std::pair<const char *, KeypadModel::Lamp> lamps[]
        = {{"lblRun", l.run}, {"lblStop", l.stop}, {"lblJog", l.jog}, {"lblFwd", l.fwd}, {"lblRev", l.rev}};
    for (const auto &[name, state] : lamps) {
        QLabel *label = lamp(QString::fromLatin1(name));
        QPalette colours = label->palette();
        colours.setColor(QPalette::Window, lampColour(state));
        colours.setColor(QPalette::WindowText, Qt::black);
        label->setPalette(colours);
        label->setProperty("lampColour", int(state));
    }
}

void KeypadWindow::showKnob()
{
    m_settingKnob = true;
    m_knob->setRange(0, int(std::lround(m_model.knobMaximum() * KnobSteps)));
    m_knob->setValue(int(std::lround(m_model.knobPosition() * KnobSteps)));
    m_settingKnob = false;
    m_knob->setVisible(m_model.knobShown());
    m_arrows->setVisible(!m_model.knobShown());
    button(QStringLiteral("cmdKnob"))->setText(m_model.knobButtonCaption());
}

void KeypadWindow::render()
{
    m_caption->setText(KeypadModel::caption(m_model.display()));
    showValue();
    if (!m_knob->isSliderDown())
        showKnob();
}

void KeypadWindow::knobMoved()
{
    if (m_settingKnob)
        return;
    if (m_knob->isSliderDown())
        return; // the release ends this turn
    if (!m_turnRest.isActive()) {
        m_model.knobPressed(); // a turn by wheel or keys begins
        m_caption->setText(KeypadModel::caption(m_model.display()));
    }
    m_turnRest.start();
}

void KeypadWindow::turnEnded()
{
    m_turnRest.stop();
    m_model.knobTurned(double(m_knob->value()) / KnobSteps);
    render();
}

void KeypadWindow::closeEvent(QCloseEvent *event)
{
    if (!m_model.mayClose(m_statusPanel ? m_statusPanel() : QString())) {
        event->ignore();
        return;
    }
    m_tmrKeyDisplay.stop();
    m_tmrKeypad.stop();
    event->accept();
}

} // namespace Tarvel
