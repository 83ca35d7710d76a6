#include "ConfigReport.h"

#include "base/AtomicTextFile.h"
#include "model/AppContext.h"
#include "base/Logging.h"
#include "ports/ShellHooks.h"
#include "base/TextFile.h"

#include <QDir>

namespace Tarvel {

ConfigReport::ConfigReport(AppContext &ctx)
    : m_ctx(ctx)
{ }

QString ConfigReport::reportPath() const
{
    return m_ctx.paths().configsDir() + QStringLiteral("/ConfigReport.txt");
}

void ConfigReport::configReport()
{
    m_ctx.trap(QStringLiteral("basFunctions, ConfigReport()"), [&] {
        const QString path = reportPath();
        // The folder comes with the installation, but a report is worth
        // more than a complaint that the folder went missing.
        QDir().mkpath(m_ctx.paths().configsDir());
        AtomicTextFile::write(path, reportLines());
        if (!m_ctx.hooks().openDocument(path))
            qCInfo(lcFiles) << "configuration report written to" << path << "but no viewer opened it";
    });
}

QStringList ConfigReport::columnLines(const QString &caption, const QString &value)
{
    // Text in columns 1..59, the value from column 60. A caption that
    // leaves no blank before column 60 would run into the value.
    const int width = ValueColumn - 1;
    if (caption.size() >= width)
        return {caption, QString(width, u' ') + value};
    return {caption.leftJustified(width, u' ') + value};
}

QStringList ConfigReport::reportLines() const
{
    return headerLines() + parameterLines();
}

QStringList ConfigReport::headerLines() const
{
    const AppState &s = m_ctx.state;
    const EditorForm &form = m_ctx.editor;
    const QString model = form.hasCmbP(942) ? form.cmbP(942).text().mid(3) : QString();
    QStringList lines {
        QString(),
        QString(),
        QStringLiteral("Vernholt QX Drives Configuration Report"),
        QStringLiteral("Report Generated: ") + TextFile::generalDate(),
        QStringLiteral("Config Name: ") + s.strConfigName,
        QStringLiteral("Model: ") + model,
        QStringLiteral("Rev: ") + s.strRev.left(1) + u'.' + s.strRev.right(2),
        QString(),
    };
    lines += columnLines(QStringLiteral("Parameter"), QStringLiteral("Value"));
    lines += columnLines(QStringLiteral("---------"), QStringLiteral("-----"));
    return lines;
}

QStringList ConfigReport::parameterLines() const
{
    const EditorForm &form = m_ctx.editor;
    QStringList lines;
    const int last = form.upperBound(FieldKind::Label);
    for (int i = form.lowerBound(FieldKind::Label); i <= last; ++i) {
        // Grey captions mark the parameters this drive does not have.
        if (!form.hasLblP(i) || !form.hasTxtP(i) || form.lblP(i).foreColor() == Colour::GrayText)
            continue;
        lines += columnLines(form.lblP(i).caption().trimmed(), shownValue(i));
    }
    return lines;
}

// What the editor shows: the whole entry of a choice list, else the box.
QString ConfigReport::shownValue(int index) const
{
    const EditorForm &form = m_ctx.editor;
    if (form.hasCmbP(index) && form.cmbP(index).visible())
        return form.cmbP(index).text();
    return form.txtP(index).text();
}

} // namespace Tarvel
