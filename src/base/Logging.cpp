#include "Logging.h"

Q_LOGGING_CATEGORY(lcApp, "tarvel.app", QtWarningMsg)
Q_LOGGING_CATEGORY(lcCatalogue, "tarvel.catalogue", QtWarningMsg)
Q_LOGGING_CATEGORY(lcRules, "tarvel.rules", QtWarningMsg)
Q_LOGGING_CATEGORY(lcFiles, "tarvel.files", QtWarningMsg)
Q_LOGGING_CATEGORY(lcComm, "tarvel.comm", QtWarningMsg)
Q_LOGGING_CATEGORY(lcUi, "tarvel.ui", QtWarningMsg)
Q_LOGGING_CATEGORY(lcMonitor, "tarvel.monitor", QtWarningMsg)
Q_LOGGING_CATEGORY(lcEthernet, "tarvel.ethernet", QtWarningMsg)
