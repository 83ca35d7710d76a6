// Entry checks for the editor window tests: they behave like the real
// checks where it matters to the window. A non-numeric entry is refused
// with a message, the text the field had on entry goes back and the focus
// is asked back; an entry starting with 9 is accepted with a hint message.
// Every call is recorded.
#pragma once

#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "model/FieldEvents.h"
#include "base/NumberText.h"

#include <QStringList>

namespace Tarvel::Test {

class RefusingChecks : public FieldEvents
{
public:
    explicit RefusingChecks(AppContext &ctx)
        : m_ctx(ctx)
    { }

    QStringList calls;
    int throwOnLeave = -1; // index whose leave fails with a trapped error

    int count(const QString &call) const { return int(calls.count(call)); }

    void enterValueBox(int index) override
    {
        calls << QStringLiteral("enter %1").arg(index);
        m_ctx.params.varFocusValue = m_ctx.editor.txtP(index).text();
    }

    void leaveValueBox(int index) override
    {
        calls << QStringLiteral("leave %1").arg(index);
        if (index == throwOnLeave)
            throw TrappedError(Err::TypeMismatch);
        TextBoxField &box = m_ctx.editor.txtP(index);
        if (!NumberText::isNumeric(box.text())) {
            m_ctx.prompter().msgBox(
                QStringLiteral("Your entry needs to be numeric."), Msg::Exclamation, QStringLiteral("Wrong Data Type"));
            box.setText(m_ctx.params.varFocusValue.toString());
            m_ctx.editor.setFocus(FieldKind::Text, index);
        } else if (box.text().startsWith(QLatin1Char('9'))) {
            m_ctx.prompter().msgBox(QStringLiteral("A high value."), Msg::Information, QStringLiteral("Hint"));
        }
    }

    void leaveChoiceList(int index) override
    {
        calls << QStringLiteral("leaveList %1").arg(index);
        m_ctx.editor.txtP(index).setText(QString::number(m_ctx.editor.cmbP(index).listIndex()));
    }

private:
    AppContext &m_ctx;
};

} // namespace Tarvel::Test
