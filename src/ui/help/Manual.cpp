#include "Manual.h"

#include <QDir>
#include <QFile>
#include <QHash>
#include <QRegularExpression>
#include <QTextDocument>
#include <QWidget>

#include <algorithm>

// Resources of a static library are registered by name; outside any
// namespace, as the macro requires.
static void initManualResources()
{
    Q_INIT_RESOURCE(manual);
}

namespace Tarvel {

namespace {

// Window name (or class name for the dialogs without one) -> page.
const QHash<QString, QString> &windowPages()
{
    static const QHash<QString, QString> pages {
        {QStringLiteral("frmMain"), QStringLiteral("main-window.html")},
        {QStringLiteral("frmStartup"), QStringLiteral("navigator.html")},
        {QStringLiteral("frmSplash"), QStringLiteral("main-window.html")},
        {QStringLiteral("frmNewConfigDialog"), QStringLiteral("new-configuration.html")},
        {QStringLiteral("frmTabConfig"), QStringLiteral("editor.html")},
        {QStringLiteral("frmWizardMain"), QStringLiteral("wizard.html")},
        {QStringLiteral("frmList"), QStringLiteral("status-list.html")},
        {QStringLiteral("frmUpdate"), QStringLiteral("change-rating.html")},
        {QStringLiteral("frmCommSettings"), QStringLiteral("connection.html")},
        {QStringLiteral("Tarvel::CommSettingsDialog"), QStringLiteral("connection.html")},
        {QStringLiteral("frmAutoDetect"), QStringLiteral("auto-detect.html")},
        {QStringLiteral("Tarvel::AutoDetectDialog"), QStringLiteral("auto-detect.html")},
        {QStringLiteral("frmAbout"), QStringLiteral("about.html")},
        {QStringLiteral("frmSystemSummary"), QStringLiteral("about.html#sysinfo")},
        {QStringLiteral("frmDiags"), QStringLiteral("about.html#trace")},
        {QStringLiteral("frmHelp"), QStringLiteral("index.html")},
        {QStringLiteral("frmSchematic"), QStringLiteral("schematic.html")},
        {QStringLiteral("frmSchematicQX3"), QStringLiteral("schematic.html")},
        {QStringLiteral("frmSchematicQX3_2"), QStringLiteral("schematic.html")},
        {QStringLiteral("frmKeypad"), QStringLiteral("keypad.html")},
        {QStringLiteral("frmFaults"), QStringLiteral("faults.html")},
        {QStringLiteral("frmStats"), QStringLiteral("config-info.html")},
        {QStringLiteral("frmPID"), QStringLiteral("pid.html")},
        {QStringLiteral("frmClosedLoopDiagram"), QStringLiteral("pid.html")},
        {QStringLiteral("frmTrend"), QStringLiteral("trend.html")},
        {QStringLiteral("frmSetTrendX"), QStringLiteral("trend.html")},
        {QStringLiteral("frmPrintPreview"), QStringLiteral("schematic.html#printing")},
        {QStringLiteral("frmPrintPrevQX3"), QStringLiteral("schematic.html#printing")},
        {QStringLiteral("frmPrintPrevQX3_2"), QStringLiteral("schematic.html#printing")},
        {QStringLiteral("frmPreviewBlockInput"), QStringLiteral("schematic.html#printing")},
        {QStringLiteral("frmPrintSetup"), QStringLiteral("schematic.html#printing")},
    };
    return pages;
}

QString plainText(const QString &page)
{
    QTextDocument doc;
    doc.setHtml(Manual::html(page));
    return doc.toPlainText();
}

} // namespace

const QString Manual::Root = QStringLiteral("qrc:/manual/");
const QString Manual::ContentsPage = QStringLiteral("index.html");

QStringList Manual::pages()
{
    initManualResources();
    return QDir(QStringLiteral(":/manual")).entryList({QStringLiteral("*.html")}, QDir::Files, QDir::Name);
}

QString Manual::styleSheet()
{
    return html(QStringLiteral("manual.css"));
}

QString Manual::html(const QString &page)
{
    initManualResources();
    QFile file(QStringLiteral(":/manual/") + page.section(u'#', 0, 0));
    return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
}

QString Manual::title(const QString &page)
{
    static const QRegularExpression re(QStringLiteral("<title>(.*)</title>"));
    return re.match(html(page)).captured(1).trimmed();
}

// The links of the contents page; each <ul> opens a level.
QList<Manual::Entry> Manual::contents()
{
    static const QRegularExpression re(QStringLiteral("(<ul[^>]*>)|(</ul>)|<a href=\"([^\"]+)\">([^<]+)</a>"));
    QList<Entry> entries;
    int level = -1;
    for (const QRegularExpressionMatch &m : re.globalMatch(html(ContentsPage))) {
        if (m.capturedLength(1))
            ++level;
        else if (m.capturedLength(2))
            --level;
        else if (level >= 0)
            entries << Entry {m.captured(4).simplified(), m.captured(3), level};
    }
    return entries;
}

// <meta name="keywords" content="word; word#anchor; ...">
QList<Manual::Entry> Manual::index()
{
    static const QRegularExpression re(QStringLiteral("<meta name=\"keywords\" content=\"([^\"]*)\""));
    QList<Entry> entries;
    for (const QString &page : pages()) {
        const QStringList words = re.match(html(page)).captured(1).split(u';', Qt::SkipEmptyParts);
        for (const QString &word : words) {
            const QString anchor = word.section(u'#', 1);
            entries << Entry {
                word.section(u'#', 0, 0).trimmed(), anchor.isEmpty() ? page : page + u'#' + anchor.trimmed(), 0};
        }
    }
    std::sort(entries.begin(), entries.end(),
        [](const Entry &a, const Entry &b) { return a.title.compare(b.title, Qt::CaseInsensitive) < 0; });
    return entries;
}

QList<Manual::Entry> Manual::search(const QString &words)
{
    const QStringList wanted = words.split(u' ', Qt::SkipEmptyParts);
    if (wanted.isEmpty())
        return {};
    QList<std::pair<int, Entry>> hits;
    for (const QString &page : pages()) {
        const QString text = plainText(page);
        int count = 0;
        for (const QString &word : wanted) {
            const int n = int(text.count(word, Qt::CaseInsensitive));
            if (n == 0) {
                count = 0;
                break;
            }
            count += n;
        }
        if (count > 0)
            hits.append({count, Entry {title(page), page, 0}});
    }
    std::stable_sort(hits.begin(), hits.end(), [](const auto &a, const auto &b) { return a.first > b.first; });
    QList<Entry> entries;
    for (const auto &hit : hits)
        entries << hit.second;
    return entries;
}

QString Manual::pageForName(const QString &name)
{
    return windowPages().value(name);
}

QStringList Manual::windowNames()
{
    return windowPages().keys();
}

QString Manual::pageFor(const QWidget *widget)
{
    for (const QWidget *w = widget; w; w = w->parentWidget()) {
        QString page = pageForName(w->objectName());
        if (page.isEmpty())
            page = pageForName(QString::fromLatin1(w->metaObject()->className()));
        if (!page.isEmpty())
            return page;
    }
    return pageForName(QStringLiteral("frmMain"));
}

} // namespace Tarvel
