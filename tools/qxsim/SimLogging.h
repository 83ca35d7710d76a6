#pragma once

#include <QLoggingCategory>

// The simulator's own traffic and state trace (--verbose turns it on).
Q_DECLARE_LOGGING_CATEGORY(lcSim)
