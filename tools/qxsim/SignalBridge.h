#pragma once

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace Tarvel::Sim {

// Turns SIGTERM and SIGINT into a Qt signal on the event loop, so the
// simulator stops through its normal path (closing the pseudo-terminal and
// removing its link). Qt has no portable facility for this; the handler
// only writes the signal number into a socket pair, the one thing a signal
// handler may safely do.
class SignalBridge : public QObject
{
    Q_OBJECT
public:
    explicit SignalBridge(QObject *parent = nullptr);
    ~SignalBridge() override;

Q_SIGNALS:
    void signalled(int number);

private:
    static void handler(int number);
    void readSignal();

    static int s_writeEnd;
    int m_readEnd = -1;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace Tarvel::Sim
