#include "SignalBridge.h"

#include <csignal>
#include <fcntl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace Tarvel::Sim {

int SignalBridge::s_writeEnd = -1;

SignalBridge::SignalBridge(QObject *parent)
    : QObject(parent)
{
    int fds[2];
    if (::socketpair(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC | SOCK_NONBLOCK, 0, fds) != 0)
        return;
    s_writeEnd = fds[0];
    m_readEnd = fds[1];
    m_notifier = std::make_unique<QSocketNotifier>(m_readEnd, QSocketNotifier::Read);
    connect(m_notifier.get(), &QSocketNotifier::activated, this, &SignalBridge::readSignal);
    struct sigaction action
    {
    };
    action.sa_handler = &SignalBridge::handler;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    ::sigaction(SIGTERM, &action, nullptr);
    ::sigaction(SIGINT, &action, nullptr);
}

SignalBridge::~SignalBridge()
{
    ::signal(SIGTERM, SIG_DFL);
    ::signal(SIGINT, SIG_DFL);
    m_notifier.reset();
    if (s_writeEnd >= 0)
        ::close(s_writeEnd);
    if (m_readEnd >= 0)
        ::close(m_readEnd);
    s_writeEnd = -1;
}

void SignalBridge::handler(int number)
{
    const unsigned char byte = static_cast<unsigned char>(number);
    [[maybe_unused]] const ssize_t n = ::write(s_writeEnd, &byte, 1);
}

void SignalBridge::readSignal()
{
    unsigned char byte = 0;
    while (::read(m_readEnd, &byte, 1) == 1)
        Q_EMIT signalled(int(byte));
}

} // namespace Tarvel::Sim
