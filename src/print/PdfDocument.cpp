#include "PdfDocument.h"

#include <QLocale>
#include <QPdfWriter>
#include <QSaveFile>

namespace Tarvel {

QPageSize PdfDocument::localPaper()
{
    return QPageSize(
        QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

bool PdfDocument::write(
    const QString &path, const PageComposer &composer, const PageComposer::Proceed &proceed, QString *error)
{
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly)) {
        if (error)
            *error = file.errorString();
        return false;
    }
    bool printed = false;
    {
        // The writer finishes the file when it goes, before the commit.
        QPdfWriter writer(&file);
        writer.setCreator(QStringLiteral("Tarvel"));
        writer.setPageSize(localPaper());
        printed = composer.print(writer, proceed);
    }
    if (!printed) {
        file.cancelWriting();
        if (error)
            *error = QStringLiteral("printing stopped");
        return false;
    }
    if (!file.commit()) {
        if (error)
            *error = file.errorString();
        return false;
    }
    return true;
}

} // namespace Tarvel
