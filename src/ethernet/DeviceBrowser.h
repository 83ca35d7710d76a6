#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

// The device browse of the Ethernet route (clsKepwareDeviceBrowser): the
// channels and devices of a server as its definition file names them.
class DeviceBrowser
{
public:
    enum Status : int {
        Browsed = 0,
        Refused = -1, // no server named, or a server without channels
        NotReadable = 1, // no definition file, or one that is malformed
    };

    explicit DeviceBrowser(QString serversDir);

    // GetDevices: "Channel.Device" for every device of every channel whose
    // name does not begin with "_"; with `omitSystemGroups` devices whose
    // name begins with "_" are left out too. Returns the status; `error`
    // tells why a browse failed.
    int getDevices(const QString &server, QStringList *devices, QString *error, bool omitSystemGroups) const;

    // The system's message text for an error number.
    static QString errorText(int number);

private:
    QString m_serversDir;
};

} // namespace Tarvel
