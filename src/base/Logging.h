#pragma once

#include <QLoggingCategory>

// One logging category per subsystem (enable with QT_LOGGING_RULES).
Q_DECLARE_LOGGING_CATEGORY(lcApp)
Q_DECLARE_LOGGING_CATEGORY(lcCatalogue)
Q_DECLARE_LOGGING_CATEGORY(lcRules)
Q_DECLARE_LOGGING_CATEGORY(lcFiles)
Q_DECLARE_LOGGING_CATEGORY(lcComm)
Q_DECLARE_LOGGING_CATEGORY(lcUi)
