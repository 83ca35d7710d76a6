#include "EditHistory.h"

#include "model/AppContext.h"
#include "model/ParamText.h"

namespace Tarvel {

namespace {

// One accepted entry: the states of the parameters it changed, before and
// after. Undo and redo put back whole states, so values, label colours,
// enabled states and the last accepted values return exactly.
class EntryStep : public QUndoCommand
{
public:
    EntryStep(EditHistory &history, FormState before, FormState after, const QString &text)
        : QUndoCommand(text)
        , m_history(history)
        , m_before(std::move(before))
        , m_after(std::move(after))
    { }
    void undo() override { m_history.apply(m_before); }
    void redo() override
    {
        // Pushed after the entry made its change: the first redo has
        // nothing to do.
        if (m_done)
            m_history.apply(m_after);
        m_done = true;
    }

private:
    EditHistory &m_history;
    FormState m_before;
    FormState m_after;
    bool m_done = false;
};

} // namespace

EditHistory::EditHistory(AppContext &ctx, FieldEvents &checks, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_checks(checks)
{
    // Every hand-back of the focus is a refusal of the entry being left.
    connect(&ctx.editor, &EditorForm::focusRequested, this, [this] { ++m_focusRequests; });
    resync();
}

FormState EditHistory::capture() const
{
    const EditorForm &form = m_ctx.editor;
    const ParamTables &t = m_ctx.params;
    FormState out;
    for (int i : EditorForm::fieldIndices()) {
        FieldState f;
        f.text = form.txtP(i).text();
        f.textEnabled = form.txtP(i).enabled();
        if (form.hasCmbP(i)) {
            f.listText = form.cmbP(i).text();
            f.listIndex = form.cmbP(i).listIndex();
            f.listEnabled = form.cmbP(i).enabled();
        }
        f.colour = form.lblP(i).foreColor();
        f.lastChance = t.varLastChance[size_t(i)];
        f.min = t.varMin[size_t(i)];
        f.max = t.varMax[size_t(i)];
        out.insert(i, f);
    }
    return out;
}

void EditHistory::apply(const FormState &states)
{
    m_ctx.trap(QStringLiteral("frmTabConfig, mnuUndo_Click"), [&] {
        EditorForm &form = m_ctx.editor;
        ParamTables &t = m_ctx.params;
        for (auto it = states.cbegin(); it != states.cend(); ++it) {
            const int i = it.key();
            const FieldState &f = it.value();
            if (form.hasCmbP(i)) {
                form.cmbP(i).setText(f.listText); // the entry of that text, if any
                form.cmbP(i).setEnabled(f.listEnabled);
            }
            form.txtP(i).setText(f.text);
            form.txtP(i).setEnabled(f.textEnabled);
            form.lblP(i).setForeColor(f.colour);
            t.varLastChance[size_t(i)] = f.lastChance;
            t.varMin[size_t(i)] = f.min;
            t.varMax[size_t(i)] = f.max;
        }
        m_ctx.state.blnConfigChanged = true;
    });
    resync();
}

void EditHistory::enterValueBox(int index)
{
    m_checks.enterValueBox(index);
    resync();
}

void EditHistory::leaveValueBox(int index)
{
    const int requests = m_focusRequests;
    m_checks.leaveValueBox(index);
    finishEntry(index, m_focusRequests != requests);
}

void EditHistory::leaveChoiceList(int index)
{
    const int requests = m_focusRequests;
    m_checks.leaveChoiceList(index);
    finishEntry(index, m_focusRequests != requests);
}

bool EditHistory::record(int index, const std::function<void()> &entry)
{
    resync();
    const int requests = m_focusRequests;
    const int count = m_stack.count();
    entry();
    finishEntry(index, m_focusRequests != requests);
    return m_stack.count() != count;
}

void EditHistory::finishEntry(int index, bool refused)
{
    FormState now = capture();
    if (!refused) {
        FormState before;
        FormState after;
        for (auto it = now.cbegin(); it != now.cend(); ++it) {
            const FieldState &was = m_base.value(it.key());
            if (!(was == it.value())) {
                before.insert(it.key(), was);
                after.insert(it.key(), it.value());
            }
        }
        if (!after.isEmpty()) {
            const QString text = describe(index, before, after);
            m_stack.push(new EntryStep(*this, std::move(before), std::move(after), text));
        }
    }
    m_base = std::move(now);
}

// "P1.03 12.5 -> 15"
QString EditHistory::describe(int index, const FormState &before, const FormState &after) const
{
    const auto was = before.constFind(index);
    const auto is = after.constFind(index);
    if (was == before.cend() || is == after.cend())
        return ParamText::parameterNumber(index);
    return ParamText::parameterNumber(index) + u' ' + was->text.trimmed() + QStringLiteral(" -> ") + is->text.trimmed();
}

void EditHistory::clear()
{
    m_stack.clear();
    resync();
    Q_EMIT cleared();
}

void EditHistory::resync()
{
    m_base = capture();
}

} // namespace Tarvel
