// The application layer without windows: main-window commands, poll timers,
// dialog models, start-up and shutdown, status-list actions.
#include "TestMain.h"
#include "TestSupport.h"
#include "app/ChangeRatingModel.h"
#include "app/InstanceChannel.h"
#include "app/MainCommands.h"
#include "app/NewConfigDialogModel.h"
#include "app/PollDisplay.h"
#include "app/PollTimers.h"
#include "app/ShutdownFlow.h"
#include "app/Startup.h"
#include "app/StatusListActions.h"
#include "base/InstanceGuard.h"
#include "files/ConfigFile.h"
#include "files/FileTestSupport.h"
#include "ports/LinkMonitor.h"
#include "ports/ShellHooks.h"

#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QSignalSpy>
#include <QTimer>
#include <QtTest>
#include <functional>

using namespace Tarvel;

namespace MainCommandsTest {

// The file, view and current-configuration commands, with scripted message
// boxes and file dialogs and a record of the windows they ask for.

namespace {

// A column of the current data row, where a statement cannot stand.
template<class T> T cell(const char *name)
{
    return *static_cast<T *>(QTest::qData(name, qMetaTypeId<T>()));
}

class FakeWindows : public MainCommands::Windows
{
public:
    QStringList calls;
    bool commitRefused = false;
    void newConfigDialog(const QString &mode) override { calls << "dialog " + mode; }
    void showDetailedEditor() override { calls << "show editor"; }
    void hideDetailedEditor() override { calls << "hide editor"; }
    bool commitFocusedField() override
    {
        calls << "commit";
        return !commitRefused;
    }
};

struct Hooks : ShellHooks
{
    QStringList captions;
    QStringList opened;
    AppContext *ctx = nullptr;
    void updateCaption() override { captions << ctx->state.strConfigName; }
    bool openDocument(const QString &path) override
    {
        opened << path;
        return true;
    }
};

struct Fixture
{
    Test::TempProgram program;
    Test::ScriptedFileDialogs dialogs;
    FakeWindows windows;
    Hooks hooks;
    MainCommands commands {program.ctx(), windows};
    Fixture()
    {
        ctx().setFileDialogs(&dialogs);
        hooks.ctx = &ctx();
        ctx().setHooks(&hooks);
    }
    ~Fixture()
    {
        ctx().setHooks(nullptr);
        ctx().setFileDialogs(nullptr);
    }
    AppContext &ctx() { return program.ctx(); }
    QString configPath(const QString &name) { return QDir(ctx().paths().configsDir()).filePath(name); }
    // A QX2 configuration in the editor, as a new one leaves it.
    void loadConfiguration(const QString &tag = "1")
    {
        QVERIFY(Test::loadDrive(ctx(), {"02", "05", "120"}));
        ctx().editor.setTag(tag);
        ctx().state.blnConfigChanged = true;
    }
};

const QString UnsavedText
    = QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?");

} // namespace

class TestMainCommands : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void saveWithoutFileAsksForName();
    void saveAsAddsExtensionAndNamesCaption();
    void saveAsCancelledWritesNothing();
    void refusedEntryStopsSave();
    void openSetsFileAndShowsEditor();
    void namedFileOpensWithoutDialog();
    void unsavedChanges_data();
    void unsavedChanges();
    void closeEmptiesConfiguration();
    void viewDetailed_data();
    void viewDetailed();
    void compareAndReport();
};

void TestMainCommands::saveWithoutFileAsksForName()
{
    Fixture f;
    f.loadConfiguration();
    f.dialogs.answer = f.configPath("Fan.qxc");
    QVERIFY(f.commands.save());
    QCOMPARE(f.dialogs.requests.size(), 1);
    const FileDialogRequest &r = f.dialogs.requests[0];
    QCOMPARE(r.mode, FileDialogRequest::Save);
    QCOMPARE(r.filter, QStringLiteral("config files (*.qxc)|*.qxc"));
    QCOMPARE(r.initialDir, f.ctx().paths().configsDir());
    QVERIFY(r.confirmOverwrite);
    QVERIFY(Test::readBytes(f.configPath("Fan.qxc")).startsWith("#0205120\r\n"));
    QVERIFY(!f.ctx().state.blnConfigChanged);
    // Once named, Save writes there without asking.
    f.ctx().editor.txtP(103).setText("61");
    QVERIFY(f.commands.save());
    QCOMPARE(f.dialogs.requests.size(), 1);
    QVERIFY(Test::readBytes(f.configPath("Fan.qxc")).contains("\r\n10361\r\n"));
}

void TestMainCommands::saveAsAddsExtensionAndNamesCaption()
{
    Fixture f;
    f.loadConfiguration();
    f.ctx().state.strConfigPath = f.configPath("Old.qxc");
    f.ctx().state.strConfigName = "Old.qxc";
    f.dialogs.answer = f.configPath("Pump 2");
    QVERIFY(f.commands.saveAs());
    QCOMPARE(f.ctx().state.strConfigPath, f.configPath("Pump 2.qxc"));
    QCOMPARE(f.ctx().state.strConfigName, QStringLiteral("Pump 2.qxc"));
    QCOMPARE(f.hooks.captions.last(), QStringLiteral("Pump 2.qxc"));
    QVERIFY(QFile::exists(f.configPath("Pump 2.qxc")));
    QVERIFY(!QFile::exists(f.configPath("Old.qxc")));
}

