#pragma once

#include "files/FileDifferences.h"

#include <QVector>

namespace Tarvel {

class AppContext;
class DriveReadout;
class TransferWindows;

// Compare With Drive: reads every parameter of the connected drive, writes
// nothing, and lists in the status list each parameter whose drive value
// differs from the configuration ("P1.03 - Configuration = 12.5 Drive = 15
// (Accel Time 1)"), then a line with the count. Values are compared in
// register units, as the check after a download compares them.
class DriveComparison
{
public:
    enum class Outcome {
        NoLink, // no link open; the user was offered to connect
        NoConfiguration,
        Mismatch, // the drive is of another series, model or revision
        Same,
        Differs,
        CommError, // the link failed; the failure end is done
        Trapped,
    };

    DriveComparison(AppContext &ctx, TransferWindows &windows);

    Outcome run();
    // The differences of the last run, Differs kind, ascending.
    const QVector<ParamDifference> &differences() const { return m_differences; }
    int transactions() const { return m_transactions; }

private:
    Outcome steps();
    bool refused(Outcome *outcome);
    void compareValues(const DriveReadout &readout);
    void endDisplay();

    AppContext &m_ctx;
    TransferWindows &m_windows;
    QVector<ParamDifference> m_differences;
    int m_transactions = 0;
};

} // namespace Tarvel
