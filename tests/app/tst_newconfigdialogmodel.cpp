// The new-configuration dialog's decisions: checks before anything is
// written, the overwrite question, Browse and Cancel.
#include "TestSupport.h"

#include "app/NewConfigDialogModel.h"
#include "ports/ShellHooks.h"

#include <QDir>
#include <QFile>
#include <QtTest>

using namespace Tarvel;

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

QTEST_GUILESS_MAIN(TestNewConfigDialogModel)
#include "tst_newconfigdialogmodel.moc"
