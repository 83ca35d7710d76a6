// The application layer without windows: main-window commands, poll timers,
// dialog models, start-up and shutdown, the diagnostics file.
#include "TestMain.h"
#include "app/AboutInfo.h"
#include "app/ChangeRatingModel.h"
#include "app/DiagnosticsFile.h"
#include "app/EditHistory.h"
#include "app/InstanceChannel.h"
#include "app/MainCommands.h"
#include "app/NewConfigDialogModel.h"
#include "app/ParameterTableModel.h"
#include "app/PollDisplay.h"
#include "app/PollTimers.h"
#include "app/ShutdownFlow.h"
#include "app/Startup.h"
#include "base/TextFile.h"
#include "files/ConfigFile.h"
#include "files/FileTestSupport.h"
#include "ports/LinkMonitor.h"
#include "rules/RulesTestSupport.h"
#include "transfer/DriveBackup.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace Tarvel;
using Tarvel::Test::cell;

namespace MainCommandsTest {

// The file, view and current-configuration commands, with scripted message
// boxes and file dialogs and a record of the windows they ask for.

namespace {

class FakeWindows : public MainCommands::Windows
{
public:
    QStringList calls;
    bool commitRefused = false;
    void newConfigDialog(const QString &mode) override { calls << "dialog " + mode; }
    void showDetailedEditor() override { calls << "show editor"; }
    void hideDetailedEditor() override { calls << "hide editor"; }
    void download() override { calls << "download"; }
    bool commitFocusedField() override
    {
        calls << "commit";
        return !commitRefused;
    }
};

struct Hooks : ShellHooks
{
    QStringList captions;
    AppContext *ctx = nullptr;
    void updateCaption() override { captions << ctx->state.strConfigName; }
};

struct Fixture
{
    Test::ScriptedFileDialogs dialogs;
    FakeWindows windows;
    Hooks hooks;
    Test::TempProgram program;
    MainCommands commands {program.ctx(), windows};
    Fixture()
    {
        ctx().setFileDialogs(&dialogs);
        hooks.ctx = &ctx();
        ctx().setHooks(&hooks);
    }
    AppContext &ctx() { return program.ctx(); }
    QString configPath(const QString &name) { return QDir(ctx().paths().configsDir()).filePath(name); }
    // A QX2 configuration in the editor, as a new one leaves it.
    void loadConfiguration(const QString &tag = "1")
    {
        QVERIFY(Test::loadDrive(ctx(), Test::QX2));
        ctx().editor.setTag(tag);
        ctx().state.blnConfigChanged = true;
    }
};

} // namespace

class TestMainCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // An entry the checks refuse stops Save before the dialog; a cancelled
    // dialog writes nothing; a name without the extension gets it; once
    // named, Save writes there without asking.
    void saveAsksForTheFirstNameOnly()
    {
        Fixture f;
        f.loadConfiguration();
        f.windows.commitRefused = true;
        QVERIFY(!f.commands.save());
        QVERIFY(f.dialogs.requests.isEmpty());
        f.windows.commitRefused = false;
        QVERIFY(!f.commands.saveAs());
        QVERIFY(QDir(f.ctx().paths().configsDir()).entryList(QDir::Files).isEmpty());
        QVERIFY(f.ctx().state.blnConfigChanged);
        f.dialogs.answer = f.configPath("Pump 2");
        QVERIFY(f.commands.save());
        QCOMPARE(f.dialogs.requests.size(), 2);
        const FileDialogRequest &r = f.dialogs.requests[1];
        QCOMPARE(r.mode, FileDialogRequest::Save);
        QCOMPARE(r.filter, QStringLiteral("config files (*.qxc)|*.qxc"));
        QCOMPARE(r.initialDir, f.ctx().paths().configsDir());
        QVERIFY(r.confirmOverwrite);
        QVERIFY(Test::readBytes(f.configPath("Pump 2.qxc")).startsWith("#0205120\r\n"));
        QCOMPARE(f.ctx().state.strConfigPath, f.configPath("Pump 2.qxc"));
        QCOMPARE(f.hooks.captions.last(), QStringLiteral("Pump 2.qxc"));
        f.ctx().editor.txtP(103).setText("61");
        QVERIFY(f.commands.save());
        QCOMPARE(f.dialogs.requests.size(), 2);
        QVERIFY(Test::readBytes(f.configPath("Pump 2.qxc")).contains("\r\n10361\r\n"));
    }

    // A file named on the command line or by a later start.
    void namedFileOpensWithoutDialog()
    {
        Fixture f;
        f.loadConfiguration();
        QVERIFY(ConfigFile(f.ctx()).saveFile(f.configPath("Fan.qxc")));
        QVERIFY(Test::loadDrive(f.ctx(), {"01", "01", "104"}));
        const QString here = QDir::currentPath();
        QDir::setCurrent(f.ctx().paths().configsDir());
        const bool opened = f.commands.openNamedFile("Fan.qxc"); // relative to where the program started
        QDir::setCurrent(here);
        QVERIFY(opened);
        QVERIFY(f.dialogs.requests.isEmpty());
        QCOMPARE(f.ctx().state.strConfigPath, f.configPath("Fan.qxc"));
        QCOMPARE(f.ctx().state.strSeries, QStringLiteral("02"));
        QVERIFY(f.windows.calls.contains("show editor"));
        QVERIFY(!f.commands.openNamedFile("missing.qxc"));
    }

