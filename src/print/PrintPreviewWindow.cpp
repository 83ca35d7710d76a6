#include "PrintPreviewWindow.h"

#include "PrintSetupDialog.h"
#include "PrinterChoice.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <QHBoxLayout>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

// picMain: the sheet on a grey desk, as large as the window allows.
class SheetPicture : public QWidget
{
public:
    SheetPicture(const std::unique_ptr<SchematicSheet> &sheet, QWidget *parent)
        : QWidget(parent)
        , m_sheet(sheet)
    {
        setObjectName(QStringLiteral("picMain"));
        setMinimumSize(440, 360);
    }
    QSize sizeHint() const override { return SchematicSheet::size().toSize() * 0.8; }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.fillRect(rect(), QColor(0x9a, 0x9a, 0x96));
        if (!m_sheet)
            return;
        QSizeF shown = SchematicSheet::size();
        shown.scale(QSizeF(rect().size()) - QSizeF(24, 24), Qt::KeepAspectRatio);
        const QRectF target(QPointF((width() - shown.width()) / 2, (height() - shown.height()) / 2), shown);
        painter.setRenderHint(QPainter::Antialiasing);
        m_sheet->paint(painter, target);
    }

private:
    const std::unique_ptr<SchematicSheet> &m_sheet;
};

} // namespace

PrintPreviewWindow::PrintPreviewWindow(
    AppContext &ctx, const SchematicModel &model, SchematicPage page, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(ctx)
    , m_page(page)
{
    setObjectName(formName(page));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(page == SchematicPage::Single ? QStringLiteral("  Print Preview")
            : page == SchematicPage::Control     ? QStringLiteral("  Print Preview Page 1")
                                                 : QStringLiteral("  Print Preview Page 2"));
    auto *layout = new QVBoxLayout(this);
    m_picture = new SheetPicture(m_sheet, this);
    layout->addWidget(m_picture, 1);
    auto *row = new QHBoxLayout;
    row->addStretch(1);
    m_print = new QPushButton(QStringLiteral("Print"), this);
    m_print->setObjectName(QStringLiteral("cmdPrintSetup"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdCancel"));
    row->addWidget(m_print);
    row->addWidget(close);
    layout->addLayout(row);
    connect(m_print, &QPushButton::clicked, this, &PrintPreviewWindow::printSetup);
    connect(close, &QPushButton::clicked, this,
        [this] { m_ctx.trap(location("cmdCancel_Click"), [&] { this->close(); }); });

    // Print stays enabled without any printer installed: a PDF file is
    // always one of the printers.
    m_ctx.trap(location("Form_Load"), [&] {
        m_print->setEnabled(!PrinterChoice::names().isEmpty());
        copyDrawing(model);
    });
    resize(980, 820);
}

PrintPreviewWindow::~PrintPreviewWindow() = default;

QString PrintPreviewWindow::formName(SchematicPage page)
{
    switch (page) {
    case SchematicPage::Single:
        return QStringLiteral("frmPrintPreview");
    case SchematicPage::Control:
        return QStringLiteral("frmPrintPrevQX3");
    case SchematicPage::Power:
        return QStringLiteral("frmPrintPrevQX3_2");
    }
    return {};
}

QString PrintPreviewWindow::location(const char *handler) const
{
    return objectName() + QStringLiteral(", ") + QLatin1String(handler) + QStringLiteral("()");
}

void PrintPreviewWindow::copyDrawing(const SchematicModel &model)
{
    m_sheet = std::make_unique<SchematicSheet>(m_ctx, model, m_page, TitleBlock::forPage(m_ctx, m_page));
    m_picture->update();
}

void PrintPreviewWindow::updateTitleBlock()
{
    if (!m_sheet)
        return;
    m_sheet->setTitleBlock(TitleBlock::forPage(m_ctx, m_page));
    m_picture->update();
}

void PrintPreviewWindow::printSetup()
{
    m_ctx.trap(location("cmdPrintSetup_Click"), [&] {
        if (!m_sheet)
            return;
        const int answer = m_ctx.prompter().msgBox(
            QStringLiteral("The best results are obtained when your printer is set for landscape printing.\r"
                           "Would you like to open the printers folder now?"),
            Msg::YesNo | Msg::Information, QStringLiteral("Check your settings"));
        if (answer == Msg::Yes)
            PrinterChoice::openPrinterSettings(m_ctx);
        PrintSetupDialog setup(m_ctx, m_layout, {m_sheet.get()}, objectName(), this);
        setup.exec();
    });
}

} // namespace Tarvel
