// bench_qxsim [READS]: how fast the simulator answers on a pseudo-terminal,
// and how closely --wire-timing holds its answers to the wire-time limit
// at 19200,E,8,1 (ratio 1.00 is exact; the master's own figures build on
// it, so they can be no better than this).
#include "PtyFormat.h"

#include "comm/ModbusPdu.h"
#include "comm/RtuTransport.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <fcntl.h>
#include <poll.h>
#include <termios.h>
#include <unistd.h>

using namespace Tarvel;

namespace {

struct Run
{
    qint64 totalNs = 0;
    QList<qint64> each;
    bool ok = false;
};

// One simulator, one raw line, `reads` single-register reads in a row.
Run measure(const QStringList &extra, int reads)
{
    Run run;
    QTemporaryDir dir;
    const QString link = dir.filePath(QStringLiteral("qx"));
    QProcess sim;
    sim.start(QCoreApplication::applicationDirPath() + QStringLiteral("/qxsim"),
        QStringList {QStringLiteral("--drive"), QStringLiteral("02,05,120"), QStringLiteral("--pty"), link} + extra);
    if (!sim.waitForReadyRead(10000) || !sim.readLine().startsWith("ready"))
        return run;
    const int fd = ::open(QFile::encodeName(link).constData(), O_RDWR | O_NOCTTY);
    termios tio {};
    ::tcgetattr(fd, &tio);
    ::cfmakeraw(&tio);
    tio.c_cflag |= PARENB; // 19200,E,8,1 as a master sets it
    ::cfsetspeed(&tio, B19200);
    ::tcsetattr(fd, TCSANOW, &tio);

    const RtuTransport rtu;
    const QByteArray frame = rtu.encode({1, ModbusPdu::encodeRequest(ModbusPdu::readHoldingRegisters(257, 1)), 0});
    QElapsedTimer total;
    total.start();
    for (int i = 0; i < reads; ++i) {
        QElapsedTimer one;
        one.start();
        [[maybe_unused]] const ssize_t sent = ::write(fd, frame.constData(), size_t(frame.size()));
        QByteArray answer;
        while (rtu.scan(answer, ModbusDirection::Response).state != ModbusTransport::ScanState::Complete) {
            pollfd p {fd, POLLIN, 0};
            if (::poll(&p, 1, 2000) <= 0) {
                ::close(fd);
                return run;
            }
            char chunk[64];
            const ssize_t n = ::read(fd, chunk, sizeof chunk);
            if (n > 0)
                answer.append(chunk, n);
        }
        run.each << one.nsecsElapsed();
    }
    run.totalNs = total.nsecsElapsed();
    run.ok = true;
    ::close(fd);
    sim.terminate();
    sim.waitForFinished(3000);
    return run;
}

double medianMs(QList<qint64> values)
{
    std::sort(values.begin(), values.end());
    return values.isEmpty() ? 0 : values.at(values.size() / 2) / 1e6;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    const int reads = argc > 1 ? QString::fromLocal8Bit(argv[1]).toInt() : 200;
    const SerialFormat format = *SerialFormat::parse(QStringLiteral("19200,E,8,1"));
    // A read of one register: 8 characters out, 7 back.
    const double limitMs = double(Sim::PtyFormat::transferTime(format, 8 + 7).count()) / 1e6;

    const Run plain = measure({}, reads);
    const Run timed = measure({QStringLiteral("--wire-timing")}, reads);
    if (!plain.ok || !timed.ok) {
        out << "bench_qxsim: the simulator did not answer\n";
        return 1;
    }
    out << "plain:       " << reads << " reads in " << plain.totalNs / 1e6 << " ms, "
        << qRound(reads / (plain.totalNs / 1e9)) << " reads/s, median " << medianMs(plain.each) << " ms\n";
    out << "wire timing: " << reads << " reads in " << timed.totalNs / 1e6 << " ms at 19200,E,8,1, limit "
        << limitMs * reads << " ms (" << limitMs << " ms a read), ratio "
        << QString::number(timed.totalNs / 1e6 / (limitMs * reads), 'f', 3) << ", median read " << medianMs(timed.each)
        << " ms\n";
    return 0;
}