    // Restore Last Backup opens a backup of the connected drive under no
    // name, so a save cannot change it, and offers the download.
    void restoreLastBackup_data()
    {
        QTest::addColumn<QStringList>("backups"); // written oldest first
        QTest::addColumn<int>("newest"); // the answer to "open the newest?"
        QTest::addColumn<int>("download");
        QTest::addColumn<QString>("opened"); // empty: nothing opened
        const QStringList two {"0205120-20261201-080000.qxc", "0205120-20261205-170000.qxc"};
        QTest::newRow("none") << QStringList {} << 0 << 0 << QString();
        QTest::newRow("newest, downloaded") << two << int(Msg::Yes) << int(Msg::Yes) << two.last();
        QTest::newRow("older one chosen") << two << int(Msg::No) << int(Msg::No) << two.first();
    }
    void restoreLastBackup()
    {
        QFETCH(QStringList, backups);
        QFETCH(QString, opened);
        Fixture f;
        AppContext &ctx = f.ctx();
        const QString folder = DriveBackup::folder(ctx.paths());
        QVERIFY(QDir().mkpath(folder));
        // Which backups belong to the drive is DriveBackup's test.
        for (const QString &name : backups) {
            QVERIFY(Test::loadDrive(ctx, Test::QX2));
            ctx.editor.txtP(103).setText(QString::number(11 + backups.indexOf(name)));
            QVERIFY(ConfigFile(ctx).saveFile(folder + u'/' + name));
        }
        ctx.editor.setTag("0");
        ctx.state.strConnected = "True"; // a link open
        ctx.state.strDriveSeries = "2";
        ctx.state.strDriveModel = "5";
        ctx.state.strDriveRev = "120";
        f.dialogs.answer = folder + u'/' + backups.value(0);
        f.program.prompter().enqueue(cell<int>("newest"));
        f.program.prompter().enqueue(cell<int>("download"));
        f.commands.restoreLastBackup();
        QCOMPARE(f.windows.calls.contains("download"), cell<int>("download") == Msg::Yes);
        if (opened.isEmpty()) {
            QCOMPARE(f.program.prompter().titles(), QStringList {"Restore Last Backup"});
            QCOMPARE(ctx.editor.tag(), "0");
            return;
        }
        QCOMPARE(f.dialogs.requests.size(), cell<int>("newest") == Msg::No ? 1 : 0);
        QCOMPARE(ctx.editor.txtP(103).text(), QString::number(11 + backups.indexOf(opened)));
        QCOMPARE(ctx.state.strConfigPath, QStringLiteral(" "));
        QVERIFY(ctx.state.blnConfigChanged);
        QCOMPARE(ctx.statusList.lines().last(), "Backup opened from " + folder + u'/' + opened);
        QVERIFY(f.windows.calls.contains("show editor"));
    }

    void unsavedChanges_data()
    {
        QTest::addColumn<QString>("command");
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("saved");
        QTest::addColumn<QString>("next"); // what the command goes on to, either answer
        QTest::newRow("new detailed, yes")
            << "new detailed" << true << "1" << int(Msg::Yes) << true << true << "dialog Detailed";
        QTest::newRow("new wizard, no") << "new wizard" << true << "1" << int(Msg::No) << true << false
                                        << "dialog Wizard";
        QTest::newRow("open, yes") << "open" << true << "1" << int(Msg::Yes) << true << true << "file dialog";
        QTest::newRow("close, no") << "close" << true << "1" << int(Msg::No) << true << false << "hide editor";
        QTest::newRow("close, unchanged")
            << "close" << false << "1" << int(Msg::Yes) << false << false << "hide editor";
        QTest::newRow("unchanged") << "new detailed" << false << "1" << int(Msg::Yes) << false << false
                                   << "dialog Detailed";
        QTest::newRow("no configuration") << "open" << true << "0" << int(Msg::Yes) << false << false << "file dialog";
        QTest::newRow("wizard mode") << "close" << true << "2" << int(Msg::Yes) << true << true << "hide editor";
    }

