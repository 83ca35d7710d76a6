#include "EntryChecks.h"

#include "LabelColours.h"
#include "Resolution.h"
#include "base/Logging.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ports/Prompter.h"

namespace Tarvel {

namespace {

QString defaultText(const QVariant &defaultValue)
{
    // A parameter without a default shows one blank, as the loader left it.
    return defaultValue.isNull() ? QStringLiteral(" ") : NumberText::variant(defaultValue);
}

} // namespace

EntryChecks::EntryChecks(AppContext &ctx)
    : m_ctx(ctx)
    , m_rules(ctx)
{ }

void EntryChecks::enterValueBox(int index)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, txtP_GotFocus"),
        [&] { m_ctx.params.varFocusValue = m_ctx.editor.txtP(index).text(); });
}

void EntryChecks::leaveValueBox(int index)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, txtP_LostFocus"), [&] { leaveSequence(index); });
}

void EntryChecks::leaveSequence(int index)
{
    TextBoxField &box = m_ctx.editor.txtP(index);
    if (!NumberText::isNumeric(box.text())) {
        wrongDataType(index);
        return;
    }
    if (m_ctx.params.blnDependent[index])
        m_rules.dependent(index, m_ctx.state.strSeries, m_ctx.state.strModel, m_ctx.state.strRev);

    // A rule may have put back the text the box had on entry; that text was
    // never checked by this sequence and need not be a number.
    const QString text = box.text();
    if (!NumberText::isNumeric(text)) {
        trace(QStringLiteral("Entry of ") + ParamText::parameterNumber(index) + QStringLiteral(" left as \"") + text
            + u'"');
        return;
    }
    const int decimals = Resolution::decimalCount(m_ctx.params.sngResolution[index]);
    warnDecimals(index, text, decimals);
    box.setText(Resolution::roundToDecimals(text, decimals));
    validate(Resolution::singleValue(box.text()), index);
}

void EntryChecks::warnDecimals(int index, const QString &text, int decimals)
{
    for (int count : Resolution::decimalsAfterPoints(text)) {
        if (count <= decimals)
            continue;
        m_ctx.prompter().msgBox(QStringLiteral("The value you entered contains too many decimals.") + u'\r'
                + QStringLiteral("The value will be rounded to ") + QString::number(decimals)
                + QStringLiteral(" decimal place(s)."),
            Msg::Critical, QStringLiteral("Invalid Resolution"));
        trace(ParamText::parameterNumber(index) + QStringLiteral(" rounded to ") + QString::number(decimals)
            + QStringLiteral(" decimal place(s)"));
    }
}

void EntryChecks::wrongDataType(int index)
{
    m_ctx.trap(QStringLiteral("WrongDataType()"), [&] {
        m_ctx.prompter().msgBox(QStringLiteral("Your entry needs to be numeric.") + u'\r'
                + QStringLiteral("The value has been reset to the Parameter's Default.")
                + QStringLiteral(" Any dependent parameter will also be changed if necessary"),
            Msg::Exclamation, QStringLiteral("Wrong Data Type"));
        TextBoxField &box = m_ctx.editor.txtP(index);
        const QString typed = box.text();
        box.setText(defaultText(m_ctx.params.varDefault[index]));
        // The box now shows the default, and the label says so.
        colourLabel(index, LabelColours::forText(m_ctx.params.varDefault[index], box.text()));
        trace(ParamText::parameterNumber(index) + QStringLiteral(" not numeric (\"") + typed
            + QStringLiteral("\"), reset to default ") + box.text());
        m_ctx.editor.setFocus(FieldKind::Text, index);
    });
}

