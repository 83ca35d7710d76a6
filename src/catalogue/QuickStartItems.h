#pragma once

#include <QVector>

namespace Tarvel {

// The parameters a first start-up of a drive really needs, group by group:
// the wizard marks them with green dots in the detailed editor and walks the
// groups in this order; a command-line tool may list them the same way.
class QuickStartItems
{
public:
    // The groups with quick-start items, in the order the wizard takes them:
    // 0 motor, 1 ramps, 2 volts/hertz, 3 digital, 4 analog, 7 PID, 8 display.
    static const QVector<int> &groups();
    // The parameter indices of one group's items, ascending; empty for a
    // group without any.
    static const QVector<int> &items(int group);
    static bool contains(int index);
};

} // namespace Tarvel
