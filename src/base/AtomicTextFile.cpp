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

    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        refuse(path, file.errorString());
    const QByteArray bytes = TextFile::encodeLines(lines);
    if (file.write(bytes) != bytes.size())
        refuse(path, file.errorString());
    if (!file.commit())
        refuse(path, file.errorString());
}

} // namespace Tarvel
