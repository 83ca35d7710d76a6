#pragma once

#include "SchematicElements.h"

#include <QList>
#include <QString>

namespace Tarvel {

class SchematicModel;

// The three toolbox dialogs: input switch, mains disconnect, line reactor.
enum class PickerKind { Input, Fuse, Reactor };

struct SymbolChoice
{
    int digit; // the choice's index, written into the element's tag
    QString toolTip;
};

// What each toolbox offers and what a pick does: the chosen digit into
// the target element (on page 1 for inputs, page 2 for the disconnect and
// reactor of a series-3 drive, which the model's slots already say).
class SymbolChoices
{
public:
    static QString objectName(PickerKind kind); // "frmSchematicOptions" ...
    static QString caption(PickerKind kind); // " Toolbox" / "Toolbox"
    static ElementKind element(PickerKind kind);
    static const QList<SymbolChoice> &choices(PickerKind kind);
    // One click on a choice; input is n of imgDI(n) for the input picker.
    static bool pick(SchematicModel &model, PickerKind kind, int digit, int input = 0);
};

} // namespace Tarvel
