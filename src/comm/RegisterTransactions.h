#pragma once

#include <QString>

namespace Tarvel {

class AppContext;
class CommLink;

// The single-register operations of basComm through which all drive
// traffic goes: a waited read, a polling read whose values arrive in
// Mod1_Done, and a write. Failures never reach the caller as errors: a
// failed read returns FailureValue, a failed write only leaves a line in
// the error log.
class RegisterTransactions
{
public:
    static constexpr qint16 FailureValue = 32766;

    explicit RegisterTransactions(AppContext &ctx);

    // UploadWhile: reads `count` registers from `address`, returns the
    // first. `resolution` and `parameterText` serve the Ethernet route.
    qint16 uploadWhile(int address, int count, float resolution = 0, const QString &parameterText = QString());
    // Upload: starts a read and returns at once.
    void upload(int address, int count);
    // Download1: writes one register. Returns the write's outcome: Mod1's
    // ResultCode on the serial link, the data link's state on the Ethernet
    // route (0 when the drive took the value).
    int download1(int address, qint16 value);

    // The outcome of the last uploadWhile: Mod1's ResultCode, or on the
    // Ethernet route the data link's state (-1 for a read refused before
    // it went out or answered with a quality that is not good).
    int lastResult() const { return m_lastResult; }

    // The item name of a register on the Ethernet route: OPCDevicePath, the
    // tag by the register plan, and the suffix.
    QString itemName(int address, const QString &suffix) const;

private:
    bool ethernet() const;
    void settleBefore(double classicSeconds);
    void logResult(int code, const QString &location);
    void setPollTimer(bool enabled);
    void setBothTimers(bool enabled);
    bool moduleLost(const QString &location);
    qint16 ethernetRead(int address, const QString &parameterText, const QString &location);
    int ethernetWrite(int address, qint16 value, const QString &location);
    void logState(int state, const QString &location);

    AppContext &m_ctx;
    CommLink &m_link;
    int m_lastResult = 0;
};

} // namespace Tarvel
