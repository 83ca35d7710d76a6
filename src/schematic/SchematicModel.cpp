#include "SchematicModel.h"

#include "base/Logging.h"
#include "model/AppContext.h"

namespace Tarvel {

namespace {

// The parts that follow one element's digit: shown for the listed digits.
struct PartRule
{
    const char *part;
    ElementKind kind;
    QList<int> shownFor;
};

const QList<PartRule> &partRules()
{
    using K = ElementKind;
    static const QList<PartRule> rules {
        {"lblSchematic(38)", K::BrakeFrame, {0}},
        {"lblResistor(0)", K::BrakeUnit, {1, 2}},
        {"lblResistor(1)", K::BrakeUnit, {3}},
        {"recCover", K::Feedback, {0}},
        {"shapeLine(5)", K::Feedback, {1, 2}},
        {"shapeLine(6)", K::Feedback, {1, 2}},
        {"recOC", K::OutputType, {0}},
        {"recTP", K::OutputType, {1}},
        {"rec5V", K::Supply, {0}},
        {"rec12V", K::Supply, {1}},
        {"recSource", K::Sw1, {0}},
        {"line24V1", K::Sw1, {0}},
        {"line24V2", K::Sw1, {0}},
        {"dot24V", K::Sw1, {0}},
        {"recSink", K::Sw1, {1}},
        {"lineDCM1", K::Sw1, {1}},
        {"lineDCM2", K::Sw1, {1}},
        {"dotDCM", K::Sw1, {1}},
    };
    return rules;
}

// Form_Load defaults: inputs without symbol, fused disconnect, no reactor,
// brake resistor selected (series 1/2); series 3 starts without braking
// unit, option board, with the source common and the first jumper places.
int defaultDigit(ElementKind kind)
{
    switch (kind) {
    case ElementKind::Fuse:
        return 2;
    case ElementKind::Reactor:
    case ElementKind::BrakeFrame:
        return 1;
    case ElementKind::Input:
        return 4;
    default:
        return 0;
    }
}

} // namespace

SchematicModel::SchematicModel(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
{ }

bool SchematicModel::twoPageSeries(const QString &seriesCode)
{
    return seriesCode.trimmed().toInt() >= 3;
}

void SchematicModel::load()
{
    const bool twoPage = twoPageSeries(m_ctx.state.strSeries);
    if (m_loaded && twoPage == m_twoPage)
        return;
    m_loaded = true;
    m_twoPage = twoPage;
    m_digits.clear();
    for (const ElementSlot &slot : positions())
        m_digits << defaultDigit(slot.kind);
    const EditorForm &editor = m_ctx.editor;
    const QString wiring = editor.hasTxtP(301) ? editor.txtP(301).text() : QString();
    m_stopWiring = wiring == QLatin1String("02") || wiring == QLatin1String("2");
    m_changed = false;
    m_hotSpots = false;
    m_guided = false;
    m_doneOffered = false;
    m_arrow.reset();
    qCDebug(lcUi) << "schematic loaded" << (twoPage ? "two pages" : "one page");
    Q_EMIT changed();
}

void SchematicModel::unload()
{
    m_loaded = false;
    m_changed = false;
    m_guided = false;
    m_arrow.reset();
}

int SchematicModel::slotIndex(ElementKind kind, int input) const
{
    const QList<ElementSlot> &list = positions();
    for (int i = 0; i < list.size(); ++i)
        if (list[i].kind == kind && list[i].input == input)
            return i;
    return -1;
}

int SchematicModel::digit(ElementKind kind, int input) const
{
    const int i = slotIndex(kind, input);
    return i < 0 || i >= m_digits.size() ? -1 : m_digits[i];
}

bool SchematicModel::setDigit(ElementKind kind, int input, int digit)
{
    const int i = slotIndex(kind, input);
    if (i < 0 || i >= m_digits.size() || !SchematicElements::knows(kind, digit))
        return false;
    if (m_digits[i] != digit) {
        m_digits[i] = digit;
        Q_EMIT changed();
    }
    return true;
}

QString SchematicModel::stateString() const
{
    QString text;
    for (int i = 0; i < m_digits.size(); ++i) {
        if (!m_twoPage && text.size() == SchematicElements::FixedX)
            text += u'X';
        text += QChar(u'0' + m_digits[i]);
    }
    return text;
}

void SchematicModel::applyStateString(const QString &text)
{
    const QList<ElementSlot> &list = positions();
    int pos = 0;
    for (const ElementSlot &slot : list) {
        if (!m_twoPage && pos == SchematicElements::FixedX)
            ++pos;
        if (pos >= text.size())
            break;
        const QChar c = text.at(pos++);
        if (c.isDigit())
            setDigit(slot.kind, slot.input, c.digitValue());
    }
}

QChar SchematicModel::modelCharacter() const
{
    const EditorForm &editor = m_ctx.editor;
    const QString text = editor.hasCmbP(942) ? editor.cmbP(942).text() : QString();
    return text.size() >= 7 ? text.at(6) : QChar();
}

bool SchematicModel::toggleBrake()
{
    if (reducedModel())
        return false;
    setDigit(ElementKind::BrakeFrame, 0, digit(ElementKind::BrakeFrame) == 1 ? 0 : 1);
    m_changed = true;
    return true;
}

void SchematicModel::cycleBrakeUnit()
{
    setDigit(ElementKind::BrakeUnit, 0, (digit(ElementKind::BrakeUnit) + 1) % 4);
    m_changed = true;
}

void SchematicModel::cycleFeedback()
{
    setDigit(ElementKind::Feedback, 0, (digit(ElementKind::Feedback) + 1) % 3);
    m_changed = true;
}

void SchematicModel::toggleOutputType()
{
    setDigit(ElementKind::OutputType, 0, isShown(QStringLiteral("recOC")) ? 1 : 0);
    m_changed = true;
}

void SchematicModel::toggleSupply()
{
    setDigit(ElementKind::Supply, 0, isShown(QStringLiteral("rec5V")) ? 1 : 0);
    m_changed = true;
}

void SchematicModel::toggleSw1()
{
    setDigit(ElementKind::Sw1, 0, isShown(QStringLiteral("recSource")) ? 1 : 0);
    m_changed = true;
}

bool SchematicModel::isShown(const QString &part) const
{
    if (part == QLatin1String("recCoverQX1"))
        return !m_twoPage && reducedModel();
    for (const PartRule &rule : partRules()) {
        if (part == QLatin1String(rule.part))
            return rule.shownFor.contains(digit(rule.kind));
    }
    return false;
}

void SchematicModel::setHotSpotsShown(bool shown)
{
    m_hotSpots = shown;
    Q_EMIT changed();
}

QList<int> SchematicModel::visibleHotSpots(SchematicPage page) const
{
    QList<int> frames;
    if (!m_hotSpots)
        return frames;
    const int count = page == SchematicPage::Single ? 12 : page == SchematicPage::Control ? 9 : 6;
    QList<int> hidden;
    if (page == SchematicPage::Single) {
        const QChar model = modelCharacter();
        if (model == u'1')
            hidden = {4, 5, 8};
        else if (model == u'2')
            hidden = {11};
        else
            return frames;
    }
    for (int i = 0; i < count; ++i)
        if (!hidden.contains(i))
            frames << i;
    return frames;
}

void SchematicModel::setArrow(std::optional<ArrowRef> arrow)
{
    m_arrow = arrow;
    Q_EMIT changed();
}

void SchematicModel::startGuided()
{
    m_guided = true;
    m_doneOffered = true;
    setArrow(ArrowRef {m_twoPage ? SchematicPage::Power : SchematicPage::Single, 0});
}

void SchematicModel::endGuided()
{
    m_guided = false;
    m_doneOffered = false;
    setArrow(std::nullopt);
}

// Each click shows the arrow at the next place of the tour: motor, load,
// (series 3: the encoder feedback captions,) ramps, digital inputs,
// digital outputs, analog input, analog output, PID, protection. The
// reduced model has no analog output or PID captions to visit.
void SchematicModel::guidedStep(SchematicTarget target)
{
    if (!m_guided)
        return;
    using T = SchematicTarget;
    const SchematicPage control = m_twoPage ? SchematicPage::Control : SchematicPage::Single;
    const SchematicPage power = m_twoPage ? SchematicPage::Power : SchematicPage::Single;
    std::optional<ArrowRef> next;
    switch (target) {
    case T::Motor:
        next = ArrowRef {power, 1};
        break;
    case T::Load:
        next = ArrowRef {power, 2};
        break;
    case T::Feedback:
        next = ArrowRef {control, 2};
        break;
    case T::Ramps:
        next = ArrowRef {control, 3};
        break;
    case T::DigitalInputs:
        next = ArrowRef {control, 4};
        break;
    case T::DigitalOutputs:
        next = ArrowRef {control, 5};
        break;
    case T::AnalogInput:
        next = ArrowRef {control, !m_twoPage && reducedModel() ? 8 : 6};
        break;
    case T::AnalogOutput:
        next = ArrowRef {control, 7};
        break;
    case T::Pid:
        next = ArrowRef {control, 8};
        break;
    case T::Protection:
        m_doneOffered = true;
        break;
    }
    setArrow(next);
}

} // namespace Tarvel
