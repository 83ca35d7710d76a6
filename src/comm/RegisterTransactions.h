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
    // Download1: writes one register.
    void download1(int address, qint16 value);

private:
    bool ethernet() const;
    void settleBefore(double classicSeconds);
    void logResult(int code, const QString &location);
    void setPollTimer(bool enabled);
    void setBothTimers(bool enabled);
    qint16 ethernetUnavailable(const QString &location);

    AppContext &m_ctx;
    CommLink &m_link;
};

} // namespace Tarvel
