#include "PrinterChoice.h"

#include "model/AppContext.h"
#include "ports/Prompter.h"

#include <QPrinter>
#include <QPrinterInfo>
#include <QProcess>
#include <QStandardPaths>

namespace Tarvel {

namespace {

QString &currentName()
{
    static QString name;
    return name;
}

} // namespace

const QString PrinterChoice::PdfFile = QStringLiteral("Print to PDF file");

QStringList PrinterChoice::names()
{
    return QPrinterInfo::availablePrinterNames() << PdfFile;
}

QString PrinterChoice::current()
{
    if (currentName().isEmpty() || !names().contains(currentName())) {
        const QString system = QPrinterInfo::defaultPrinterName();
        currentName() = system.isEmpty() ? PdfFile : system;
    }
    return currentName();
}

void PrinterChoice::setCurrent(const QString &name)
{
    currentName() = name;
}

void PrinterChoice::apply(QPrinter &printer, const QString &name)
{
    if (isPdf(name)) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        return;
    }
    printer.setOutputFormat(QPrinter::NativeFormat);
    printer.setPrinterName(name);
}

void PrinterChoice::openPrinterSettings(AppContext &ctx)
{
    const QString tool = QStandardPaths::findExecutable(QStringLiteral("system-config-printer"));
    if (!tool.isEmpty() && QProcess::startDetached(tool, {}))
        return;
    ctx.prompter().msgBox(QStringLiteral("No printer settings tool could be started.\r"
                                         "Install system-config-printer, or set up printers in the desktop's "
                                         "settings or at http://localhost:631/."),
        Msg::OKOnly | Msg::Information, QStringLiteral("Printers"));
}

} // namespace Tarvel
