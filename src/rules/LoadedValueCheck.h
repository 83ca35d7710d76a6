#pragma once

#include <QString>

namespace Tarvel {

class AppContext;
class EditorForm;

// The range check of one value that came into the configuration from
// outside the editor (a file, a drive), shared by the file reader and the
// upload: the status-list line for a value below the minimum, above the
// maximum or different from the default, the default put back for a value
// out of range, and the red label for a value that differs.
class LoadedValueCheck
{
public:
    enum class Verdict { Kept, TooLow, TooHigh, Different };

    // Where the two readers word their report differently.
    struct Wording
    {
        // The too-high line ends with the sentence about the default loaded.
        bool tooHighNamesDefault = true;
        // An index never reported as different from its default (-1: none).
        int neverDifferent = -1;
    };

    LoadedValueCheck(AppContext &ctx, Wording wording);

    // Checks the value text of parameter `index` (0..1099; raises 9
    // outside) against the catalogue limits of the current drive.
    Verdict check(int index, const QString &value);

    // The field gets the catalogue default in the form the loader gives it.
    void restoreDefault(int index);

    // P2.00 = 3 is the custom V/Hz curve, whose mid points P2.04 to P2.07
    // are set by hand; every other pattern fixes them.
    static void setCustomCurveBoxes(EditorForm &form);

private:
    AppContext &m_ctx;
    Wording m_wording;
};

} // namespace Tarvel
