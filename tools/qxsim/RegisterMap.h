#pragma once

#include "SimOptions.h"

#include <QHash>
#include <QMap>

#include <optional>

namespace Tarvel::Sim {

// One catalogue parameter as the drive holds it: a signed 16-bit register
// in register units (engineering value / resolution).
struct ParameterRegister
{
    int index = 0; // group * 100 + number
    qint16 value = 0;
    qint16 defaultValue = 0;
    double resolution = 1; // engineering value of one register unit
    std::optional<int> min; // register units; none when the catalogue has no limit
    std::optional<int> max;
    bool readOnly = false;
};

// Why a write is refused, in Modbus terms.
enum class WriteCheck { Ok, NoSuchRegister, ReadOnly, OutOfRange };

// The parameter registers of one drive, keyed by register number.
class RegisterMap
{
public:
    // Reads the drive's parameters from the catalogue. Null with `error`
    // set when the file cannot be read or the drive is not in it.
    static std::optional<RegisterMap> load(const QString &cataloguePath, const DriveKey &drive, QString *error);

    void add(quint16 number, const ParameterRegister &reg);

    int size() const { return int(m_registers.size()); }
    bool contains(quint16 number) const { return m_registers.contains(number); }
    const ParameterRegister *at(quint16 number) const;
    std::optional<quint16> numberOf(int index) const;

    // The register of a parameter by its index, `fallback` when the drive
    // lacks it (series 1 has no PID group, for example).
    qint16 value(int index, qint16 fallback = 0) const;
    // The same as an engineering value (register * resolution).
    double engineering(int index, double fallback = 0) const;
    // A change made by the drive itself (fault history, identity); ignores
    // read-only and limits, and does nothing for a parameter it lacks.
    void store(int index, qint16 value);

    WriteCheck check(quint16 number, qint16 value, bool rangeCheck) const;
    // Writes a register that check() accepted.
    void write(quint16 number, qint16 value);

private:
    QMap<quint16, ParameterRegister> m_registers;
    QHash<int, quint16> m_byIndex;
};

} // namespace Tarvel::Sim
