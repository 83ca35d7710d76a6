#include "AtomicTextFile.h"

#include "ErrorCodes.h"
#include "TextFile.h"
#include "TrappedError.h"

#include <QFileInfo>
#include <QSaveFile>

namespace Tarvel {

namespace {

[[noreturn]] void refuse(const QString &path, const QString &reason)
{
    throw TrappedError(Err::PathFileAccess,
        Err::description(Err::PathFileAccess) + QStringLiteral(": ") + reason + QStringLiteral(" (") + path + u')');
}

} // namespace

void AtomicTextFile::write(const QString &path, const QStringList &lines)
{
    // Replacing by rename would slip past a file the user made read-only;
    // honour the mark as a plain overwrite would have.
    const QFileInfo info(path);
    if (info.exists() && info.isFile() && !info.isWritable())
        refuse(path, QStringLiteral("the file is read-only"));

    writeBytes(path, TextFile::encodeLines(lines));
}

void AtomicTextFile::writeBytes(const QString &path, const QByteArray &bytes)
{
    // Unbuffered: a buffered write reports success and the full disk shows
    // only when the buffer is flushed at commit(), which then still renames
    // the short temporary file over the old one. Unbuffered, the write
    // itself fails and nothing replaces the old file.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        refuse(path, file.errorString());
    if (file.write(bytes) != bytes.size() || !file.flush()) {
        const QString reason = file.errorString();
        file.cancelWriting();
        file.commit(); // removes the temporary file; the old file stays
        refuse(path, reason);
    }
    if (!file.commit())
        refuse(path, file.errorString());
}

} // namespace Tarvel
