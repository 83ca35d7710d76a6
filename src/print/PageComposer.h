#pragma once

#include "PrintLayout.h"

#include <QList>
#include <QRectF>
#include <QSize>

#include <functional>

class QPagedPaintDevice;
class QPainter;

namespace Tarvel {

class SchematicSheet;

// Lays sheets out on the pages of a printer or a PDF file as a layout says:
// each sheet scaled by the layout's method and cut into as many pages
// across and down as it then needs, the header above and the footer below
// on every page. No widgets: the windows and the command line print alike.
class PageComposer
{
public:
    PageComposer(const PrintLayout &layout, QList<const SchematicSheet *> sheets);

    // Landscape paper and the layout's margins. Before painting begins.
    void setUp(QPagedPaintDevice &device) const;
    // The pages one sheet takes across (width) and down (height).
    QSize pagesPerSheet(const QPagedPaintDevice &device) const;
    int pageCount(const QPagedPaintDevice &device) const;
    // One page (0-based, sheet by sheet, row by row) onto a painter that is
    // active on the device.
    void paintPage(QPainter &painter, const QPagedPaintDevice &device, int index) const;

    // Called before each page with its number (1-based) and the count;
    // false stops the job there.
    using Proceed = std::function<bool(int page, int count)>;
    // The whole document in one job; false when it could not start or was
    // stopped.
    bool print(QPagedPaintDevice &device, const Proceed &proceed = {}) const;

private:
    struct Geometry
    {
        QRectF area; // where the picture goes on each page
        QSizeF picture; // the scaled sheet
        QSize pages; // across, down
    };
    Geometry geometry(const QPagedPaintDevice &device) const;
    double bandHeight(const QString &text, const QFont &font, const QPagedPaintDevice &device) const;

    PrintLayout m_layout;
    QList<const SchematicSheet *> m_sheets;
};

} // namespace Tarvel
