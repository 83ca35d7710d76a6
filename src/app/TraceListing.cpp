#include "TraceListing.h"

#include "base/TextFile.h"
#include "model/AppContext.h"
#include "ports/LinePrinter.h"

namespace Tarvel {

const QString TraceListing::Heading = QStringLiteral("Tarvel diagnostics trace, ");

bool TraceListing::print(AppContext &ctx)
{
    LinePrinter *printer = ctx.printer();
    if (!printer || !printer->begin())
        return false;
    printer->printLine(Heading + TextFile::generalDate());
    for (const QString &line : ctx.trace.lines())
        printer->printLine(line);
    printer->end();
    return true;
}

} // namespace Tarvel
