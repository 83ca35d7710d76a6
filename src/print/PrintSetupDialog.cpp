#include "PrintSetupDialog.h"

#include "PdfDocument.h"
#include "PrinterChoice.h"
#include "model/AppContext.h"
#include "ports/FileDialogs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QSpinBox>
#include <QStatusBar>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

const char *const MarginNames[] = {"Left:", "Top:", "Right:", "Bottom:"};

QString location(const char *procedure)
{
    return QStringLiteral("frmPrintSetup, ") + QLatin1String(procedure) + QStringLiteral("()");
}

QPushButton *button(const char *name, const QString &caption, const QString &tip, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(tip);
    return b;
}

} // namespace

PrintSetupDialog::PrintSetupDialog(
    AppContext &ctx, PrintLayout &layout, QList<const SchematicSheet *> sheets, const QString &tag, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_layout(layout)
    , m_sheets(std::move(sheets))
    , m_tag(tag)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{
    setObjectName(QStringLiteral("frmPrintSetup"));
    setWindowTitle(QStringLiteral("  Print Setup"));
    auto *outer = new QVBoxLayout(this);
    auto *row = new QHBoxLayout;
    outer->addLayout(row, 1);
    auto *column = new QVBoxLayout;
    row->addLayout(column);
    m_preview = new QPrintPreviewWidget(m_printer.get(), this);
    m_preview->setObjectName(QStringLiteral("EP"));
    m_preview->setMinimumSize(420, 320);
    row->addWidget(m_preview, 1);
    m_status = new QStatusBar(this);
    m_status->setObjectName(QStringLiteral("sb"));
    m_status->setSizeGripEnabled(false);
    outer->addWidget(m_status);

    m_ctx.trap(location("Form_Load"), [&] {
        buildPrinterRow(column);
        buildMargins(column);
        buildMethods(column);
        buildButtons(column);
        printerChosen(PrinterChoice::current());
        getMargins();
    });
    connect(m_preview, &QPrintPreviewWidget::paintRequested, this,
        [this](QPrinter *printer) { m_ctx.trap(location("EP_Paint"), [&] { composer().print(*printer); }); });
    m_loading = false;
    setEpState();
    setStatus(QStringLiteral("Ready"));
    resize(1000, 640);
}

PrintSetupDialog::~PrintSetupDialog() = default;

void PrintSetupDialog::buildPrinterRow(QVBoxLayout *column)
{
    auto *box = new QGroupBox(QStringLiteral("Printer"), this);
    auto *grid = new QGridLayout(box);
    m_choose = new QComboBox(box);
    m_choose->setObjectName(QStringLiteral("cmbChoose"));
    m_choose->addItems(PrinterChoice::names());
    m_choose->setCurrentText(PrinterChoice::current());
    QPushButton *printers
        = button("cmdProperties", QStringLiteral("Printers"), QStringLiteral("The desktop's printer settings"), box);
    grid->addWidget(m_choose, 0, 0, 1, 2);
    grid->addWidget(printers, 0, 2);
    m_header = new QLineEdit(m_layout.header, box);
    m_header->setObjectName(QStringLiteral("txtHeader"));
    m_footer = new QLineEdit(m_layout.footer, box);
    m_footer->setObjectName(QStringLiteral("txtFooter"));
    QPushButton *headerFont = button("cmdHeaderFont", QStringLiteral("Font"), QString(), box);
    QPushButton *footerFont = button("cmdFooterFont", QStringLiteral("Font"), QString(), box);
    grid->addWidget(new QLabel(QStringLiteral("Header:"), box), 1, 0);
    grid->addWidget(m_header, 1, 1);
    grid->addWidget(headerFont, 1, 2);
    grid->addWidget(new QLabel(QStringLiteral("Footer:"), box), 2, 0);
    grid->addWidget(m_footer, 2, 1);
    grid->addWidget(footerFont, 2, 2);
    column->addWidget(box);

    connect(m_choose, &QComboBox::currentTextChanged, this,
        [this](const QString &name) { m_ctx.trap(location("cmbChoose_Click"), [&] { printerChosen(name); }); });
    connect(printers, &QPushButton::clicked, this,
        [this] { m_ctx.trap(location("cmdProperties_Click"), [&] { PrinterChoice::openPrinterSettings(m_ctx); }); });
    connect(m_header, &QLineEdit::textChanged, this, &PrintSetupDialog::setEpState);
    connect(m_footer, &QLineEdit::textChanged, this, &PrintSetupDialog::setEpState);
    connect(headerFont, &QPushButton::clicked, this,
        [this] { chooseFont(m_layout.headerFont, QStringLiteral("cmdHeaderFont_Click")); });
    connect(footerFont, &QPushButton::clicked, this,
        [this] { chooseFont(m_layout.footerFont, QStringLiteral("cmdFooterFont_Click")); });
}

void PrintSetupDialog::buildMargins(QVBoxLayout *column)
{
    auto *box = new QGroupBox(QStringLiteral("Margins"), this);
    auto *grid = new QGridLayout(box);
    m_unit = new QButtonGroup(box);
    const std::pair<int, const char *> units[]
        = {{PrintLayout::Inches, "Inches"}, {PrintLayout::Centimeters, "Centimeters"}};
    for (int i = 0; i < 2; ++i) {
        auto *option = new QRadioButton(QString::fromLatin1(units[i].second), box);
        option->setObjectName(QStringLiteral("optMargin%1").arg(units[i].first));
        m_unit->addButton(option, units[i].first);
        grid->addWidget(option, 0, i * 2, 1, 2);
    }
    m_unit->button(m_layout.unit)->setChecked(true);
    for (int i = 0; i < 4; ++i) {
        auto *spin = new QDoubleSpinBox(box);
        spin->setObjectName(QStringLiteral("udMargin%1").arg(i + 1));
        spin->setDecimals(2);
        spin->setSingleStep(PrintLayout::MarginStep);
        grid->addWidget(new QLabel(QString::fromLatin1(MarginNames[i]), box), 1 + i / 2, (i % 2) * 2);
        grid->addWidget(spin, 1 + i / 2, (i % 2) * 2 + 1);
        m_margins[size_t(i)] = spin;
        connect(spin, &QDoubleSpinBox::valueChanged, this, &PrintSetupDialog::setEpState);
    }
    column->addWidget(box);
    connect(m_unit, &QButtonGroup::idClicked, this, [this](int unit) {
        m_ctx.trap(location("optMargin_Click"), [&] {
            m_layout.setUnit(PrintLayout::Unit(unit));
            getMargins();
        });
    });
}

void PrintSetupDialog::buildMethods(QVBoxLayout *column)
{
    auto *box = new QGroupBox(QStringLiteral("Layout"), this);
    auto *grid = new QGridLayout(box);
    m_method = new QButtonGroup(box);
    const char *const methods[]
        = {"Original Size", "Expand / Shrink Ratio", "Specify Number of Pages to use", "Full Page"};
    for (int i = 0; i < 4; ++i) {
        auto *option = new QRadioButton(QString::fromLatin1(methods[i]), box);
        option->setObjectName(QStringLiteral("optPMethod%1").arg(i + 1));
        m_method->addButton(option, i + 1);
    }
    m_zoom = new QSpinBox(box);
    m_zoom->setObjectName(QStringLiteral("udZoom"));
    m_zoom->setRange(PrintLayout::MinZoom, PrintLayout::MaxZoom);
    m_zoom->setSuffix(QStringLiteral(" %"));
    m_zoom->setValue(m_layout.zoom);
    grid->addWidget(m_method->button(1), 0, 0, 1, 2);
    grid->addWidget(m_method->button(2), 1, 0);
    grid->addWidget(m_zoom, 1, 1);
    grid->addWidget(m_method->button(3), 2, 0, 1, 2);

    m_pages = new QGroupBox(box);
    m_pages->setObjectName(QStringLiteral("frmPages"));
    auto *pages = new QGridLayout(m_pages);
    m_across = new QSpinBox(m_pages);
    m_across->setObjectName(QStringLiteral("udHorizontal"));
    m_down = new QSpinBox(m_pages);
    m_down->setObjectName(QStringLiteral("udVertical"));
    for (QSpinBox *spin : {m_across, m_down})
        spin->setMinimum(1);
    m_across->setValue(m_layout.pagesAcross);
    m_down->setValue(m_layout.pagesDown);
    m_neededAcross = new QLabel(m_pages);
    m_neededAcross->setObjectName(QStringLiteral("lblHorizontalPages"));
    m_neededDown = new QLabel(m_pages);
    m_neededDown->setObjectName(QStringLiteral("lblVerticalPages"));
    pages->addWidget(new QLabel(QStringLiteral("Wanted"), m_pages), 0, 1);
    pages->addWidget(new QLabel(QStringLiteral("Needed"), m_pages), 0, 2);
    pages->addWidget(new QLabel(QStringLiteral("Pages across:"), m_pages), 1, 0);
    pages->addWidget(m_across, 1, 1);
    pages->addWidget(m_neededAcross, 1, 2);
    pages->addWidget(new QLabel(QStringLiteral("Pages down:"), m_pages), 2, 0);
    pages->addWidget(m_down, 2, 1);
    pages->addWidget(m_neededDown, 2, 2);
    m_proportional = new QCheckBox(QStringLiteral("Keep Original Proportions"), m_pages);
    m_proportional->setObjectName(QStringLiteral("chkProportionalPages"));
    m_proportional->setChecked(m_layout.method == PrintLayout::FitProportional);
    pages->addWidget(m_proportional, 3, 0, 1, 3);
    grid->addWidget(m_pages, 3, 0, 1, 2);
    grid->addWidget(m_method->button(4), 4, 0, 1, 2);
    column->addWidget(box);

    const int option = m_layout.fullPage ? 4 : m_layout.method == PrintLayout::FitProportional ? 3 : m_layout.method;
    m_method->button(option)->setChecked(true);
    connect(m_method, &QButtonGroup::idClicked, this, &PrintSetupDialog::methodChosen);
    connect(m_zoom, &QSpinBox::valueChanged, this, [this](int percent) {
        m_ctx.trap(location("udZoom_Change"), [&] { m_zoom->setValue(m_layout.setZoom(percent)); });
        setEpState();
    });
    for (QSpinBox *spin : {m_across, m_down})
        connect(spin, &QSpinBox::valueChanged, this, &PrintSetupDialog::setEpState);
    connect(m_proportional, &QCheckBox::toggled, this, &PrintSetupDialog::setEpState);
    methodChosen();
}

void PrintSetupDialog::buildButtons(QVBoxLayout *column)
{
    m_breakJob = new QCheckBox(QStringLiteral("Break Print Job to Individual Pages"), this);
    m_breakJob->setObjectName(QStringLiteral("chkBreakJob"));
    m_breakJob->setToolTip(QStringLiteral("Send each page to the printer as an individual job"));
    m_breakJob->setChecked(m_layout.breakJob);
    column->addWidget(m_breakJob);
    column->addStretch(1);
    auto *row = new QHBoxLayout;
    m_print = button("cmdPrint", QStringLiteral("Print"), QStringLiteral("Print and exit"), this);
    m_cancel = button("cmdCancel", QStringLiteral("Cancel"), QStringLiteral("Cancel print job"), this);
    m_exit = button("cmdExit", QStringLiteral("Exit"), QStringLiteral("Exit without printing"), this);
    m_print->setDefault(true);
    m_cancel->hide(); // there is a job to cancel only while printing
    for (QPushButton *b : {m_print, m_cancel, m_exit})
        row->addWidget(b);
    column->addLayout(row);
    connect(m_breakJob, &QCheckBox::toggled, this, &PrintSetupDialog::setEpState);
    connect(m_print, &QPushButton::clicked, this, &PrintSetupDialog::print);
    connect(m_cancel, &QPushButton::clicked, this, [this] { m_cancelled = true; });
    connect(m_exit, &QPushButton::clicked, this, &QDialog::reject);
}

// Choosing a printer makes it the application's current printer too.
void PrintSetupDialog::printerChosen(const QString &name)
{
    PrinterChoice::setCurrent(name);
    PrinterChoice::apply(*m_printer, name);
    // One file takes every page: breaking the job is for printers.
    m_breakJob->setEnabled(!PrinterChoice::isPdf(name));
    if (!m_loading) {
        showPageCounts();
        m_preview->updatePreview();
    }
}

// GetMargins: the layout's margins into the up-downs.
void PrintSetupDialog::getMargins()
{
    m_ctx.trap(location("GetMargins"), [&] {
        const double most = m_layout.unit == PrintLayout::Inches ? 3 : 7.5;
        const double values[]
            = {m_layout.margins.left(), m_layout.margins.top(), m_layout.margins.right(), m_layout.margins.bottom()};
        const bool loading = std::exchange(m_loading, true);
        for (int i = 0; i < 4; ++i) {
            m_margins[size_t(i)]->setRange(0, most);
            m_margins[size_t(i)]->setValue(values[i]);
        }
        m_loading = loading;
    });
    setEpState();
}

void PrintSetupDialog::methodChosen()
{
    const int option = m_method->checkedId();
    m_zoom->setEnabled(option == 2);
    m_pages->setEnabled(option == 3);
    setEpState();
}

// SetEpState: the dialog's whole state into the layout, then the page
// counts and the preview follow.
void PrintSetupDialog::setEpState()
{
    if (m_loading)
        return;
    m_ctx.trap(location("SetEpState"), [&] {
        switch (m_method->checkedId()) {
        case 1:
            m_layout.method = PrintLayout::OriginalSize;
            break;
        case 2:
            m_layout.method = PrintLayout::Zoom;
            break;
        case 3:
            m_layout.method = m_proportional->isChecked() ? PrintLayout::FitProportional : PrintLayout::FitPages;
            break;
        default:
            m_layout.method = PrintLayout::FitPages;
            break;
        }
        m_layout.fullPage = m_method->checkedId() == 4;
        m_layout.zoom = m_zoom->value();
        m_layout.pagesAcross = m_across->value();
        m_layout.pagesDown = m_down->value();
        m_layout.margins
            = QMarginsF(m_margins[0]->value(), m_margins[1]->value(), m_margins[2]->value(), m_margins[3]->value());
        m_layout.header = m_header->text();
        m_layout.footer = m_footer->text();
        m_layout.breakJob = m_breakJob->isChecked();
        showPageCounts();
        m_preview->updatePreview();
    });
}

// NeededPagesChanges: the pages a sheet takes now; the wanted counts may go
// up to five times what the sheet needs at its own size.
void PrintSetupDialog::showPageCounts()
{
    const PageComposer now = composer();
    now.setUp(*m_printer);
    const QSize needed = now.pagesPerSheet(*m_printer);
    m_neededAcross->setText(QString::number(needed.width()));
    m_neededDown->setText(QString::number(needed.height()));
    PrintLayout original = m_layout;
    original.method = PrintLayout::OriginalSize;
    original.fullPage = false;
    const QSize own = PageComposer(original, m_sheets).pagesPerSheet(*m_printer);
    m_across->setMaximum(5 * own.width());
    m_down->setMaximum(5 * own.height());
}

void PrintSetupDialog::chooseFont(QFont &font, const QString &handler)
{
    m_ctx.trap(QStringLiteral("frmPrintSetup, ") + handler, [&] {
        bool ok = false;
        const QFont chosen = QFontDialog::getFont(&ok, font, this);
        if (ok) {
            font = chosen;
            setEpState();
        }
    });
}

PageComposer PrintSetupDialog::composer() const
{
    return PageComposer(m_layout, m_sheets);
}

QString PrintSetupDialog::statusText() const
{
    return m_status->currentMessage();
}

void PrintSetupDialog::setStatus(const QString &text)
{
    m_status->showMessage(text);
}

void PrintSetupDialog::setPrinting(bool printing)
{
    m_print->setEnabled(!printing);
    m_exit->setVisible(!printing);
    m_cancel->setVisible(printing);
}

void PrintSetupDialog::print()
{
    bool done = false;
    m_ctx.trap(location("cmdPrint_Click"), [&] {
        const QString name = m_choose->currentText();
        QString pdf;
        if (PrinterChoice::isPdf(name)) {
            if (!m_ctx.fileDialogs())
                return;
            FileDialogRequest request;
            request.mode = FileDialogRequest::Save;
            request.title = PrinterChoice::PdfFile;
            request.filter = QStringLiteral("PDF files (*.pdf)|*.pdf");
            request.initialDir = m_ctx.paths().configsDir();
            request.confirmOverwrite = true;
            pdf = m_ctx.fileDialogs()->chooseFile(request);
            if (pdf.isEmpty())
                return;
        }
        setEpState();
        m_cancelled = false;
        setPrinting(true);
        const PageComposer::Proceed proceed = [this](int page, int count) {
            setStatus(QStringLiteral("Printing page %1 of %2").arg(page).arg(count));
            QCoreApplication::processEvents();
            return !m_cancelled;
        };
        QString error;
        const bool printed = pdf.isEmpty() ? printToPrinter(composer(), proceed)
                                           : PdfDocument::write(pdf, composer(), proceed, &error);
        setPrinting(false);
        if (m_cancelled)
            setStatus(QStringLiteral("Print job cancelled"));
        else if (!printed)
            setStatus(QStringLiteral("Printing failed") + (error.isEmpty() ? QString() : QStringLiteral(": ") + error));
        else
            setStatus(QStringLiteral("Printing finished"));
        done = printed;
    });
    if (done)
        accept();
}

// Broken into single jobs, every page is a print run of its own.
bool PrintSetupDialog::printToPrinter(const PageComposer &composer, const PageComposer::Proceed &proceed)
{
    if (!m_layout.breakJob)
        return composer.print(*m_printer, proceed);
    composer.setUp(*m_printer);
    const int count = composer.pageCount(*m_printer);
    for (int i = 0; i < count; ++i) {
        if (!proceed(i + 1, count))
            return false;
        QPainter painter;
        if (!painter.begin(m_printer.get()))
            return false;
        composer.paintPage(painter, *m_printer, i);
        painter.end();
    }
    return true;
}

} // namespace Tarvel