void TestMainCommands::saveAsCancelledWritesNothing()
{
    Fixture f;
    f.loadConfiguration();
    QVERIFY(!f.commands.saveAs());
    QVERIFY(QDir(f.ctx().paths().configsDir()).entryList(QDir::Files).isEmpty());
    QVERIFY(f.ctx().state.blnConfigChanged);
    QCOMPARE(f.ctx().state.strConfigPath, QStringLiteral(" "));
}

void TestMainCommands::refusedEntryStopsSave()
{
    Fixture f;
    f.loadConfiguration();
    f.ctx().state.strConfigPath = f.configPath("Fan.qxc");
    f.windows.commitRefused = true;
    QVERIFY(!f.commands.save());
    QVERIFY(!QFile::exists(f.configPath("Fan.qxc")));
    QCOMPARE(f.windows.calls, QStringList {"commit"});
}

// A file named on the command line or by a later start.
void TestMainCommands::namedFileOpensWithoutDialog()
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

void TestMainCommands::openSetsFileAndShowsEditor()
{
    Fixture f;
    f.loadConfiguration();
    f.ctx().editor.txtP(103).setText("61");
    QVERIFY(ConfigFile(f.ctx()).saveFile(f.configPath("Fan.qxc")));
    QVERIFY(Test::loadDrive(f.ctx(), {"01", "01", "104"}));
    f.ctx().editor.setTag("0");
    f.dialogs.answer = f.configPath("Fan.qxc");
    QVERIFY(f.commands.openConfiguration());
    const FileDialogRequest &r = f.dialogs.requests.last();
    QCOMPARE(r.mode, FileDialogRequest::Open);
    QCOMPARE(r.filter, QStringLiteral("config files (*.qxc)|*.qxc"));
    QCOMPARE(r.initialDir, f.ctx().paths().configsDir());
    QCOMPARE(f.ctx().state.strConfigPath, f.configPath("Fan.qxc"));
    QCOMPARE(f.ctx().state.strConfigName, QStringLiteral("Fan.qxc"));
    QCOMPARE(f.hooks.captions.last(), QStringLiteral("Fan.qxc"));
    QCOMPARE(f.ctx().state.strSeries, QStringLiteral("02"));
    QCOMPARE(f.ctx().editor.txtP(103).text(), QStringLiteral("61"));
    QCOMPARE(f.ctx().editor.tag(), QStringLiteral("1"));
    QVERIFY(f.windows.calls.contains("show editor"));
}

void TestMainCommands::unsavedChanges_data()
{
    QTest::addColumn<QString>("command");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<int>("answer");
    QTest::addColumn<bool>("asked");
    QTest::addColumn<bool>("saved");
    for (const char *command : {"new detailed", "new wizard", "open", "close"}) {
        const QByteArray c(command);
        QTest::newRow(c + ", yes") << command << "1" << true << int(Msg::Yes) << true << true;
        QTest::newRow(c + ", no") << command << "1" << true << int(Msg::No) << true << false;
    }
    QTest::newRow("unchanged") << "new detailed"
                               << "1" << false << int(Msg::Yes) << false << false;
    QTest::newRow("no configuration") << "open"
                                      << "0" << true << int(Msg::Yes) << false << false;
    QTest::newRow("wizard mode") << "close"
                                 << "2" << true << int(Msg::Yes) << true << true;
}

void TestMainCommands::unsavedChanges()
{
    QFETCH(QString, command);
    QFETCH(bool, asked);
    Fixture f;
    f.loadConfiguration(cell<QString>("tag"));
    f.ctx().state.blnConfigChanged = cell<bool>("changed");
    const QString path = f.configPath("Fan.qxc");
    f.ctx().state.strConfigPath = path;
    f.program.prompter().enqueue(cell<int>("answer"));
    if (command == "new detailed")
        f.commands.newDetailed();
    else if (command == "new wizard")
        f.commands.newWizard();
    else if (command == "open")
        f.commands.openConfiguration();
    else
        f.commands.closeConfiguration();
    const auto &msgs = f.program.prompter().messages();
    QCOMPARE(!msgs.isEmpty() && msgs[0].text == UnsavedText, asked);
    if (asked) {
        QCOMPARE(msgs[0].title, QStringLiteral("Unsaved Drive Config Data Exists"));
        QCOMPARE(msgs[0].style, Msg::YesNo | Msg::Question);
    }
    QCOMPARE(QFile::exists(path), cell<bool>("saved"));
    // Either answer goes on with the command.
    if (command == "new detailed")
        QVERIFY(f.windows.calls.contains("dialog Detailed"));
    else if (command == "new wizard")
        QVERIFY(f.windows.calls.contains("dialog Wizard"));
    else if (command == "open")
        QCOMPARE(f.dialogs.requests.size(), 1);
    else
        QCOMPARE(f.ctx().editor.tag(), QStringLiteral("0"));
}

