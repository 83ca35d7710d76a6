#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QList>

namespace Tarvel::Sim {

// What a link saw of a master, for whoever watches it: every request frame
// as it arrived (bad ones too), and on a serial line the quiet time the
// master left after an answer before it began the next request. Traced on
// the simulator's log; kept in memory only when recording (in-process use).
class WireLog
{
public:
    void setRecording(bool on) { m_recording = on; }

    void requestBegins();
    void request(const QByteArray &frame);
    void answerSent();

    const QList<QByteArray> &requests() const { return m_requests; }
    // Microseconds from the end of an answer to the first byte of the next request.
    const QList<qint64> &quietBeforeRequest() const { return m_quiet; }

private:
    bool m_recording = false;
    QList<QByteArray> m_requests;
    QList<qint64> m_quiet;
    QElapsedTimer m_sinceAnswer;
};

} // namespace Tarvel::Sim
