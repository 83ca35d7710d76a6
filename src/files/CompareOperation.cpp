#include "CompareOperation.h"

#include "rules/ValueCheck.h"
#include "model/AppContext.h"
#include "base/TextFile.h"
#include "base/NumberText.h"
#include "model/ParamText.h"

namespace Tarvel {

namespace {
const QString Activity = QStringLiteral("Comparing Configuration With Defaults");
}

CompareOperation::CompareOperation(AppContext &ctx)
    : m_ctx(ctx)
{ }

QString CompareOperation::resultLine(int index, const QString &value, const QVariant &defaultValue)
{
    return ParamText::parameterNumber(index) + QStringLiteral(" - Value different from default. Value = ") + value
        + QStringLiteral(" Default = ") + NumberText::variant(defaultValue);
}

void CompareOperation::compare()
{
    m_ctx.trap(QStringLiteral("basFunctions, Compare()"), [&] {
        StatusList &list = m_ctx.statusList;
        list.setActivity(Activity);
        list.setStatus(Activity);
        list.setBarVisible(true);
        list.addLine(QStringLiteral("Compare started ") + TextFile::generalDate() + u'.');
        for (int i = 0; i < ParamTables::Size; ++i) {
            list.setPosition(i);
            m_ctx.pause(0.01);
            compareIndex(i);
        }
        list.addLine(QStringLiteral("Compare complete ") + TextFile::generalDate() + u'.');
        list.setCaption(StatusList::DefaultCaption);
        // The list no longer claims to be comparing once it is done.
        list.setStatus(QStringLiteral(" "));
        list.setBarVisible(false);
    });
}

void CompareOperation::compareIndex(int index)
{
    const ParamTables &t = m_ctx.params;
    const QVariant &def = t.varDefault[index];
    if (ValueCheck::holdsNothing(def))
        return;
    // Only the parameters of the current drive take part: the records keep
    // the defaults of an earlier drive at indices this one lacks, and an
    // unused field (empty) would be reported against them.
    if (!(t.blnTextShown[index] || t.blnListShown[index]) || !m_ctx.editor.hasTxtP(index))
        return;
    const QString &text = m_ctx.editor.txtP(index).text();
    if (ValueCheck::differs(NumberText::val(text), def))
        m_ctx.statusList.addLine(resultLine(index, text, def));
}

} // namespace Tarvel