void TestMainCommands::closeEmptiesConfiguration()
{
    Fixture f;
    f.loadConfiguration();
    f.ctx().state.blnConfigChanged = false;
    f.ctx().state.strConfigPath = f.configPath("Fan.qxc");
    f.ctx().state.strConfigName = "Fan.qxc";
    f.commands.closeConfiguration();
    const AppState &s = f.ctx().state;
    for (const QString &v : {s.strSeries, s.strModel, s.strRev, s.strConfigPath, s.strConfigName})
        QCOMPARE(v, QStringLiteral(" "));
    QCOMPARE(f.ctx().editor.tag(), QStringLiteral("0"));
    QVERIFY(!s.blnConfigChanged);
    QCOMPARE(f.ctx().editor.txtP(100).text(), QString());
    QVERIFY(!f.ctx().editor.txtP(100).visible());
    QCOMPARE(f.ctx().editor.lblP(100).foreColor(), Colour::GrayText);
    QCOMPARE(f.windows.calls, (QStringList {"commit", "hide editor"}));
    QCOMPARE(f.hooks.captions.last(), QStringLiteral(" "));
    QVERIFY(f.program.prompter().messages().isEmpty());
}

void TestMainCommands::viewDetailed_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("shown");
    QTest::newRow("detailed") << "1" << true;
    QTest::newRow("schematic") << "3" << true;
    QTest::newRow("none") << "0" << false;
    QTest::newRow("wizard") << "2" << false;
}

void TestMainCommands::viewDetailed()
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

void TestMainCommands::compareAndReport()
{
    Fixture f;
    f.loadConfiguration();
    f.ctx().editor.txtP(103).setText("61");
    f.commands.compare();
    QVERIFY(f.ctx().statusList.isShown());
    QVERIFY(f.ctx().statusList.lines().filter("P1.03 - Value different from default. Value = 61").size() == 1);
    QCOMPARE(f.windows.calls.first(), QStringLiteral("commit"));
    f.commands.printConfig();
    QCOMPARE(f.hooks.opened.size(), 1);
    QVERIFY(Test::readBytes(f.hooks.opened[0]).contains("61"));
}

} // namespace MainCommandsTest

namespace PollTimersTest {

// The decisions of the two poll timers, against a scripted link and a
// display that records what a tick changes.

namespace {

// A column of the current data row, where a statement cannot stand.
template<class T> T cell(const char *name)
{
    return *static_cast<T *>(QTest::qData(name, qMetaTypeId<T>()));
}

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
const QStringList LinkOn {"mnuDisconnect", "mnuUpload", "mnuDownload", "mnuTrend", "mnuKeypad"};
const QStringList LinkOff {"mnuAutoDetect", "mnuConnect"};

void verifyLinkCommands(const RecordingDisplay &d, bool usable)
{
    for (const QString &name : LinkOn)
        QVERIFY2(d.enabled.value(name, !usable) == usable, qPrintable(name));
    for (const QString &name : LinkOff)
        QVERIFY2(d.enabled.value(name, usable) == !usable, qPrintable(name));
}

} // namespace

class TestPollTimers : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void withoutLink();
    void goodLink_data();
    void goodLink();
    void lostLinkToldOnce();
    void pollDoesNotNest();
    void fileCommands_data();
    void fileCommands();
    void identityPanel_data();
    void identityPanel();
    void editorCaptionAndTagCommands_data();
    void editorCaptionAndTagCommands();
};

void TestPollTimers::withoutLink()
{
    Fixture f;
    f.state().strDriveSeries = "2";
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
    QCOMPARE(f.display.connected, std::optional<bool>(false));
    verifyLinkCommands(f.display, false);
    QVERIFY(!f.display.enabled.value("mnuPID", true));
    QCOMPARE(f.state().strDriveSeries, QStringLiteral("Not Connected"));
    QCOMPARE(f.state().strDriveRev, QStringLiteral("Not Connected"));
    QCOMPARE(f.link.polls, 0);
    // No link helper at all is no link either.
    f.timers.setLinkMonitor(nullptr);
    f.display.panels.clear();
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Offline"));
}

void TestPollTimers::goodLink_data()
{
    QTest::addColumn<QString>("run");
    QTest::addColumn<QString>("direction");
    QTest::addColumn<QString>("jog");
    QTest::addColumn<QString>("series");
    QTest::addColumn<QString>("panel");
    QTest::addColumn<bool>("pid");
    QTest::newRow("run rev, series 2") << "RUN"
                                       << "REV"
                                       << " "
                                       << "2"
                                       << "Drive Status - RUN, REV     " << true;
    QTest::newRow("stop fwd jog, series 3") << "STOP"
                                            << "FWD"
                                            << "JOG Active"
                                            << "3"
                                            << "Drive Status - STOP, FWD    JOG Active" << true;
    QTest::newRow("series 1 has no PID") << "Run To Stop Transition"
                                         << "FWD"
                                         << " "
                                         << "1"
                                         << "Drive Status - Run To Stop Transition, FWD     " << false;
}

