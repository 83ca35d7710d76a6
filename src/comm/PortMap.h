#pragma once

#include <QList>
#include <QString>
#include <QStringList>

namespace Tarvel {

// Where the port names of the link settings ("Com 1" .. "Com 6") lead on
// this machine. Each entry is a serial device path or a Modbus/TCP target
// "tcp://host:port". Defaults /dev/ttyS0 .. /dev/ttyS5; the setting
// "ports/Com N" changes one; the environment variable TARVEL_PORTS (paths
// separated by ':', first is Com 1, empty entries keep the setting) wins.
class PortMap
{
public:
    static constexpr int Count = 6;

    // A serial device of this machine (/dev/ttyUSB*, /dev/ttyACM*,
    // /dev/ttyS*) as the dialogs offer it beside the Com names.
    struct Device
    {
        QString path;
        QString label; // "/dev/ttyUSB0 - FT232R USB UART (A12345)"
    };
    static QList<Device> devices();
    // Points "Com N" (index N-1) at a device and keeps it in the setting
    // ports/Com N; an empty target returns it to its default. The map
    // follows; TARVEL_PORTS still wins where it names the port.
    void store(int index, const QString &target);

    // Reads the setting (when an application object exists) and TARVEL_PORTS.
    PortMap();
    // An explicit list, first entry Com 1; missing entries keep the defaults.
    explicit PortMap(const QStringList &targets);

    // "Com 1" for index 0.
    static QString portName(int index);
    static bool isTcpTarget(const QString &target);

    // The target of a zero-based port index; empty outside 0 .. Count-1.
    QString target(int index) const;
    // The target of a port name ("Com 3", any case and spacing); a device
    // path (starting with '/') or a tcp:// target passes through; empty
    // when the name is none of these.
    QString target(const QString &name) const;
    // "Com 1 (/dev/ttyUSB0)" for the dialogs.
    QString displayName(int index) const;

    // Splits a TARVEL_PORTS value; tcp://host:port entries keep their colon.
    static QStringList splitList(const QString &value);

private:
    QStringList m_targets;
};

} // namespace Tarvel
