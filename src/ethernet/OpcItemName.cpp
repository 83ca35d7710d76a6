#include "OpcItemName.h"

#include "model/ParamText.h"

#include <QRegularExpression>

namespace Tarvel {

namespace {

constexpr int HighestGroup = 10; // P10.xx is the last parameter group

} // namespace

std::optional<OpcItemName> OpcItemName::parse(const QString &itemName)
{
    // Channel and device names hold no dot; the tag after them may.
    const qsizetype channelEnd = itemName.indexOf(u'.');
    const qsizetype deviceEnd = channelEnd > 0 ? itemName.indexOf(u'.', channelEnd + 1) : -1;
    if (deviceEnd <= channelEnd + 1)
        return std::nullopt;
    OpcItemName name;
    name.m_device = itemName.left(deviceEnd);
    const QString tag = itemName.mid(deviceEnd + 1);
    if (tag.compare(QLatin1String("_System._DeviceId"), Qt::CaseInsensitive) == 0) {
        name.m_kind = Kind::DeviceId;
        return name;
    }
    if (tag.compare(QLatin1String("_System._Enabled"), Qt::CaseInsensitive) == 0) {
        name.m_kind = Kind::Enabled;
        return name;
    }
    static const QRegularExpression form(
        QStringLiteral("^(P|ST)(\\d{1,2})\\.(\\d{1,2})@WORD$"), QRegularExpression::CaseInsensitiveOption);
    const QRegularExpressionMatch match = form.match(tag);
    if (!match.hasMatch())
        return std::nullopt;
    const int group = match.captured(2).toInt();
    const int number = match.captured(3).toInt();
    if (match.captured(1).compare(QLatin1String("ST"), Qt::CaseInsensitive) == 0) {
        if (group != 0)
            return std::nullopt;
        name.m_register = ParamText::statusRegister(number);
        if (number == ModuleLinkItem)
            name.m_kind = Kind::ModuleLink;
        return name;
    }
    if (group > HighestGroup)
        return std::nullopt;
    name.m_register = ParamText::registerNumber(group * 100 + number);
    return name;
}

} // namespace Tarvel
