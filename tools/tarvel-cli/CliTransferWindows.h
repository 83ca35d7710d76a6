#pragma once

#include "ports/TransferWindows.h"

#include <QString>

namespace Tarvel {

class CliSession;

// The windows an upload or download would open, for the command line: the
// save goes to the file named on the command line, the others print what
// the window would have shown, so the user knows where to go next.
class CliTransferWindows : public TransferWindows
{
public:
    // `savePath` is where the Save command writes; empty when the command
    // has no file to save to (a save then counts as a problem).
    CliTransferWindows(CliSession &session, const QString &savePath, const QString &linkWord);

    void showAutoDetect() override;
    void showConfigInfo() override;
    void saveConfiguration() override;
    void showDetailedEditor() override;

    // Whether the Save command ran and wrote the file.
    bool saved() const { return m_saved; }

private:
    CliSession &m_session;
    QString m_savePath;
    QString m_linkWord;
    bool m_saved = false;
};

} // namespace Tarvel
