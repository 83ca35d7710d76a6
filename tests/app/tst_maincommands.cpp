// The file, view and current-configuration commands, with scripted message
// boxes and file dialogs and a record of the windows they ask for.
#include "TestSupport.h"
#include "files/FileTestSupport.h"

#include "app/MainCommands.h"
#include "ports/ShellHooks.h"
#include "files/ConfigFile.h"

#include <QDir>
#include <QtTest>

using namespace Tarvel;

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

QTEST_GUILESS_MAIN(TestMainCommands)
#include "tst_maincommands.moc"
