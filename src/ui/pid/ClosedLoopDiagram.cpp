#include "ClosedLoopDiagram.h"

#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

// The picture lives in this library's resources, which a static library
// must register itself.
static void initPidResources()
{
    Q_INIT_RESOURCE(pid);
}

namespace Tarvel {

namespace {

// The picture, scaled to the window with its proportions kept.
class DiagramPicture : public QWidget
{
public:
    DiagramPicture(QSvgRenderer *renderer, QWidget *parent)
        : QWidget(parent)
        , m_renderer(renderer)
    {
        setMinimumSize(renderer->defaultSize());
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        QSizeF size = m_renderer->defaultSize();
        size.scale(QSizeF(this->size()), Qt::KeepAspectRatio);
        m_renderer->render(&painter, QRectF(QPointF((width() - size.width()) / 2, 0), size));
    }

private:
    QSvgRenderer *m_renderer;
};

} // namespace

const QString ClosedLoopDiagram::Resource = QStringLiteral(":/pid/ClosedLoopDiagram.svg");

ClosedLoopDiagram::ClosedLoopDiagram(AppContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_renderer(nullptr)
{
    setObjectName(QStringLiteral("frmClosedLoopDiagram"));
    ctx.trap(QStringLiteral("frmClosedLoopDiagram, Form_Load"), [&] {
        initPidResources();
        setWindowTitle(QStringLiteral("  Closed Loop Tuning Diagram"));
        setWindowIcon(AppIcons::application());
        m_renderer = new QSvgRenderer(Resource, this);
        auto *picture = new DiagramPicture(m_renderer, this);
        picture->setObjectName(QStringLiteral("imgDiagram"));
        auto *close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("cmdClose"));
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        auto *layout = new QVBoxLayout(this);
        layout->addWidget(picture, 1);
        layout->addWidget(close, 0, Qt::AlignRight);
    });
}

bool ClosedLoopDiagram::pictureLoaded() const
{
    return m_renderer && m_renderer->isValid();
}

} // namespace Tarvel
