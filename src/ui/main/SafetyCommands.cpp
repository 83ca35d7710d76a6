#include "SafetyCommands.h"

#include "MainWindow.h"
#include "app/EditHistory.h"
#include "app/RecentFiles.h"
#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "transfer/DownloadOperation.h"
#include "ui/common/AppIcons.h"
#include "ui/editors/FileCompareWindow.h"
#include "ui/editors/ParameterTableWindow.h"
#include "ui/editors/TabConfigWindow.h"

#include <QAction>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>

namespace Tarvel {

SafetyCommands::SafetyCommands(AppContext &ctx, MainWindow &window)
    : QObject(&window)
    , m_ctx(ctx)
    , m_window(window)
{
    wire();
    updateCommands();
}

void SafetyCommands::wire()
{
    QUndoStack &stack = m_window.editHistory().stack();
    const auto on = [this](Command c, void (SafetyCommands::*slot)()) {
        for (QAction *a : m_window.commandActions(c))
            connect(a, &QAction::triggered, this, slot);
    };
    on(Command::Undo, &SafetyCommands::undo);
    on(Command::Redo, &SafetyCommands::redo);
    on(Command::FindParameter, &SafetyCommands::findParameter);
    on(Command::AllParameters, &SafetyCommands::showAllParameters);
    on(Command::CompareFile, &SafetyCommands::compareWithFile);
    connect(m_window.action(Command::RestoreBackup), &QAction::triggered, this,
        [this] { m_window.commands().restoreLastBackup(); });
    connect(&stack, &QUndoStack::indexChanged, this, &SafetyCommands::updateCommands);
    connect(&stack, &QUndoStack::cleanChanged, this, &SafetyCommands::updateCommands);
    connect(&m_ctx.editor, &EditorForm::tagChanged, this, &SafetyCommands::updateCommands);
    // The table shows the parameters of the drive loaded now.
    connect(&m_window.editHistory(), &EditHistory::cleared, this, [this] {
        if (m_table)
            m_table->reload();
    });
    // The link and the drive's identity change with the polling.
    connect(&m_window.mainTimer(), &QTimer::timeout, this, &SafetyCommands::updateCommands);
    if (QMenu *recent = m_window.action(Command::RecentMenu)->menu())
        connect(recent, &QMenu::aboutToShow, this, &SafetyCommands::fillRecentMenu);
}

void SafetyCommands::updateCommands()
{
    const QUndoStack &stack = m_window.editHistory().stack();
    const int tag = m_ctx.editor.tagNumber();
    const bool loaded = tag != 0;
    const bool linked = m_ctx.link().linkOpen();
    m_window.setCommandEnabled(Command::Undo, loaded && stack.canUndo());
    m_window.setCommandEnabled(Command::Redo, loaded && stack.canRedo());
    m_window.action(Command::Undo)
        ->setText(stack.canUndo() ? QStringLiteral("Undo ") + stack.undoText() : QStringLiteral("Undo"));
    m_window.action(Command::Redo)
        ->setText(stack.canRedo() ? QStringLiteral("Redo ") + stack.redoText() : QStringLiteral("Redo"));
    m_window.setCommandEnabled(Command::FindParameter, loaded);
    m_window.setCommandEnabled(Command::AllParameters, loaded);
    m_window.setCommandEnabled(Command::CompareFile, tag == 1 || tag == 3);
    m_window.setCommandEnabled(Command::RecentMenu, true);
    m_window.setCommandEnabled(Command::RestoreBackup, linked);
    m_window.setCommandEnabled(
        Command::CompareDrive, linked && (tag == 1 || tag == 3) && DownloadOperation::identityMatches(m_ctx.state));
}

void SafetyCommands::undo()
{
    // A value typed and not yet left is an entry too: taken first, then
    // taken back with the rest.
    if (m_window.commitFocusedField())
        m_window.editHistory().stack().undo();
}

void SafetyCommands::redo()
{
    if (m_window.commitFocusedField())
        m_window.editHistory().stack().redo();
}

void SafetyCommands::findParameter()
{
    m_window.showDetailedEditor();
    m_window.editorWindow()->focusSearch();
}

QMdiSubWindow *SafetyCommands::showChild(QWidget *child)
{
    auto *sub = qobject_cast<QMdiSubWindow *>(child->parentWidget());
    if (!sub) {
        sub = m_window.mdiArea()->addSubWindow(child);
        sub->setWindowIcon(AppIcons::application());
        sub->setAttribute(Qt::WA_DeleteOnClose, false);
        sub->resize(child->size());
    }
    sub->show();
    child->show();
    m_window.mdiArea()->setActiveSubWindow(sub);
    return sub;
}

void SafetyCommands::showAllParameters()
{
    m_ctx.trap(QStringLiteral("frmMain, mnuAllParameters_Click"), [&] {
        if (!m_table)
            m_table = new ParameterTableWindow(m_ctx, m_window.entryChecks(), &m_window.editHistory());
        m_table->reload();
        showChild(m_table);
    });
}

void SafetyCommands::compareWithFile()
{
    QString path;
    QVector<ParamDifference> differences;
    if (!m_window.commands().compareWithFile(&path, &differences))
        return;
    if (!m_compare)
        m_compare = new FileCompareWindow(m_ctx);
    m_compare->showDifferences(path, differences);
    showChild(m_compare);
}

void SafetyCommands::fillRecentMenu()
{
    QMenu *menu = m_window.action(Command::RecentMenu)->menu();
    menu->clear();
    const QStringList paths = RecentFiles::list();
    for (int k = 0; k < paths.size(); ++k) {
        const QString path = paths.at(k);
        QAction *a = menu->addAction(QStringLiteral("&%1 %2").arg(k + 1).arg(QDir::toNativeSeparators(path)));
        a->setObjectName(QStringLiteral("mnuRecent_%1").arg(k));
        connect(a, &QAction::triggered, this, [this, path] { m_window.commands().openRecent(path); });
    }
    if (paths.isEmpty())
        menu->addAction(QStringLiteral("(none)"))->setEnabled(false);
}

} // namespace Tarvel
