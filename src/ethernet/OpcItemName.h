#pragma once

#include <QString>

#include <optional>

namespace Tarvel {

// An item name of the Ethernet route taken apart: the device
// ("Channel1.Drive1") and what of it the item names. Drive parameters and
// status items ("P09.41@WORD", "P9.41@Word", "ST00.13@WORD", "ST0.13@WORD")
// name holding registers by the plan of the serial route; ST00.18, the
// module's own link status, and the device items "_System._DeviceId" and
// "_System._Enabled" are answered by the route itself.
class OpcItemName
{
public:
    enum class Kind {
        Register, // a drive register, `registerNumber`
        ModuleLink, // ST00.18: 1 while the device answers
        DeviceId, // _System._DeviceId
        Enabled, // _System._Enabled
    };
    static constexpr int ModuleLinkItem = 18;

    // None when the name has no device part or names no known item.
    static std::optional<OpcItemName> parse(const QString &itemName);

    const QString &device() const { return m_device; }
    Kind kind() const { return m_kind; }
    int registerNumber() const { return m_register; }
    bool isRegister() const { return m_kind == Kind::Register; }

private:
    QString m_device;
    Kind m_kind = Kind::Register;
    int m_register = 0;
};

} // namespace Tarvel
