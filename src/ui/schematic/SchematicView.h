#pragma once

#include "print/SchematicRenderer.h"

#include <QWidget>

#include <memory>

namespace Tarvel {

class AppContext;

// The drawing area of a schematic window: the page drawn to the widget's
// size on every repaint (with the detailed editor's values of that moment),
// the up-arrow pointer and tooltip over what answers a click.
class SchematicView : public QWidget
{
    Q_OBJECT
public:
    SchematicView(AppContext &ctx, const SchematicModel &model, SchematicPage page, QWidget *parent = nullptr);

    // The page as drawn last (drawn now if never); null when it could not
    // be drawn (reported through the trap).
    const SchematicRenderer *renderer() const;
    // Where a point of the page lies on the widget.
    QPointF toWidget(const QPointF &pagePoint) const;

    QSize sizeHint() const override { return {1100, 800}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int w) const override { return w * 8 / 11; }

Q_SIGNALS:
    void clicked(const Tarvel::SchematicHit &hit);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    const SchematicHit *hitAt(const QPointF &widgetPoint) const;

    void draw() const;

    AppContext &m_ctx;
    const SchematicModel &m_model;
    SchematicPage m_page;
    mutable std::unique_ptr<SchematicRenderer> m_renderer;
};

} // namespace Tarvel
