#include "SymbolChoices.h"

#include "SchematicModel.h"

namespace Tarvel {

QString SymbolChoices::objectName(PickerKind kind)
{
    switch (kind) {
    case PickerKind::Input:
        return QStringLiteral("frmSchematicOptions");
    case PickerKind::Fuse:
        return QStringLiteral("frmSchematicOptions2");
    case PickerKind::Reactor:
        return QStringLiteral("frmSchematicOptions3");
    }
    return {};
}

QString SymbolChoices::caption(PickerKind kind)
{
    return kind == PickerKind::Fuse ? QStringLiteral("Toolbox") : QStringLiteral(" Toolbox");
}

ElementKind SymbolChoices::element(PickerKind kind)
{
    switch (kind) {
    case PickerKind::Input:
        return ElementKind::Input;
    case PickerKind::Fuse:
        return ElementKind::Fuse;
    case PickerKind::Reactor:
        return ElementKind::Reactor;
    }
    return ElementKind::Input;
}

const QList<SymbolChoice> &SymbolChoices::choices(PickerKind kind)
{
    static const QList<SymbolChoice> inputs {{0, QStringLiteral("N.O. Toggle / Switch")},
        {3, QStringLiteral("N.C. Toggle / Switch")}, {4, QStringLiteral("None")}};
    static const QList<SymbolChoice> fuses {{0, QStringLiteral("3 Phase Circuit Breaker")},
        {1, QStringLiteral("Disconnect")}, {2, QStringLiteral("Fused Disconnect")}};
    static const QList<SymbolChoice> reactors {
        {0, QStringLiteral("Line Reactor")}, {1, QStringLiteral("No Line Reactor")}};
    switch (kind) {
    case PickerKind::Input:
        return inputs;
    case PickerKind::Fuse:
        return fuses;
    case PickerKind::Reactor:
        return reactors;
    }
    return inputs;
}

bool SymbolChoices::pick(SchematicModel &model, PickerKind kind, int digit, int input)
{
    return model.setDigit(element(kind), kind == PickerKind::Input ? input : 0, digit);
}

} // namespace Tarvel
