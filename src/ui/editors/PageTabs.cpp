#include "PageTabs.h"

#include <QApplication>
#include <QMouseEvent>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>

namespace Tarvel {

PageTabs::PageTabs(QWidget *parent)
    : QWidget(parent)
    , m_bar(new QTabBar(this))
    , m_stack(new QStackedWidget(this))
{
    // Keyboard users walk the fields, and the tabs follow; a tab strip that
    // took the focus itself would switch pages behind the field checks.
    m_bar->setFocusPolicy(Qt::NoFocus);
    m_bar->setExpanding(false);
    m_bar->setDrawBase(false);
    m_bar->installEventFilter(this);
    m_stack->setFrameShape(QFrame::StyledPanel);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_bar);
    layout->addWidget(m_stack, 1);
}

int PageTabs::addPage(const QString &caption, QWidget *page)
{
    const int index = m_bar->addTab(caption);
    m_stack->addWidget(page);
    if (m_current < 0)
        setCurrent(index);
    return index;
}

int PageTabs::count() const
{
    return m_bar->count();
}

QWidget *PageTabs::page(int index) const
{
    return m_stack->widget(index);
}

void PageTabs::setCurrent(int index)
{
    if (index < 0 || index >= count() || index == m_current)
        return;
    QWidget *leaving = m_stack->currentWidget();
    QWidget *focus = QApplication::focusWidget();
    if (leaving && focus && leaving->isAncestorOf(focus))
        setFocus(Qt::OtherFocusReason);
    m_current = index;
    const QSignalBlocker block(m_bar);
    m_bar->setCurrentIndex(index);
    m_stack->setCurrentIndex(index);
}

void PageTabs::setTabEnabled(int index, bool enabled)
{
    const QSignalBlocker block(m_bar);
    m_bar->setTabEnabled(index, enabled);
    if (m_bar->currentIndex() != m_current)
        m_bar->setCurrentIndex(m_current);
}

bool PageTabs::isTabEnabled(int index) const
{
    return m_bar->isTabEnabled(index);
}

bool PageTabs::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_bar)
        return QWidget::eventFilter(watched, event);
    switch (event->type()) {
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        const auto *mouse = static_cast<QMouseEvent *>(event);
        const int index = m_bar->tabAt(mouse->position().toPoint());
        if (mouse->button() == Qt::LeftButton && index >= 0 && index != m_current && m_bar->isTabEnabled(index))
            Q_EMIT tabClicked(index);
        return true;
    }
    case QEvent::MouseButtonRelease:
    case QEvent::Wheel:
        // The strip switches on these by itself; the owner does it instead.
        return true;
    default:
        return false;
    }
}

} // namespace Tarvel
