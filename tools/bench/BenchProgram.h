#pragma once

#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "support/ScriptedPrompter.h"

#include <QTemporaryDir>
#include <QVector>

class QTextStream;

#include <memory>

namespace Tarvel {

// A throwaway program folder for a benchmark: the catalogue named on the
// command line (else the built one beside the executable) copied into
// Data/, an empty Configs/, and a context with default pacing whose
// message boxes are only recorded.
class BenchProgram
{
public:
    BenchProgram(int argc, char *argv[]);

    // False when the catalogue could not be copied; error() tells why.
    bool ok() const { return m_ctx != nullptr; }
    const QString &error() const { return m_error; }
    AppContext &ctx() { return *m_ctx; }
    ScriptedPrompter &prompter() { return m_prompter; }
    QString filePath(const QString &relative) const { return m_dir.filePath(relative); }

    // Every editable value box of the loaded drive at its maximum, so that
    // each value differs from its default: the heaviest case for the
    // operations that report or carry such values.
    static void moveValuesAway(AppContext &ctx);
    // "  NAME median M ms (best B, worst W); target T ms: ratio R" for runs
    // sorted in milliseconds.
    static void printMedian(
        QTextStream &out, const QString &name, int nameWidth, const QVector<double> &sortedMs, double targetMs);

private:
    QTemporaryDir m_dir;
    ScriptedPrompter m_prompter;
    std::unique_ptr<AppContext> m_ctx;
    std::unique_ptr<CommLink> m_link;
    QString m_error;
};

} // namespace Tarvel
