#include "LabelColours.h"

#include "Resolution.h"
#include "model/EditorFields.h"
#include "base/NumberText.h"

namespace Tarvel {

std::optional<quint32> LabelColours::forValue(const QVariant &defaultValue, float value)
{
    if (defaultValue.isNull() || !defaultValue.isValid())
        return std::nullopt;
    // Entries are single-precision values while the catalogue holds doubles;
    // comparing in the entry's precision keeps "2.7" equal to a default of
    // 2.7, which in double precision it is not.
    return value == Resolution::single(defaultValue.toDouble()) ? Colour::Black : Colour::Red;
}

std::optional<quint32> LabelColours::forText(const QVariant &defaultValue, const QString &text)
{
    if (defaultValue.isNull() || !defaultValue.isValid())
        return std::nullopt;
    if (NumberText::isNumeric(text))
        return forValue(defaultValue, Resolution::singleValue(text));
    return text == NumberText::variant(defaultValue) ? Colour::Black : Colour::Red;
}

} // namespace Tarvel
