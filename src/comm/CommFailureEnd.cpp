#include "CommFailureEnd.h"

#include "CommLink.h"
#include "model/AppContext.h"
#include "base/Logging.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "base/TextFile.h"

namespace Tarvel {

CommFailureEnd::Ending CommFailureEnd::serialRead(const QString &routine)
{
    Ending ending;
    ending.caption = QStringLiteral("  Status List ");
    ending.logField1 = QStringLiteral("Mod1 retuned ");
    ending.logField2 = QStringLiteral("status code ");
    ending.logField3 = routine;
    return ending;
}

CommFailureEnd::CommFailureEnd(AppContext &ctx, Ending ending)
    : m_ctx(ctx)
    , m_ending(std::move(ending))
{ }

void CommFailureEnd::finish(int resultCode)
{
    qCWarning(lcComm).noquote() << "transfer aborted:" << ModbusMaster::resultText(resultCode);
    ShellHooks &hooks = m_ctx.hooks();
    if (m_ending.enableMain)
        hooks.setMainEnabled(true);
    hooks.setPollTimerEnabled(true);
    hooks.setBusyPointer(false);
    m_ctx.link().closeConnection();
    StatusList &list = m_ctx.statusList;
    list.addLine(QStringLiteral("Operation aborted due to comm error ") + TextFile::generalDate() + u'.');
    list.setStatus(QStringLiteral(" "));
    list.setBarVisible(false);
    list.setCaption(m_ending.caption);
    m_ctx.prompter().msgBox(QStringLiteral("A communication problem has been encountered.\r"
                                           "Please correct the problem and restart the operation."),
        Msg::Critical, QStringLiteral("Error"));
    m_ctx.errorLog().write(m_ending.logField1, m_ending.logField2, resultCode, m_ending.logField3);
}

} // namespace Tarvel
