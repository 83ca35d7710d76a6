#pragma once

#include "comm/ParameterWrites.h"

#include <QString>
#include <QVector>

#include <optional>

namespace Tarvel {

class AppContext;
struct AppState;
class TransferWindows;

// The Download command: writes the open configuration into the connected
// drive group by group, after refreshing the read-only parameters from the
// drive, and reads every parameter back to verify it. Messages go through
// the prompter, progress to the status list; nothing here opens a window.
class DownloadOperation
{
public:
    enum class Outcome {
        NoLink, // no link open; the user was offered to connect
        NoConfiguration, // no configuration in the detailed editor
        Mismatch, // the drive is of another series, model or revision
        DriveRunning, // refused: the drive was not stopped
        Declined, // the user answered No to the confirmation
        Verified, // written and read back equal
        VerifyFailed, // written, but the drive holds other values
        CommError, // the link failed; the operation stopped there
        Trapped, // another fault, reported to the error handler
        BackupFailed, // the drive's settings could not be saved; nothing written
    };
    static constexpr int GroupCount = 11; // parameter groups 0..10

    DownloadOperation(AppContext &ctx, TransferWindows &windows);

    // mnuDownload_Click: the checks, the confirmation and the download.
    Outcome run();
    // DownloadAll: GetReadonly, the group writes, then LogicCheck.
    // Returns Verified, VerifyFailed, CommError or Trapped.
    Outcome downloadAll(const QString &table, const QString &series, const QString &model, const QString &rev);

    // Write transactions of the last download; for figures.
    int writeTransactions() const { return m_writeTransactions; }

    // Before the first write, the drive's settings are saved as a backup
    // file (off unless set; the window and the command line turn it on).
    void setBackupBeforeDownload(bool on) { m_backup = on; }
    // The backup file of the last download; empty when none was made.
    const QString &backupPath() const { return m_backupPath; }

    // Whether the connected drive is of the configuration's series, model
    // and revision (the drive reports "2" where the file holds "02").
    static bool identityMatches(const AppState &s);

private:
    using Plan = QVector<QVector<ParameterWrite>>; // rows to write, by group

    Outcome command();
    std::optional<Outcome> refusal();
    bool backUp();
    Outcome downloadSteps(const QString &table, const QString &series, const QString &model, const QString &rev);
    Plan planWrites(const QString &table, const QString &series, const QString &model, const QString &rev);
    ParameterWrite planRow(int index, int address);
    [[noreturn]] void refuseOverflow(int index, const QString &text);
    bool writePlan(const Plan &plan);
    bool writeItems(const QVector<ParameterWrite> &rows);
    Outcome verify();
    void commErrorEnd(const QString &logText1, const QString &logText2, int number);
    void setBusy(bool busy);
    void setPollTimer(bool enabled);

    AppContext &m_ctx;
    TransferWindows &m_windows;
    int m_writeTransactions = 0;
    bool m_backup = false;
    QString m_backupPath;
};

} // namespace Tarvel
