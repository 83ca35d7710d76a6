#include "ParameterSearch.h"

#include "EditorForm.h"
#include "ParamTables.h"
#include "ParamText.h"

#include <QRegularExpression>

namespace Tarvel {

ParameterSearch::ParameterSearch(const EditorForm &form, const ParamTables &params)
    : m_form(form)
    , m_params(params)
{ }

std::optional<int> ParameterSearch::parseNumber(const QString &text)
{
    static const QRegularExpression dotted(QStringLiteral("^[Pp]?\\s*([0-9]{1,2})\\.([0-9]{2})$"));
    static const QRegularExpression plain(QStringLiteral("^[Pp]?([0-9]{1,4})$"));
    const QString t = text.trimmed();
    int index = -1;
    if (const QRegularExpressionMatch m = dotted.match(t); m.hasMatch())
        index = m.captured(1).toInt() * 100 + m.captured(2).toInt();
    else if (const QRegularExpressionMatch m = plain.match(t); m.hasMatch())
        index = m.captured(1).toInt();
    if (index < 0 || index >= ParamTables::Size)
        return std::nullopt;
    return index;
}

bool ParameterSearch::inDrive(int index) const
{
    return index >= 0 && index < ParamTables::Size && m_form.hasTxtP(index)
        && (m_params.blnTextShown[size_t(index)] || m_params.blnListShown[size_t(index)]);
}

QString ParameterSearch::name(int index) const
{
    return m_form.hasLblP(index) ? ParamText::name(m_form.lblP(index).caption()) : QString();
}

QVector<int> ParameterSearch::find(const QString &text) const
{
    const QString t = text.trimmed();
    if (t.isEmpty())
        return {};
    if (const std::optional<int> index = parseNumber(t); index && inDrive(*index))
        return {*index};
    const QVector<int> numbered = byNumberPrefix(t);
    return numbered.isEmpty() ? byWords(t) : numbered;
}

QVector<int> ParameterSearch::byNumberPrefix(const QString &text) const
{
    static const QRegularExpression numberStart(QStringLiteral("^[Pp]?[0-9]"));
    if (!numberStart.match(text).hasMatch())
        return {};
    const QString wanted = text.startsWith(u'P', Qt::CaseInsensitive) ? text.mid(1) : text;
    QVector<int> out;
    for (int i : EditorForm::fieldIndices()) {
        if (inDrive(i) && ParamText::parameterNumber(i).mid(1).startsWith(wanted))
            out << i;
    }
    return out;
}

QVector<int> ParameterSearch::byWords(const QString &text) const
{
    const QStringList words = text.split(u' ', Qt::SkipEmptyParts);
    QVector<int> out;
    for (int i : EditorForm::fieldIndices()) {
        if (!inDrive(i))
            continue;
        const QString n = name(i);
        if (std::all_of(
                words.cbegin(), words.cend(), [&](const QString &w) { return n.contains(w, Qt::CaseInsensitive); }))
            out << i;
    }
    return out;
}

} // namespace Tarvel
