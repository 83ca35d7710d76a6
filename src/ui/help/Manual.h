#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class QWidget;

namespace Tarvel {

// The user manual built into the program: HTML pages under qrc:/manual/,
// the contents (the links of index.html, nested as its lists are), the
// index (each page's keywords) and a word search over the pages' text.
class Manual
{
public:
    static const QString Root; // "qrc:/manual/"
    static const QString ContentsPage; // "index.html"

    struct Entry
    {
        QString title;
        QString target; // "editor.html" or "link.html#permissions"
        int level = 0;
    };

    // The page file names, sorted.
    static QStringList pages();
    // The page's HTML source; empty for a page that does not exist.
    static QString html(const QString &page);
    // The one style sheet of every page (manual.css).
    static QString styleSheet();
    static QString title(const QString &page);
    static QList<Entry> contents();
    // Every keyword of every page, sorted without regard to case.
    static QList<Entry> index();
    // Pages holding every word of `words`, most hits first.
    static QList<Entry> search(const QString &words);

    // The page for a window: the first of `widget` and its parents that has
    // one, else the main window's page.
    static QString pageFor(const QWidget *widget);
    // The page for a window name ("frmTabConfig"); empty when it has none.
    static QString pageForName(const QString &name);
    static QStringList windowNames();
};

} // namespace Tarvel
