#include "UploadValidation.h"

#include "LoadedValueCheck.h"
#include "model/AppContext.h"

namespace Tarvel {

UploadValidation::UploadValidation(AppContext &ctx)
    : m_ctx(ctx)
{ }

void UploadValidation::validateUpload(int index, const QString &value)
{
    m_ctx.trap(QStringLiteral("basFunctions, ValidateUpload()"), [&] {
        LoadedValueCheck::Wording wording;
        wording.tooHighNamesDefault = false;
        // P9.39 locks or resets the parameters: a setting that differs from
        // the default is a command, not a difference of the configuration.
        wording.neverDifferent = ParamTables::ParameterLock;
        LoadedValueCheck(m_ctx, wording).check(index, value);
    });
}

} // namespace Tarvel