    void unsavedChanges()
    {
        QFETCH(QString, command);
        QFETCH(bool, asked);
        Fixture f;
        f.loadConfiguration(cell<QString>("tag"));
        f.ctx().state.blnConfigChanged = cell<bool>("changed");
        const QString path = f.configPath("Fan.qxc");
        f.ctx().state.strConfigPath = path;
        f.ctx().state.strConfigName = "Fan.qxc";
        f.program.prompter().enqueue(cell<int>("answer"));
        const QMap<QString, std::function<void()>> commands {{"new detailed", [&] { f.commands.newDetailed(); }},
            {"new wizard", [&] { f.commands.newWizard(); }}, {"open", [&] { f.commands.openConfiguration(); }},
            {"close", [&] { f.commands.closeConfiguration(); }}};
        commands.value(command)();
        const auto &msgs = f.program.prompter().messages();
        QCOMPARE(msgs.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(msgs[0].text,
                QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?"));
            QCOMPARE(msgs[0].title, QStringLiteral("Unsaved Drive Config Data Exists"));
            QCOMPARE(msgs[0].style, Msg::YesNo | Msg::Question);
        }
        QCOMPARE(QFile::exists(path), cell<bool>("saved"));
        QStringList next = f.windows.calls.filter(QRegularExpression("^(dialog|hide) "));
        if (!f.dialogs.requests.isEmpty())
            next << "file dialog";
        QCOMPARE(next, QStringList {cell<QString>("next")});
        if (command != "close")
            return;
        // Saved or not, the configuration is emptied.
        const AppState &s = f.ctx().state;
        for (const QString &v : {s.strSeries, s.strModel, s.strRev, s.strConfigPath, s.strConfigName})
            QCOMPARE(v, QStringLiteral(" "));
        QCOMPARE(f.ctx().editor.tag(), QStringLiteral("0"));
        QVERIFY(!f.ctx().editor.txtP(100).visible());
        QCOMPARE(f.ctx().editor.lblP(100).foreColor(), Colour::GrayText);
        QCOMPARE(f.windows.calls.first(), "commit");
        QCOMPARE(f.hooks.captions.last(), QStringLiteral(" "));
    }

    void viewDetailed_data()
    {
        QTest::addColumn<QString>("tag");
        QTest::addColumn<bool>("shown");
        QTest::newRow("detailed") << "1" << true;
        QTest::newRow("schematic") << "3" << true;
        QTest::newRow("none") << "0" << false;
        QTest::newRow("wizard") << "2" << false;
    }

    void viewDetailed()
    {
        QFETCH(bool, shown);
        Fixture f;
        f.ctx().editor.setTag(cell<QString>("tag"));
        f.commands.viewDetailed();
        QCOMPARE(f.windows.calls.contains("show editor"), shown);
        QCOMPARE(f.commands.tag(), shown ? QStringLiteral("Detailed") : QString());
        // Without a configuration to show, it is Open.
        QCOMPARE(f.dialogs.requests.size(), shown ? 0 : 1);
    }
};

} // namespace MainCommandsTest

namespace PollTimersTest {

// The decisions of the two poll timers, against a scripted link and a
// display that records what a tick changes.

namespace {

class FakeLink : public LinkMonitor
{
public:
    bool open = false;
    bool good = true;
    int polls = 0;
    int closes = 0;
    std::function<void()> duringPoll;
    bool linkOpen() const override { return open; }
    bool pollDrive() override
    {
        ++polls;
        if (duringPoll)
            duringPoll();
        return good;
    }
    void closeConnection() override
    {
        ++closes;
        open = false;
    }
};

class RecordingDisplay : public PollDisplay
{
public:
    QMap<int, QString> panels;
    std::optional<bool> connected;
    QMap<QString, bool> enabled;
    void setPanelText(int panel, const QString &text) override { panels[panel] = text; }
    void setConnectedPicture(bool on) override { connected = on; }
    void setCommandEnabled(Command c, bool on) override { enabled[CommandTable::entry(c).name] = on; }
};

struct Fixture
{
    Test::TempProgram program;
    RecordingDisplay display;
    FakeLink link;
    PollTimers timers {program.ctx(), display};
    Fixture() { timers.setLinkMonitor(&link); }
    AppState &state() { return program.ctx().state; }
};

// Commands a usable link enables (and the offline ones it disables).
void verifyLinkCommands(const RecordingDisplay &d, bool usable)
{
    for (const char *name : {"mnuDisconnect", "mnuUpload", "mnuDownload", "mnuTrend", "mnuKeypad"})
        QVERIFY2(d.enabled.value(name, !usable) == usable, name);
    for (const char *name : {"mnuAutoDetect", "mnuConnect"})
        QVERIFY2(d.enabled.value(name, usable) == !usable, name);
}

} // namespace

class TestPollTimers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // The panels and commands a tick sets for each state of the link, and
    // the file commands that follow the configuration file.
    void mainTick_data()
    {
        QTest::addColumn<bool>("open");
        QTest::addColumn<QString>("series");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<bool>("pid");
        QTest::addColumn<QString>("path");
        const QString running = "Drive Status - RUN, REV     ";
        QTest::newRow("no link") << false << "2"
                                 << "Drive Status - Offline" << false << " ";
        QTest::newRow("series 2, file") << true << "2" << running << true << "/tmp/Pump1.qxc";
        QTest::newRow("series 1 has no PID") << true << "1" << running << false << " ";
    }

    void mainTick()
    {
        QFETCH(bool, open);
        QFETCH(QString, series);
        QFETCH(QString, path);
        Fixture f;
        f.link.open = open;
        f.state().strDriveSeries = series;
        f.state().strConfigPath = path;
        // The link helper fills the shared values while it polls; a timer
        // event delivered while the poll waits for the drive polls no more.
        f.link.duringPoll = [&] {
            f.state().DriveRunState = "RUN";
            f.state().DriveDirection = "REV";
            f.state().DriveJogState = " ";
            f.timers.mainTick();
        };
        f.timers.mainTick();
        QCOMPARE(f.link.polls, open ? 1 : 0);
        QCOMPARE(f.display.panels.value(2), cell<QString>("panel"));
        QCOMPARE(f.display.connected, std::optional<bool>(open));
        verifyLinkCommands(f.display, open);
        QCOMPARE(f.display.enabled.value("mnuPID"), cell<bool>("pid"));
        QCOMPARE(f.state().strDriveSeries, open ? series : QStringLiteral("Not Connected"));
        for (const char *name : {"mnuSave", "mnuClose", "mnuCompare", "mnuUpdate"})
            QVERIFY2(f.display.enabled.value(name) == (path != " "), name);
        QVERIFY(f.program.prompter().messages().isEmpty());
        // No link helper at all is no link either (and the tick is not still
        // held by the one before).
        f.timers.setLinkMonitor(nullptr);
        f.timers.mainTick();
        QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
    }

