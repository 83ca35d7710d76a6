#pragma once

#include "monitor/KeypadModel.h"

#include <QTimer>
#include <QWidget>

#include <functional>

class QDial;
class QLabel;
class QLCDNumber;
class QPushButton;

namespace Tarvel {

class AppContext;

// frmKeypad: renders the keypad model. The display and the lamps follow
// the shared drive values on the window's own timers; every button goes to
// the model, which writes. Closing is refused unless the main window's
// status panel shows the drive stopped.
class KeypadWindow : public QWidget
{
    Q_OBJECT
public:
    // `statusPanel` gives the text of the main window's drive status panel.
    KeypadWindow(AppContext &ctx, std::function<QString()> statusPanel, QWidget *parent = nullptr);

    KeypadModel &model() { return m_model; }
    QLCDNumber *display() const { return m_lcd; }
    QLabel *displayCaption() const { return m_caption; }
    QDial *knob() const { return m_knob; }
    QPushButton *button(const QString &name) const;
    QLabel *lamp(const QString &name) const;
    QTimer &displayTimer() { return m_tmrKeyDisplay; }
    QTimer &lampTimer() { return m_tmrKeypad; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    QPushButton *addButton(const QString &name, const QString &caption);
    QLabel *addLamp(const QString &name, const QString &caption);
    void showValue();
    void showLamps();
    void showKnob();
    void render();
    void knobMoved();
    void turnEnded();

    KeypadModel m_model;
    std::function<QString()> m_statusPanel;
    QLCDNumber *m_lcd = nullptr;
    QLabel *m_caption = nullptr;
    QDial *m_knob = nullptr;
    QWidget *m_arrows = nullptr;
    QTimer m_tmrKeyDisplay;
    QTimer m_tmrKeypad;
    // A turn by wheel or keys has no release; it ends when the knob rests.
    QTimer m_turnRest;
    bool m_settingKnob = false;
};

} // namespace Tarvel
