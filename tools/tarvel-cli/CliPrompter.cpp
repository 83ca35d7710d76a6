#include "CliPrompter.h"

namespace Tarvel {

CliPrompter::CliPrompter(QTextStream &out, bool answerYes)
    : m_out(out)
    , m_yes(answerYes)
{ }

int CliPrompter::msgBox(const QString &text, int style, const QString &title)
{
    const int icon = Msg::icon(style);
    if (icon == Msg::Critical || icon == Msg::Exclamation)
        ++m_problems;
    m_out << line(text, title) << Qt::endl;
    return answer(style, m_yes);
}

QString CliPrompter::line(const QString &text, const QString &title)
{
    QString oneLine = text;
    oneLine.replace(u'\r', QLatin1String("\\r"));
    // A stray LF would still split the line for a reader of the output.
    oneLine.replace(u'\n', QLatin1String("\\n"));
    return QStringLiteral("MSG ") + title + QStringLiteral(": ") + oneLine;
}

int CliPrompter::answer(int style, bool answerYes)
{
    switch (Msg::buttons(style)) {
    case Msg::OKCancel:
        return answerYes ? Msg::OK : Msg::Cancel;
    case Msg::YesNo:
        return answerYes ? Msg::Yes : Msg::No;
    default:
        return Msg::OK;
    }
}

} // namespace Tarvel