    void lostLinkToldOnce()
    {
        Fixture f;
        f.link.open = true;
        f.link.good = false;
        f.state().strConnected = "True";
        f.timers.mainTick();
        QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Communication Error"));
        verifyLinkCommands(f.display, false);
        QVERIFY(!f.display.enabled.value("mnuPID", true));
        QCOMPARE(f.state().strConnected, QStringLiteral("False"));
        QCOMPARE(f.state().strDriveModel, QStringLiteral("Not Connected"));
        const auto &msgs = f.program.prompter().messages();
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].title, QStringLiteral("Communication Error"));
        QCOMPARE(msgs[0].text,
            QStringLiteral("Communication with the drive has been lost.\rPlease correct the problem and try again."));
        QCOMPARE(Msg::icon(msgs[0].style), int(Msg::Critical));
        // The next tick finds no link: offline, and no second message.
        f.timers.mainTick();
        QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
        QCOMPARE(f.program.prompter().messages().size(), 1);
        QCOMPARE(f.link.closes, 1);
    }

    // The identity panel, the editor's caption and the commands that need
    // an ordinary (detailed) configuration.
    void twoSecondTick_data()
    {
        QTest::addColumn<bool>("linkOpen");
        QTest::addColumn<QString>("tag");
        QTest::addColumn<QStringList>("drive");
        QTest::addColumn<QString>("panel");
        QTest::addColumn<bool>("ordinary");
        QTest::addColumn<bool>("captioned");
        const QString equal = "Drive Series/Model/Rev Equal ";
        const QString differs = "Drive Series/Model/Rev Not Equal ";
        const QStringList same {"2", "5", "120"};
        QTest::newRow("no link") << false << "1" << same << " " << true << true;
        QTest::newRow("no configuration") << true << "0" << same << " " << false << false;
        QTest::newRow("detailed, equal by number") << true << "1" << same << equal << true << true;
        QTest::newRow("wizard, series differs")
            << true << "2" << QStringList {"3", "5", "120"} << differs << false << true;
        QTest::newRow("schematic, model differs")
            << true << "3" << QStringList {"2", "6", "120"} << differs << false << true;
        QTest::newRow("rev differs") << true << "1" << QStringList {"2", "5", "121"} << differs << true << true;
    }

    void twoSecondTick()
    {
        QFETCH(QStringList, drive);
        QFETCH(bool, ordinary);
        Fixture f;
        EditorForm &form = f.program.ctx().editor;
        f.link.open = cell<bool>("linkOpen");
        form.setTag(cell<QString>("tag"));
        form.cmbP(942).setText("05 QX-2-2P2T");
        f.state().strSeries = "02";
        f.state().strModel = "05";
        f.state().strRev = "120";
        f.state().strDriveSeries = drive[0];
        f.state().strDriveModel = drive[1];
        f.state().strDriveRev = drive[2];
        f.timers.twoSecondTick();
        QCOMPARE(f.display.panels.value(1), cell<QString>("panel"));
        const QString expected = cell<bool>("captioned")
            ? QStringLiteral("  Detailed Config - Current Drive Model = QX-2-2P2T,  Rev 1.20")
            : QStringLiteral("  Detailed Configuration");
        QCOMPARE(form.caption(), expected);
        for (const char *name : {"mnuSchematic", "mnuPrintConfig"})
            QVERIFY2(f.display.enabled.value(name, !ordinary) == ordinary, name);
    }
};

} // namespace PollTimersTest

namespace NewConfigTest {

// The new-configuration dialog's decisions: checks before anything is
// written, the file name, Browse and Cancel. Writing the file and the
// overwrite question are NewConfig's own test (tst_files).

namespace {

int positionOf(const NewConfigDialogModel &m, const QStringList &drive)
{
    for (int i = 0; i < m.drives().size(); ++i) {
        const DriveListEntry &d = m.drives().at(i);
        if (QStringList {d.seriesCode, d.modelCode, d.rev} == drive)
            return i;
    }
    return -1;
}

} // namespace

class TestNewConfigDialogModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    // OK starts the new configuration in the dialog's mode, or refuses with
    // a box and the focus that says why.
    void accept_data()
    {
        QTest::addColumn<QString>("mode");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("drive"); // one chosen
        QTest::addColumn<bool>("fileExists"); // and No to replacing it
        QTest::addColumn<QString>("message"); // empty: started, or NewConfig's question
        QTest::addColumn<int>("focus");
        const int none = int(NewConfigDialogModel::Focus::None);
        const QString detailed = QStringLiteral("Detailed"), name = QStringLiteral("Pump1");
        QTest::newRow("detailed") << detailed << name << true << false << "" << none;
        QTest::newRow("wizard") << "Wizard" << name << true << false << "" << none;
        QTest::newRow("no name") << detailed << "" << true << false << "Please enter a configuration name."
                                 << int(NewConfigDialogModel::Focus::Name);
        QTest::newRow("no drive") << detailed << name << false << false
                                  << "Please select a QX Series drive type\rfrom the dropdown box."
                                  << int(NewConfigDialogModel::Focus::Drives);
        QTest::newRow("file kept") << detailed << name << true << true << "" << none;
    }

