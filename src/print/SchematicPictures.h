#pragma once

#include <QByteArray>
#include <QRectF>
#include <QString>

namespace Tarvel {

// The drawings of the schematic windows: one SVG per element state and per
// fixed symbol, in the program's resources (":/schematic/<name>.svg").
class SchematicPictures
{
public:
    // LoadCustomPicture: the drawing's SVG text. A drawing that is missing
    // raises a trapped error 53, reported by the caller's trap; the
    // element then stays as it was.
    static QByteArray loadCustomPicture(const QString &name);
    // The drawing's own coordinate box (its viewBox).
    static QRectF viewBox(const QByteArray &svg);
    // What lies inside the drawing's root element, to be placed into a
    // larger drawing.
    static QByteArray body(const QByteArray &svg);
};

} // namespace Tarvel
