#include "SchematicPictures.h"

#include "base/ErrorCodes.h"
#include "base/TrappedError.h"

#include <QFile>
#include <QRegularExpression>

// Resources of a static library are registered by name once.
static void initSchematicResources()
{
    Q_INIT_RESOURCE(schematic);
}

namespace Tarvel {

QByteArray SchematicPictures::loadCustomPicture(const QString &name)
{
    static const bool registered = (initSchematicResources(), true);
    Q_UNUSED(registered);
    QFile file(QStringLiteral(":/schematic/") + name + QStringLiteral(".svg"));
    if (!file.open(QIODevice::ReadOnly))
        throw TrappedError(Err::FileNotFound, QStringLiteral("Drawing not found: ") + name);
    return file.readAll();
}

QRectF SchematicPictures::viewBox(const QByteArray &svg)
{
    static const QRegularExpression box(QStringLiteral("viewBox=\"([-\\d.]+) ([-\\d.]+) ([\\d.]+) ([\\d.]+)\""));
    const QRegularExpressionMatch m = box.match(QString::fromUtf8(svg));
    if (!m.hasMatch())
        return {};
    return {m.captured(1).toDouble(), m.captured(2).toDouble(), m.captured(3).toDouble(), m.captured(4).toDouble()};
}

QByteArray SchematicPictures::body(const QByteArray &svg)
{
    const qsizetype open = svg.indexOf("<svg");
    const qsizetype start = open < 0 ? -1 : svg.indexOf('>', open);
    const qsizetype end = svg.lastIndexOf("</svg>");
    if (start < 0 || end < start)
        return {};
    return svg.mid(start + 1, end - start - 1);
}

} // namespace Tarvel