void TestPollTimers::goodLink()
{
    QFETCH(QString, run);
    QFETCH(QString, direction);
    QFETCH(QString, jog);
    QFETCH(QString, series);
    Fixture f;
    f.link.open = true;
    // The link helper fills the shared values while it polls.
    f.link.duringPoll = [&] {
        f.state().DriveRunState = run;
        f.state().DriveDirection = direction;
        f.state().DriveJogState = jog;
        f.state().strDriveSeries = series;
    };
    f.timers.mainTick();
    QCOMPARE(f.link.polls, 1);
    QCOMPARE(f.display.panels.value(2), cell<QString>("panel"));
    QCOMPARE(f.display.connected, std::optional<bool>(true));
    verifyLinkCommands(f.display, true);
    QCOMPARE(f.display.enabled.value("mnuPID"), cell<bool>("pid"));
    QCOMPARE(f.state().strDriveSeries, series);
    QVERIFY(f.program.prompter().messages().isEmpty());
}

void TestPollTimers::lostLinkToldOnce()
{
    Fixture f;
    f.link.open = true;
    f.link.good = false;
    f.state().strConnected = "True";
    f.state().strDriveModel = "05";
    f.timers.mainTick();
    QCOMPARE(f.display.panels.value(2), QStringLiteral("Drive Status - Communication Error"));
    verifyLinkCommands(f.display, false);
    QVERIFY(!f.display.enabled.value("mnuPID", true));
    QCOMPARE(f.link.closes, 1);
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

void TestPollTimers::pollDoesNotNest()
{
    Fixture f;
    f.link.open = true;
    // A timer event delivered while the poll waits for the drive.
    f.link.duringPoll = [&] { f.timers.mainTick(); };
    f.timers.mainTick();
    QCOMPARE(f.link.polls, 1);
    f.link.duringPoll = {};
    f.timers.mainTick();
    QCOMPARE(f.link.polls, 2);
}

void TestPollTimers::fileCommands_data()
{
    QTest::addColumn<QString>("path");
    QTest::addColumn<bool>("linkOpen");
    QTest::addColumn<bool>("enabled");
    QTest::newRow("no file") << " " << false << false;
    QTest::newRow("no file, drive connected") << " " << true << false;
    QTest::newRow("file") << "/tmp/Pump1.qxc" << false << true;
    QTest::newRow("file, drive connected") << "/tmp/Pump1.qxc" << true << true;
}

void TestPollTimers::fileCommands()
{
    QFETCH(bool, enabled);
    Fixture f;
    f.state().strConfigPath = cell<QString>("path");
    f.link.open = cell<bool>("linkOpen");
    f.timers.mainTick();
    for (const char *name : {"mnuSave", "mnuClose", "mnuCompare", "mnuUpdate"})
        QVERIFY2(f.display.enabled.value(name, !enabled) == enabled, name);
}

void TestPollTimers::identityPanel_data()
{
    QTest::addColumn<bool>("linkOpen");
    QTest::addColumn<QString>("tag");
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<QString>("panel");
    const QStringList config {"02", "05", "120"};
    QTest::newRow("no link") << false << "1" << config << " ";
    QTest::newRow("no configuration") << true << "0" << QStringList {"2", "5", "120"} << " ";
    QTest::newRow("equal by number") << true << "1" << QStringList {"2", "5", "120"} << "Drive Series/Model/Rev Equal ";
    QTest::newRow("model differs") << true << "2" << QStringList {"2", "6", "120"}
                                   << "Drive Series/Model/Rev Not Equal ";
    QTest::newRow("rev differs") << true << "1" << QStringList {"2", "5", "121"} << "Drive Series/Model/Rev Not Equal ";
}

void TestPollTimers::identityPanel()
{
    QFETCH(QStringList, drive);
    Fixture f;
    f.link.open = cell<bool>("linkOpen");
    f.program.ctx().editor.setTag(cell<QString>("tag"));
    f.state().strSeries = "02";
    f.state().strModel = "05";
    f.state().strRev = "120";
    f.state().strDriveSeries = drive[0];
    f.state().strDriveModel = drive[1];
    f.state().strDriveRev = drive[2];
    f.timers.twoSecondTick();
    QCOMPARE(f.display.panels.value(1), cell<QString>("panel"));
}

void TestPollTimers::editorCaptionAndTagCommands_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("ordinary");
    QTest::addColumn<bool>("captioned");
    QTest::newRow("none") << "0" << false << false;
    QTest::newRow("detailed") << "1" << true << true;
    QTest::newRow("wizard") << "2" << false << true;
    QTest::newRow("schematic") << "3" << false << true;
}

void TestPollTimers::editorCaptionAndTagCommands()
{
    QFETCH(bool, ordinary);
    Fixture f;
    EditorForm &form = f.program.ctx().editor;
    form.setTag(cell<QString>("tag"));
    form.cmbP(942).setText("05 QX-2-2P2T");
    f.state().strRev = "120";
    f.timers.twoSecondTick();
    const QString expected = cell<bool>("captioned")
        ? QStringLiteral("  Detailed Config - Current Drive Model = QX-2-2P2T,  Rev 1.20")
        : QStringLiteral("  Detailed Configuration");
    QCOMPARE(form.caption(), expected);
    for (const char *name : {"mnuSchematic", "mnuPrintConfig"})
        QVERIFY2(f.display.enabled.value(name, !ordinary) == ordinary, name);
}

} // namespace PollTimersTest

