#pragma once

#include <QWidget>

class QStackedWidget;
class QTabBar;

namespace Tarvel {

// A tab strip over a stack of pages whose switching the owner controls.
// A click on a tab only reports the wish (tabClicked); the owner decides
// whether to switch, because leaving the field that has the focus may be
// refused. A switch never lets the pages pick a focus widget of their own:
// focus inside the page going away is parked on this widget first.
class PageTabs : public QWidget
{
    Q_OBJECT
public:
    explicit PageTabs(QWidget *parent = nullptr);

    int addPage(const QString &caption, QWidget *page);
    int count() const;
    QWidget *page(int index) const;
    QTabBar *bar() const { return m_bar; }

    int current() const { return m_current; }
    void setCurrent(int index);
    // A disabled tab that is in front stays in front, as the classic tab
    // strip kept it.
    void setTabEnabled(int index, bool enabled);
    bool isTabEnabled(int index) const;

Q_SIGNALS:
    // The user pressed an enabled tab other than the one in front.
    void tabClicked(int index);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    QTabBar *m_bar;
    QStackedWidget *m_stack;
    int m_current = -1;
};

} // namespace Tarvel
