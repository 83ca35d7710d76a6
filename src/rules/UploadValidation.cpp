#include "UploadValidation.h"

#include "LoadedValueCheck.h"
#include "model/AppContext.h"

namespace Tarvel {

namespace {

// P9.39, the drive's own node address: every drive on a shared line has
// its own, so one that differs from the default tells nothing.
constexpr int NodeAddressIndex = 939;

} // namespace

UploadValidation::UploadValidation(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool UploadValidation::validateUpload(int index, const QString &value)
{
    using Verdict = LoadedValueCheck::Verdict;
    Verdict verdict = Verdict::Kept;
    m_ctx.trap(QStringLiteral("basFunctions, ValidateUpload()"), [&] {
        LoadedValueCheck::Wording wording;
        wording.tooHighNamesDefault = false;
        wording.neverDifferent = NodeAddressIndex;
        verdict = LoadedValueCheck(m_ctx, wording).check(index, value);
    });
    return verdict != Verdict::TooLow && verdict != Verdict::TooHigh;
}

} // namespace Tarvel
