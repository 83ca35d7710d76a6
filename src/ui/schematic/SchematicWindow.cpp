#include "SchematicWindow.h"

#include "SchematicView.h"
#include "SymbolPickerDialog.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "print/PrintPreviewWindow.h"
#include "print/TitleBlockDialog.h"
#include "schematic/SchematicCaptions.h"
#include "ui/common/AppIcons.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

QString formName(SchematicPage page)
{
    switch (page) {
    case SchematicPage::Single:
        return QStringLiteral("frmSchematic");
    case SchematicPage::Control:
        return QStringLiteral("frmSchematicQX3");
    case SchematicPage::Power:
        return QStringLiteral("frmSchematicQX3_2");
    }
    return {};
}

} // namespace

SchematicWindow::SchematicWindow(
    AppContext &ctx, SchematicModel &model, SchematicPage page, SchematicWindowHooks hooks, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_model(model)
    , m_page(page)
    , m_hooks(std::move(hooks))
    , m_view(new SchematicView(ctx, model, page, this))
{
    setObjectName(formName(page));
    setWindowTitle(TitleBlock::windowCaption(page));
    setWindowIcon(AppIcons::application());
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_view, 1);
    auto *row = new QHBoxLayout;
    layout->addLayout(row);
    m_ctx.trap(location(QStringLiteral("Form_Load")), [&] {
        m_model.load();
        if (page != SchematicPage::Power) {
            connect(addButton("cmdStartWiz", QStringLiteral("Start Wizards")), &QPushButton::clicked, this, [this] {
                m_ctx.trap(location(QStringLiteral("cmdStartWiz_Click")), [&] {
                    m_model.startGuided();
                    if (m_page == SchematicPage::Control) {
                        m_ctx.pause(0.25);
                        m_hooks.showPage(SchematicPage::Power);
                    }
                });
            });
            connect(addButton("cmdWizDone", QStringLiteral("Done With Wizards")), &QPushButton::clicked, this,
                [this] { m_ctx.trap(location(QStringLiteral("cmdWizDone_Click")), [&] { m_model.endGuided(); }); });
        }
        connect(addButton("cmdHotSpots", QStringLiteral("Show HotSpots")), &QPushButton::clicked, this, [this] {
            m_ctx.trap(location(QStringLiteral("cmdHotSpots_Click()")),
                [&] { m_model.setHotSpotsShown(!m_model.hotSpotsShown()); });
        });
        if (page != SchematicPage::Power)
            connect(addButton("cmdPreview", QStringLiteral("Print Preview")), &QPushButton::clicked, this,
                &SchematicWindow::printPreview);
        if (page != SchematicPage::Single) {
            const bool first = page == SchematicPage::Control;
            QPushButton *other = addButton(
                first ? "cmdPage2" : "cmdPage1", first ? QStringLiteral("Page 2 >>") : QStringLiteral("<< Page 1"));
            connect(other, &QPushButton::clicked, this, [this, first] {
                m_ctx.trap(location(first ? QStringLiteral("cmdPage2_Click") : QStringLiteral("cmdPage1_Click")),
                    [&] { m_hooks.showPage(first ? SchematicPage::Power : SchematicPage::Control); });
            });
        }
        m_ctx.editor.setTag(QStringLiteral("3"));
    });
    row->addStretch(1);
    for (QPushButton *b : m_buttons)
        row->addWidget(b);
    connect(m_view, &SchematicView::clicked, this, &SchematicWindow::click);
    connect(&m_model, &SchematicModel::changed, this, &SchematicWindow::sync);
    // Form_Paint: the captions follow the editor's values.
    connect(&m_ctx.editor, &EditorForm::changed, m_view, qOverload<>(&QWidget::update));
    sync();
}

QPushButton *SchematicWindow::addButton(const char *name, const QString &caption)
{
    auto *b = new QPushButton(caption, this);
    b->setObjectName(QString::fromLatin1(name));
    m_buttons << b;
    return b;
}

QPushButton *SchematicWindow::button(const QString &name) const
{
    for (QPushButton *b : m_buttons)
        if (b->objectName() == name)
            return b;
    return nullptr;
}

// Page 2's handlers report under the one-page window's name.
QString SchematicWindow::location(const QString &handler) const
{
    return (m_page == SchematicPage::Control ? QStringLiteral("frmSchematicQX3, ") : QStringLiteral("frmSchematic, "))
        + handler;
}

void SchematicWindow::sync()
{
    if (QPushButton *b = button(QStringLiteral("cmdHotSpots")))
        b->setText(m_model.hotSpotsShown() ? QStringLiteral("Hide HotSpots") : QStringLiteral("Show HotSpots"));
    if (QPushButton *b = button(QStringLiteral("cmdWizDone")))
        b->setVisible(m_model.doneOffered());
    m_view->update();
}