    void accept()
    {
        QFETCH(QString, mode);
        QFETCH(QString, name);
        QFETCH(bool, fileExists);
        QFETCH(QString, message);
        Test::FileCommandHooks hooks;
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        ctx.setHooks(&hooks);
        NewConfigDialogModel m(ctx, mode);
        m.load();
        m.setName(name);
        m.setDriveIndex(cell<bool>("drive") ? positionOf(m, Test::QX2) : -1);
        if (fileExists)
            Test::writeBytes(m.filePath(), "old\r\n");
        program.prompter().enqueue(Msg::No);
        QList<NewConfig::Mode> shown;
        m.setShowMode([&](NewConfig::Mode s) { shown << s; });
        const bool started = message.isEmpty() && !fileExists;
        QCOMPARE(m.accept(), started);
        QCOMPARE(int(m.focusRequest()), cell<int>("focus"));
        if (started) { // what is written is NewConfig's test
            QCOMPARE(m.filePath(), QDir(ctx.paths().configsDir()).filePath("Pump1.qxc"));
            QCOMPARE(shown, QList<NewConfig::Mode> {*NewConfig::modeFromTag(mode)});
            QCOMPARE(hooks.calls.filter("caption=").value(0), "caption=Tarvel - Current Config File: Pump1.qxc");
            return;
        }
        const auto &msgs = program.prompter().messages();
        QCOMPARE(msgs.size(), 1);
        QCOMPARE(msgs[0].title, message.isEmpty() ? "Tarvel" : "Information Needed");
        if (!message.isEmpty()) {
            QCOMPARE(msgs[0].text, message);
            QCOMPARE(Msg::icon(msgs[0].style), int(Msg::Exclamation));
        }
        QCOMPARE(QDir(m.folder()).entryList(QDir::Files).size(), fileExists ? 1 : 0);
        QCOMPARE(Test::readBytes(m.filePath()), QByteArray(fileExists ? "old\r\n" : ""));
        QVERIFY(shown.isEmpty());
        QCOMPARE(ctx.editor.tag(), QStringLiteral("0"));
        QCOMPARE(m.name(), name);
    }

    void cancelRestoresIdentity()
    {
        Test::TempProgram program;
        AppState &s = program.ctx().state;
        s.strSeries = "03";
        s.strModel = "06";
        s.strRev = "104";
        NewConfigDialogModel m(program.ctx(), "Detailed");
        m.load();
        m.setDriveIndex(positionOf(m, Test::QX2));
        m.driveListLeft();
        QCOMPARE(s.strSeries, QStringLiteral("02"));
        m.cancel();
        QCOMPARE(Test::driveOf(program.ctx()), Test::QX3);
    }

    void browsePutsName()
    {
        Test::ScriptedFileDialogs dialogs;
        Test::TempProgram program;
        program.ctx().setFileDialogs(&dialogs);
        NewConfigDialogModel m(program.ctx(), "Detailed");
        m.load();
        QCOMPARE(m.driveIndex(), 0); // the first drive is offered
        m.setName("Draft");
        dialogs.answer = QDir(m.folder()).filePath("Pump1.qxc");
        m.browse();
        QCOMPARE(m.name(), QStringLiteral("Pump1"));
        QCOMPARE(dialogs.requests[0].initialDir, m.folder());
        // A cancelled dialog leaves the name.
        dialogs.answer.clear();
        m.browse();
        QCOMPARE(m.name(), QStringLiteral("Pump1"));
    }
};

} // namespace NewConfigTest

namespace ChangeRatingTest {

class TestChangeRatingModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void candidates_data()
    {
        QTest::addColumn<QString>("series"); // the text of P9.41
        QTest::addColumn<int>("count");
        QTest::addColumn<QString>("first");
        const QString none = "No models available to update to.";
        // Every revision of every model from the configuration's series on.
        QTest::newRow("QX1 offers all") << "01" << 109 << "QX-1-0P2S @ rev. 104";
        QTest::newRow("QX2 offers QX2 and QX3") << "02" << 81 << "QX-2-0P7T @ rev. 103";
        QTest::newRow("no configuration") << "" << 109 << "QX-1-0P2S @ rev. 104";
        QTest::newRow("after every series") << "04" << 0 << none;
        // Compared as text: "1" follows "03" although 1 is below 3.
        QTest::newRow("one digit sorts after") << "1" << 0 << none;
    }

    void candidates()
    {
        QFETCH(QString, series);
        QFETCH(int, count);
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        ctx.editor.txtP(941).setText(series);
        ChangeRatingModel m(ctx);
        m.load();
        QCOMPARE(m.candidates().size(), count);
        QCOMPARE(m.lines().size(), std::max(count, 1));
        QCOMPARE(m.currentText(), cell<QString>("first"));
        QCOMPARE(m.okEnabled(), count > 0);
        // Catalogue order: series, then model code.
        QString previous;
        for (const ChangeRatingModel::Candidate &c : m.candidates()) {
            QVERIFY2(c.seriesCode >= series && c.seriesCode + c.modelCode >= previous, qPrintable(c.text));
            QVERIFY(c.text.endsWith(" @ rev. " + c.rev));
            previous = c.seriesCode + c.modelCode;
        }
        // With OK off nothing can be started.
        if (count == 0) {
            QVERIFY(!m.accept());
            QVERIFY(ctx.statusList.lines().isEmpty());
        }
    }

    void demotion_data()
    {
        QTest::addColumn<QString>("choice");
        QTest::addColumn<bool>("warned");
        QTest::newRow("older rev") << "QX-2-0P7H @ rev. 103" << true;
        QTest::newRow("same rev") << "QX-2-0P7H @ rev. 120" << false;
        QTest::newRow("later series, lower rev code") << "QX-3-011H @ rev. 100" << false;
    }

