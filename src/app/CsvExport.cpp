#include "CsvExport.h"

#include "base/AtomicTextFile.h"
#include "model/AppContext.h"
#include "ports/FileDialogs.h"

#include <QAbstractItemModel>

namespace Tarvel {

QString CsvExport::field(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"') && !text.contains(u'\n') && !text.contains(u'\r'))
        return text;
    return u'"' + QString(text).replace(u'"', QStringLiteral("\"\"")) + u'"';
}

QStringList CsvExport::lines(const QAbstractItemModel &model)
{
    QStringList out;
    QStringList header;
    for (int c = 0; c < model.columnCount(); ++c)
        header << field(model.headerData(c, Qt::Horizontal).toString());
    out << header.join(u',');
    for (int r = 0; r < model.rowCount(); ++r) {
        QStringList row;
        for (int c = 0; c < model.columnCount(); ++c)
            row << field(model.index(r, c).data().toString());
        out << row.join(u',');
    }
    return out;
}

void CsvExport::write(const QString &path, const QAbstractItemModel &model)
{
    AtomicTextFile::write(path, lines(model));
}

void CsvExport::exportAs(
    AppContext &ctx, const QAbstractItemModel &model, const QString &title, const QString &location)
{
    ctx.trap(location, [&] {
        FileDialogs *dialogs = ctx.fileDialogs();
        if (!dialogs)
            return;
        FileDialogRequest request;
        request.mode = FileDialogRequest::Save;
        request.title = title;
        request.filter = QStringLiteral("CSV files (*.csv)|*.csv");
        request.initialDir = ctx.paths().configsDir();
        request.confirmOverwrite = true;
        QString path = dialogs->chooseFile(request);
        if (path.isEmpty())
            return;
        if (!path.endsWith(QStringLiteral(".csv"), Qt::CaseInsensitive))
            path += QStringLiteral(".csv");
        write(path, model);
    });
}

} // namespace Tarvel
