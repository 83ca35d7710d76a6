#pragma once

#include <QString>

namespace Tarvel {

class AppContext;

// The printout of the diagnostics trace: a heading with the date and time,
// then every trace line in order.
class TraceListing
{
public:
    static const QString Heading; // "Tarvel diagnostics trace, "

    // Through the printer dialog; false when it was cancelled or there is
    // no printer port.
    static bool print(AppContext &ctx);
};

} // namespace Tarvel
