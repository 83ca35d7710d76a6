#pragma once

#include "DependencyRules.h"
#include "model/FieldEvents.h"

#include <QString>

#include <optional>

namespace Tarvel {

class AppContext;

// The checks every value passes on its way into the configuration: the
// number test, the dependency rules, the decimals the resolution allows,
// the range, the label colour and the last accepted value. Works on the
// editor's fields and the parameter records of the context; messages go
// through the context's prompter, decisions to the diagnostics trace.
class EntryChecks : public FieldEvents
{
public:
    explicit EntryChecks(AppContext &ctx);

    // txtP_GotFocus: remembers the text for a rule that refuses the change.
    void enterValueBox(int index) override;
    // txtP_LostFocus: number test, rules, decimals, rounding, range.
    void leaveValueBox(int index) override;
    // cmbP_LostFocus: the choice into txtP(i), the label colour, the rules.
    void leaveChoiceList(int index) override;

    // A non-numeric entry: message, the box back to the catalogue default,
    // the focus back to it.
    void wrongDataType(int index);
    // The range check of txtP(index) with its label: a refused value goes
    // back to the last accepted one; the label shows whether the value
    // passed in differs from the default; the box text becomes the last
    // accepted value.
    void validate(float value, int index);

    // A user's edit, for scripts and tests: enter the value box, type the
    // text, leave it. Fields the user could not type into (not shown as a
    // value box, or disabled) are left alone.
    void typeValue(int index, const QString &text);
    // A user's choice: the list entry at `position`, then leaving the list.
    // A position outside the list is error 380 and changes nothing.
    void chooseEntry(int index, int position);

    DependencyRules &rules() { return m_rules; }

private:
    void leaveSequence(int index);
    void chooseSequence(int index);
    void warnDecimals(int index, const QString &text, int decimals);
    void colourLabel(int index, std::optional<quint32> colour);
    void trace(const QString &line);

    AppContext &m_ctx;
    DependencyRules m_rules;
};

} // namespace Tarvel
