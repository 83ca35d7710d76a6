// The Drive menu's Upload and Download on a simulated drive: a value edited
// after an upload reaches the drive and comes back with the next upload,
// and the window is usable again after each transfer.
#include "SimProcess.h"
#include "TestSupport.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "support/ScriptedPrompter.h"
#include "comm/CommLink.h"
#include "comm/PortMap.h"
#include "ui/main/DriveTransferCommands.h"
#include "ui/main/MainWindow.h"
#include "ui/main/Shell.h"

#include <QAction>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStandardPaths>
#include <QtTest>

using namespace Tarvel;

namespace {

// A value box the user may change: enabled, no choice list, and one step
// above its default still inside the limits.
std::optional<int> editableIndex(AppContext &ctx)
{
    for (int i : EditorForm::fieldIndices()) {
        const ParamTables &p = ctx.params;
        if (i < 100 || p.blnReadOnly[i] || p.blnListShown[i] || !ctx.editor.txtP(i).enabled())
            continue;
        const double step = p.sngResolution[i];
        const double proposed = p.varDefault[i].toDouble() + step;
        if (step > 0 && p.varMax[i].isValid() && proposed <= p.varMax[i].toDouble())
            return i;
    }
    return std::nullopt;
}

} // namespace

class TestMainWindowTransfer : public QObject
{
    Q_OBJECT
private Q_SLOTS:
    void initTestCase() { QStandardPaths::setTestModeEnabled(true); }
    void cleanup() { QSettings().remove(DriveTransferCommands::BlockTransferKey); }
    void uploadEditDownload();
};

// With the Block Transfers option on: the option must reach the link and
// the settings; single against block transfers is the operations' test.
void TestMainWindowTransfer::uploadEditDownload()
{
    Test::TempProgram program;
    Shell shell(program.ctx());
    AppContext &ctx = program.ctx();
    ScriptedPrompter &prompter = program.prompter();
    ctx.setPrompter(&prompter);
    MainWindow &w = shell.mainWindow();
    w.mainTimer().stop();
    w.twoSecondTimer().stop();

    Test::SimProcess sim(QStringList {"--drive", "02,05,120"});
    QString error;
    QVERIFY2(sim.startPty(&error), qPrintable(error));
    CommLink &link = ctx.link();
    link.mod1().setPortMap(PortMap(QStringList {sim.link()}));
    QCOMPARE(link.openSerial(SerialLinkSettings {}), 0);
    w.pollTimers().mainTick(); // the drive's identity and run state
    QCOMPARE(ctx.state.DriveRunState, QStringLiteral("STOP"));
    QVERIFY(w.action("mnuUpload")->isEnabled());
    QVERIFY(w.toolButton("Download")->isEnabled());

    QAction *blockOption = w.action("mnuBlockTransfer");
    QVERIFY(blockOption && blockOption->isCheckable() && !blockOption->isChecked());
    blockOption->setChecked(true);
    QVERIFY(link.blockTransfer());
    QVERIFY(QSettings().value(DriveTransferCommands::BlockTransferKey).toBool());

    // Upload: proceed, do not save.
    prompter.enqueue(Msg::Yes);
    prompter.enqueue(Msg::No);
    w.action("mnuUpload")->trigger();
    QCOMPARE(prompter.titles(), (QStringList {"Verification Required", "Upload Status"}));
    QCOMPARE(ctx.editor.tag(), QStringLiteral("1"));
    QVERIFY(w.editorSubWindow() && w.editorSubWindow()->isVisibleTo(&w));
    QVERIFY(w.isEnabled());
    QVERIFY(ctx.statusList.lines().constLast().startsWith(QStringLiteral("Upload of Drive Model ")));
    if (const QString dir = qEnvironmentVariable("TARVEL_SCREENSHOT_DIR"); !dir.isEmpty()) {
        w.show();
        w.showStatusList();
        w.grab().save(dir + QStringLiteral("/mainwindow-uploaded.png"));
    }

    const std::optional<int> index = editableIndex(ctx);
    QVERIFY(index);
    const int i = *index;
    const double edited = ctx.params.varDefault[i].toDouble() + ctx.params.sngResolution[i];
    const QString editedText = QString::number(edited, 'g', 7);
    ctx.editor.txtP(i).setText(editedText);

    // Download: confirm; the rest are information boxes.
    prompter.clear();
    prompter.enqueue(Msg::Yes);
    w.toolButton("Download")->trigger();
    QCOMPARE(prompter.titles(), (QStringList {"Confirm Download", "Prepare Drive", "Download Status"}));
    QVERIFY(w.isEnabled());

    // The drive now holds the edited value: a fresh upload brings it back.
    ctx.editor.txtP(i).setText(QStringLiteral("0"));
    ctx.state.blnConfigChanged = false;
    prompter.clear();
    prompter.enqueue(Msg::Yes);
    prompter.enqueue(Msg::No);
    w.action("mnuUpload")->trigger();
    QCOMPARE(ctx.editor.txtP(i).text().toDouble(), editedText.toDouble());
}

QTEST_MAIN(TestMainWindowTransfer)
#include "tst_mainwindow_transfer.moc"
