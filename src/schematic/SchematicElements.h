#pragma once

#include <QList>
#include <QString>

namespace Tarvel {

// The windows a schematic element sits on: frmSchematic for series 1 and 2,
// the two pages frmSchematicQX3 (control side) and frmSchematicQX3_2 (power
// side) for series 3.
enum class SchematicPage { Single, Control, Power };

// What a selectable picture of the wiring diagram is; its state is one
// decimal digit.
enum class ElementKind {
    Fuse, // mains disconnect
    Reactor, // line reactor or plain wires
    Input, // digital input switch symbol
    BrakeFrame, // series 1/2 brake resistor: framed (selected) or not
    BrakeUnit, // series 3 braking unit and resistor drawing
    Feedback, // encoder feedback option board
    OutputType, // encoder output jumper: open collector / totem pole
    Supply, // encoder supply jumper: 5 V / 12 V
    Sw1, // input common switch: source / sink
};

// One position of the state string: which element of which page.
struct ElementSlot
{
    ElementKind kind;
    SchematicPage page;
    int input = 0; // 1.. for imgDI(n)

    // "imgFuse", "imgDI(3)", "imgBrakeResistor" ...
    QString name() const;
    bool operator==(const ElementSlot &) const = default;
};

// The element tables: the state string's positions and what each digit
// shows. Each digit of an element is one drawing.
class SchematicElements
{
public:
    // The positions of the state string, first to last; the fixed "X" of
    // series 1 and 2 is not an element and has no slot.
    static const QList<ElementSlot> &positions(bool twoPage);
    // The 0-based position of the "X" in a series 1/2 string.
    static constexpr int FixedX = 8;
    static constexpr int SingleLength = 10;
    static constexpr int TwoPageLength = 18;

    // Whether the element knows the digit; a digit it does not know leaves
    // it unchanged when read.
    static bool knows(ElementKind kind, int digit);
    static QList<int> digits(ElementKind kind);
    // What the digit shows, in words ("fused disconnect").
    static QString stateText(ElementKind kind, int digit);
    // The drawing's resource name ("fuse-2"); empty where nothing is drawn.
    static QString drawing(ElementKind kind, int digit);
};

} // namespace Tarvel
