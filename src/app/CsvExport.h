#pragma once

#include <QString>
#include <QStringList>

class QAbstractItemModel;

namespace Tarvel {

class AppContext;

// A table as comma-separated lines: the header, then every row in the
// order the model shows it (a sorted or filtered view exports as seen).
// Fields holding a comma, a quote or a line break are quoted.
class CsvExport
{
public:
    static QStringList lines(const QAbstractItemModel &model);
    static QString field(const QString &text);
    // Writes the lines (Latin-1, CR LF) whole or not at all; raises error
    // 75 when the file cannot be written.
    static void write(const QString &path, const QAbstractItemModel &model);
    // Asks for a file in Configs (".csv" added when missing) and writes the
    // model to it; a failed write goes to the trap at `location`.
    static void exportAs(
        AppContext &ctx, const QAbstractItemModel &model, const QString &title, const QString &location);
};

} // namespace Tarvel
