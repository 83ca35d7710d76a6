#pragma once

#include "SchematicElements.h"

#include <QList>
#include <QObject>
#include <QString>

#include <optional>

namespace Tarvel {

class AppContext;

// The places of the diagram that lead somewhere: the detailed editor's
// groups (through a caption or the load) and the guided mode's steps.
enum class SchematicTarget {
    Motor,
    Load,
    Ramps,
    DigitalInputs,
    DigitalOutputs,
    AnalogInput,
    AnalogOutput,
    Pid,
    Protection,
    Feedback,
};

// A guided-mode arrow: imgPointer(index) of a page.
struct ArrowRef
{
    SchematicPage page;
    int index;
    bool operator==(const ArrowRef &) const = default;
};

// The drawing state of the schematic windows without their widgets: the
// digit of every selectable element, the SchematicChanged flag, the
// wiring decided when the windows load, the hot spots and the guided mode.
// The windows render it; the settings file reads and writes it.
class SchematicModel : public QObject
{
    Q_OBJECT
public:
    explicit SchematicModel(AppContext &ctx, QObject *parent = nullptr);

    // Whether the current configuration's series uses the two pages.
    static bool twoPageSeries(const QString &seriesCode);

    // Form_Load of the windows of the current series: element defaults,
    // the model character's covers and the input wiring from P3.01. A
    // state already loaded for this series stays as it is.
    void load();
    // The windows were unloaded: their state is gone.
    void unload();
    bool isLoaded() const { return m_loaded; }
    bool twoPage() const { return m_twoPage; }

    const QList<ElementSlot> &positions() const { return SchematicElements::positions(m_twoPage); }
    int digit(ElementKind kind, int input = 0) const;
    // Sets an element's digit when its table lists the digit; false (and
    // nothing changed) otherwise. Does not set SchematicChanged.
    bool setDigit(ElementKind kind, int input, int digit);

    // The digits in file order: 10 characters with the "X" for series 1
    // and 2, 18 for series 3.
    QString stateString() const;
    // Applies a state string as a file gives it: each listed digit to its
    // element; unknown digits, the "X" position and positions beyond the
    // end leave their elements.
    void applyStateString(const QString &text);

    bool schematicChanged() const { return m_changed; }
    void setSchematicChanged(bool changed) { m_changed = changed; }

    // Character 7 of P9.42's text ("01 QX-1-0P2S" gives "1"), read live.
    QChar modelCharacter() const;
    // The model lacks some terminals: covers drawn over them, the brake
    // resistor fixed, the analog output and PID captions inert.
    bool reducedModel() const { return modelCharacter() == u'1'; }
    // P3.01 was 2 when the windows loaded: DI3 serves as the stop input
    // and the wiring of its symbol is drawn the other way.
    bool stopWiring() const { return m_stopWiring; }

    // Clicks on elements that change in place; each sets SchematicChanged
    // when it changed something.
    bool toggleBrake(); // series 1/2: frame on/off unless the reduced model
    void cycleBrakeUnit(); // series 3: 0 -> 1 -> 2 -> 3 -> 0
    void cycleFeedback(); // 0 -> 1 -> 2 -> 0
    void toggleOutputType();
    void toggleSupply();
    void toggleSw1();

    // Auxiliary shapes and captions whose visibility follows the states:
    // "lblResistor(0)", "recCover", "shapeLine(5)", "recOC", "rec5V",
    // "recSource", "line24V1", "lineDCM1", "lblSchematic(38)", "recCoverQX1"...
    bool isShown(const QString &part) const;

    // Hot spots: the frames of a page shown by "Show HotSpots".
    bool hotSpotsShown() const { return m_hotSpots; }
    void setHotSpotsShown(bool shown);
    QList<int> visibleHotSpots(SchematicPage page) const;

    // Guided mode ("wizards").
    bool guided() const { return m_guided; }
    void startGuided();
    void endGuided();
    // A click on a target while guided: the arrow moves on. Nothing when
    // not guided.
    void guidedStep(SchematicTarget target);
    std::optional<ArrowRef> arrow() const { return m_arrow; }
    // "Done With Wizards" is offered.
    bool doneOffered() const { return m_doneOffered; }

Q_SIGNALS:
    // Anything drawn changed: element, hot spots, arrows.
    void changed();

private:
    int slotIndex(ElementKind kind, int input) const;
    void setArrow(std::optional<ArrowRef> arrow);

    AppContext &m_ctx;
    bool m_loaded = false;
    bool m_twoPage = false;
    bool m_stopWiring = false;
    QList<int> m_digits;
    bool m_changed = false;
    bool m_hotSpots = false;
    bool m_guided = false;
    bool m_doneOffered = false;
    std::optional<ArrowRef> m_arrow;
};

} // namespace Tarvel
