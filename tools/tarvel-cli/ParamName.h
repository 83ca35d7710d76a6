#pragma once

#include <QString>

#include <optional>

namespace Tarvel {

// Parameter names as users write them: "P9.41", "P10.05" (group, a point,
// two digits; the P in either case).
class ParamName
{
public:
    // The parameter index (group * 100 + number), or none when the text is
    // not a parameter name or lies beyond the last group.
    static std::optional<int> parse(const QString &name);
};

} // namespace Tarvel
