#include "EditorLayout.h"

#include <array>

namespace Tarvel {

namespace {

struct Range
{
    int first;
    int last;
    TabPos tabs;
};

// The index ranges of the sub-tabs. They are wider than the captions say
// (P 0.00 - P 0.04 takes indices 0 to 6) and leave gaps, as the drive
// family grew group by group.
constexpr std::array<Range, 23> ranges {{
    {0, 6, {0, 0}},
    {100, 111, {1, 0}},
    {112, 122, {1, 1}},
    {200, 210, {2, 0}},
    {300, 310, {3, 0}},
    {311, 320, {3, 1}},
    {321, 330, {3, 2}},
    {400, 410, {4, 0}},
    {411, 418, {4, 1}},
    {500, 512, {5, 0}},
    {513, 525, {5, 1}},
    {600, 612, {6, 0}},
    {613, 625, {6, 1}},
    {626, 637, {6, 2}},
    {700, 711, {7, 0}},
    {712, 723, {7, 1}},
    {724, 734, {7, 2}},
    {800, 812, {8, 0}},
    {900, 912, {9, 0}},
    {913, 925, {9, 1}},
    {926, 938, {9, 2}},
    {939, 949, {9, 3}},
    {952, 1098, {10, 0}},
}};

} // namespace

QString EditorLayout::groupCaption(int group)
{
    return QStringLiteral("P %1.xx").arg(group);
}

QString EditorLayout::banner(int group)
{
    static const std::array<QString, GroupCount> banners {
        QStringLiteral("MOTOR PARAMETERS"),
        QStringLiteral("RAMPS"),
        QStringLiteral("VOLTS / HERTZ SETTINGS"),
        QStringLiteral("DIGITAL PARAMETERS"),
        QStringLiteral("ANALOG PARAMETERS"),
        QStringLiteral("PRESETS"),
        QStringLiteral("PROTECTION"),
        QStringLiteral("PID CONTROL"),
        QStringLiteral("DISPLAY"),
        QStringLiteral("COMMUNICATIONS"),
        QStringLiteral("ENCODER FEEDBACK"),
    };
    return group >= 0 && group < GroupCount ? banners[size_t(group)] : QString();
}

const QStringList &EditorLayout::subTabCaptions(int group)
{
    static const std::array<QStringList, GroupCount> captions {
        QStringList {QStringLiteral("P 0.00 - P 0.04")},
        QStringList {QStringLiteral("P 1.00 - P 1.11"), QStringLiteral("P 1.12 - P 1.22")},
        QStringList {QStringLiteral("P 2.00 - P 2.10")},
        QStringList {
            QStringLiteral("P 3.00 - P 3.10"), QStringLiteral("P 3.11 - P 3.20"), QStringLiteral("P 3.21 - P 3.31")},
        QStringList {QStringLiteral("P 4.00 - P 4.10"), QStringLiteral("P 4.11 - 4.18")},
        QStringList {QStringLiteral("P 5.00 - P 5.12"), QStringLiteral("P 5.13 - P 5.15")},
        QStringList {
            QStringLiteral("P 6.00 - P 6.12"), QStringLiteral("P 6.13 - P 6.25"), QStringLiteral("P 6.26 - P 6.36")},
        QStringList {
            QStringLiteral("P 7.00 - P 7.11"), QStringLiteral("P 7.12 - P 7.23"), QStringLiteral("P 7.24 - P 7.28")},
        QStringList {QStringLiteral("P 8.00 - P 8.02")},
        QStringList {QStringLiteral("P 9.00 - P 9.12"), QStringLiteral("P 9.13 - P 9.25"),
            QStringLiteral("P 9.26 - P 9.38"), QStringLiteral("P 9.39 - P 9.42")},
        QStringList {QStringLiteral("P 10.00 - P 10.05")},
    };
    static const QStringList none;
    return group >= 0 && group < GroupCount ? captions[size_t(group)] : none;
}

std::optional<TabPos> EditorLayout::focusTabs(int index)
{
    for (const Range &r : ranges)
        if (index >= r.first && index <= r.last)
            return r.tabs;
    return std::nullopt;
}

TabPos EditorLayout::placement(int index)
{
    if (const std::optional<TabPos> tabs = focusTabs(index))
        return *tabs;
    TabPos pos {qBound(0, index / 100, GroupCount - 1), 0};
    for (const Range &r : ranges)
        if (r.tabs.group == pos.group && r.first <= index)
            pos.sub = r.tabs.sub;
    return pos;
}

} // namespace Tarvel
