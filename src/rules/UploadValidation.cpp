#include "UploadValidation.h"

#include "LoadedValueCheck.h"
#include "model/AppContext.h"

namespace Tarvel {

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
        // P9.39 locks or resets the parameters: a setting that differs from
        // the default is a command, not a difference of the configuration.
        wording.neverDifferent = ParamTables::ParameterLock;
        verdict = LoadedValueCheck(m_ctx, wording).check(index, value);
    });
    return verdict != Verdict::TooLow && verdict != Verdict::TooHigh;
}

} // namespace Tarvel
