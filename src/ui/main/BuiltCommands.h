#pragma once

#include <QString>

namespace Tarvel {

// Which commands of the main window exist: a command whose screen or
// operation is not built stays disabled whatever the timers or the wizard
// decide. Menu items go by item name ("mnuUpload"), toolbar buttons by key
// ("Upload"). The one place to change when a command arrives.
class BuiltCommands
{
public:
    static bool isBuilt(const QString &name);
};

} // namespace Tarvel
