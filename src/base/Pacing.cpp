#include "Pacing.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QSettings>
#include <QThread>

#include <algorithm>

namespace Tarvel {

Pacing::Pacing()
    : m_mode(configuredMode())
{ }

Pacing::Mode Pacing::configuredMode()
{
    QString value = qEnvironmentVariable("TARVEL_PACING");
    if (value.isEmpty() && QCoreApplication::instance())
        value = QSettings().value(QStringLiteral("pacing")).toString();
    return value.compare(QLatin1String("classic"), Qt::CaseInsensitive) == 0 ? Classic : Fast;
}

void Pacing::pause(double seconds) const
{
    if (!QCoreApplication::instance())
        return;
    QCoreApplication::processEvents();
    if (m_mode == Fast || seconds <= 0)
        return;
    QElapsedTimer timer;
    timer.start();
    const qint64 total = qint64(seconds * 1000.0);
    while (timer.elapsed() < total) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, int(total - timer.elapsed()));
        QThread::msleep(ulong(std::clamp<qint64>(total - timer.elapsed(), 0, 5)));
    }
}

} // namespace Tarvel
