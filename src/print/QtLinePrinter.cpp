#include "QtLinePrinter.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QTextLayout>

namespace Tarvel {

namespace {

constexpr int PointSize = 10;

// The pieces of one line that fit the page width, broken at word
// boundaries where possible. An empty line still takes a row.
QStringList wrapLine(const QString &text, const QFont &font, QPaintDevice *device, qreal width)
{
    if (text.isEmpty())
        return {QString()};
    QTextLayout layout(text, font, device);
    QTextOption option;
    option.setWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    layout.setTextOption(option);
    QStringList rows;
    layout.beginLayout();
    for (QTextLine row = layout.createLine(); row.isValid(); row = layout.createLine()) {
        row.setLineWidth(width);
        rows << text.mid(row.textStart(), row.textLength());
    }
    layout.endLayout();
    return rows;
}

} // namespace

QtLinePrinter::QtLinePrinter(QWidget *dialogParent)
    : m_dialogParent(dialogParent)
    , m_printer(std::make_unique<QPrinter>(QPrinter::HighResolution))
{ }

QtLinePrinter::~QtLinePrinter() = default;

void QtLinePrinter::printToPdf(const QString &path)
{
    m_printer->setOutputFormat(QPrinter::PdfFormat);
    m_printer->setOutputFileName(path);
    m_toPdf = true;
}

bool QtLinePrinter::begin()
{
    m_lines.clear();
    if (m_toPdf)
        return true;
    QPrintDialog dialog(m_printer.get(), m_dialogParent);
    return dialog.exec() == QDialog::Accepted;
}

void QtLinePrinter::printLine(const QString &line)
{
    m_lines << line;
}

void QtLinePrinter::end()
{
    QPainter painter;
    if (painter.begin(m_printer.get())) {
        paintLines(painter);
        painter.end();
    }
    m_lines.clear();
}

void QtLinePrinter::paintLines(QPainter &painter)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(PointSize);
    painter.setFont(font);
    // The painter's origin is the printable area's corner.
    const QRectF page(QPointF(0, 0), m_printer->pageLayout().paintRectPixels(m_printer->resolution()).size());
    const QFontMetricsF metrics(font, m_printer.get());
    const qreal rowHeight = metrics.lineSpacing();
    qreal y = 0;
    for (const QString &line : std::as_const(m_lines)) {
        for (const QString &row : wrapLine(line, font, m_printer.get(), page.width())) {
            if (y > 0 && y + rowHeight > page.height()) {
                m_printer->newPage();
                y = 0;
            }
            painter.drawText(QPointF(0, y + metrics.ascent()), row);
            y += rowHeight;
        }
    }
}

} // namespace Tarvel
