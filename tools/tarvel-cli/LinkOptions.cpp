#include "LinkOptions.h"

#include "comm/ComSetTable.h"
#include "comm/PortMap.h"
#include "comm/SerialFormat.h"

#include <QCommandLineParser>

namespace Tarvel {

namespace {

constexpr int AsciiEvenParity = 1; // protocol list entries with ",E,"
constexpr int RtuEvenParity = 4;

bool parseNode(const QString &text, SerialLinkSettings &settings, QString *error)
{
    bool ok = false;
    const int node = text.trimmed().toInt(&ok);
    if (!ok || node < 1 || node > 247) {
        *error = QStringLiteral("--node takes a node address 1..247, not \"%1\"").arg(text);
        return false;
    }
    settings.nodeAddress = QString::number(node);
    return true;
}

bool parseMode(const QString &text, int &asciiMode, QString *error)
{
    if (text.compare(QLatin1String("ascii"), Qt::CaseInsensitive) == 0)
        asciiMode = 1;
    else if (text.compare(QLatin1String("rtu"), Qt::CaseInsensitive) == 0)
        asciiMode = 0;
    else {
        *error = QStringLiteral("--mode takes rtu or ascii, not \"%1\"").arg(text);
        return false;
    }
    return true;
}

// The protocol entry for a framing: the catalogue's default when it has
// that framing, else the entry with even parity.
int protocolFor(int asciiMode, const ComSetTable &defaults)
{
    const int preset = defaults.defaultProtocol;
    if (preset >= 0 && preset < 6 && ComSetTable::Protocols[preset].asciiMode == asciiMode)
        return preset;
    return asciiMode ? AsciiEvenParity : RtuEvenParity;
}

} // namespace

void LinkOptions::addTo(QCommandLineParser &parser)
{
    parser.addOption({PortOption, QStringLiteral("Serial port: a device path or \"Com N\" (default: the catalogue's)."),
        QStringLiteral("PATH|Com N")});
    parser.addOption({NodeOption, QStringLiteral("Node address of the drive, 1..247 (default: the catalogue's)."),
        QStringLiteral("N")});
    parser.addOption(
        {ModeOption, QStringLiteral("Framing: rtu or ascii (default: from --settings, else the catalogue's protocol)."),
            QStringLiteral("rtu|ascii")});
    parser.addOption({SettingsOption,
        QStringLiteral("Line settings, e.g. 19200,E,8,1 (default: the catalogue's speed and a format of the framing)."),
        QStringLiteral("BAUD,P,D,S")});
    parser.addOption({OpcOption,
        QStringLiteral("Reach the drive over the Ethernet route of this server (Data/Servers/PROGID.ini), not a port."),
        QStringLiteral("PROGID")});
    parser.addOption({DeviceOption, QStringLiteral("The server's device of the drive, as `devices PROGID` lists it."),
        QStringLiteral("CHANNEL.DEVICE")});
}

bool LinkOptions::ethernet(const QCommandLineParser &parser)
{
    return parser.isSet(OpcOption);
}

bool LinkOptions::parsePort(const QString &port, SerialLinkSettings &settings, QString *error)
{
    for (int i = 0; i < PortMap::Count; ++i) {
        if (QString(port).remove(u' ').compare(PortMap::portName(i).remove(u' '), Qt::CaseInsensitive) == 0) {
            settings.commPort = i;
            settings.target.clear();
            return true;
        }
    }
    if (port.startsWith(u'/') || PortMap::isTcpTarget(port)) {
        settings.target = port;
        return true;
    }
    *error = QStringLiteral("--port takes a device path or \"Com 1\" .. \"Com %1\", not \"%2\"")
                 .arg(PortMap::Count)
                 .arg(port);
    return false;
}

std::optional<SerialLinkSettings> LinkOptions::fromParser(
    const QCommandLineParser &parser, const ComSetTable &defaults, QString *error)
{
    SerialLinkSettings settings;
    settings.commPort = std::max(0, defaults.defaultPort);
    if (!defaults.defaultAddress.isEmpty())
        settings.nodeAddress = defaults.defaultAddress;
    if (parser.isSet(PortOption) && !parsePort(parser.value(PortOption), settings, error))
        return std::nullopt;
    if (parser.isSet(NodeOption) && !parseNode(parser.value(NodeOption), settings, error))
        return std::nullopt;
    std::optional<SerialFormat> format;
    if (parser.isSet(SettingsOption)) {
        format = SerialFormat::parse(parser.value(SettingsOption).trimmed());
        if (!format) {
            *error = QStringLiteral("--settings takes BAUD,N|E|O,7|8,1|2 (e.g. 19200,E,8,1), not \"%1\"")
                         .arg(parser.value(SettingsOption));
            return std::nullopt;
        }
    }
    // The framing follows the data bits when only the settings are given:
    // ASCII characters are 7 bits, RTU bytes 8.
    int asciiMode = 0;
    if (format)
        asciiMode = format->dataBits == 7 ? 1 : 0;
    else if (defaults.defaultProtocol >= 0 && defaults.defaultProtocol < 6)
        asciiMode = ComSetTable::Protocols[defaults.defaultProtocol].asciiMode;
    if (parser.isSet(ModeOption) && !parseMode(parser.value(ModeOption), asciiMode, error))
        return std::nullopt;
    settings.asciiMode = asciiMode;
    if (format) {
        settings.portSettings = format->toString();
    } else {
        const QString speed
            = defaults.defaultSpeed >= 0 ? defaults.speeds.at(defaults.defaultSpeed) : QStringLiteral("19200");
        settings.portSettings = ComSetTable::portSettings(speed, protocolFor(asciiMode, defaults));
    }
    return settings;
}

} // namespace Tarvel
