#include "SchematicElements.h"

#include <span>

namespace Tarvel {

namespace {

struct DigitEntry
{
    int digit;
    const char *text;
    const char *drawing;
};

constexpr DigitEntry FuseDigits[] = {{0, "three-phase circuit breaker", "fuse-0"}, {1, "disconnect", "fuse-1"},
    {2, "fused disconnect", "fuse-2"}, {3, "none", ""}};
constexpr DigitEntry ReactorDigits[] = {{0, "line reactor", "reactor-0"}, {1, "no reactor (plain wires)", "reactor-1"}};
constexpr DigitEntry InputDigits[]
    = {{0, "N.O. toggle / switch", "input-0"}, {3, "N.C. toggle / switch", "input-3"}, {4, "none", ""}};
constexpr DigitEntry BrakeFrameDigits[] = {{0, "not selected", "brake-resistor"}, {1, "selected", "brake-resistor"}};
constexpr DigitEntry BrakeUnitDigits[]
    = {{0, "no braking resistor or unit", "brake-0"}, {1, "one dynamic brake unit with resistor", "brake-1"},
        {2, "two dynamic brake units in parallel", "brake-2"}, {3, "braking resistor only", "brake-3"}};
constexpr DigitEntry FeedbackDigits[] = {{0, "no option board", "feedback-0"},
    {1, "option board with encoder", "feedback-1"}, {2, "option board with encoder and RPM meter", "feedback-2"}};
constexpr DigitEntry OutputTypeDigits[] = {{0, "open collector", ""}, {1, "totem pole", ""}};
constexpr DigitEntry SupplyDigits[] = {{0, "5 V", ""}, {1, "12 V", ""}};
constexpr DigitEntry Sw1Digits[] = {{0, "source", ""}, {1, "sink", ""}};

std::span<const DigitEntry> table(ElementKind kind)
{
    switch (kind) {
    case ElementKind::Fuse:
        return FuseDigits;
    case ElementKind::Reactor:
        return ReactorDigits;
    case ElementKind::Input:
        return InputDigits;
    case ElementKind::BrakeFrame:
        return BrakeFrameDigits;
    case ElementKind::BrakeUnit:
        return BrakeUnitDigits;
    case ElementKind::Feedback:
        return FeedbackDigits;
    case ElementKind::OutputType:
        return OutputTypeDigits;
    case ElementKind::Supply:
        return SupplyDigits;
    case ElementKind::Sw1:
        return Sw1Digits;
    }
    return {};
}

const DigitEntry *find(ElementKind kind, int digit)
{
    for (const DigitEntry &e : table(kind))
        if (e.digit == digit)
            return &e;
    return nullptr;
}

QList<ElementSlot> singleSlots()
{
    using K = ElementKind;
    const auto page = SchematicPage::Single;
    QList<ElementSlot> s {{K::Fuse, page}, {K::Reactor, page}};
    for (int n = 1; n <= 6; ++n)
        s.append({K::Input, page, n});
    s.append({K::BrakeFrame, page});
    return s;
}

QList<ElementSlot> twoPageSlots()
{
    using K = ElementKind;
    const auto power = SchematicPage::Power;
    QList<ElementSlot> s {{K::BrakeUnit, power}, {K::Fuse, power}, {K::Reactor, power}, {K::Feedback, power},
        {K::OutputType, power}, {K::Supply, power}, {K::Sw1, SchematicPage::Control}};
    for (int n = 1; n <= 11; ++n)
        s.append({K::Input, SchematicPage::Control, n});
    return s;
}

} // namespace

QString ElementSlot::name() const
{
    switch (kind) {
    case ElementKind::Fuse:
        return QStringLiteral("imgFuse");
    case ElementKind::Reactor:
        return QStringLiteral("imgReactor");
    case ElementKind::Input:
        return QStringLiteral("imgDI(%1)").arg(input);
    case ElementKind::BrakeFrame:
    case ElementKind::BrakeUnit:
        return QStringLiteral("imgBrakeResistor");
    case ElementKind::Feedback:
        return QStringLiteral("imgFB");
    case ElementKind::OutputType:
        return QStringLiteral("imgOC");
    case ElementKind::Supply:
        return QStringLiteral("imgVolts");
    case ElementKind::Sw1:
        return QStringLiteral("imgSW1");
    }
    return {};
}

const QList<ElementSlot> &SchematicElements::positions(bool twoPage)
{
    static const QList<ElementSlot> single = singleSlots();
    static const QList<ElementSlot> two = twoPageSlots();
    return twoPage ? two : single;
}

bool SchematicElements::knows(ElementKind kind, int digit)
{
    return find(kind, digit) != nullptr;
}

QList<int> SchematicElements::digits(ElementKind kind)
{
    QList<int> list;
    for (const DigitEntry &e : table(kind))
        list << e.digit;
    return list;
}

QString SchematicElements::stateText(ElementKind kind, int digit)
{
    const DigitEntry *e = find(kind, digit);
    return e ? QString::fromLatin1(e->text) : QString();
}

QString SchematicElements::drawing(ElementKind kind, int digit)
{
    const DigitEntry *e = find(kind, digit);
    return e ? QString::fromLatin1(e->drawing) : QString();
}

} // namespace Tarvel
