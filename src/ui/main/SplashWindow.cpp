#include "SplashWindow.h"

#include "ui/common/AppIcons.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QVBoxLayout>

namespace Tarvel {

SplashWindow::SplashWindow(QWidget *mainWindow, int tickMs)
    : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint)
    , m_main(mainWindow)
{
    setObjectName(QStringLiteral("frmSplash"));
    setAttribute(Qt::WA_DeleteOnClose);
    auto *picture = new QLabel(this);
    picture->setObjectName(QStringLiteral("imgSplash"));
    picture->setPixmap(AppIcons::splash(QCoreApplication::applicationVersion()));
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(picture);
    setFocusPolicy(Qt::StrongFocus);
    m_timer.setInterval(tickMs);
    connect(&m_timer, &QTimer::timeout, this, &SplashWindow::tick);
    m_timer.start();
}

void SplashWindow::tick()
{
    if (++m_ticks == 6)
        finish(true);
}

void SplashWindow::mousePressEvent(QMouseEvent *event)
{
    event->accept();
    finish(true);
}

void SplashWindow::keyPressEvent(QKeyEvent *event)
{
    event->accept();
    finish(false);
}

void SplashWindow::finish(bool maximiseMain)
{
    m_timer.stop();
    if (maximiseMain && m_main)
        m_main->showMaximized();
    close();
}

} // namespace Tarvel
