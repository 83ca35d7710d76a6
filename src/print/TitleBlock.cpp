#include "TitleBlock.h"

#include "model/AppContext.h"

#include <QDate>
#include <QLocale>

namespace Tarvel {

TitleBlock TitleBlock::forPage(const AppContext &ctx, SchematicPage page)
{
    return {ctx.state.titleCompany, ctx.state.titleProject, windowCaption(page).trimmed(), today(),
        ctx.state.strConfigName.trimmed()};
}

QString TitleBlock::windowCaption(SchematicPage page)
{
    switch (page) {
    case SchematicPage::Single:
        return QStringLiteral("  Schematic View");
    case SchematicPage::Control:
        return QStringLiteral("  Schematic View - Page 1: Control Terminals");
    case SchematicPage::Power:
        return QStringLiteral("  Schematic View - Page 2: Power and Feedback");
    }
    return {};
}

QString TitleBlock::today()
{
    return QLocale::system().toString(QDate::currentDate(), QLocale::ShortFormat);
}

} // namespace Tarvel
