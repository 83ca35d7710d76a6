#include "LoadedValueCheck.h"

#include "ValueCheck.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "model/AppContext.h"
#include "model/ParamText.h"

namespace Tarvel {

LoadedValueCheck::LoadedValueCheck(AppContext &ctx, Wording wording)
    : m_ctx(ctx)
    , m_wording(wording)
{ }

LoadedValueCheck::Verdict LoadedValueCheck::check(int index, const QString &value)
{
    if (index < 0 || index >= ParamTables::Size)
        throw TrappedError(Err::SubscriptOutOfRange);
    const ParamTables &t = m_ctx.params;
    const double v = NumberText::val(value);
    // Built only for a line: the upload checks every value of a drive, and
    // most of them are reported not at all.
    auto head = [&] { return TextFile::generalDate() + QStringLiteral(" - ") + ParamText::parameterNumber(index); };
    auto shown = [&] { return ValueCheck::numberText(v); };
    auto loaded = [&] {
        return QStringLiteral(" Parameter's default of ") + NumberText::variant(t.varDefault[index])
            + QStringLiteral(" was loaded.");
    };
    StatusList &list = m_ctx.statusList;
    if (ValueCheck::below(v, t.varMin[index])) {
        list.addLine(head() + QStringLiteral(" - Value too low. Value = ") + shown() + QStringLiteral(" Min = ")
            + NumberText::variant(t.varMin[index]) + loaded());
        restoreDefault(index);
        return Verdict::TooLow;
    }
    if (ValueCheck::above(v, t.varMax[index])) {
        list.addLine(head() + QStringLiteral(" - Value too high. Value = ") + shown() + QStringLiteral(" Max = ")
            + NumberText::variant(t.varMax[index]) + (m_wording.tooHighNamesDefault ? loaded() : QString()));
        restoreDefault(index);
        return Verdict::TooHigh;
    }
    if (index != m_wording.neverDifferent && ValueCheck::differs(v, t.varDefault[index])) {
        list.addLine(head() + QStringLiteral(" - Value different from default. Value = ") + shown()
            + QStringLiteral(" Default = ") + NumberText::variant(t.varDefault[index]));
        m_ctx.editor.lblP(index).setForeColor(Colour::Red);
        return Verdict::Different;
    }
    return Verdict::Kept;
}

// A choice list shows the default entry that the status list line names.
void LoadedValueCheck::restoreDefault(int index)
{
    const QVariant &def = m_ctx.params.varDefault[index];
    const QString text = def.isNull() ? QStringLiteral(" ") : NumberText::variant(def);
    TextBoxField &box = m_ctx.editor.txtP(index);
    box.setText(text);
    if (!m_ctx.params.blnListShown[index] || !m_ctx.editor.hasCmbP(index))
        return;
    ComboField &list = m_ctx.editor.cmbP(index);
    if (ParamTables::listHoldsValue(index)) {
        list.setText(text);
        return;
    }
    const int k = int(NumberText::val(text));
    if (k >= 0 && k < list.listCount()) {
        list.setListIndex(k);
        box.setText(list.list().at(k).left(2));
    }
}

void LoadedValueCheck::setCustomCurveBoxes(EditorForm &form)
{
    const bool custom = NumberText::val(form.txtP(200).text()) == 3.0;
    for (int i = 204; i <= 207; ++i)
        form.txtP(i).setEnabled(custom);
}

} // namespace Tarvel
