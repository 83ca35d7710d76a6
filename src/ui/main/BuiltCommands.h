#pragma once

#include "app/Command.h"

namespace Tarvel {

// Which commands of the main window exist: a command whose screen or
// operation is not built stays disabled whatever the timers or the wizard
// decide. The one place to change when a command arrives.
class BuiltCommands
{
public:
    static bool isBuilt(Command command);
};

} // namespace Tarvel
