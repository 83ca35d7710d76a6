#pragma once

#include <QTimer>
#include <QWidget>

namespace Tarvel {

// frmSplash: the borderless picture shown at start. On its sixth timer tick,
// or a click on the picture, it maximises the main window and goes; a key
// press makes it go without maximising.
class SplashWindow : public QWidget
{
    Q_OBJECT
public:
    explicit SplashWindow(QWidget *mainWindow, int tickMs = 1000);
    int ticks() const { return m_ticks; }

protected:
    void mousePressEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void tick();
    void finish(bool maximiseMain);

    QWidget *m_main;
    QTimer m_timer; // tmrSplash
    int m_ticks = 0;
};

} // namespace Tarvel
