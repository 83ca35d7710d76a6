#include "SymbolPickerDialog.h"

#include "model/AppContext.h"
#include "print/SchematicPictures.h"
#include "schematic/SchematicModel.h"
#include "ui/common/AppIcons.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QSvgRenderer>
#include <QToolButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

// A choice's drawing at the screen's pixel density; "None" is an empty
// square.
QIcon choiceIcon(const QString &drawing, QSize size, qreal ratio)
{
    QPixmap pixmap(size * ratio);
    pixmap.setDevicePixelRatio(ratio);
    pixmap.fill(Qt::white);
    if (!drawing.isEmpty()) {
        QSvgRenderer renderer(SchematicPictures::loadCustomPicture(drawing));
        QPainter painter(&pixmap);
        QSizeF fit = renderer.viewBoxF().size();
        fit.scale(QSizeF(size) * 0.9, Qt::KeepAspectRatio);
        renderer.render(
            &painter, QRectF(QPointF((size.width() - fit.width()) / 2, (size.height() - fit.height()) / 2), fit));
    }
    return QIcon(pixmap);
}

const char *clickHandler(PickerKind kind)
{
    switch (kind) {
    case PickerKind::Input:
        return "imgDI_Click";
    case PickerKind::Fuse:
        return "imgFuse_Click";
    case PickerKind::Reactor:
        return "imgReactor_Click";
    }
    return "";
}

} // namespace

SymbolPickerDialog::SymbolPickerDialog(
    AppContext &ctx, SchematicModel &model, PickerKind kind, int input, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_model(model)
    , m_kind(kind)
    , m_input(input)
{
    setObjectName(SymbolChoices::objectName(kind));
    setWindowTitle(SymbolChoices::caption(kind));
    setModal(true);
    m_ctx.trap(location("Form_Load"), [&] {
        setWindowIcon(AppIcons::application());
        auto *layout = new QVBoxLayout(this);
        auto *row = new QHBoxLayout;
        const QSize iconSize = kind == PickerKind::Input ? QSize(96, 40) : QSize(80, 80);
        const ElementKind element = SymbolChoices::element(kind);
        for (const SymbolChoice &c : SymbolChoices::choices(kind)) {
            auto *button = new QToolButton(this);
            button->setObjectName(QStringLiteral("%1(%2)")
                                      .arg(kind == PickerKind::Input     ? "imgDI"
                                              : kind == PickerKind::Fuse ? "imgFuse"
                                                                         : "imgReactor")
                                      .arg(c.digit));
            button->setProperty("digit", c.digit);
            button->setToolTip(c.toolTip);
            button->setText(c.toolTip);
            button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
            button->setIconSize(iconSize);
            button->setIcon(choiceIcon(SchematicElements::drawing(element, c.digit), iconSize, devicePixelRatioF()));
            button->setCheckable(true);
            button->setMinimumWidth(iconSize.width() + 40);
            connect(button, &QToolButton::clicked, this, [this, d = c.digit] { choose(d); });
            row->addWidget(button);
            m_choices << button;
        }
        layout->addLayout(row);
        auto *done = new QPushButton(QStringLiteral("Done"), this);
        done->setObjectName(QStringLiteral("cmdDone"));
        connect(
            done, &QPushButton::clicked, this, [this] { m_ctx.trap(location("cmdDone_Click"), [&] { accept(); }); });
        layout->addWidget(done, 0, Qt::AlignRight);
        syncChecked();
    });
}

QString SymbolPickerDialog::location(const char *handler) const
{
    return QStringLiteral("frmSchematicOptions, ") + QLatin1String(handler);
}

QToolButton *SymbolPickerDialog::choice(int digit) const
{
    for (QToolButton *b : m_choices)
        if (b->property("digit").toInt() == digit)
            return b;
    return nullptr;
}

void SymbolPickerDialog::choose(int digit)
{
    m_ctx.trap(location(clickHandler(m_kind)), [&] { SymbolChoices::pick(m_model, m_kind, digit, m_input); });
    syncChecked();
}

// The frame around the choice the element shows now.
void SymbolPickerDialog::syncChecked()
{
    const int current = m_model.digit(SymbolChoices::element(m_kind), m_kind == PickerKind::Input ? m_input : 0);
    for (QToolButton *b : m_choices)
        b->setChecked(b->property("digit").toInt() == current);
}

} // namespace Tarvel
