#pragma once

#include "app/ShellHooks.h"

#include <QHash>
#include <QMainWindow>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;

namespace Tarvel {

class AppContext;
class NavigatorDialog;
class StatusListWindow;

// frmMain: the multi-document main window with every menu, the toolbar and
// the status bar. Commands whose features are not built yet are present and
// disabled.
class MainWindow : public QMainWindow, public ShellHooks
{
    Q_OBJECT
public:
    explicit MainWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~MainWindow() override;

    QAction *action(const QString &name) const { return m_actions.value(name); }
    QAction *toolButton(const QString &key) const { return m_tools.value(key); }
    QLabel *panel(int number) const;
    QMdiArea *mdiArea() const { return m_mdi; }
    NavigatorDialog *navigator();
    StatusListWindow *statusListWindow();

    // "  Tarvel - Current Config File: " + strConfigName
    void updateCaption();
    void setConnectionPanel(const QString &text, bool connected);

    // ShellHooks
    void setMainEnabled(bool enabled) override;
    void setBusyPointer(bool busy) override;

    // The window's Tag ("Detailed" / "Schematic"), set by the navigator.
    QString tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

public Q_SLOTS:
    void showNavigator();
    void showStatusList();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    QAction *addItem(QMenu *menu, const char *name, const QString &caption, bool built);
    void buildMenus();
    void buildFileMenu();
    void buildDriveMenu();
    void buildUtilitiesMenu();
    void buildToolbar();
    void buildStatusBar();
    void loadStartMenuCheck();
    void startMenuToggled();
    void exitClicked();
    void statusListShownChanged(bool shown);

    AppContext &m_ctx;
    QMdiArea *m_mdi;
    QToolBar *m_toolbar = nullptr;
    QHash<QString, QAction *> m_actions;
    QHash<QString, QAction *> m_tools;
    QList<QLabel *> m_panels;
    QLabel *m_connectionPicture = nullptr;
    NavigatorDialog *m_navigator = nullptr;
    StatusListWindow *m_statusList = nullptr;
    QMdiSubWindow *m_statusListSub = nullptr;
    QString m_tag;
    bool m_closing = false;
};

} // namespace Tarvel