void EntryChecks::validate(float value, int index)
{
    m_ctx.trap(QStringLiteral("basFunctions, Validate()"), [&] {
        ParamTables &t = m_ctx.params;
        TextBoxField &box = m_ctx.editor.txtP(index);
        // Bounds compare in the entry's single precision so that a value
        // typed equal to a bound such as 2.7 passes (as a double the bound
        // is a hair below the single value).
        const QVariant &max = t.varMax[index];
        const QVariant &min = t.varMin[index];
        QString refusal;
        if (!max.isNull() && value > Resolution::single(max.toDouble()))
            refusal = QStringLiteral(" is too high!");
        else if (!min.isNull() && value < Resolution::single(min.toDouble()))
            refusal = QStringLiteral(" is too low!");
        if (!refusal.isEmpty()) {
            m_ctx.prompter().msgBox(QStringLiteral("The value entered for ") + ParamText::parameterNumber(index)
                    + refusal + u'\r' + QStringLiteral("The parameter will be set to the previous value."),
                Msg::Critical, QStringLiteral("Value Out Of Range"));
            box.setText(t.varLastChance[index].toString());
            m_ctx.editor.setFocus(FieldKind::Text, index);
        }
        // The label follows the value passed in, even when it was refused.
        const std::optional<quint32> colour = LabelColours::forValue(t.varDefault[index], value);
        // The label of P9.39 (parameter lock / reset) is never marked red:
        // its non-default settings are commands, not a configuration.
        if (!(index == ParamTables::ParameterLock && colour == Colour::Red))
            colourLabel(index, colour);
        t.varLastChance[index] = box.text();
        m_ctx.writeTrace(QStringLiteral("Changed value for varLastChance to ") + box.text()
            + QStringLiteral(" for param ") + QString::number(index));
    });
}

void EntryChecks::leaveChoiceList(int index)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, cmbP_LostFocus"), [&] { chooseSequence(index); });
}

void EntryChecks::chooseSequence(int index)
{
    ComboField &list = m_ctx.editor.cmbP(index);
    TextBoxField &box = m_ctx.editor.txtP(index);
    const ParamTables &t = m_ctx.params;
    const bool choiceIsValue = ParamTables::listHoldsValue(index);
    if (choiceIsValue ? list.text().isEmpty() : list.listIndex() < 0)
        return; // nothing chosen: the value stays as it was

    // A list records nothing on entry; the value before the choice is what
    // a rule refusing it should put back.
    m_ctx.params.varFocusValue = box.text();
    if (choiceIsValue) {
        box.setText(list.text());
        colourLabel(index, LabelColours::forText(t.varDefault[index], list.text()));
    } else {
        box.setText(QString::number(list.listIndex()));
        colourLabel(index, LabelColours::forValue(t.varDefault[index], float(list.listIndex())));
    }
    trace(ParamText::parameterNumber(index) + QStringLiteral(" chosen: ") + box.text());
    if (t.blnDependent[index])
        m_rules.dependent(index, m_ctx.state.strSeries, m_ctx.state.strModel, m_ctx.state.strRev);
}

void EntryChecks::typeValue(int index, const QString &text)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, txtP_Change"), [&] {
        if (!m_ctx.params.blnTextShown[index] || !m_ctx.editor.txtP(index).enabled()) {
            qCWarning(lcRules) << "no value box to type into for" << ParamText::parameterNumber(index);
            return;
        }
        enterValueBox(index);
        m_ctx.editor.txtP(index).setText(text);
        leaveValueBox(index);
    });
}

void EntryChecks::chooseEntry(int index, int position)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, cmbP_Click"), [&] {
        if (!m_ctx.params.blnListShown[index] || !m_ctx.editor.cmbP(index).enabled()) {
            qCWarning(lcRules) << "no choice list to pick from for" << ParamText::parameterNumber(index);
            return;
        }
        ComboField &list = m_ctx.editor.cmbP(index);
        if (position < 0 || position >= list.listCount())
            throw TrappedError(Err::InvalidPropertyValue);
        list.setListIndex(position);
        leaveChoiceList(index);
    });
}

void EntryChecks::colourLabel(int index, std::optional<quint32> colour)
{
    if (colour)
        m_ctx.editor.lblP(index).setForeColor(*colour);
}

void EntryChecks::trace(const QString &line)
{
    qCDebug(lcRules) << line;
    m_ctx.writeTrace(line);
}

} // namespace Tarvel
