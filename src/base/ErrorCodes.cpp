#include "ErrorCodes.h"

namespace Tarvel::Err {

QString description(int number)
{
    switch (number) {
    case Overflow:
        return QStringLiteral("Overflow");
    case SubscriptOutOfRange:
        return QStringLiteral("Subscript out of range");
    case DivisionByZero:
        return QStringLiteral("Division by zero");
    case TypeMismatch:
        return QStringLiteral("Type mismatch");
    case InternalError:
        return QStringLiteral("Internal error");
    case PermissionDenied:
        return QStringLiteral("Permission denied");
    case FileNotFound:
        return QStringLiteral("File not found");
    case PathFileAccess:
        return QStringLiteral("Path/File access error");
    case PathNotFound:
        return QStringLiteral("Path not found");
    case ObjectNotSet:
        return QStringLiteral("Object variable or With block variable not set");
    case NoSuchControlElement:
        return QStringLiteral("Control array element doesn't exist");
    case InvalidPropertyValue:
        return QStringLiteral("Invalid property value");
    case InvalidArrayIndex:
        return QStringLiteral("Invalid property array index");
    case NoCurrentRecord:
        return QStringLiteral("Either BOF or EOF is True, or the current record has been deleted.");
    case CatalogueNotFound:
        return QStringLiteral("Could not find file.");
    case CatalogueReadOnly:
        return QStringLiteral("Cannot update. Database or object is read-only.");
    case CatalogueQuery:
        return QStringLiteral("Syntax error in query expression.");
    case ObjectClosed:
        return QStringLiteral("Operation is not allowed when the object is closed.");
    case ItemNotFound:
        return QStringLiteral("Item cannot be found in the collection corresponding to the requested name or ordinal.");
    default:
        return QStringLiteral("Application-defined or object-defined error");
    }
}

} // namespace Tarvel::Err
