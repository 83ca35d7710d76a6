#pragma once

#include <QObject>
#include <QPointer>

namespace Tarvel {

class AppContext;
class FaultsWindow;
class KeypadWindow;
class MainWindow;
class StatsWindow;

// The Utilities menu's monitoring screens: Maintenance Keypad, Display
// Config Information (also a click on the status bar and the Upload
// command's "Drive not supported" question) and Display Drive Faults. One
// window of each kind at a time, in the main window's area.
class MonitorCommands : public QObject
{
    Q_OBJECT
public:
    MonitorCommands(AppContext &ctx, MainWindow &window);

    // mnuKeypad_Click: the settings warning, then the keypad.
    void keypad();
    // mnuStats_Click
    void showStats();
    // mnuFaults_Click
    void showFaults();

    KeypadWindow *keypadWindow() const;
    StatsWindow *statsWindow() const;
    FaultsWindow *faultsWindow() const;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void showChild(QWidget *window);
    void raise(QWidget *window);

    AppContext &m_ctx;
    MainWindow &m_window;
    QObject *m_statusBar = nullptr;
    QPointer<KeypadWindow> m_keypad;
    QPointer<StatsWindow> m_stats;
    QPointer<FaultsWindow> m_faults;
};

} // namespace Tarvel
