#pragma once

#include <QObject>
#include <QPointer>

class QMdiSubWindow;
class QWidget;

namespace Tarvel {

class AppContext;
class FileCompareWindow;
class MainWindow;
class ParameterTableWindow;

// The commands that keep an engineer from losing work: Edit > Undo, Redo
// and Find Parameter, View > All Parameters, File > Compare With File...
// and the recent files, Drive > Restore Last Backup; and when each of them
// and Compare With Drive can be used.
class SafetyCommands : public QObject
{
    Q_OBJECT
public:
    SafetyCommands(AppContext &ctx, MainWindow &window);

    // Enables the commands for the configuration and the link as they are.
    void updateCommands();

    ParameterTableWindow *parameterTable() const { return m_table; }
    FileCompareWindow *fileCompare() const { return m_compare; }

    void undo();
    void redo();
    void findParameter();
    void showAllParameters();
    void compareWithFile();
    void fillRecentMenu();

private:
    void wire();
    QMdiSubWindow *showChild(QWidget *child);

    AppContext &m_ctx;
    MainWindow &m_window;
    ParameterTableWindow *m_table = nullptr;
    FileCompareWindow *m_compare = nullptr;
};

} // namespace Tarvel