namespace NewConfigTest {

// The new-configuration dialog's decisions: checks before anything is
// written, the overwrite question, Browse and Cancel.

namespace {

// A column of the current data row, where a statement cannot stand.
template<class T> T cell(const char *name)
{
    return *static_cast<T *>(QTest::qData(name, qMetaTypeId<T>()));
}

struct CaptionHooks : ShellHooks
{
    QStringList captions;
    void setMainCaption(const QString &caption) override { captions << caption; }
};

void writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

QByteArray readFile(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

int positionOf(const NewConfigDialogModel &m, const QString &series, const QString &model, const QString &rev)
{
    for (int i = 0; i < m.drives().size(); ++i) {
        const DriveListEntry &d = m.drives().at(i);
        if (d.seriesCode == series && d.modelCode == model && d.rev == rev)
            return i;
    }
    return -1;
}

} // namespace

class TestNewConfigDialogModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void loadShowsFirstDriveInConfigs();
    void refusals_data();
    void refusals();
    void startsInEachMode_data();
    void startsInEachMode();
    void overwriteNoKeepsEverything();
    void overwriteYesDeletesSchematicFile();
    void cancelRestoresIdentity();
    void browsePutsName();
};

void TestNewConfigDialogModel::loadShowsFirstDriveInConfigs()
{
    Test::TempProgram program;
    NewConfigDialogModel m(program.ctx(), "Detailed");
    m.load();
    QVERIFY(m.drives().size() > 10);
    QCOMPARE(m.driveIndex(), 0);
    QCOMPARE(m.folder(), program.ctx().paths().configsDir());
    QCOMPARE(m.driveTexts().first(), m.drives().first().text);
    QVERIFY(m.driveTexts().first().contains(" rev. "));
}

void TestNewConfigDialogModel::refusals_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("drive");
    QTest::addColumn<QString>("message");
    QTest::addColumn<int>("focus");
    QTest::newRow("no name") << "" << 0 << "Please enter a configuration name."
                             << int(NewConfigDialogModel::Focus::Name);
    QTest::newRow("no drive") << "Pump1" << -1 << "Please select a QX Series drive type\rfrom the dropdown box."
                              << int(NewConfigDialogModel::Focus::Drives);
}

void TestNewConfigDialogModel::refusals()
{
    QFETCH(QString, name);
    Test::TempProgram program;
    NewConfigDialogModel m(program.ctx(), "Detailed");
    m.load();
    m.setName(name);
    m.setDriveIndex(cell<int>("drive"));
    QVERIFY(!m.accept());
    QCOMPARE(int(m.focusRequest()), cell<int>("focus"));
    const auto &msgs = program.prompter().messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].text, cell<QString>("message"));
    QCOMPARE(msgs[0].title, QStringLiteral("Information Needed"));
    QCOMPARE(Msg::icon(msgs[0].style), int(Msg::Exclamation));
    QVERIFY(QDir(m.folder()).entryList(QDir::Files).isEmpty());
    QCOMPARE(program.ctx().editor.tag(), QStringLiteral("0"));
}

void TestNewConfigDialogModel::startsInEachMode_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("tag");
    QTest::newRow("detailed") << "Detailed"
                              << "1";
    QTest::newRow("wizard") << "Wizard"
                            << "2";
}

void TestNewConfigDialogModel::startsInEachMode()
{
    QFETCH(QString, mode);
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    CaptionHooks hooks;
    ctx.setHooks(&hooks);
    NewConfigDialogModel m(ctx, mode);
    m.load();
    m.setDriveIndex(positionOf(m, "02", "05", "120"));
    QVERIFY(m.driveIndex() >= 0);
    m.setName("Pump1");
    QList<NewConfig::Mode> shown;
    m.setShowMode([&](NewConfig::Mode s) { shown << s; });
    QVERIFY(m.accept());
    const QString path = QDir(ctx.paths().configsDir()).filePath("Pump1.qxc");
    QCOMPARE(m.filePath(), path);
    // Written at once, for the chosen drive.
    QVERIFY(readFile(path).startsWith("#0205120\r\n"));
    QCOMPARE(ctx.editor.tag(), cell<QString>("tag"));
    QCOMPARE(ctx.state.strConfigPath, path);
    QCOMPARE(ctx.state.strConfigName, QStringLiteral("Pump1.qxc"));
    QCOMPARE(ctx.state.strSeries, QStringLiteral("02"));
    QCOMPARE(shown.size(), 1);
    QCOMPARE(shown[0], *NewConfig::modeFromTag(mode));
    QCOMPARE(hooks.captions.value(0), QStringLiteral("Tarvel - Current Config File: Pump1.qxc"));
    QVERIFY(program.prompter().messages().isEmpty());
    ctx.setHooks(nullptr);
}

