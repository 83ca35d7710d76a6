#pragma once

#include "app/StatusListActions.h"

#include <QWidget>

class QLabel;
class QListWidget;
class QPushButton;
class QToolBar;

namespace Tarvel {

class AppContext;
class LedBar;
class StatusList;

// frmList, the status list window: renders the context's StatusList (lines,
// caption, status text, LED bar) and routes its toolbar, Close button and
// close box to StatusListActions.
//
// It is a plain widget; the main window wraps it in an MDI sub-window and
// shows or hides that sub-window from StatusList::shownChanged, because
// showing is the model's decision (cmdClose and the close box hide it
// through the model, and long operations show it the same way). The window
// itself never reacts to shownChanged.
class StatusListWindow : public QWidget
{
    Q_OBJECT
public:
    explicit StatusListWindow(AppContext &ctx, QWidget *parent = nullptr);

    StatusListActions &actions() { return m_actions; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildToolbar();
    void buildLayout();
    void connectModel();
    void addLine(const QString &line);
    void reloadLines();

    StatusList &m_model;
    StatusListActions m_actions;
    QToolBar *m_toolbar;
    QListWidget *m_log;
    QLabel *m_status;
    LedBar *m_bar;
    QPushButton *m_close;
};

} // namespace Tarvel
