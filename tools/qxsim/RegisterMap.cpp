#include "RegisterMap.h"

#include "base/TrappedError.h"
#include "catalogue/Catalogue.h"

#include <algorithm>
#include <cmath>

namespace Tarvel::Sim {

namespace {

// Engineering value to register units: divide and round rather than
// truncate, as 2.7 / 0.1 is 26.999999999999996.
std::optional<int> toRegister(const QVariant &value, double resolution)
{
    if (value.isNull() || resolution <= 0)
        return std::nullopt;
    return int(std::lround(value.toDouble() / resolution));
}

qint16 clamp16(int v)
{
    return qint16(std::clamp(v, -32768, 32767));
}

} // namespace

std::optional<RegisterMap> RegisterMap::load(const QString &cataloguePath, const DriveKey &drive, QString *error)
{
    RegisterMap map;
    try {
        Catalogue catalogue(cataloguePath);
        catalogue.connect();
        RecordSet rows
            = catalogue.query(QStringLiteral("Select * From qryTabParams WHERE Series = '%1' AND Model = '%2' "
                                             "AND REV = '%3'")
                                  .arg(drive.series, drive.model, drive.rev));
        for (; !rows.eof(); rows.moveNext()) {
            ParameterRegister reg;
            reg.index = rows.field(QStringLiteral("Parameter")).toInt();
            // The resolution is a single: take its shortest decimal form, so
            // that 0.1f scales as 0.1 and 300 units read 30 Hz, not 30.0000004.
            const double resolution = QString::number(rows.field(QStringLiteral("resolution")).toFloat()).toDouble();
            reg.resolution = resolution;
            reg.defaultValue = clamp16(toRegister(rows.field(QStringLiteral("default")), resolution).value_or(0));
            reg.value = reg.defaultValue;
            reg.min = toRegister(rows.field(QStringLiteral("min")), resolution);
            reg.max = toRegister(rows.field(QStringLiteral("max")), resolution);
            reg.readOnly = rows.field(QStringLiteral("ReadOnly")).toBool();
            map.add(quint16(rows.field(QStringLiteral("Address")).toInt()), reg);
        }
        catalogue.release();
    } catch (const TrappedError &e) {
        *error = QStringLiteral("catalogue %1: %2").arg(cataloguePath, e.description());
        return std::nullopt;
    }
    if (map.size() == 0) {
        *error = QStringLiteral("drive %1 is not in the catalogue %2").arg(drive.toString(), cataloguePath);
        return std::nullopt;
    }
    return map;
}

void RegisterMap::add(quint16 number, const ParameterRegister &reg)
{
    m_registers.insert(number, reg);
    m_byIndex.insert(reg.index, number);
}

const ParameterRegister *RegisterMap::at(quint16 number) const
{
    const auto it = m_registers.constFind(number);
    return it == m_registers.constEnd() ? nullptr : &it.value();
}

std::optional<quint16> RegisterMap::numberOf(int index) const
{
    const auto it = m_byIndex.constFind(index);
    if (it == m_byIndex.constEnd())
        return std::nullopt;
    return it.value();
}

qint16 RegisterMap::value(int index, qint16 fallback) const
{
    const std::optional<quint16> number = numberOf(index);
    return number ? m_registers.value(*number).value : fallback;
}

double RegisterMap::engineering(int index, double fallback) const
{
    const std::optional<quint16> number = numberOf(index);
    if (!number)
        return fallback;
    const ParameterRegister reg = m_registers.value(*number);
    return reg.value * reg.resolution;
}

void RegisterMap::store(int index, qint16 value)
{
    if (const std::optional<quint16> number = numberOf(index))
        m_registers[*number].value = value;
}

WriteCheck RegisterMap::check(quint16 number, qint16 value, bool rangeCheck) const
{
    const ParameterRegister *reg = at(number);
    if (!reg)
        return WriteCheck::NoSuchRegister;
    if (reg->readOnly)
        return WriteCheck::ReadOnly;
    if (rangeCheck && ((reg->min && value < *reg->min) || (reg->max && value > *reg->max)))
        return WriteCheck::OutOfRange;
    return WriteCheck::Ok;
}

void RegisterMap::write(quint16 number, qint16 value)
{
    const auto it = m_registers.find(number);
    if (it != m_registers.end())
        it->value = value;
}

} // namespace Tarvel::Sim
