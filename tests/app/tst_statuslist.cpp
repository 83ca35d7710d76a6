#include "TestSupport.h"
#include "ports/FileDialogs.h"
#include "ports/LinePrinter.h"
#include "app/StatusListActions.h"
#include "base/TextFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

using namespace Tarvel;
using Tarvel::Test::ScriptedFileDialogs;

namespace {

class RecordingPrinter : public LinePrinter
{
public:
    bool accept = true;
    int ended = 0;
    QStringList lines;
    bool begin() override { return accept; }
    void printLine(const QString &line) override { lines << line; }
    void end() override { ++ended; }
};

QByteArray readBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

void writeBytes(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write(bytes);
}

const QString ClearQuestion = QStringLiteral("Are you sure you want to clear the list?");
const QString UnloadQuestion = QStringLiteral("This will clear the list.\rYou may save the list by choosing cancel and "
                                              "selecting 'save' on the toolbar.\rOr choose OK to continue.");

} // namespace

class TestStatusList : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<Test::TempProgram> m_program;
    std::unique_ptr<ScriptedFileDialogs> m_dialogs;
    std::unique_ptr<RecordingPrinter> m_printer;

    AppContext &ctx() { return m_program->ctx(); }
    StatusList &list() { return ctx().statusList; }

private Q_SLOTS:
    void init()
    {
        m_program = std::make_unique<Test::TempProgram>(false);
        m_dialogs = std::make_unique<ScriptedFileDialogs>();
        m_printer = std::make_unique<RecordingPrinter>();
        ctx().setFileDialogs(m_dialogs.get());
        ctx().setPrinter(m_printer.get());
    }

    void saveThenOpenRoundTrip()
    {
        const QStringList lines {QStringLiteral("Reading drive"), QStringLiteral("Temp 40\u00b0C, \u00e9tat ok"),
            QString(), QStringLiteral("  indented")};
        list().setLines(lines);
        const QString path = m_program->path(QStringLiteral("run.qxl"));
        m_dialogs->answer = path;
        StatusListActions actions(ctx());
        actions.buttonClick(StatusListActions::Save);

        QCOMPARE(m_dialogs->requests.last().mode, FileDialogRequest::Save);
        QVERIFY(m_dialogs->requests.last().confirmOverwrite);
        QVERIFY(m_dialogs->requests.last().filter.endsWith(QLatin1String("|*.qxl")));
        QCOMPARE(list().caption(), QStringLiteral("  Status List - ") + path);

        const QByteArray bytes = readBytes(path);
        QVERIFY(bytes.startsWith("List File Saved "));
        QVERIFY(bytes.contains(QByteArray("Temp 40\xb0") + "C, \xe9tat ok\r\n\r\n  indented\r\n"));
        QCOMPARE(bytes.count("\r\n"), lines.size() + 1);
        QCOMPARE(bytes.count('\n'), lines.size() + 1);

        list().setLines({QStringLiteral("to be replaced")});
        list().setCaption(StatusList::DefaultCaption);
        actions.buttonClick(StatusListActions::Open);
        QCOMPARE(m_dialogs->requests.last().mode, FileDialogRequest::Open);
        QVERIFY(m_dialogs->requests.last().fileMustExist);
        QCOMPARE(list().lines().size(), lines.size() + 1);
        QVERIFY(list().lines().first().startsWith(QLatin1String("List File Saved ")));
        QCOMPARE(list().lines().mid(1), lines);
        QCOMPARE(list().caption(), QStringLiteral("  Status List - ") + path);
        QVERIFY(m_program->errorLogLines().isEmpty());
    }

    void savingEmptyListWritesOnlyHeading()
    {
        const QString path = m_program->path(QStringLiteral("empty.qxl"));
        m_dialogs->answer = path;
        StatusListActions(ctx()).save();
        const QStringList written = TextFile::decodeLines(readBytes(path));
        QCOMPARE(written.size(), 1);
        QVERIFY(written.first().startsWith(QLatin1String("List File Saved ")));
    }

    void openAcceptsLineEnds_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<QStringList>("expected");
        const QStringList abc {QStringLiteral("a"), QStringLiteral("b"), QStringLiteral("c")};
        QTest::newRow("CR LF") << QByteArray("a\r\nb\r\nc\r\n") << abc;
        QTest::newRow("LF only") << QByteArray("a\nb\nc\n") << abc;
        QTest::newRow("no final end") << QByteArray("a\nb\r\nc") << abc;
        QTest::newRow("Latin-1") << QByteArray("\xb5s\r\n") << QStringList {QStringLiteral("\u00b5s")};
    }

    void openAcceptsLineEnds()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(QStringList, expected);
        const QString path = m_program->path(QStringLiteral("in.qxl"));
        writeBytes(path, bytes);
        m_dialogs->answer = path;
        StatusListActions(ctx()).open();
        QCOMPARE(list().lines(), expected);
    }

    void cancelledDialogChangesNothing_data()
    {
        QTest::addColumn<int>("button");
        QTest::newRow("open") << int(StatusListActions::Open);
        QTest::newRow("save") << int(StatusListActions::Save);
    }

    void cancelledDialogChangesNothing()
    {
        QFETCH(int, button);
        const QStringList lines {QStringLiteral("kept")};
        list().setLines(lines);
        m_dialogs->answer.clear();
        StatusListActions(ctx()).buttonClick(button);
        QCOMPARE(m_dialogs->requests.size(), 1);
        QCOMPARE(list().lines(), lines);
        QCOMPARE(list().caption(), StatusList::DefaultCaption);
        QCOMPARE(QDir(m_program->dir()).entryList({QStringLiteral("*.qxl")}), QStringList());
    }

    void failuresAreLogged_data()
    {
        QTest::addColumn<int>("button");
        QTest::addColumn<QString>("relativePath");
        QTest::addColumn<int>("number");
        QTest::newRow("save into missing folder") << int(StatusListActions::Save) << "missing/out.qxl" << 75;
        QTest::newRow("open missing file") << int(StatusListActions::Open) << "absent.qxl" << 53;
    }

    void failuresAreLogged()
    {
        QFETCH(int, button);
        QFETCH(QString, relativePath);
        QFETCH(int, number);
        list().setLines({QStringLiteral("kept")});
        m_dialogs->answer = m_program->path(relativePath);
        StatusListActions(ctx()).buttonClick(button);
        const QStringList log = m_program->errorLogLines();
        QCOMPARE(log.size(), 1);
        QVERIFY2(log.first().contains(QStringLiteral(" - frmList, tbrist_ButtonClick, Program, %1, ").arg(number)),
            qPrintable(log.first()));
        QCOMPARE(list().caption(), StatusList::DefaultCaption);
        QVERIFY(m_program->prompter().messages().isEmpty());
    }

    void clearAsksFirst_data()
    {
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("cleared");
        QTest::newRow("no") << int(Msg::No) << false;
        QTest::newRow("yes") << int(Msg::Yes) << true;
    }

    void clearAsksFirst()
    {
        QFETCH(int, answer);
        QFETCH(bool, cleared);
        list().setLines({QStringLiteral("one"), QStringLiteral("two")});
        m_program->prompter().enqueue(answer);
        StatusListActions(ctx()).buttonClick(StatusListActions::Clear);
        const auto &messages = m_program->prompter().messages();
        QCOMPARE(messages.size(), 1);
        QCOMPARE(messages.first().text, ClearQuestion);
        QCOMPARE(messages.first().title, QStringLiteral("Confirmation Needed"));
        QCOMPARE(Msg::buttons(messages.first().style), int(Msg::YesNo));
        QCOMPARE(list().lines().isEmpty(), cleared);
    }

    void separatorDoesNothing()
    {
        list().setLines({QStringLiteral("one")});
        StatusListActions(ctx()).buttonClick(StatusListActions::Separator);
        QVERIFY(m_dialogs->requests.isEmpty());
        QVERIFY(m_program->prompter().messages().isEmpty());
        QCOMPARE(list().lines().size(), 1);
    }

    void closeBox_data()
    {
        QTest::addColumn<QStringList>("lines");
        QTest::addColumn<int>("answer");
        QTest::addColumn<bool>("asked");
        QTest::addColumn<bool>("unloads");
        const QStringList some {QStringLiteral("line")};
        QTest::newRow("empty list unloads silently") << QStringList() << int(Msg::Cancel) << false << true;
        QTest::newRow("cancel keeps lines") << some << int(Msg::Cancel) << true << false;
        QTest::newRow("ok discards lines") << some << int(Msg::OK) << true << true;
    }

    void closeBox()
    {
        QFETCH(QStringList, lines);
        QFETCH(int, answer);
        QFETCH(bool, asked);
        QFETCH(bool, unloads);
        list().setLines(lines);
        list().setActivity(QStringLiteral("/some/file.qxl"));
        list().show();
        m_program->prompter().enqueue(answer);
        QCOMPARE(StatusListActions(ctx()).queryUnload(), unloads);
        const auto &messages = m_program->prompter().messages();
        QCOMPARE(messages.size(), asked ? 1 : 0);
        if (asked) {
            QCOMPARE(messages.first().text, UnloadQuestion);
            QCOMPARE(messages.first().title, QStringLiteral("Are you sure?"));
            QCOMPARE(Msg::buttons(messages.first().style), int(Msg::OKCancel));
        }
        QCOMPARE(list().lines(), unloads ? QStringList() : lines);
        QCOMPARE(list().isShown(), !unloads);
        QCOMPARE(list().caption() == StatusList::DefaultCaption, unloads);
    }

    void closeButtonHidesButKeepsLines()
    {
        list().setLines({QStringLiteral("line")});
        list().show();
        StatusListActions(ctx()).close();
        QVERIFY(!list().isShown());
        QCOMPARE(list().lines().size(), 1);
        QVERIFY(m_program->prompter().messages().isEmpty());
    }

    void printHeadingThenLines()
    {
        ctx().state.strConfigPath = QStringLiteral("/cfg/pump.qxc");
        const QStringList lines {QStringLiteral("first"), QStringLiteral("second")};
        list().setLines(lines);
        const QString before = TextFile::generalDate();
        StatusListActions(ctx()).buttonClick(StatusListActions::Print);
        const QString after = TextFile::generalDate();
        QCOMPARE(m_printer->ended, 1);
        QCOMPARE(m_printer->lines.size(), lines.size() + 1);
        const QString heading = m_printer->lines.first();
        QVERIFY2(heading == ctx().state.strConfigPath + QStringLiteral(", ") + before
                || heading == ctx().state.strConfigPath + QStringLiteral(", ") + after,
            qPrintable(heading));
        QCOMPARE(m_printer->lines.mid(1), lines);
    }

    void cancelledPrinterPrintsNothing()
    {
        list().setLines({QStringLiteral("first")});
        m_printer->accept = false;
        StatusListActions(ctx()).print();
        QVERIFY(m_printer->lines.isEmpty());
        QCOMPARE(m_printer->ended, 0);
    }
};

QTEST_GUILESS_MAIN(TestStatusList)
#include "tst_statuslist.moc"
