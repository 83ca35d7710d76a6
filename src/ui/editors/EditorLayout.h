#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace Tarvel {

// Where the detailed editor shows a parameter: outer tab = group, inner
// tab counted from 0 within the group.
struct TabPos
{
    int group = 0;
    int sub = 0;
    bool operator==(const TabPos &) const = default;
};

// The fixed arrangement of the detailed editor: the group tabs, their
// banners and sub-tabs, and which sub-tab holds which parameter index.
class EditorLayout
{
public:
    static constexpr int GroupCount = 11;

    // "P 0.xx" .. "P 10.xx"
    static QString groupCaption(int group);
    static QString banner(int group);
    static const QStringList &subTabCaptions(int group);

    // The tabs brought to the front when a field of this index gets the
    // focus; none for indices between the ranges (7, 331, 950, ...), which
    // leave the tabs as they are.
    static std::optional<TabPos> focusTabs(int index);
    // The sub-tab a field is drawn on: its focus range, or for an index
    // between ranges the last sub-tab of its group that starts before it.
    static TabPos placement(int index);
};

} // namespace Tarvel
