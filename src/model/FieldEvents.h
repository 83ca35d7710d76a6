#pragma once

namespace Tarvel {

// What happens when the user moves into and out of a field of the detailed
// editor. The entry checks and dependency rules implement it; the editor
// window (or a script acting as the user) calls it.
class FieldEvents
{
public:
    virtual ~FieldEvents() = default;
    // txtP(i) receives focus: records varFocusValue.
    virtual void enterValueBox(int index) = 0;
    // txtP(i) loses focus: numeric test, dependency rules, decimals, range.
    virtual void leaveValueBox(int index) = 0;
    // cmbP(i) loses focus: the choice into txtP(i), label colour, rules.
    virtual void leaveChoiceList(int index) = 0;
};

} // namespace Tarvel
