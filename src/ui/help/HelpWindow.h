#pragma once

#include <QWidget>

class QLineEdit;
class QListWidget;
class QTabWidget;
class QTextBrowser;
class QTreeWidget;

namespace Tarvel {

// The manual's window: contents, index and search beside the page.
class HelpWindow : public QWidget
{
    Q_OBJECT
public:
    enum Tab { Contents, Index, Search };

    explicit HelpWindow(QWidget *parent = nullptr);

    // A page ("editor.html", "link.html#permissions") and the tab beside it.
    void showPage(const QString &page, Tab tab = Contents);
    // The page shown, as "editor.html" (with its anchor, if any).
    QString currentPage() const;

    QTextBrowser *browser() const { return m_browser; }
    QTabWidget *tabs() const { return m_tabs; }
    QTreeWidget *contentsTree() const { return m_contents; }
    QListWidget *indexList() const { return m_index; }
    QLineEdit *indexFilter() const { return m_indexFilter; }
    QLineEdit *searchWords() const { return m_searchWords; }
    QListWidget *searchResults() const { return m_results; }

private:
    QWidget *buildContents();
    QWidget *buildIndex();
    QWidget *buildSearch();
    void filterIndex(const QString &text);
    void runSearch();
    void showTab(Tab tab);

    QTextBrowser *m_browser;
    QTabWidget *m_tabs;
    QTreeWidget *m_contents = nullptr;
    QListWidget *m_index = nullptr;
    QLineEdit *m_indexFilter = nullptr;
    QLineEdit *m_searchWords = nullptr;
    QListWidget *m_results = nullptr;
};

} // namespace Tarvel
