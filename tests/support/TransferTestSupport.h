#pragma once

#include "LinkTestSupport.h"

#include "support/ScriptedPrompter.h"

#include "comm/TransferRows.h"
#include "ports/TransferWindows.h"

#include <QStringList>

namespace Tarvel::Test {

// Records what a transfer asks of the windows, in order.
class RecordingWindows : public TransferWindows
{
public:
    QStringList calls;
    void showAutoDetect() override { calls << QStringLiteral("auto detect"); }
    void showConfigInfo() override { calls << QStringLiteral("config info"); }
    void saveConfiguration() override { calls << QStringLiteral("save"); }
    void showDetailedEditor() override { calls << QStringLiteral("editor"); }
};

// Every box and list text of the detailed editor, to compare two loads.
QStringList editorSnapshot(const AppContext &ctx);

// The catalogue rows of drive 02,05,120 in the order a transfer takes them.
QVector<TransferRow> driveRows(AppContext &ctx);

// The part of an error-log line after its date and time.
QString logEntry(const QString &line);

// The end every transfer shares when the link fails part way: the aborted
// line last in the status list, `caption` on an idle list, the one
// communication error message, the link closed, the poll timer running
// again and the busy pointer gone, and one "Mod1 retuned" entry from
// `where` in the error log with status `code` (to `maxCode` when that is
// larger). Returns what differs, empty when all agree.
QString commFailureEnd(LinkFixture &fixture, const QString &caption, const QString &where, int code, int maxCode = 0);

} // namespace Tarvel::Test
