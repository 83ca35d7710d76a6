#pragma once

#include "monitor/PidTuning.h"

#include <QTimer>
#include <QWidget>

#include <array>
#include <functional>

class QDial;
class QLabel;
class QLineEdit;
class QPushButton;

namespace Tarvel {

class AppContext;
class DecimatedChart;

// frmPID: tuning the drive's PID loop while it runs. The chart shows the
// set-point and the feedback every 100 ms with a mark at each gain change;
// the knob moves the set-point, the boxes change the gains, RUN and STOP
// start and stop the drive. It closes only while the drive is stopped.
class PidWindow : public QWidget
{
    Q_OBJECT
public:
    // `driveStatus` gives the main window's drive status text (panel 2).
    PidWindow(AppContext &ctx, std::function<QString()> driveStatus, QWidget *parent = nullptr);

    // Form_Load; false when the drive refused (the window must go).
    bool open();

    PidTuning &model() { return m_model; }
    DecimatedChart *chart() const { return m_chart; }
    QDial *knob() const { return m_knob; }
    QLineEdit *gainBox(int gain) const { return m_gains[size_t(gain)]; }
    QPushButton *updateButton(int gain) const { return m_updates[size_t(gain)]; }
    QTimer &chartTimer() { return m_tmrPID; }

Q_SIGNALS:
    void xAxisRequested();

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QWidget *buildControls();
    QWidget *buildGains();
    void fillFromDrive();
    void tick();
    void knobFinished();
    void updateGain(int gain);
    void setKnobValue(double value);

    AppContext &m_ctx;
    std::function<QString()> m_driveStatus;
    PidTuning m_model;
    DecimatedChart *m_chart;
    QDial *m_knob = nullptr;
    QLabel *m_knobValue = nullptr;
    QLabel *m_driveStat = nullptr;
    QLabel *m_cursorCaption = nullptr;
    QLabel *m_cursorValue = nullptr;
    std::array<QLineEdit *, 3> m_gains {};
    std::array<QPushButton *, 3> m_updates {};
    QTimer m_tmrPID;
    QTimer m_knobSettle;
};

} // namespace Tarvel
