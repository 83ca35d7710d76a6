#include "ParamName.h"

#include "model/ParamTables.h"

#include <QRegularExpression>

namespace Tarvel {

std::optional<int> ParamName::parse(const QString &name)
{
    static const QRegularExpression pattern(QStringLiteral("^[Pp]([0-9]{1,2})\\.([0-9]{2})$"));
    const QRegularExpressionMatch m = pattern.match(name);
    if (!m.hasMatch())
        return std::nullopt;
    const int index = m.captured(1).toInt() * 100 + m.captured(2).toInt();
    if (index >= ParamTables::Size)
        return std::nullopt;
    return index;
}

} // namespace Tarvel