    // The warning does not undo the choice: OK runs the update to the drive
    // chosen, with the busy pointer while it runs.
    void demotion()
    {
        QFETCH(QString, choice);
        QFETCH(bool, warned);
        Test::FileCommandHooks hooks;
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        ctx.setHooks(&hooks);
        QVERIFY(Test::loadDrive(ctx, Test::QX2));
        ChangeRatingModel m(ctx);
        int closed = 0;
        m.setCloseDialog([&] { ++closed; });
        m.load();
        const int index = int(m.lines().indexOf(choice));
        QVERIFY(index >= 0);
        m.choose(index);
        QCOMPARE(m.currentText(), choice);
        const QList<ScriptedPrompter::Message> &messages = program.prompter().messages();
        QCOMPARE(messages.size(), warned ? 1 : 0);
        if (warned) {
            QCOMPARE(messages.first().text, QStringLiteral("Please select a later series/rev drive model."));
            QCOMPARE(messages.first().title, QStringLiteral("Cannot demote drive."));
            QCOMPARE(messages.first().style, int(Msg::Exclamation));
        }
        QVERIFY(m.accept());
        QCOMPARE(closed, 1);
        // What the update carries over and reports is RatingUpdate's own test.
        QCOMPARE(ctx.state.strRev, choice.section(" @ rev. ", 1));
        QCOMPARE(hooks.calls.filter("busy=").first(), "busy=1");
        QCOMPARE(hooks.calls.filter("busy=").last(), "busy=0");
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void commandNeedsAFile()
    {
        Test::TempProgram program;
        AppContext &ctx = program.ctx();
        int shown = 0;
        ChangeRatingModel::changeDriveRating(ctx, [&] { ++shown; });
        QCOMPARE(program.prompter().titles(), QStringList {"No Configuration Loaded"});
        ctx.state.strConfigPath = program.path("Configs/Pump1.qxc");
        ChangeRatingModel::changeDriveRating(ctx, [&] { ++shown; });
        QCOMPARE(shown, 1);
        QCOMPARE(program.prompter().messages().size(), 1);
    }
};

} // namespace ChangeRatingTest

namespace StartupTest {

// Start-up (Main) and the close path.

namespace {

struct RecordingWindows : StartupWindows
{
    QStringList shown;
    void loadDetailedEditor() override { shown << "editor"; }
    void showMainWindow() override { shown << "main"; }
    void showNavigator() override { shown << "navigator"; }
    void showSplash() override { shown << "splash"; }
};

} // namespace

class TestStartup : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void mainShowsWindowsInOrder_data()
    {
        QTest::addColumn<bool>("quickScreen");
        QTest::addColumn<QStringList>("expected");
        QTest::newRow("navigator on") << true << QStringList {"editor", "main", "navigator", "splash"};
        QTest::newRow("navigator off") << false << QStringList {"editor", "main", "splash"};
    }

    void mainShowsWindowsInOrder()
    {
        QFETCH(bool, quickScreen);
        Test::TempProgram program;
        Startup startup(program.ctx());
        QVERIFY(startup.writeQuickScreen(quickScreen, "frmStartup, chkRepeat"));
        AppState &s = program.ctx().state;
        s.strConnected = "True";
        s.blnConfigChanged = true;
        RecordingWindows windows;
        startup.main(windows);
        QTEST(windows.shown, "expected");
        QCOMPARE(s.strConfigPath, QStringLiteral(" "));
        QCOMPARE(s.strConnected, QStringLiteral("False"));
        QVERIFY(!s.blnConfigChanged && !s.blnDiagsTrace && !s.blnStepDone);
        QCOMPARE(program.ctx().editor.tag(), QStringLiteral("0"));
        QVERIFY(program.errorLogLines().isEmpty());
    }

    void missingCatalogueLeavesOnlyTheMainWindow()
    {
        Test::TempProgram program(false);
        RecordingWindows windows;
        Startup(program.ctx()).main(windows);
        QCOMPARE(windows.shown, (QStringList {"editor", "main"}));
        const QStringList log = program.errorLogLines();
        QCOMPARE(log.size(), 2);
        QVERIFY2(log.at(0).contains(" - basMain, ConnectDB(), Program, 3024, "), qPrintable(log.at(0)));
        QVERIFY2(log.at(1).contains(" - basMain, Main(), Program, 91, "), qPrintable(log.at(1)));
    }

    void laterStartHandsOverItsFile()
    {
        Test::TempProgram a, b;
        InstanceChannel running(a.dir());
        QVERIFY(running.listen());
        QSignalSpy handed(&running, &InstanceChannel::activationRequested);
        // Opening may ask a question: a wait with events while the later start
        // has already gone.
        QObject::connect(&running, &InstanceChannel::activationRequested, &running, [] {
            QEventLoop question;
            QTimer::singleShot(50, &question, &QEventLoop::quit);
            question.exec();
        });
        QVERIFY(InstanceChannel(a.dir()).send("/home/user/Fan 2.qxc"));
        QVERIFY(InstanceChannel(a.dir()).send(QString()));
        QTRY_COMPARE(handed.size(), qsizetype(2));
        QCOMPARE(handed.at(0).at(0).toString(), QStringLiteral("/home/user/Fan 2.qxc"));
        QCOMPARE(handed.at(1).at(0).toString(), QString());
        QVERIFY(!InstanceChannel(b.dir()).send("/home/user/Fan.qxc")); // no copy runs for b
    }

