#pragma once

#include "schematic/SchematicElements.h"

#include <QString>

namespace Tarvel {

class AppContext;

// The title block of a printed schematic: the two free texts of the
// title-block dialog, the schematic's caption, the date and the
// configuration's name.
struct TitleBlock
{
    QString company;
    QString project;
    QString caption;
    QString date;
    QString configName;

    // The block of a page as the previews fill it: the company and project
    // kept for the run, today's date and strConfigName.
    static TitleBlock forPage(const AppContext &ctx, SchematicPage page);
    // The caption of a schematic window ("  Schematic View").
    static QString windowCaption(SchematicPage page);
    // The system's short date.
    static QString today();
};

} // namespace Tarvel
