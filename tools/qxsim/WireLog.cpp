#include "WireLog.h"

#include "SimLogging.h"

namespace Tarvel::Sim {

void WireLog::requestBegins()
{
    if (!m_sinceAnswer.isValid())
        return;
    const qint64 quiet = m_sinceAnswer.nsecsElapsed() / 1000;
    m_sinceAnswer.invalidate();
    qCDebug(lcSim) << "quiet before the request:" << quiet << "us";
    if (m_recording)
        m_quiet << quiet;
}

void WireLog::request(const QByteArray &frame)
{
    qCDebug(lcSim) << "received" << frame.toHex(' ');
    if (m_recording)
        m_requests << frame;
}

void WireLog::answerSent()
{
    m_sinceAnswer.start();
}

} // namespace Tarvel::Sim