    void closePath_data()
    {
        QTest::addColumn<bool>("changed");
        QTest::addColumn<QList<int>>("answers");
        QTest::addColumn<bool>("quits");
        QTest::addColumn<bool>("saved");
        QTest::newRow("No stays") << true << QList<int> {Msg::No} << false << false;
        QTest::newRow("nothing changed") << false << QList<int> {Msg::Yes} << true << false;
        QTest::newRow("save on Yes") << true << QList<int> {Msg::Yes, Msg::Yes} << true << true;
        QTest::newRow("discard on No") << true << QList<int> {Msg::Yes, Msg::No} << true << false;
    }

    void closePath()
    {
        QFETCH(QList<int>, answers);
        Test::TempProgram program(false);
        program.ctx().editor.setTag("1");
        program.ctx().state.blnConfigChanged = cell<bool>("changed");
        for (int a : answers)
            program.prompter().enqueue(a);
        bool didSave = false;
        QCOMPARE(
            ShutdownFlow(program.ctx()).confirmQuit("Closing Tarvel", [&] { didSave = true; }), cell<bool>("quits"));
        QCOMPARE(didSave, cell<bool>("saved"));
        const auto &m = program.prompter().messages();
        QCOMPARE(m.size(), answers.size());
        QCOMPARE(m.at(0).text, QStringLiteral("Are your sure you want to quit?"));
        QCOMPARE(m.at(0).title, QStringLiteral("Closing Tarvel"));
        QCOMPARE(m.at(0).style, Msg::YesNo | Msg::Question | Msg::DefaultButton2);
        if (m.size() == 2)
            QCOMPARE(m.at(1).title, QStringLiteral("Unsaved Drive Config Data Exists"));
    }
};

} // namespace StartupTest

// Undo and redo of entries, through the history as the editor reaches the
// checks: a step holds every parameter the entry and its rules changed.
namespace EditHistoryTest {

class TestEditHistory : public QObject
{
    Q_OBJECT

    static void type(EditHistory &history, AppContext &ctx, int index, const QString &text)
    {
        history.enterValueBox(index);
        ctx.editor.txtP(index).setText(text);
        history.leaveValueBox(index);
    }
    static void choose(EditHistory &history, AppContext &ctx, int index, int position)
    {
        ctx.editor.cmbP(index).setListIndex(position);
        history.leaveChoiceList(index);
    }

private Q_SLOTS:
    // P2.00 back from the custom curve resets and locks P2.04..P2.07: one
    // step, undone and redone whole.
    void undoRestoresWhatTheRulesMoved()
    {
        Test::EditScript script(QStringLiteral("03/06/104"));
        QVERIFY(script.loaded());
        AppContext &ctx = script.ctx();
        script.program().prompter().setAnswerYes(true);
        EditHistory history(ctx, script.checks());
        QUndoStack &stack = history.stack();
        choose(history, ctx, 200, 3);
        const QStringList curve {"5", "30", "2", "10"};
        for (int k = 0; k < 4; ++k)
            type(history, ctx, 204 + k, curve.at(k));
        QCOMPARE(stack.count(), 5);
        QCOMPARE(stack.undoText(), "P2.07 12 -> 10");

        type(history, ctx, 206, "50"); // above P2.04: refused
        type(history, ctx, 204, "5"); // no change
        QCOMPARE(stack.count(), 5);
        QCOMPARE(ctx.editor.txtP(206).text(), "2");

        const FormState custom = history.capture();
        choose(history, ctx, 200, 0);
        QCOMPARE(stack.count(), 6);
        QCOMPARE(stack.undoText(), "P2.00 3 -> 0");
        const FormState reset = history.capture();
        for (int k = 204; k <= 207; ++k)
            QVERIFY(!ctx.editor.txtP(k).enabled() && reset.value(k) != custom.value(k));

        stack.undo();
        QCOMPARE(history.capture(), custom);
        QCOMPARE(ctx.editor.txtP(206).text(), "2");
        QVERIFY(ctx.editor.txtP(206).enabled());
        QCOMPARE(ctx.editor.lblP(206).foreColor(), Colour::Red);
        QCOMPARE(ctx.params.varLastChance[206].toString(), "2");
        stack.redo();
        QCOMPARE(history.capture(), reset);
        // The value restored by an undo goes through the checks as typed.
        stack.undo();
        type(history, ctx, 207, "11");
        QCOMPARE(stack.count(), 6);
        QCOMPARE(stack.undoText(), "P2.07 10 -> 11");
        history.clear();
        QCOMPARE(stack.count(), 0);
    }

    // The table enters values as the editor does: the same refusal, the
    // same rules, one step per accepted entry.
    void tableEntersThroughTheChecks()
    {
        Test::EditScript script(QStringLiteral("03/06/104"));
        QVERIFY(script.loaded());
        AppContext &ctx = script.ctx();
        EditHistory history(ctx, script.checks());
        ParameterTableModel table(ctx, script.checks(), &history);
        const auto cell = [&](int index, int column) { return table.index(table.rowOf(index), column); };
        QVERIFY(table.setData(cell(103, ParameterTableModel::Value), "700"));
        QCOMPARE(script.program().prompter().titles(), QStringList {"Value Out Of Range"});
        QCOMPARE(ctx.editor.txtP(103).text(), "30");
        QCOMPARE(history.stack().count(), 0);
        QVERIFY(table.setData(cell(103, ParameterTableModel::Value), "45"));
        QCOMPARE(cell(103, ParameterTableModel::Value).data().toString(), "45");
        QCOMPARE(cell(103, ParameterTableModel::Differs).data().toString(), "Yes");
        QVERIFY(table.setData(cell(200, ParameterTableModel::Value), 3)); // the custom curve frees P2.04
        QVERIFY(ctx.editor.txtP(204).enabled());
        QCOMPARE(history.stack().count(), 2);
        QVERIFY(!(table.flags(cell(941, ParameterTableModel::Value)) & Qt::ItemIsEditable));
    }
};

} // namespace EditHistoryTest