void TestNewConfigDialogModel::overwriteNoKeepsEverything()
{
    Test::TempProgram program;
    AppContext &ctx = program.ctx();
    NewConfigDialogModel m(ctx, "Detailed");
    m.load();
    m.setName("Pump1");
    const QString path = m.filePath();
    const QString schematic = QDir(m.folder()).filePath("Pump1.qxs");
    writeFile(path, "old\r\n");
    writeFile(schematic, "drawing\r\n");
    program.prompter().enqueue(Msg::No);
    QVERIFY(!m.accept());
    const auto &msgs = program.prompter().messages();
    QCOMPARE(msgs.size(), 1);
    QCOMPARE(msgs[0].text, "The file " + path + " already exists.\rDo you want to replace the existing file?");
    QCOMPARE(msgs[0].title, QStringLiteral("Tarvel"));
    QCOMPARE(readFile(path), QByteArray("old\r\n"));
    QVERIFY(QFile::exists(schematic));
    QCOMPARE(ctx.editor.tag(), QStringLiteral("0"));
    QCOMPARE(m.name(), QStringLiteral("Pump1"));
}

void TestNewConfigDialogModel::overwriteYesDeletesSchematicFile()
{
    Test::TempProgram program;
    NewConfigDialogModel m(program.ctx(), "Detailed");
    m.load();
    m.setName("Pump1");
    const QString path = m.filePath();
    const QString schematic = QDir(m.folder()).filePath("Pump1.qxs");
    writeFile(path, "old\r\n");
    writeFile(schematic, "drawing\r\n");
    program.prompter().enqueue(Msg::Yes);
    QVERIFY(m.accept());
    QVERIFY(!QFile::exists(schematic));
    QVERIFY(readFile(path).startsWith("#01"));
}

void TestNewConfigDialogModel::cancelRestoresIdentity()
{
    Test::TempProgram program;
    AppState &s = program.ctx().state;
    s.strSeries = "03";
    s.strModel = "06";
    s.strRev = "104";
    NewConfigDialogModel m(program.ctx(), "Detailed");
    m.load();
    m.setDriveIndex(positionOf(m, "02", "05", "120"));
    m.driveListLeft();
    QCOMPARE(s.strSeries, QStringLiteral("02"));
    QCOMPARE(s.strModel, QStringLiteral("05"));
    m.cancel();
    QCOMPARE(s.strSeries, QStringLiteral("03"));
    QCOMPARE(s.strModel, QStringLiteral("06"));
    QCOMPARE(s.strRev, QStringLiteral("104"));
}

void TestNewConfigDialogModel::browsePutsName()
{
    Test::TempProgram program;
    Test::ScriptedFileDialogs dialogs;
    program.ctx().setFileDialogs(&dialogs);
    NewConfigDialogModel m(program.ctx(), "Detailed");
    m.load();
    m.setName("Draft");
    dialogs.answer = QDir(m.folder()).filePath("Pump1.qxc");
    m.browse();
    QCOMPARE(m.name(), QStringLiteral("Pump1"));
    QCOMPARE(dialogs.requests.size(), 1);
    QCOMPARE(dialogs.requests[0].filter, QStringLiteral("config files (*.qxc)|*.qxc"));
    QCOMPARE(dialogs.requests[0].initialDir, m.folder());
    QVERIFY(dialogs.requests[0].fileMustExist);
    // A cancelled dialog leaves the name.
    dialogs.answer.clear();
    m.browse();
    QCOMPARE(m.name(), QStringLiteral("Pump1"));
    program.ctx().setFileDialogs(nullptr);
}

} // namespace NewConfigTest

namespace ChangeRatingTest {

// The change-rating dialog's decisions: which drives it offers, the
// warning against an older revision, and OK running the change.

using namespace Tarvel::Test;

namespace {

const QStringList QX2 {"02", "05", "120"};
const QStringList QX3 {"03", "06", "104"};

struct BusyHooks : ShellHooks
{
    QList<bool> busy;
    void setBusyPointer(bool on) override { busy << on; }
};

} // namespace

class TestChangeRatingModel : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void candidates_data();
    void candidates();
    void demotion_data();
    void demotion();
    void okRunsUpdate();
};

void TestChangeRatingModel::candidates_data()
{
    QTest::addColumn<QString>("series"); // the text of P9.41
    QTest::addColumn<int>("count");
    QTest::addColumn<QString>("first");
    // Every revision of every model from the configuration's series on.
    QTest::newRow("QX1 offers all") << "01" << 109 << "QX-1-0P2S @ rev. 104";
    QTest::newRow("QX2 offers QX2 and QX3") << "02" << 81 << "QX-2-0P7T @ rev. 103";
    QTest::newRow("QX3 offers QX3 only") << "03" << 15 << "QX-3-011H @ rev. 100";
    QTest::newRow("no configuration") << "" << 109 << "QX-1-0P2S @ rev. 104";
    QTest::newRow("after every series") << "04" << 0 << "No models available to update to.";
    // Compared as text: "1" follows "03" although 1 is below 3.
    QTest::newRow("one digit sorts after") << "1" << 0 << "No models available to update to.";
}

