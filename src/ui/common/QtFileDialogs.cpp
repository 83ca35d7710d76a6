#include "QtFileDialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace Tarvel {

namespace {

// Classic patterns are ';'-separated and "*.*" means every file; Qt wants
// blanks between patterns and "*" for every file (its "*.*" needs a dot).
QString qtPatterns(const QString &classic)
{
    QStringList patterns = classic.split(u';', Qt::SkipEmptyParts);
    for (QString &p : patterns) {
        p = p.trimmed();
        if (p == QLatin1String("*.*"))
            p = QStringLiteral("*");
    }
    patterns.removeAll(QString());
    return patterns.isEmpty() ? QStringLiteral("*") : patterns.join(u' ');
}

// Qt reads the patterns from the last parenthesis of the entry, so the
// description's own pattern list is replaced by the real one.
QString qtEntry(const QString &description, const QString &patterns)
{
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QString label = description;
    label.remove(trailingPatterns);
    label = label.trimmed();
    const QString list = qtPatterns(patterns);
    return label.isEmpty() ? list : label + QStringLiteral(" (") + list + u')';
}

} // namespace

QtFileDialogs::QtFileDialogs(QWidget *parent)
    : m_parent(parent)
{ }

QString QtFileDialogs::toQtFilter(const QString &classic)
{
    if (classic.trimmed().isEmpty())
        return {};
    const QStringList parts = classic.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i < parts.size(); i += 2) {
        const QString patterns = i + 1 < parts.size() ? parts.at(i + 1) : QString();
        entries << qtEntry(parts.at(i), patterns);
    }
    return entries.join(QStringLiteral(";;"));
}

void QtFileDialogs::configure(QFileDialog &dialog, const FileDialogRequest &request)
{
    dialog.setOption(QFileDialog::DontUseNativeDialog, true);
    dialog.setWindowTitle(request.title.isEmpty()
            ? (request.mode == FileDialogRequest::Save ? QObject::tr("Save As") : QObject::tr("Open"))
            : request.title);
    const QString filter = toQtFilter(request.filter);
    if (!filter.isEmpty())
        dialog.setNameFilter(filter);
    if (!request.initialDir.isEmpty())
        dialog.setDirectory(request.initialDir);
    if (request.mode == FileDialogRequest::Save) {
        dialog.setAcceptMode(QFileDialog::AcceptSave);
        dialog.setFileMode(QFileDialog::AnyFile);
        dialog.setOption(QFileDialog::DontConfirmOverwrite, !request.confirmOverwrite);
    } else {
        dialog.setAcceptMode(QFileDialog::AcceptOpen);
        dialog.setFileMode(request.fileMustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    }
}

QString QtFileDialogs::chooseFile(const FileDialogRequest &request)
{
    QFileDialog dialog(m_parent);
    configure(dialog, request);
    if (dialog.exec() != QDialog::Accepted)
        return {};
    const QStringList files = dialog.selectedFiles();
    return files.isEmpty() ? QString() : files.first();
}

} // namespace Tarvel
