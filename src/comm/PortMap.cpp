#include "PortMap.h"

#include <QCoreApplication>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QSettings>

#include <algorithm>

namespace Tarvel {

namespace {

QString defaultTarget(int index)
{
    return QStringLiteral("/dev/ttyS%1").arg(index);
}

} // namespace

PortMap::PortMap()
{
    const QStringList fromEnv = splitList(qEnvironmentVariable("TARVEL_PORTS"));
    for (int i = 0; i < Count; ++i) {
        QString target = fromEnv.value(i);
        if (target.isEmpty() && QCoreApplication::instance())
            target = QSettings().value(QStringLiteral("ports/") + portName(i)).toString().trimmed();
        m_targets.append(target.isEmpty() ? defaultTarget(i) : target);
    }
}

PortMap::PortMap(const QStringList &targets)
{
    for (int i = 0; i < Count; ++i) {
        const QString target = targets.value(i).trimmed();
        m_targets.append(target.isEmpty() ? defaultTarget(i) : target);
    }
}

QList<PortMap::Device> PortMap::devices()
{
    static const QRegularExpression serial(QStringLiteral("^/dev/tty(USB|ACM|S)\\d+$"));
    QList<Device> list;
    for (const QSerialPortInfo &info : QSerialPortInfo::availablePorts()) {
        const QString path = info.systemLocation();
        if (!serial.match(path).hasMatch())
            continue;
        QString label = path;
        if (!info.description().isEmpty())
            label += QStringLiteral(" - ") + info.description();
        if (!info.serialNumber().isEmpty())
            label += QStringLiteral(" (") + info.serialNumber() + u')';
        list.append({path, label});
    }
    std::sort(list.begin(), list.end(), [](const Device &a, const Device &b) { return a.path < b.path; });
    return list;
}

void PortMap::store(int index, const QString &target)
{
    if (index < 0 || index >= Count)
        return;
    const QString key = QStringLiteral("ports/") + portName(index);
    QSettings settings;
    if (target.trimmed().isEmpty())
        settings.remove(key);
    else
        settings.setValue(key, target.trimmed());
    const QString fromEnv = splitList(qEnvironmentVariable("TARVEL_PORTS")).value(index);
    m_targets[index] = !fromEnv.isEmpty() ? fromEnv
        : target.trimmed().isEmpty()      ? defaultTarget(index)
                                          : target.trimmed();
}

QString PortMap::portName(int index)
{
    return QStringLiteral("Com %1").arg(index + 1);
}

bool PortMap::isTcpTarget(const QString &target)
{
    return target.startsWith(QLatin1String("tcp://"), Qt::CaseInsensitive);
}

QString PortMap::target(int index) const
{
    return m_targets.value(index);
}

QString PortMap::target(const QString &name) const
{
    const QString trimmed = name.trimmed();
    if (trimmed.startsWith(u'/') || isTcpTarget(trimmed))
        return trimmed;
    static const QRegularExpression comName(
        QStringLiteral("^com\\s*(\\d+)$"), QRegularExpression::CaseInsensitiveOption);
    const auto match = comName.match(trimmed);
    return match.hasMatch() ? target(match.captured(1).toInt() - 1) : QString();
}

QString PortMap::displayName(int index) const
{
    return QStringLiteral("%1 (%2)").arg(portName(index), target(index));
}

QStringList PortMap::splitList(const QString &value)
{
    // Device paths hold no colon, but a TCP target does: take each
    // tcp://host:port whole, and split the rest at the colons.
    static const QRegularExpression entry(
        QStringLiteral("tcp://[^:/]*:\\d+|[^:]*"), QRegularExpression::CaseInsensitiveOption);
    QStringList parts;
    if (value.isEmpty())
        return parts;
    qsizetype at = 0;
    while (at <= value.size()) {
        const auto match
            = entry.match(value, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        parts.append(match.captured().trimmed());
        at += match.capturedLength() + 1; // past the separating colon
    }
    return parts;
}

} // namespace Tarvel