void SchematicWindow::click(const SchematicHit &hit)
{
    switch (hit.kind) {
    case SchematicHit::Element:
        elementClicked(hit);
        break;
    case SchematicHit::Caption:
        if (hit.caption == 38) {
            m_ctx.trap(location(QStringLiteral("lblSchematic_Click")), [&] { m_model.toggleBrake(); });
            break;
        }
        captionClicked(hit.caption, SchematicCaptions::link(m_page, hit.caption, m_model.reducedModel()));
        break;
    case SchematicHit::Load:
        m_ctx.trap(location(QStringLiteral("imgLoad_Click")), [&] {
            m_model.setSchematicChanged(true);
            captionClicked(-1, SchematicCaptions::loadLink(m_page));
        });
        break;
    }
}

void SchematicWindow::elementClicked(const SchematicHit &hit)
{
    switch (hit.slot.kind) {
    case ElementKind::Input:
        openPicker(PickerKind::Input, hit.slot.input);
        break;
    case ElementKind::Fuse:
        openPicker(PickerKind::Fuse, 0);
        break;
    case ElementKind::Reactor:
        openPicker(PickerKind::Reactor, 0);
        break;
    case ElementKind::BrakeFrame:
        m_ctx.trap(location(QStringLiteral("imgBrakeResistor_Click")), [&] { m_model.toggleBrake(); });
        break;
    case ElementKind::BrakeUnit:
        m_ctx.trap(location(QStringLiteral("imgBrakeResistor_Click")), [&] { m_model.cycleBrakeUnit(); });
        break;
    case ElementKind::Feedback:
        m_ctx.trap(location(QStringLiteral("imgFB_Click")), [&] { m_model.cycleFeedback(); });
        break;
    case ElementKind::OutputType:
        m_ctx.trap(location(QStringLiteral("imgOC_Click")), [&] { m_model.toggleOutputType(); });
        break;
    case ElementKind::Supply:
        m_ctx.trap(location(QStringLiteral("imgVolts_Click")), [&] { m_model.toggleSupply(); });
        break;
    case ElementKind::Sw1:
        m_ctx.trap(location(QStringLiteral("imgSW1_Click()")), [&] { m_model.toggleSw1(); });
        break;
    }
}

void SchematicWindow::openPicker(PickerKind kind, int input)
{
    const QString handler = kind == PickerKind::Input ? QStringLiteral("imgDI_Click")
        : kind == PickerKind::Fuse                    ? QStringLiteral("imgFuse_Click")
                                                      : QStringLiteral("imgReactor_Click");
    m_ctx.trap(location(handler), [&] {
        SymbolPickerDialog picker(m_ctx, m_model, kind, input, this);
        picker.exec();
        m_model.setSchematicChanged(true);
    });
}

// The previews copy the drawing as it stands; the title-block dialog then
// fills their title blocks.
void SchematicWindow::printPreview()
{
    m_ctx.trap(location(QStringLiteral("cmdPreview_Click")), [&] {
        const QList<SchematicPage> pages = m_page == SchematicPage::Single
            ? QList {SchematicPage::Single}
            : QList {SchematicPage::Control, SchematicPage::Power};
        for (qsizetype i = 0; i < pages.size(); ++i) {
            QPointer<PrintPreviewWindow> &preview = m_previews[size_t(i)];
            if (preview)
                preview->copyDrawing(m_model);
            else
                preview = new PrintPreviewWindow(m_ctx, m_model, pages[i], this);
            preview->show();
            preview->raise();
        }
        TitleBlockDialog block(
            m_ctx,
            [this] {
                for (const QPointer<PrintPreviewWindow> &preview : m_previews)
                    if (preview)
                        preview->updateTitleBlock();
            },
            this);
        block.exec();
    });
}

void SchematicWindow::captionClicked(int index, const CaptionLink *link)
{
    if (!link)
        return;
    m_ctx.trap(location(QStringLiteral("lblSchematic_Click")), [&] {
        Q_UNUSED(index);
        if (m_hooks.openEditor)
            m_hooks.openEditor(link->group, link->innerTab);
        m_model.guidedStep(link->target);
    });
}

void SchematicWindow::showEvent(QShowEvent *event)
{
    m_ctx.editor.setTag(QStringLiteral("3"));
    QWidget::showEvent(event);
}

void SchematicWindow::closeEvent(QCloseEvent *event)
{
    m_ctx.trap(location(QStringLiteral("Form_QueryUnload")), [&] {
        if (m_model.schematicChanged()
            && m_ctx.prompter().msgBox(
                   QStringLiteral("Settings may have changed. Would you like to save before closing the schematic?"),
                   Msg::YesNo | Msg::Question, QStringLiteral("Settings Have Changed"))
                == Msg::Yes
            && m_hooks.save)
            m_hooks.save();
        m_ctx.editor.setTag(QStringLiteral("1"));
    });
    event->accept();
}

} // namespace Tarvel
