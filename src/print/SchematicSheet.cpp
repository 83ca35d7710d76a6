#include "SchematicSheet.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QSvgRenderer>

namespace Tarvel {

namespace {

constexpr double Width = 1100;
constexpr double Height = 900;
// The title block's frame below the diagram's 800 units.
const QRectF Block(20, 812, 1060, 76);

QFont pixelFont(int pixels, bool bold)
{
    QFont font(QStringLiteral("Sans Serif"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace

SchematicSheet::SchematicSheet(const AppContext &ctx, const SchematicModel &model, SchematicPage page, TitleBlock block)
    : m_page(page)
    , m_drawing(SchematicRenderer(ctx, model, page, SchematicRenderer::Purpose::Paper).svgDocument())
    , m_block(std::move(block))
{ }

QSizeF SchematicSheet::size()
{
    return {Width, Height};
}

void SchematicSheet::paint(QPainter &painter, const QRectF &target) const
{
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / Width, target.height() / Height);
    painter.fillRect(QRectF(0, 0, Width, Height), Qt::white);
    const QSizeF page = SchematicRenderer::pageSize();
    QSvgRenderer(m_drawing).render(&painter, QRectF(QPointF(0, 0), page));
    paintTitleBlock(painter);
    painter.restore();
}

// Five cells in a row, each with its label above its text; a text too long
// for its cell ends in an ellipsis.
void SchematicSheet::paintTitleBlock(QPainter &painter) const
{
    struct Cell
    {
        const char *label;
        const QString &text;
        double width;
    };
    const Cell cells[] = {{"Company:", m_block.company, 215}, {"Project:", m_block.project, 215},
        {"Drawing:", m_block.caption, 330}, {"Date:", m_block.date, 130}, {"Configuration:", m_block.configName, 170}};
    const QFont label = pixelFont(11, false);
    painter.setPen(QPen(Qt::black, 1.6));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(Block);
    double x = Block.left();
    for (const Cell &cell : cells) {
        if (x > Block.left()) {
            painter.setPen(QPen(Qt::black, 1.2));
            painter.drawLine(QPointF(x, Block.top()), QPointF(x, Block.bottom()));
        }
        painter.setPen(QColor(0x55, 0x55, 0x55));
        painter.setFont(label);
        painter.drawText(QPointF(x + 8, Block.top() + 20), QString::fromLatin1(cell.label));
        painter.setPen(Qt::black);
        const double room = cell.width - 16;
        QFont value = pixelFont(16, true);
        while (value.pixelSize() > 11 && QFontMetricsF(value).horizontalAdvance(cell.text) > room)
            value.setPixelSize(value.pixelSize() - 1);
        painter.setFont(value);
        painter.drawText(
            QPointF(x + 8, Block.top() + 54), QFontMetricsF(value).elidedText(cell.text, Qt::ElideRight, room));
        x += cell.width;
    }
}

} // namespace Tarvel
