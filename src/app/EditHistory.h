#pragma once

#include "model/FieldEvents.h"

#include <QMap>
#include <QObject>
#include <QString>
#include <QUndoStack>
#include <QVariant>

#include <functional>

namespace Tarvel {

class AppContext;

// What an entry can change about one parameter: its value box and choice
// list, its label colour, and the records the checks and rules keep.
struct FieldState
{
    QString text;
    bool textEnabled = true;
    QString listText;
    int listIndex = -1;
    bool listEnabled = true;
    quint32 colour = 0;
    QVariant lastChance;
    QVariant min;
    QVariant max;

    bool operator==(const FieldState &) const = default;
};
using FormState = QMap<int, FieldState>;

// Undo and redo of the editors' entries. Sits between an editor and the
// entry checks: every entry the checks accept becomes one step holding the
// before and after state of each parameter it changed, the ones the
// dependency rules moved included. A refused entry (the checks hand the
// focus back) and an entry that changed nothing are no step.
//
// Editors other than the detailed editor and the wizard (the parameter
// table, the schematic pickers) make their change inside record(), which
// turns it into a step the same way.
class EditHistory : public QObject, public FieldEvents
{
    Q_OBJECT
public:
    EditHistory(AppContext &ctx, FieldEvents &checks, QObject *parent = nullptr);

    QUndoStack &stack() { return m_stack; }

    // FieldEvents: handed on to the checks.
    void enterValueBox(int index) override;
    void leaveValueBox(int index) override;
    void leaveChoiceList(int index) override;

    // Runs `entry`, which changes parameter `index` through the entry
    // checks, and records what it changed as one step. True when it was a
    // step (accepted and something changed).
    bool record(int index, const std::function<void()> &entry);

    // A new configuration, an open, an upload: the steps of the previous
    // one no longer apply.
    void clear();
    // The fields changed outside the editors (a read-only refresh): taken
    // as they now stand, so no step carries that change.
    void resync();

    FormState capture() const;
    void apply(const FormState &states);

Q_SIGNALS:
    // clear() ran: another configuration, or none, is in the editor.
    void cleared();

private:
    void finishEntry(int index, bool refused);
    QString describe(int index, const FormState &before, const FormState &after) const;

    AppContext &m_ctx;
    FieldEvents &m_checks;
    QUndoStack m_stack;
    FormState m_base;
    int m_focusRequests = 0;
};

} // namespace Tarvel
