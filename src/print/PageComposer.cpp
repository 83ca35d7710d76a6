#include "PageComposer.h"

#include "SchematicSheet.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPrinter>
#include <QtMath>

namespace Tarvel {

namespace {

// Pages a length needs; a hair over a whole page does not start another.
int pagesFor(double length, double page)
{
    return std::max(1, int(std::ceil(length / page - 1e-6)));
}

} // namespace

PageComposer::PageComposer(const PrintLayout &layout, QList<const SchematicSheet *> sheets)
    : m_layout(layout)
    , m_sheets(std::move(sheets))
{ }

void PageComposer::setUp(QPagedPaintDevice &device) const
{
    device.setPageOrientation(QPageLayout::Landscape);
    device.setPageMargins(m_layout.pageMargins(), m_layout.pageUnit());
}

double PageComposer::bandHeight(const QString &text, const QFont &font, const QPagedPaintDevice &device) const
{
    return text.isEmpty() ? 0 : QFontMetricsF(font, &device).height() * 1.6;
}

PageComposer::Geometry PageComposer::geometry(const QPagedPaintDevice &device) const
{
    const int dpi = device.logicalDpiX();
    const QSizeF paint = device.pageLayout().paintRectPixels(dpi).size();
    const double top = bandHeight(m_layout.header, m_layout.headerFont, device);
    const double bottom = bandHeight(m_layout.footer, m_layout.footerFont, device);
    Geometry g;
    g.area = QRectF(0, top, paint.width(), std::max(1.0, paint.height() - top - bottom));
    const QSizeF original = SchematicSheet::size() / PrintLayout::UnitsPerInch * dpi;
    const QSize counts = m_layout.fullPage ? QSize(1, 1) : QSize(m_layout.pagesAcross, m_layout.pagesDown);
    const QSizeF wanted(g.area.width() * counts.width(), g.area.height() * counts.height());
    switch (m_layout.method) {
    case PrintLayout::OriginalSize:
        g.picture = original;
        break;
    case PrintLayout::Zoom:
        g.picture = original * m_layout.zoom / 100.0;
        break;
    case PrintLayout::FitPages:
        g.picture = wanted;
        break;
    case PrintLayout::FitProportional:
        g.picture = original.scaled(wanted, Qt::KeepAspectRatio);
        break;
    }
    g.pages = QSize(pagesFor(g.picture.width(), g.area.width()), pagesFor(g.picture.height(), g.area.height()));
    return g;
}

QSize PageComposer::pagesPerSheet(const QPagedPaintDevice &device) const
{
    return geometry(device).pages;
}

int PageComposer::pageCount(const QPagedPaintDevice &device) const
{
    const QSize pages = pagesPerSheet(device);
    return int(m_sheets.size()) * pages.width() * pages.height();
}

void PageComposer::paintPage(QPainter &painter, const QPagedPaintDevice &device, int index) const
{
    const Geometry g = geometry(device);
    const int perSheet = g.pages.width() * g.pages.height();
    const SchematicSheet *sheet = m_sheets.value(index / perSheet);
    if (!sheet)
        return;
    const int tile = index % perSheet;
    const int across = tile % g.pages.width();
    const int down = tile / g.pages.width();
    // A picture smaller than its pages stands in their middle.
    const QPointF spare((g.area.width() * g.pages.width() - g.picture.width()) / 2,
        (g.area.height() * g.pages.height() - g.picture.height()) / 2);
    const QPointF origin = g.area.topLeft() + spare - QPointF(across * g.area.width(), down * g.area.height());

    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setClipRect(g.area);
    sheet->paint(painter, QRectF(origin, g.picture));
    painter.restore();

    const QSizeF paint = device.pageLayout().paintRectPixels(device.logicalDpiX()).size();
    painter.save();
    painter.setPen(Qt::black);
    if (!m_layout.header.isEmpty()) {
        painter.setFont(m_layout.headerFont);
        painter.drawText(QRectF(0, 0, paint.width(), g.area.top()), Qt::AlignCenter, m_layout.header);
    }
    if (!m_layout.footer.isEmpty()) {
        painter.setFont(m_layout.footerFont);
        painter.drawText(QRectF(0, g.area.bottom(), paint.width(), paint.height() - g.area.bottom()), Qt::AlignCenter,
            m_layout.footer);
    }
    painter.restore();
}

bool PageComposer::print(QPagedPaintDevice &device, const Proceed &proceed) const
{
    setUp(device);
    const int count = pageCount(device);
    QPainter painter;
    if (!painter.begin(&device))
        return false;
    for (int i = 0; i < count; ++i) {
        if (proceed && !proceed(i + 1, count)) {
            // A printer drops the job; a file is dropped by its writer.
            if (auto *printer = dynamic_cast<QPrinter *>(&device))
                printer->abort();
            painter.end();
            return false;
        }
        if (i > 0)
            device.newPage();
        paintPage(painter, device, i);
    }
    return painter.end();
}

} // namespace Tarvel
