#include "SimLogging.h"

Q_LOGGING_CATEGORY(lcSim, "tarvel.sim", QtWarningMsg)
