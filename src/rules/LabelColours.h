#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace Tarvel {

// The colour a parameter label takes for a value: red (255) when the value
// differs from the catalogue default, black (0) when it equals it. Without a
// default there is nothing to compare with and the label keeps its colour.
class LabelColours
{
public:
    // A value compared with the default in single precision.
    static std::optional<quint32> forValue(const QVariant &defaultValue, float value);
    // A value given as text: numeric texts compare as numbers, others as
    // text with the default's number text.
    static std::optional<quint32> forText(const QVariant &defaultValue, const QString &text);
};

} // namespace Tarvel
