#include "SchematicView.h"

#include "model/AppContext.h"

#include <QMouseEvent>
#include <QPainter>

namespace Tarvel {

SchematicView::SchematicView(AppContext &ctx, const SchematicModel &model, SchematicPage page, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_model(model)
    , m_page(page)
{
    setMouseTracking(true);
    setMinimumSize(550, 400);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

// Form_Paint: the page with the editor's values of this moment.
void SchematicView::draw() const
{
    m_renderer.reset();
    const QString form = m_page == SchematicPage::Control ? QStringLiteral("frmSchematicQX3, Form_Paint")
                                                          : QStringLiteral("frmSchematic, Form_Paint");
    m_ctx.trap(form, [&] { m_renderer = std::make_unique<SchematicRenderer>(m_ctx, m_model, m_page); });
}

const SchematicRenderer *SchematicView::renderer() const
{
    if (!m_renderer)
        draw();
    return m_renderer.get();
}

void SchematicView::paintEvent(QPaintEvent *)
{
    draw();
    QPainter painter(this);
    painter.fillRect(rect(), QColor(0xe9, 0xe9, 0xe4));
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setRenderHint(QPainter::TextAntialiasing);
    if (m_renderer)
        m_renderer->paint(painter, rect());
}

QPointF SchematicView::toWidget(const QPointF &pagePoint) const
{
    const QRectF place = SchematicRenderer::placement(rect());
    const double scale = place.width() / SchematicRenderer::pageSize().width();
    return place.topLeft() + pagePoint * scale;
}

const SchematicHit *SchematicView::hitAt(const QPointF &widgetPoint) const
{
    const QRectF place = SchematicRenderer::placement(rect());
    const double scale = place.width() / SchematicRenderer::pageSize().width();
    const SchematicRenderer *drawn = renderer();
    return drawn ? drawn->hitAt((widgetPoint - place.topLeft()) / scale) : nullptr;
}

void SchematicView::mouseMoveEvent(QMouseEvent *event)
{
    const SchematicHit *hit = hitAt(event->position());
    if (hit && (!hit->toolTip.isEmpty() || hit->caption == 38)) {
        setCursor(Qt::UpArrowCursor);
        setToolTip(hit->toolTip);
    } else {
        unsetCursor();
        setToolTip(QString());
    }
}

void SchematicView::mousePressEvent(QMouseEvent *event)
{
    if (event->button() != Qt::LeftButton)
        return;
    if (const SchematicHit *hit = hitAt(event->position())) {
        const SchematicHit copy = *hit; // the handler may repaint
        Q_EMIT clicked(copy);
    }
}

} // namespace Tarvel
