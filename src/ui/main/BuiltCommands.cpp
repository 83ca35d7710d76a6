#include "BuiltCommands.h"

namespace Tarvel {

bool BuiltCommands::isBuilt(Command command)
{
    switch (command) {
    // help viewer and About window
    case Command::Contents:
    case Command::Index:
    case Command::Search:
    case Command::About:
        return false;
    default:
        return true;
    }
}

} // namespace Tarvel
