#include "BuiltCommands.h"

namespace Tarvel {

bool BuiltCommands::isBuilt(Command command)
{
    switch (command) {
    // monitoring screens
    case Command::Trend:
    case Command::Pid:
    case Command::Keypad:
    case Command::Faults:
    case Command::Stats:
    // schematic view
    case Command::Schematic:
        return false;
    default:
        return true;
    }
}

} // namespace Tarvel
