#include "ShutdownFlow.h"

#include "model/AppContext.h"
#include "ports/Prompter.h"

namespace Tarvel {

ShutdownFlow::ShutdownFlow(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool ShutdownFlow::hasUnsavedChanges() const
{
    bool isNumber = false;
    const int tag = m_ctx.editor.tag().trimmed().toInt(&isNumber);
    return m_ctx.state.blnConfigChanged && isNumber && tag != 0;
}

bool ShutdownFlow::confirmQuit(const QString &caption, const std::function<void()> &save)
{
    Prompter &p = m_ctx.prompter();
    if (p.msgBox(QStringLiteral("Are your sure you want to quit?"), Msg::YesNo | Msg::Question | Msg::DefaultButton2,
            caption)
        != Msg::Yes)
        return false;
    if (hasUnsavedChanges()
        && p.msgBox(QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?"),
               Msg::YesNo | Msg::Question, QStringLiteral("Unsaved Drive Config Data Exists"))
            == Msg::Yes
        && save)
        save();
    return true;
}

} // namespace Tarvel
