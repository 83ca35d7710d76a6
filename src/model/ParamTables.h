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

    // P9.39 locks the parameters against change.
    static constexpr int ParameterLock = 939;
    // P9.41 and P9.42: the drive's series number and model code, read-only
    // identity values that the configuration file's first line also names.
    static constexpr int SeriesIndex = 941;
    static constexpr int ModelIndex = 942;

    // The choice lists of P0.00 and P0.02 hold the values themselves; every
    // other choice list holds the position of the chosen entry.
    static constexpr bool listHoldsValue(int index) { return index == 0 || index == 2; }

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
