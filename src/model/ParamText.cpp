#include "ParamText.h"

namespace Tarvel {

QString ParamText::captionPrefix(int index)
{
    return QStringLiteral("   ") + parameterNumber(index);
}

QString ParamText::parameterNumber(int index)
{
    return QStringLiteral("P%1.%2").arg(group(index)).arg(number(index), 2, 10, QLatin1Char('0'));
}

QString ParamText::fileIndex(int index, int seriesNumber)
{
    return QStringLiteral("%1").arg(index, seriesNumber >= 3 ? 4 : 3, 10, QLatin1Char('0'));
}

QString ParamText::linkTag(int index, const QString &suffix)
{
    return QStringLiteral("P%1.%2")
               .arg(group(index), 2, 10, QLatin1Char('0'))
               .arg(number(index), 2, 10, QLatin1Char('0'))
        + suffix;
}

QString ParamText::registerTag(int registerNumber)
{
    const int item = registerNumber - StatusBase;
    if (item >= 0 && item < StatusItems)
        return QStringLiteral("ST00.%1").arg(item, 2, 10, QLatin1Char('0'));
    const int offset = registerNumber - 1;
    const int g = offset / 256;
    const int nn = offset % 256;
    if (offset < 0 || nn >= 100 || g > 10)
        return QString();
    return linkTag(g * 100 + nn, QString());
}

QString ParamText::name(const QString &description)
{
    const QString text = description.trimmed();
    if (!text.startsWith(u'P'))
        return text;
    const qsizetype blank = text.indexOf(u' ');
    return blank < 0 ? QString() : text.mid(blank + 1).trimmed();
}

} // namespace Tarvel
