#pragma once

#include "ports/TransferWindows.h"

namespace Tarvel {

// Nothing is shown and nothing saved while a transfer is timed.
class NoWindows : public TransferWindows
{
public:
    void showAutoDetect() override { }
    void showConfigInfo() override { }
    void saveConfiguration() override { }
    void showDetailedEditor() override { }
};

} // namespace Tarvel
