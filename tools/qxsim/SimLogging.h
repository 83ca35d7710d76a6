#pragma once

#include <QLoggingCategory>

// The simulator's own traffic and state trace; warnings only unless --verbose.
Q_DECLARE_LOGGING_CATEGORY(lcSim)
