#include "SerialFormat.h"

#include <QStringList>

namespace Tarvel {

std::optional<SerialFormat> SerialFormat::parse(QStringView text)
{
    const auto parts = text.split(u',');
    if (parts.size() != 4)
        return std::nullopt;
    bool baudOk = false, dataOk = false, stopOk = false;
    SerialFormat format;
    format.baud = parts[0].trimmed().toInt(&baudOk);
    format.dataBits = parts[2].trimmed().toInt(&dataOk);
    format.stopBits = parts[3].trimmed().toInt(&stopOk);
    const QString parity = parts[1].trimmed().toString().toUpper();
    if (!baudOk || !dataOk || !stopOk || format.baud <= 0 || parity.size() != 1)
        return std::nullopt;
    format.parity = parity[0].toLatin1();
    if (!QByteArrayLiteral("NEOMS").contains(format.parity))
        return std::nullopt;
    if (format.dataBits < 5 || format.dataBits > 8 || format.stopBits < 1 || format.stopBits > 2)
        return std::nullopt;
    return format;
}

QString SerialFormat::toString() const
{
    return QStringLiteral("%1,%2,%3,%4").arg(baud).arg(QChar::fromLatin1(parity)).arg(dataBits).arg(stopBits);
}

int SerialFormat::bitsPerCharacter() const
{
    return 1 + dataBits + (parity == 'N' ? 0 : 1) + stopBits;
}

std::chrono::microseconds SerialFormat::characterTime() const
{
    return std::chrono::microseconds((1000000LL * bitsPerCharacter() + baud - 1) / baud);
}

} // namespace Tarvel
