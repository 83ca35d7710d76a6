#pragma once

#include <QString>

namespace Tarvel::Err {

// Error numbers written to the error log. Each condition keeps one fixed
// number, so logs from every version of Tarvel read alike; catalogue errors
// have numbers of their own in the 3000s.
enum Number : int {
    Overflow = 6,
    SubscriptOutOfRange = 9,
    DivisionByZero = 11,
    TypeMismatch = 13,
    InternalError = 51,
    PermissionDenied = 70,
    FileNotFound = 53,
    PathFileAccess = 75,
    PathNotFound = 76,
    ObjectNotSet = 91,
    NoSuchControlElement = 340,
    InvalidPropertyValue = 380,
    InvalidArrayIndex = 381,
    NoCurrentRecord = 3021,
    CatalogueNotFound = 3024,
    CatalogueReadOnly = 3027,
    CatalogueQuery = 3075,
    ItemNotFound = 3265,
    ObjectClosed = 3704,
    EthernetRoute = 9999, // an item of the Ethernet route was refused or lost
};

// The description the log shows for a number when the raiser gives none.
QString description(int number);

} // namespace Tarvel::Err