void TestChangeRatingModel::candidates()
{
    QFETCH(QString, series);
    QFETCH(int, count);
    QFETCH(QString, first);
    TempProgram program;
    AppContext &ctx = program.ctx();
    ctx.editor.txtP(941).setText(series);
    ChangeRatingModel m(ctx);
    m.load();

    QCOMPARE(m.candidates().size(), count);
    QCOMPARE(m.lines().size(), std::max(count, 1));
    QCOMPARE(m.currentIndex(), 0);
    QCOMPARE(m.currentText(), first);
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
        QVERIFY(program.prompter().messages().isEmpty());
    }
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestChangeRatingModel::demotion_data()
{
    QTest::addColumn<QStringList>("drive");
    QTest::addColumn<QString>("choice");
    QTest::addColumn<bool>("warned");
    QTest::newRow("same model, older rev") << QX2 << "QX-2-0P7H @ rev. 103" << true;
    QTest::newRow("other model, older rev") << QX2 << "QX-2-3P7T @ rev. 108" << true;
    QTest::newRow("same rev") << QX2 << "QX-2-0P7H @ rev. 120" << false;
    QTest::newRow("later series, lower rev code") << QX2 << "QX-3-011H @ rev. 100" << false;
    QTest::newRow("QX3 older rev") << QX3 << "QX-3-011H @ rev. 102" << true;
    QTest::newRow("QX3 same rev") << QX3 << "QX-3-011H @ rev. 104" << false;
}

void TestChangeRatingModel::demotion()
{
    QFETCH(QStringList, drive);
    QFETCH(QString, choice);
    QFETCH(bool, warned);
    TempProgram program;
    AppContext &ctx = program.ctx();
    ctx.editor.txtP(941).setText(drive[0]);
    ctx.state.strRev = drive[2];
    ChangeRatingModel m(ctx);
    m.load();
    const int index = int(m.lines().indexOf(choice));
    QVERIFY(index >= 0);

    m.choose(index);

    // The warning does not undo the choice.
    QCOMPARE(m.currentText(), choice);
    const QList<ScriptedPrompter::Message> &messages = program.prompter().messages();
    QCOMPARE(messages.size(), warned ? 1 : 0);
    if (warned) {
        QCOMPARE(messages.first().text, QStringLiteral("Please select a later series/rev drive model."));
        QCOMPARE(messages.first().title, QStringLiteral("Cannot demote drive."));
        QCOMPARE(messages.first().style, int(Msg::Exclamation));
    }
}

void TestChangeRatingModel::okRunsUpdate()
{
    TempProgram program;
    AppContext &ctx = program.ctx();
    BusyHooks hooks;
    ctx.setHooks(&hooks);
    QVERIFY(loadDrive(ctx, QX2));
    ChangeRatingModel m(ctx);
    int closed = 0;
    m.setCloseDialog([&] { ++closed; });
    m.load();
    m.choose(int(m.lines().indexOf("QX-3-045H @ rev. 104")));

    QVERIFY(m.accept());

    QCOMPARE(closed, 1);
    // What the update carries over and reports is RatingUpdate's own test.
    QCOMPARE(QStringList({ctx.state.strSeries, ctx.state.strModel, ctx.state.strRev}), QX3);
    // Busy while it runs, normal at its end.
    QCOMPARE(hooks.busy.first(), true);
    QCOMPARE(hooks.busy.last(), false);
    QVERIFY(program.errorLogLines().isEmpty());
}

} // namespace ChangeRatingTest

namespace StartupTest {

// Start-up (Main), the QuickScreen setting, the single instance and the
// close path.

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
    void mainShowsWindowsInOrder_data();
    void mainShowsWindowsInOrder();
    void missingCatalogueLeavesOnlyTheMainWindow();
    void quickScreenPersistsAcrossStarts();
    void secondInstanceIsRefused();
    void laterStartHandsOverItsFile();
    void closePath_data();
    void closePath();
};

void TestStartup::mainShowsWindowsInOrder_data()
{
    QTest::addColumn<bool>("quickScreen");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("navigator on") << true << QStringList {"editor", "main", "navigator", "splash"};
    QTest::newRow("navigator off") << false << QStringList {"editor", "main", "splash"};
}

void TestStartup::mainShowsWindowsInOrder()
{
    QFETCH(bool, quickScreen);
    QFETCH(QStringList, expected);
    Test::TempProgram program;
    Startup startup(program.ctx());
    QVERIFY(startup.writeQuickScreen(quickScreen, "frmStartup, chkRepeat"));
    AppState &s = program.ctx().state;
    s.strConnected = "True";
    s.blnConfigChanged = true;
    RecordingWindows windows;
    startup.main(windows);
    QCOMPARE(windows.shown, expected);
    QCOMPARE(s.strConfigPath, QStringLiteral(" "));
    QCOMPARE(s.strConfigName, QStringLiteral(" "));
    QCOMPARE(s.strConnected, QStringLiteral("False"));
    QVERIFY(!s.blnConfigChanged && !s.blnDiagsTrace && !s.blnStepDone);
    QCOMPARE(program.ctx().editor.tag(), QStringLiteral("0"));
    QVERIFY(program.errorLogLines().isEmpty());
}

void TestStartup::missingCatalogueLeavesOnlyTheMainWindow()
{
    Test::TempProgram program(false);
    RecordingWindows windows;
    Startup(program.ctx()).main(windows);
    QCOMPARE(windows.shown, (QStringList {"editor", "main"}));
    const QStringList log = program.errorLogLines();
    QCOMPARE(log.size(), 2);
    QVERIFY2(log.at(0).contains(" - basMain, ConnectDB(), Program, 3024, "), qPrintable(log.at(0)));
    QVERIFY2(log.at(1).contains(" - basMain, Main(), Program, 91, "), qPrintable(log.at(1)));
    QVERIFY(!QFile::exists(program.path("Data/QX.qxd")));
}

