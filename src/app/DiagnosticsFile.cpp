#include "DiagnosticsFile.h"

#include "base/AtomicTextFile.h"
#include "base/TextFile.h"
#include "model/AppContext.h"

#include <QDir>
#include <QFile>
#include <QSysInfo>

namespace Tarvel {

namespace {

const QString Blank = QStringLiteral(" ");
constexpr int SeriesIndex = 941; // P9.41

// "005", "042", "941": the index with at least three digits.
QString indexText(int index)
{
    return QStringLiteral("%1").arg(index, 3, 10, QLatin1Char('0'));
}

} // namespace

const QString DiagnosticsFile::Title = QStringLiteral("Generating Diagnostic Data");
const QString DiagnosticsFile::DoneText = QStringLiteral("Diagnostic Information Has Been Successfully Generated");

DiagnosticsFile::DiagnosticsFile(AppContext &ctx)
    : m_ctx(ctx)
{ }

QString DiagnosticsFile::osLine()
{
    return QStringLiteral("OS Platform & Version: ") + QSysInfo::prettyProductName() + QStringLiteral(" (")
        + QSysInfo::currentCpuArchitecture() + QStringLiteral("), version ") + QSysInfo::productVersion();
}

QString DiagnosticsFile::osBuildLine()
{
    return QStringLiteral("OS Build: ") + QSysInfo::kernelType() + u' ' + QSysInfo::kernelVersion();
}

QString DiagnosticsFile::confirmText() const
{
    return QStringLiteral("The following diagnostic file will be created:\r")
        + QDir::toNativeSeparators(m_ctx.paths().diagsLog()) + u'.';
}

QStringList DiagnosticsFile::lines(const Captions &captions) const
{
    QStringList out;
    out << QStringLiteral("Diagnostic file created ") + TextFile::generalDate() << Blank << osLine() << osBuildLine()
        << Blank;
    out << QStringLiteral("Application info follows --------------------------")
        << QStringLiteral("Application Path = ") + QDir::toNativeSeparators(m_ctx.paths().programDir())
        << captions.version << captions.dbVersion << QStringLiteral("Help File = ") + m_ctx.state.helpFile << Blank;
    appendDrive(out, captions);
    appendConfig(out, captions);
    out << Blank << QStringLiteral("Error Log Follows ----------------------------------") << Blank;
    appendErrorLog(out);
    out << Blank << QStringLiteral("End of diagnostic file");
    return out;
}

void DiagnosticsFile::appendDrive(QStringList &out, const Captions &captions) const
{
    const AppState &s = m_ctx.state;
    out << QStringLiteral("Connected Drive info follows ----------------------") << captions.drivePanel
        << QStringLiteral("Connection: ") + captions.connectionPanel << QStringLiteral("Series: ") + s.strDriveSeries
        << QStringLiteral("Model: ") + s.strDriveModel << QStringLiteral("Rev: ") + s.strDriveRev << Blank;
}

// Every value box, lowest index first; an index without a box has no line.
void DiagnosticsFile::appendConfig(QStringList &out, const Captions &captions) const
{
    const AppState &s = m_ctx.state;
    const EditorForm &editor = m_ctx.editor;
    const auto value = [&](int index) { return editor.hasTxtP(index) ? editor.txtP(index).text() : QString(); };
    out << QStringLiteral("Config in pc memory follows------------------------")
        << QStringLiteral("Current config file = ") + s.strConfigPath
        << QStringLiteral("Current status of Dirty Data: ")
            + (s.blnConfigChanged ? QStringLiteral("True") : QStringLiteral("False"))
        << captions.configPanel << QStringLiteral("Series: ") + value(SeriesIndex)
        << QStringLiteral("Model: ") + value(ParamTables::ModelIndex) << QStringLiteral("Rev: ") + s.strRev << Blank
        << QStringLiteral("Param - Value") << QStringLiteral("-------------");
    for (const int index : EditorForm::fieldIndices())
        out << indexText(index) + QStringLiteral(" - ") + editor.txtP(index).text();
}

void DiagnosticsFile::appendErrorLog(QStringList &out) const
{
    QFile log(m_ctx.errorLog().path());
    if (!log.exists()) {
        out << QStringLiteral("Could not find error log.");
        return;
    }
    if (log.open(QIODevice::ReadOnly))
        out << TextFile::decodeLines(log.readAll());
}

void DiagnosticsFile::write(const Captions &captions, const QString &path) const
{
    AtomicTextFile::write(path.isEmpty() ? m_ctx.paths().diagsLog() : path, lines(captions));
}

} // namespace Tarvel
