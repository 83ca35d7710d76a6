#pragma once

#include <QString>

namespace Tarvel {

// The application state every window and procedure shares, under the names
// the rest of the program uses for it.
struct AppState
{
    bool blnStepDone = false;
    QString strSeries;
    QString strModel;
    QString strRev;
    QString strDriveSeries = QStringLiteral("Not Connected");
    QString strDriveModel = QStringLiteral("Not Connected");
    QString strDriveRev = QStringLiteral("Not Connected");
    QString strDriveSeriesCode;
    QString strDriveModelCode;
    QString strDriveRevCode;
    QString strConfigPath = QStringLiteral(" ");
    QString strConfigName = QStringLiteral(" ");
    bool blnConfigChanged = false;
    QString strConnected = QStringLiteral("False");
    bool blnDiagsTrace = false;
    QString strErrorLogPath;
    QString helpFile;

    // " " (one blank) is how the program marks "no file".
    bool hasConfigFile() const { return strConfigPath != QLatin1String(" "); }
};

} // namespace Tarvel
