#pragma once

#include <QVariant>

#include <array>

namespace Tarvel {

// The per-parameter records of the current configuration, indexed by the
// parameter index 0..1099. Created once; only the entries of parameters the
// current drive has are meaningful, and a new load leaves the entries of
// indices the new drive lacks as they were.
struct ParamTables
{
    static constexpr int Size = 1100;

    std::array<QVariant, Size> varMin;
    std::array<QVariant, Size> varMax;
    std::array<QVariant, Size> varDefault;
    std::array<float, Size> sngResolution {};
    std::array<bool, Size> blnDependent {};
    std::array<bool, Size> blnReadOnly {};
    std::array<bool, Size> blnExtra {};
    std::array<bool, Size> blnTextShown {};
    std::array<bool, Size> blnListShown {};
    std::array<QVariant, Size> varLastChance;
    QVariant varFocusValue;
};

} // namespace Tarvel
