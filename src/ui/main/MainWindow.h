#pragma once

#include "app/Command.h"
#include "app/EditHistory.h"
#include "app/MainCommands.h"
#include "app/PollDisplay.h"
#include "app/PollTimers.h"
#include "comm/SerialLinkMonitor.h"
#include "ports/ShellHooks.h"
#include "rules/EntryChecks.h"
#include "schematic/SchematicModel.h"

#include <QHash>
#include <QMainWindow>
#include <QPointer>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

class QAction;
class QLabel;
class QMdiArea;
class QMdiSubWindow;
class QToolBar;
class QWidget;

namespace Tarvel {

class AppContext;
class DiagsWindow;
class DriveTransferCommands;
class MonitorCommands;
class HelpDesk;
class LinkMonitor;
class NavigatorDialog;
class SchematicWindow;
class PidTrendScreens;
class StatusListWindow;
class TabConfigWindow;
class WizardWindow;

// frmMain: the multi-document main window with every menu, the toolbar and
// the status bar. Commands whose features are not built yet are present and
// disabled (BuiltCommands). It hosts the detailed editor, created once, and
// the wizard as child windows, and runs the two poll timers.
class MainWindow : public QMainWindow, public ShellHooks, private MainCommands::Windows, private PollDisplay
{
    Q_OBJECT
public:
    explicit MainWindow(AppContext &ctx, QWidget *parent = nullptr);
    ~MainWindow() override;

    // A command's menu item, and every action that runs it (menu item and
    // toolbar buttons).
    QAction *action(Command command) const { return m_commandActions[size_t(command)].value(0); }
    const QList<QAction *> &commandActions(Command command) const { return m_commandActions[size_t(command)]; }
    // By the names the window gives them ("mnuUpload", toolbar key "Upload").
    QAction *action(const QString &name) const { return m_actions.value(name); }
    QAction *toolButton(const QString &key) const { return m_tools.value(key); }
    QLabel *panel(int number) const;
    QMdiArea *mdiArea() const { return m_mdi; }
    NavigatorDialog *navigator();
    StatusListWindow *statusListWindow();
    PidTrendScreens *pidTrendScreens() const { return m_pidTrend; }

    MainCommands &commands() { return m_commands; }
    MonitorCommands &monitorCommands() { return *m_monitor; }
    PollTimers &pollTimers() { return m_poll; }
    QTimer &mainTimer() { return m_tmrMain; } // tmrMain, 1000 ms
    QTimer &twoSecondTimer() { return m_tmrMain2Sec; } // tmrMain2Sec, 2000 ms
    // The drive link the timers poll; none until a link helper sets one.
    void setLinkMonitor(LinkMonitor *link) { m_poll.setLinkMonitor(link); }

    // The detailed editor (frmTabConfig), built on first use.
    TabConfigWindow *editorWindow();
    QMdiSubWindow *editorSubWindow() const { return m_editorSub; }
    EntryChecks &entryChecks() { return m_checks; }
    // Undo and redo of the editors' entries, between the editors and the
    // checks.
    EditHistory &editHistory() { return m_history; }
    DriveTransferCommands *transfers() const { return m_transfers; }
    WizardWindow *wizard() const;
    // The schematic state and the window of a page, if open.
    SchematicModel &schematic() { return m_schematic; }
    SchematicWindow *schematicWindow(SchematicPage page) const;
    // The schematic window of the current series shown; every page closed
    // (each asking to save when changed) and its state unloaded.
    void showSchematic() override;
    void closeSchematic() override;

    // Enables a command unless it is not built yet.
    void setCommandEnabled(Command command, bool enabled) override;

    // "  Tarvel - Current Config File: " + strConfigName
    void updateCaption() override;
    void setConnectionPanel(const QString &text, bool connected);

    // ShellHooks
    void setMainEnabled(bool enabled) override;
    void setBusyPointer(bool busy) override;
    void setPollTimerEnabled(bool enabled) override;
    void setPoll2SecTimerEnabled(bool enabled) override;
    void setMainCaption(const QString &caption) override;
    bool openDocument(const QString &path) override;
    // Replaces the desktop's "open" for documents (tests, kiosk set-ups).
    void setDocumentOpener(std::function<bool(const QString &)> opener) { m_documentOpener = std::move(opener); }

    // The window's Tag ("Detailed" / "Schematic"), set by the navigator.
    QString tag() const { return m_commands.tag(); }
    void setTag(const QString &tag) { m_commands.setTag(tag); }

    // The editor shown and brought to the front; the field being edited
    // left through its checks (false when the entry was refused).
    void showDetailedEditor() override;
    bool commitFocusedField() override;

public Q_SLOTS:
    void showNavigator();
    void showStatusList();
    // Change Drive Rating (mnuUpdate).
    void changeDriveRating();
    void showAutoDetect(); // frmAutoDetect, modeless
    void showConnection(); // frmCommSettings, modeless
    // The trace viewer frmDiags, and the About window (modal).
    void showDiags();
    void showAbout();

public:
    // The manual's windows and F1 (MainWindowHelp.cpp).
    HelpDesk &helpDesk() { return *m_help; }
    DiagsWindow *diagsWindow() const;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    // MainCommands::Windows
    void newConfigDialog(const QString &mode) override;
    void hideDetailedEditor() override;
    void download() override;
    void configurationReplaced() override;
    // PollDisplay
    void setPanelText(int panel, const QString &text) override;
    void setConnectedPicture(bool connected) override;

    void connectCommands();
    void connectLink();
    void connectPidTrend();
    void connectHelp();
    template<class Dialog> void showModeless(QPointer<QWidget> &slot);
    template<class Slot> void onCommand(Command command, Slot slot);
    void startTimers();
    void showSchematicPage(SchematicPage page);
    void schematicPageClosed();
    void showTruthTable();
    void showWizard();
    void setWizardLock(bool free);

    void buildMenus();
    void connectMenus();
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
    std::array<QList<QAction *>, CommandCount> m_commandActions;
    QList<QLabel *> m_panels;
    QLabel *m_connectionPicture = nullptr;
    NavigatorDialog *m_navigator = nullptr;
    StatusListWindow *m_statusList = nullptr;
    QMdiSubWindow *m_statusListSub = nullptr;
    EntryChecks m_checks;
    EditHistory m_history;
    MainCommands m_commands;
    PollTimers m_poll;
    QTimer m_tmrMain;
    QTimer m_tmrMain2Sec;
    TabConfigWindow *m_editor = nullptr;
    QMdiSubWindow *m_editorSub = nullptr;
    QPointer<WizardWindow> m_wizard;
    std::function<bool(const QString &)> m_documentOpener;
    bool m_closing = false;
    SerialLinkMonitor m_serialLink;
    QPointer<QWidget> m_commSettings; // frmCommSettings, modeless
    QPointer<QWidget> m_autoDetect; // frmAutoDetect
    QPointer<QWidget> m_busMonitor; // Drive > Bus Monitor
    DriveTransferCommands *m_transfers = nullptr; // Upload, Download
    MonitorCommands *m_monitor = nullptr; // keypad, faults, configuration information
    SchematicModel m_schematic;
    std::array<QPointer<SchematicWindow>, 3> m_schematicWindows; // by SchematicPage
    PidTrendScreens *m_pidTrend = nullptr; // Trend, PID Tuning, closed-loop diagram
    HelpDesk *m_help = nullptr; // the manual, F1
    QPointer<DiagsWindow> m_diags; // frmDiags, kept while hidden
};

} // namespace Tarvel
