#include "ScriptedPrompter.h"

namespace Tarvel {

int ScriptedPrompter::msgBox(const QString &text, int style, const QString &title)
{
    m_messages.append({text, style, title});
    if (!m_answers.isEmpty())
        return m_answers.dequeue();
    switch (Msg::buttons(style)) {
    case Msg::YesNo:
        return m_yes ? Msg::Yes : Msg::No;
    case Msg::OKCancel:
        return m_yes ? Msg::OK : Msg::Cancel;
    default:
        return Msg::OK;
    }
}

QStringList ScriptedPrompter::titles() const
{
    QStringList out;
    for (const Message &m : m_messages)
        out << m.title;
    return out;
}

} // namespace Tarvel
