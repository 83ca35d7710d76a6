#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

// Writes one of the program's text files (Latin-1, CR LF) so that it is
// either wholly replaced or left as it was: a failed write (read-only
// folder, full disk) never leaves a half-written configuration behind.
class AtomicTextFile
{
public:
    // Raises a trapped error 75 (path/file access) when the file cannot be
    // written; the previous file, if any, is then untouched.
    static void write(const QString &path, const QStringList &lines);
    // The same for bytes already encoded (a copy of a report).
    static void writeBytes(const QString &path, const QByteArray &bytes);
};

} // namespace Tarvel
