#pragma once

#include "PageComposer.h"

#include <QString>

namespace Tarvel {

// Composed pages written to a PDF file, with no printer and no display:
// the file appears whole when every page was written, else not at all.
class PdfDocument
{
public:
    // The local paper: Letter where the measurement system is the US one,
    // A4 elsewhere.
    static QPageSize localPaper();
    // False (with the reason in error) when the file could not be written
    // or proceed stopped the job.
    static bool write(const QString &path, const PageComposer &composer, const PageComposer::Proceed &proceed = {},
        QString *error = nullptr);
};

} // namespace Tarvel
