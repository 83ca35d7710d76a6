#include "HelpWindow.h"

#include "Manual.h"
#include "ui/common/AppIcons.h"

#include <QHBoxLayout>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QSplitter>
#include <QTabWidget>
#include <QTextBrowser>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

constexpr int TargetRole = Qt::UserRole;

QListWidgetItem *entryItem(const Manual::Entry &entry)
{
    auto *item = new QListWidgetItem(entry.title);
    item->setData(TargetRole, entry.target);
    return item;
}

} // namespace

HelpWindow::HelpWindow(QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_browser(new QTextBrowser(this))
    , m_tabs(new QTabWidget(this))
{
    setObjectName(QStringLiteral("frmHelp"));
    setWindowTitle(QStringLiteral("Tarvel Help"));
    setWindowIcon(AppIcons::application());
    m_browser->setObjectName(QStringLiteral("helpBrowser"));
    m_browser->setOpenExternalLinks(true);
    // Pages carry no style of their own: the document's default applies to
    // each page it loads.
    m_browser->document()->setDefaultStyleSheet(Manual::styleSheet());
    m_tabs->addTab(buildContents(), QStringLiteral("&Contents"));
    m_tabs->addTab(buildIndex(), QStringLiteral("&Index"));
    m_tabs->addTab(buildSearch(), QStringLiteral("&Search"));

    auto *back = new QPushButton(QStringLiteral("Back"), this);
    auto *forward = new QPushButton(QStringLiteral("Forward"), this);
    auto *home = new QPushButton(QStringLiteral("Contents Page"), this);
    connect(back, &QPushButton::clicked, m_browser, &QTextBrowser::backward);
    connect(forward, &QPushButton::clicked, m_browser, &QTextBrowser::forward);
    connect(home, &QPushButton::clicked, this, [this] { showPage(Manual::ContentsPage); });
    connect(m_browser, &QTextBrowser::backwardAvailable, back, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::forwardAvailable, forward, &QPushButton::setEnabled);
    connect(m_browser, &QTextBrowser::sourceChanged, this,
        [this] { setWindowTitle(QStringLiteral("Tarvel Help - ") + m_browser->documentTitle()); });

    auto *navigation = new QHBoxLayout;
    navigation->addWidget(back);
    navigation->addWidget(forward);
    navigation->addWidget(home);
    navigation->addStretch();
    auto *splitter = new QSplitter(this);
    splitter->addWidget(m_tabs);
    splitter->addWidget(m_browser);
    splitter->setSizes({240, 660});
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(navigation);
    layout->addWidget(splitter);
    resize(920, 640);
}

QWidget *HelpWindow::buildContents()
{
    m_contents = new QTreeWidget(this);
    m_contents->setObjectName(QStringLiteral("helpContents"));
    m_contents->setHeaderHidden(true);
    QList<QTreeWidgetItem *> parents;
    for (const Manual::Entry &entry : Manual::contents()) {
        parents.resize(entry.level);
        auto *item = parents.isEmpty() ? new QTreeWidgetItem(m_contents) : new QTreeWidgetItem(parents.last());
        item->setText(0, entry.title);
        item->setData(0, TargetRole, entry.target);
        parents << item;
    }
    m_contents->expandAll();
    connect(m_contents, &QTreeWidget::itemActivated, this,
        [this](QTreeWidgetItem *item) { showPage(item->data(0, TargetRole).toString()); });
    connect(m_contents, &QTreeWidget::itemClicked, this,
        [this](QTreeWidgetItem *item) { showPage(item->data(0, TargetRole).toString()); });
    return m_contents;
}

QWidget *HelpWindow::buildIndex()
{
    auto *page = new QWidget(this);
    m_indexFilter = new QLineEdit(page);
    m_indexFilter->setObjectName(QStringLiteral("helpIndexFilter"));
    m_indexFilter->setPlaceholderText(QStringLiteral("Type a keyword"));
    m_index = new QListWidget(page);
    m_index->setObjectName(QStringLiteral("helpIndex"));
    for (const Manual::Entry &entry : Manual::index())
        m_index->addItem(entryItem(entry));
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpWindow::filterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, [this] {
        if (QListWidgetItem *item = m_index->currentItem())
            showPage(item->data(TargetRole).toString(), Index);
    });
    connect(m_index, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { showPage(item->data(TargetRole).toString(), Index); });
    connect(m_index, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { showPage(item->data(TargetRole).toString(), Index); });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_indexFilter);
    layout->addWidget(m_index);
    return page;
}

// Shows the keywords that start with the text and selects the first.
void HelpWindow::filterIndex(const QString &text)
{
    QListWidgetItem *first = nullptr;
    for (int i = 0; i < m_index->count(); ++i) {
        QListWidgetItem *item = m_index->item(i);
        const bool shown = item->text().startsWith(text.trimmed(), Qt::CaseInsensitive);
        item->setHidden(!shown);
        if (shown && !first)
            first = item;
    }
    m_index->setCurrentItem(first);
}

QWidget *HelpWindow::buildSearch()
{
    auto *page = new QWidget(this);
    m_searchWords = new QLineEdit(page);
    m_searchWords->setObjectName(QStringLiteral("helpSearchWords"));
    m_searchWords->setPlaceholderText(QStringLiteral("Words to find, then Enter"));
    m_results = new QListWidget(page);
    m_results->setObjectName(QStringLiteral("helpSearchResults"));
    connect(m_searchWords, &QLineEdit::returnPressed, this, &HelpWindow::runSearch);
    connect(m_results, &QListWidget::itemActivated, this,
        [this](QListWidgetItem *item) { showPage(item->data(TargetRole).toString(), Search); });
    connect(m_results, &QListWidget::itemClicked, this,
        [this](QListWidgetItem *item) { showPage(item->data(TargetRole).toString(), Search); });
    auto *layout = new QVBoxLayout(page);
    layout->addWidget(m_searchWords);
    layout->addWidget(m_results);
    return page;
}

void HelpWindow::runSearch()
{
    m_results->clear();
    const QList<Manual::Entry> hits = Manual::search(m_searchWords->text());
    for (const Manual::Entry &entry : hits)
        m_results->addItem(entryItem(entry));
    if (hits.isEmpty()) {
        m_results->addItem(QStringLiteral("No page holds all of these words."));
        return;
    }
    // The best page, with the first word marked where it first occurs.
    showPage(hits.first().target, Search);
    m_browser->find(m_searchWords->text().section(u' ', 0, 0, QString::SectionSkipEmpty));
}

void HelpWindow::showPage(const QString &page, Tab tab)
{
    if (page.isEmpty()) // the "nothing found" line
        return;
    m_browser->setSource(QUrl(Manual::Root + page));
    showTab(tab);
}

void HelpWindow::showTab(Tab tab)
{
    m_tabs->setCurrentIndex(tab);
    if (tab == Index)
        m_indexFilter->setFocus();
    else if (tab == Search)
        m_searchWords->setFocus();
}

QString HelpWindow::currentPage() const
{
    const QUrl url = m_browser->source();
    const QString page = url.path().section(u'/', -1);
    return url.hasFragment() ? page + u'#' + url.fragment() : page;
}

} // namespace Tarvel
