#pragma once

#include <QString>

#include <array>

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
    // The chosen Ethernet device ("Channel1.Drive1") followed by "."; it
    // begins every item name of the Ethernet route.
    QString OPCDevicePath;
    bool blnDiagsTrace = false;
    QString strErrorLogPath;
    QString helpFile;

    // Values the poll timer keeps current while a link is open; raw
    // register values unless said otherwise.
    qint16 DriveFaultCode = 0; // ST00.00
    qint16 DriveStatusWord = 0; // ST00.01
    std::array<qint16, 17> StatusValues {}; // k: ST00.(k+2); 16: ST00.18
    std::array<float, 12> PidValues {}; // P7.00..P7.10, 11: PID feedback
    std::array<float, 3> PidGains {}; // P7.20..P7.22
    QString DriveRunState; // decoded from DriveStatusWord
    QString DriveJogState;
    QString DriveDirection;

    // " " (one blank) is how the program marks "no file".
    bool hasConfigFile() const { return strConfigPath != QLatin1String(" "); }
};

} // namespace Tarvel
