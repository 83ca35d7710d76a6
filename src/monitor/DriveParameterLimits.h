#pragma once

#include <QVariant>

#include <optional>

namespace Tarvel {

class AppContext;

// The catalogue's limits and default of one parameter of the connected
// drive (its codes from GetDrive), as the monitoring screens check and
// scale with them; not those of the configuration being edited.
class DriveParameterLimits
{
public:
    struct Limits
    {
        QVariant min;
        QVariant max;
        QVariant defaultValue;
    };

    // Looks the drive up first; none when it or the parameter is not in
    // the catalogue. Catalogue errors are raised to the caller's trap.
    static std::optional<Limits> read(AppContext &ctx, int index);
    // The same for several parameters, stored into varMin, varMax and
    // varDefault; false when the drive is not in the catalogue.
    static bool store(AppContext &ctx, std::initializer_list<int> indices);
};

} // namespace Tarvel
