#include "AnswerQueue.h"

#include "SimLogging.h"

#include <sys/prctl.h>
#include <sys/timerfd.h>
#include <unistd.h>

namespace Tarvel::Sim {

AnswerQueue::AnswerQueue(QObject *parent)
    : QObject(parent)
{
    // The kernel may otherwise fire a timer up to 50 us late to save wake-ups.
    ::prctl(PR_SET_TIMERSLACK, 1UL, 0UL, 0UL, 0UL);
    m_fd = ::timerfd_create(CLOCK_MONOTONIC, TFD_NONBLOCK | TFD_CLOEXEC);
    if (m_fd < 0) {
        qCWarning(lcSim) << "no timerfd; delayed answers go out at once";
        return;
    }
    m_notifier = std::make_unique<QSocketNotifier>(m_fd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &AnswerQueue::fire);
}

AnswerQueue::~AnswerQueue()
{
    m_notifier.reset();
    if (m_fd >= 0)
        ::close(m_fd);
}

void AnswerQueue::schedule(Clock::time_point due, std::function<void()> send)
{
    if (due <= Clock::now() || m_fd < 0) {
        send();
        return;
    }
    m_queue.emplace(due, std::move(send));
    arm();
}

void AnswerQueue::schedulePieces(Clock::time_point due, const QList<QByteArray> &pieces, std::chrono::milliseconds gap,
    const std::function<void(const QByteArray &)> &write)
{
    for (qsizetype i = 0; i < pieces.size(); ++i)
        schedule(due + i * gap, [write, piece = pieces[i]] { write(piece); });
}

void AnswerQueue::arm()
{
    itimerspec due {};
    if (!m_queue.empty()) {
        const auto ns = std::chrono::duration_cast<std::chrono::nanoseconds>(m_queue.begin()->first.time_since_epoch());
        due.it_value.tv_sec = ns.count() / 1'000'000'000;
        due.it_value.tv_nsec = ns.count() % 1'000'000'000;
        if (due.it_value.tv_sec == 0 && due.it_value.tv_nsec == 0)
            due.it_value.tv_nsec = 1; // zero would disarm
    }
    ::timerfd_settime(m_fd, TFD_TIMER_ABSTIME, &due, nullptr);
}

void AnswerQueue::fire()
{
    quint64 expirations = 0;
    [[maybe_unused]] const ssize_t n = ::read(m_fd, &expirations, sizeof expirations);
    const Clock::time_point now = Clock::now();
    while (!m_queue.empty() && m_queue.begin()->first <= now) {
        std::function<void()> send = std::move(m_queue.begin()->second);
        m_queue.erase(m_queue.begin());
        send();
    }
    arm();
}

} // namespace Tarvel::Sim
