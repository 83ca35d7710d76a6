#pragma once

#include <QProcess>
#include <QStandardPaths>
#include <QString>

namespace Tarvel::Test {

// The text of a PDF as pdftotext (poppler-utils) reads it, pages ended by a
// form feed; a test without the tool skips with this reason.
inline const char *const NoPdfToText = "pdftotext (poppler-utils) is not installed: the PDF's text cannot be read";

inline bool hasPdfToText()
{
    return !QStandardPaths::findExecutable(QStringLiteral("pdftotext")).isEmpty();
}

inline QString pdfText(const QString &path)
{
    QProcess tool;
    tool.start(QStringLiteral("pdftotext"), {QStringLiteral("-layout"), path, QStringLiteral("-")});
    tool.waitForFinished(30000);
    return QString::fromUtf8(tool.readAllStandardOutput());
}

} // namespace Tarvel::Test
