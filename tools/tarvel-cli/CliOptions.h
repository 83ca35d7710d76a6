#pragma once

#include <QString>

namespace Tarvel {

// The option names of tarvel-cli, for the one parser and every command
// that reads an option. Each is declared where it is described: the
// common options in CliApp, the commands' own in CliCommands, the link
// options in LinkOptions.
inline const QString HomeOption = QStringLiteral("home");
inline const QString YesOption = QStringLiteral("yes");
inline const QString HelpOption = QStringLiteral("help");
inline const QString OutOption = QStringLiteral("o");
inline const QString DriveOption = QStringLiteral("drive");
inline const QString BlockOption = QStringLiteral("block");
inline const QString PortOption = QStringLiteral("port");
inline const QString NodeOption = QStringLiteral("node");
inline const QString ModeOption = QStringLiteral("mode");
inline const QString SettingsOption = QStringLiteral("settings");
inline const QString NoBackupOption = QStringLiteral("no-backup");
inline const QString SetOption = QStringLiteral("set");
inline const QString SvgOption = QStringLiteral("svg");
inline const QString PageOption = QStringLiteral("page");
inline const QString QuickOption = QStringLiteral("quick");
inline const QString NodesOption = QStringLiteral("nodes");
inline const QString TraceOption = QStringLiteral("trace");
inline const QString ConfigOption = QStringLiteral("config");
inline const QString OpcOption = QStringLiteral("opc");
inline const QString DeviceOption = QStringLiteral("device");

} // namespace Tarvel
