#pragma once

#include "TestSupport.h"

#include "catalogue/ParamLoader.h"

namespace Tarvel::Test {

// Loads a catalogue drive into the context's editor, as a new configuration
// does, and forgets the messages and the changed flag of the load.
inline bool loadDrive(AppContext &ctx, const QString &series, const QString &model, const QString &rev)
{
    const bool ok = ParamLoader(ctx).getParamData(
        ctx.editor, QStringLiteral("qryTabParams"), u'\'' + series + u'\'', u'\'' + model + u'\'', u'\'' + rev + u'\'');
    ctx.state.blnConfigChanged = false;
    return ok;
}

} // namespace Tarvel::Test