void TestStartup::quickScreenPersistsAcrossStarts()
{
    Test::TempProgram program;
    QCOMPARE(Startup(program.ctx()).readQuickScreen(), std::optional<bool>(true));
    QVERIFY(Startup(program.ctx()).writeQuickScreen(false, "frmStartup, chkRepeat"));
    // A new start reads the catalogue afresh.
    ScriptedPrompter prompter;
    AppContext next(ProgramPaths(program.dir()), &prompter);
    QCOMPARE(Startup(next).readQuickScreen(), std::optional<bool>(false));
    RecordingWindows windows;
    Startup(next).main(windows);
    QVERIFY(!windows.shown.contains("navigator"));
    QVERIFY(Startup(next).writeQuickScreen(true, "frmMain, mnuStartMenu_Click"));
    QCOMPARE(Startup(program.ctx()).readQuickScreen(), std::optional<bool>(true));
}

void TestStartup::secondInstanceIsRefused()
{
    Test::TempProgram a, b;
    InstanceGuard first(a.dir());
    QVERIFY(first.tryAcquire());
    QVERIFY(!InstanceGuard(a.dir()).tryAcquire());
    QVERIFY(InstanceGuard(b.dir()).tryAcquire());
    QCOMPARE(InstanceGuard::refusalText(),
        QStringLiteral("Tarvel is already running.\rYou may only have one instance of Tarvel running at a time."));
}

void TestStartup::laterStartHandsOverItsFile()
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

void TestStartup::closePath_data()
{
    QTest::addColumn<QString>("tag");
    QTest::addColumn<bool>("changed");
    QTest::addColumn<QList<int>>("answers");
    QTest::addColumn<bool>("quits");
    QTest::addColumn<int>("questions");
    QTest::addColumn<bool>("saved");
    QTest::newRow("No stays") << "1" << true << QList<int> {Msg::No} << false << 1 << false;
    QTest::newRow("nothing changed") << "1" << false << QList<int> {Msg::Yes} << true << 1 << false;
    QTest::newRow("no configuration loaded") << "0" << true << QList<int> {Msg::Yes} << true << 1 << false;
    QTest::newRow("save on Yes") << "1" << true << QList<int> {Msg::Yes, Msg::Yes} << true << 2 << true;
    QTest::newRow("discard on No") << "2" << true << QList<int> {Msg::Yes, Msg::No} << true << 2 << false;
}

void TestStartup::closePath()
{
    QFETCH(QString, tag);
    QFETCH(bool, changed);
    QFETCH(QList<int>, answers);
    QFETCH(bool, quits);
    QFETCH(int, questions);
    QFETCH(bool, saved);
    Test::TempProgram program(false);
    program.ctx().editor.setTag(tag);
    program.ctx().state.blnConfigChanged = changed;
    for (int a : answers)
        program.prompter().enqueue(a);
    bool didSave = false;
    QCOMPARE(ShutdownFlow(program.ctx()).confirmQuit("Closing Tarvel", [&] { didSave = true; }), quits);
    QCOMPARE(didSave, saved);
    const auto &m = program.prompter().messages();
    QCOMPARE(m.size(), questions);
    QCOMPARE(m.at(0).text, QStringLiteral("Are your sure you want to quit?"));
    QCOMPARE(m.at(0).title, QStringLiteral("Closing Tarvel"));
    QCOMPARE(m.at(0).style, Msg::YesNo | Msg::Question | Msg::DefaultButton2);
    if (questions == 2) {
        QCOMPARE(m.at(1).text,
            QStringLiteral("Unsaved drive configuration data exists. Would you like to save your changes?"));
        QCOMPARE(m.at(1).title, QStringLiteral("Unsaved Drive Config Data Exists"));
    }
}

} // namespace StartupTest

namespace StatusListSaveTest {

// Saving the status list: the name chosen gets the list extension.

class TestStatusListSave : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void extensionAdded_data()
    {
        QTest::addColumn<QString>("chosen");
        QTest::addColumn<QString>("written");
        QTest::newRow("bare name") << "log1"
                                   << "log1.qxl";
        QTest::newRow("with extension") << "log2.QXL"
                                        << "log2.QXL";
    }
    void extensionAdded()
    {
        QFETCH(QString, chosen);
        QFETCH(QString, written);
        Test::TempProgram program(false);
        Test::ScriptedFileDialogs dialogs;
        dialogs.answer = program.path(chosen);
        program.ctx().setFileDialogs(&dialogs);
        program.ctx().statusList.addLine("kept");
        StatusListActions(program.ctx()).save();
        QVERIFY(QFile::exists(program.path(written)));
        QVERIFY(program.ctx().statusList.caption().endsWith(written));
        program.ctx().setFileDialogs(nullptr);
    }
};

} // namespace StatusListSaveTest

TARVEL_TEST_GUILESS_MAIN(MainCommandsTest::TestMainCommands, PollTimersTest::TestPollTimers,
    NewConfigTest::TestNewConfigDialogModel, ChangeRatingTest::TestChangeRatingModel, StartupTest::TestStartup,
    StatusListSaveTest::TestStatusListSave)
#include "tst_app.moc"
