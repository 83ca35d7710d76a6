#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class AppContext;
class ParameterReads;
class TransferWindows;
struct TransferRow;

// The Upload command: reads every parameter of the connected drive into a
// new configuration in the detailed editor.
class UploadOperation
{
public:
    enum class Outcome { NoLink, Declined, Unsupported, LoadFailed, Completed, CommError, Aborted, Trapped };

    UploadOperation(AppContext &ctx, TransferWindows &windows);

    // Runs the command under its trap.
    Outcome run();

    // Transactions the last run started; for figures.
    int transactions() const { return m_transactions; }
    // Values the drive held out of range, replaced by their defaults.
    int replacedValues() const { return m_replaced; }

private:
    Outcome steps();
    void offerToSaveFirst();
    void releaseFileOfOtherDrive(const QStringList &fileDrive);
    bool linkOpen() const;
    Outcome refuseUnsupportedDrive();
    void prepare();
    Outcome loadFailed();
    Outcome readAll();
    void store(const TransferRow &row, qint16 value);
    void selectEntry(int index, float value);
    Outcome completed();
    Outcome commError(int resultCode);
    Outcome aborted();

    void setMain(bool enabled);
    void setBusy(bool busy);
    void setPoll(bool enabled);
    void setPoll2Sec(bool enabled);

    AppContext &m_ctx;
    TransferWindows &m_windows;
    int m_transactions = 0;
    int m_replaced = 0;
};

} // namespace Tarvel
