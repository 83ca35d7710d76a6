#pragma once

#include "ports/LinePrinter.h"

#include <QStringList>

#include <memory>

class QPainter;
class QPrinter;
class QWidget;

namespace Tarvel {

// Prints a document of text lines: the printer dialog first, then the lines
// in a fixed-pitch font, wrapped to the page width and broken over pages.
class QtLinePrinter : public LinePrinter
{
public:
    explicit QtLinePrinter(QWidget *dialogParent = nullptr);
    ~QtLinePrinter() override;

    // Sends the next documents to a PDF file instead, with no dialog, so the
    // output can be produced and checked without a user or a printer.
    void printToPdf(const QString &path);

    bool begin() override;
    void printLine(const QString &line) override;
    void end() override;

    QPrinter &printer() { return *m_printer; }

private:
    void paintLines(QPainter &painter);

    QWidget *m_dialogParent;
    std::unique_ptr<QPrinter> m_printer;
    bool m_toPdf = false;
    QStringList m_lines;
};

} // namespace Tarvel
