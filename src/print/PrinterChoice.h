#pragma once

#include <QStringList>

class QPrinter;

namespace Tarvel {

class AppContext;

// The printers the print setup offers: every installed printer by name and,
// always, a PDF file, so that printing works on a machine without any
// printer. The application's current printer is kept for the run.
class PrinterChoice
{
public:
    static const QString PdfFile; // "Print to PDF file"

    static QStringList names();
    static QString current();
    static void setCurrent(const QString &name);
    static bool isPdf(const QString &name) { return name == PdfFile; }
    // Points a printer at the named one (a PDF file: the PDF format).
    static void apply(QPrinter &printer, const QString &name);

    // "control printers": the desktop's printer settings tool when one is
    // installed, else a message saying where printers are set up.
    static void openPrinterSettings(AppContext &ctx);
};

} // namespace Tarvel
