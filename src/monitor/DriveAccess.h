#pragma once

#include <QList>
#include <QtGlobal>

#include <functional>
#include <optional>

namespace Tarvel {

class AppContext;

// The monitoring screens' traffic with the drive: waited reads and
// single-register writes through the register transactions, so that every
// failure is logged and ends exactly as anywhere else on the link. A read
// that failed gives nothing rather than a number that could be mistaken for
// the drive's, and hands the polling back so the loss of a link is noticed.
class DriveAccess
{
public:
    explicit DriveAccess(AppContext &ctx);

    // A link is open: the serial port or the Ethernet route.
    bool linkOpen() const;
    // "No Connection Present": asks whether to connect now; Yes runs
    // `showConnection` when one is given.
    void askToConnect(const std::function<void()> &showConnection);

    // UploadWhile of one register; none when the read failed.
    std::optional<qint16> read(int address);
    // UploadWhile of `count` registers from `address` into `values`;
    // false (values untouched) when the read failed.
    bool readBlock(int address, int count, QList<qint16> *values);
    // Download1 of one register. Mod1's ResultCode of the write (the data
    // link's state on the Ethernet route): 0 when the drive took it; -1
    // when no link could carry it.
    int write(int address, qint16 value);

private:
    bool ethernet() const;
    bool readItems(int address, int count, QList<qint16> *values);
    void resumePolling();

    AppContext &m_ctx;
};

} // namespace Tarvel
