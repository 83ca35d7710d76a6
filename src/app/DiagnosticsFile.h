#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class AppContext;

// Data/Diags.Log: in one text file what a support technician asks for
// first: the platform, the program's paths and versions, the connected
// drive, the configuration in memory with every value, and the whole error
// log. Replaced on every run.
class DiagnosticsFile
{
public:
    // What the caller's window shows: the About window's captions and the
    // main window's status-bar panels (the command line computes the same
    // texts without a window).
    struct Captions
    {
        QString version; // lblVersion
        QString dbVersion; // lblDBVER
        QString configPanel; // panel 1, the current configuration
        QString drivePanel; // panel 2, the drive status
        QString connectionPanel; // panel 4, the connection
    };

    explicit DiagnosticsFile(AppContext &ctx);

    QStringList lines(const Captions &captions) const;
    // Writes the lines to Data/Diags.Log (or `path`); raises error 75 when
    // the file cannot be written, leaving any earlier file whole.
    void write(const Captions &captions, const QString &path = {}) const;

    // "OS Platform & Version: <name>, version <n>" and "OS Build: <kernel>".
    static QString osLine();
    static QString osBuildLine();
    // The question before writing: "The following diagnostic file will be
    // created:" and the path.
    QString confirmText() const;

    static const QString Title; // "Generating Diagnostic Data"
    static const QString DoneText; // "Diagnostic Information Has Been Successfully Generated"

private:
    void appendDrive(QStringList &out, const Captions &captions) const;
    void appendConfig(QStringList &out, const Captions &captions) const;
    void appendErrorLog(QStringList &out) const;

    AppContext &m_ctx;
};

} // namespace Tarvel
