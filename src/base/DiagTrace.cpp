#include "DiagTrace.h"

#include "TextFile.h"

namespace Tarvel {

void DiagTrace::write(const QString &text)
{
    const QString line = TextFile::generalDate() + QStringLiteral(" - ") + text;
    m_lines.append(line);
    Q_EMIT lineAdded(line);
}

} // namespace Tarvel
