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

void UploadValidation::validateUpload(int index, const QString &value)
{
    m_ctx.trap(QStringLiteral("basFunctions, ValidateUpload()"), [&] {
        LoadedValueCheck::Wording wording;
        wording.tooHighNamesDefault = false;
        wording.neverDifferent = NodeAddressIndex;
        LoadedValueCheck(m_ctx, wording).check(index, value);
    });
}

} // namespace Tarvel
