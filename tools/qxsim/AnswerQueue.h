#pragma once

#include <QByteArray>
#include <QList>
#include <QObject>
#include <QSocketNotifier>

#include <chrono>
#include <functional>
#include <map>
#include <memory>

namespace Tarvel::Sim {

// Sends answers at given moments, to the microsecond. Hand-written on a
// timerfd because Qt 6.4 timers count whole milliseconds, and a whole
// request and answer at 19200 baud take about 9 ms: rounding each delay
// to the millisecond would distort the comparison with the wire-time limit
// by up to a tenth.
class AnswerQueue : public QObject
{
    Q_OBJECT
public:
    using Clock = std::chrono::steady_clock; // CLOCK_MONOTONIC, as the timerfd

    explicit AnswerQueue(QObject *parent = nullptr);
    ~AnswerQueue() override;

    // Runs `send` at `due`; at once when that moment has passed. Answers
    // due at the same moment go in the order they were given.
    void schedule(Clock::time_point due, std::function<void()> send);
    // Runs `write` for each piece of an answer, the first at `due`, the
    // others `gap` apart.
    void schedulePieces(Clock::time_point due, const QList<QByteArray> &pieces, std::chrono::milliseconds gap,
        const std::function<void(const QByteArray &)> &write);
    qsizetype pending() const { return qsizetype(m_queue.size()); }

private:
    void arm();
    void fire();

    int m_fd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
    std::multimap<Clock::time_point, std::function<void()>> m_queue;
};

} // namespace Tarvel::Sim
