#pragma once

#include "SchematicRenderer.h"
#include "TitleBlock.h"

#include <QByteArray>
#include <QSizeF>

class QPainter;

namespace Tarvel {

// One printed sheet (the previews' picMain): a page of the wiring diagram
// as it stood when the sheet was made, with the title block below it, in
// sheet units, so the preview and the printed pages show the same picture
// at any scale. The title block is drawn as text (a PDF's text holds it).
class SchematicSheet
{
public:
    SchematicSheet(const AppContext &ctx, const SchematicModel &model, SchematicPage page, TitleBlock block);

    static QSizeF size();
    SchematicPage page() const { return m_page; }
    const TitleBlock &titleBlock() const { return m_block; }
    void setTitleBlock(const TitleBlock &block) { m_block = block; }

    // The sheet stretched onto target.
    void paint(QPainter &painter, const QRectF &target) const;

private:
    void paintTitleBlock(QPainter &painter) const;

    SchematicPage m_page;
    QByteArray m_drawing; // the diagram as an SVG document
    TitleBlock m_block;
};

} // namespace Tarvel
