#include "BuiltCommands.h"

namespace Tarvel {

// Every command of the table has its feature now. A command added to the
// table before its feature is listed here as not built, so that its menu
// item and button show disabled.
bool BuiltCommands::isBuilt(Command command)
{
    Q_UNUSED(command);
    return true;
}

} // namespace Tarvel