// The diagnostics file's writer and the catalogue texts of the About window.
namespace DiagnosticsTest {

using namespace Tarvel::Test;

const QString Blank = QStringLiteral(" ");

class TestDiagnosticsFile : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void sections_data()
    {
        QTest::addColumn<bool>("configuration");
        QTest::addColumn<QStringList>("errorLog");
        QTest::newRow("configuration and error log")
            << true << QStringList {"1.1.2026 10:00:00 - frmMain, x, 53, File not found", "second line"};
        QTest::newRow("nothing in memory, no log") << false << QStringList {};
    }

    // Every section in order, the configuration's values and the error log
    // as they are in memory and on disk.
    void sections()
    {
        QFETCH(bool, configuration);
        QFETCH(QStringList, errorLog);
        TempProgram program;
        AppContext &ctx = program.ctx();
        if (configuration) {
            QVERIFY(loadDrive(ctx, {"02", "05", "120"}));
            ctx.state.strConfigPath = program.path("Configs/pump.qxc");
            ctx.state.strRev = QStringLiteral("120");
            ctx.editor.txtP(103).setText(QStringLiteral("12.5"));
            QVERIFY(ctx.state.blnConfigChanged);
        }
        if (!errorLog.isEmpty())
            writeBytes(ctx.paths().errorLog(), TextFile::encodeLines(errorLog));
        const DiagnosticsFile::Captions captions {QStringLiteral("Version 9.8.7"), QStringLiteral("dB Version: x."),
            QStringLiteral("Drive Series/Model/Rev Equal "), QStringLiteral("Drive Status - Offline"),
            QStringLiteral("Off-Line ")};
        DiagnosticsFile(ctx).write(captions);
        const QByteArray bytes = readBytes(ctx.paths().diagsLog());
        const QStringList lines = TextFile::decodeLines(bytes);

        QVERIFY(lines.at(0).startsWith("Diagnostic file created "));
        const QStringList head {Blank, DiagnosticsFile::osLine(), DiagnosticsFile::osBuildLine(), Blank,
            "Application info follows --------------------------", "Application Path = " + program.dir(),
            "Version 9.8.7", "dB Version: x.", "Help File = qrc:/manual/index.html", Blank,
            "Connected Drive info follows ----------------------", "Drive Status - Offline", "Connection: Off-Line ",
            "Series: Not Connected", "Model: Not Connected", "Rev: Not Connected", Blank,
            "Config in pc memory follows------------------------",
            "Current config file = " + (configuration ? program.path("Configs/pump.qxc") : Blank),
            QString("Current status of Dirty Data: ") + (configuration ? "True" : "False"),
            "Drive Series/Model/Rev Equal ", "Series: " + QString(configuration ? "02" : ""),
            "Model: " + QString(configuration ? "05" : ""), "Rev: " + QString(configuration ? "120" : ""), Blank,
            "Param - Value", "-------------"};
        QCOMPARE(lines.mid(1, head.size()), head);
        QVERIFY(lines.at(2).contains(", version "));

        const QVector<int> &fields = EditorForm::fieldIndices();
        const QStringList params = lines.mid(1 + head.size(), fields.size());
        QCOMPARE(params.first(), "000 - " + ctx.editor.txtP(fields.first()).text());
        QCOMPARE(params.last(), QString::number(fields.last()) + " - " + ctx.editor.txtP(fields.last()).text());
        QVERIFY(params.contains(QStringLiteral("005 - ") + ctx.editor.txtP(5).text()));
        QCOMPARE(params.contains("103 - 12.5"), configuration);

        const QStringList tail = lines.mid(1 + head.size() + fields.size());
        const QStringList log = errorLog.isEmpty() ? QStringList {"Could not find error log."} : errorLog;
        QCOMPARE(tail,
            QStringList({Blank, "Error Log Follows ----------------------------------", Blank}) + log
                + QStringList({Blank, "End of diagnostic file"}));
        QVERIFY(bytes.contains("\r\nEnd of diagnostic file\r\n"));
    }

    // The catalogue's own texts for the About window.
    void catalogueInfo()
    {
        TempProgram program;
        const AboutInfo::CatalogueInfo info = AboutInfo::readCatalogue(program.ctx());
        QCOMPARE(info.dbVersion, QStringLiteral("dB Version: 1.30, 2009-02-10."));
        QCOMPARE(info.drives.size(), NewConfig(program.ctx()).driveList().size());
        QVERIFY(info.drives.first().startsWith("Model QX-1-0P2S rev. 104 - "));
    }
};

} // namespace DiagnosticsTest

TARVEL_TEST_GUILESS_MAIN(EditHistoryTest::TestEditHistory, MainCommandsTest::TestMainCommands,
    PollTimersTest::TestPollTimers, NewConfigTest::TestNewConfigDialogModel, ChangeRatingTest::TestChangeRatingModel,
    StartupTest::TestStartup, DiagnosticsTest::TestDiagnosticsFile)
#include "tst_app.moc"
