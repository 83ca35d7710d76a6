// The connection and auto-detect dialogs render their models and pass the
// user's actions on; the models' own decisions are tst_comm_link's.
#include "LinkTestSupport.h"
#include "TestMain.h"

#include "ui/monitor/AutoDetectDialog.h"
#include "ui/monitor/CommSettingsDialog.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPointer>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

using namespace Tarvel;
using namespace Tarvel::Test;

class TestLinkDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void settingsDialogShowsLists()
    {
        TempProgram program;
        program.ctx().link().mod1().setPortMap(PortMap(QStringList {"/dev/ttyUSB3"}));
        auto *dialog = new CommSettingsDialog(program.ctx());
        dialog->show();
        QCOMPARE(dialog->windowTitle(), QStringLiteral("  Connection Settings"));
        QCOMPARE(dialog->portList()->count(), 4);
        QCOMPARE(dialog->portList()->currentText(), QStringLiteral("Com 1 (/dev/ttyUSB3)"));
        QCOMPARE(dialog->speedList()->currentText(), QStringLiteral("19200"));
        QCOMPARE(dialog->protocolList()->count(), 6);
        QCOMPARE(dialog->protocolList()->currentText(), QStringLiteral("8, E, 1, RTU"));
        QCOMPARE(dialog->addressBox()->text(), QStringLiteral("1"));
        QPointer<CommSettingsDialog> watch(dialog);
        dialog->closeButton()->click();
        QTRY_VERIFY(watch.isNull()); // released when closed
    }

    void typingIntoListsIsRefused_data()
    {
        QTest::addColumn<bool>("speed");
        QTest::addColumn<int>("choose");
        QTest::addColumn<QString>("kept");
        QTest::newRow("speed") << true << 1 << "9600";
        QTest::newRow("protocol") << false << 0 << "7, N, 2, ASCII";
    }

    void typingIntoListsIsRefused()
    {
        TempProgram program;
        CommSettingsDialog dialog(program.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        QFETCH(bool, speed);
        QComboBox *list = speed ? dialog.speedList() : dialog.protocolList();
        QFETCH(int, choose);
        list->setCurrentIndex(choose);
        Q_EMIT list->activated(choose);
        QTest::keyClicks(list->lineEdit(), QStringLiteral("123"));
        QFETCH(QString, kept);
        QCOMPARE(list->currentText(), kept);
        QCOMPARE(speed ? dialog.model().txtSpeed() : dialog.model().txtProtocol(), list->currentText());
    }

    void settingsDialogConnects()
    {
        LinkFixture fixture;
        QString error;
        QVERIFY2(fixture.start(&error), qPrintable(error));
        CommSettingsDialog dialog(fixture.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        dialog.connectButton()->click();
        QCOMPARE(fixture.prompter().titles().last(), QStringLiteral("Serial Connection Established"));
        QCOMPARE(fixture.link().panel4Text(), QStringLiteral("Node 1 - RTU MODE-19200,E,8,1  "));
        dialog.disconnectButton()->click();
        QVERIFY(!fixture.link().linkOpen());
    }

    void autoDetectNeedsPort()
    {
        TempProgram program;
        AutoDetectDialog dialog(program.ctx());
        dialog.setAttribute(Qt::WA_DeleteOnClose, false);
        dialog.show();
        dialog.detectButton()->click();
        QCOMPARE(program.prompter().titles(), QStringList {"Information Needed."});
        QCOMPARE(dialog.statusList()->count(), 0);
    }

    void autoDetectClosedWhileSearching()
    {
        LinkFixture fixture({"--node", "9"});
        QString error;
        QVERIFY2(fixture.start(&error), qPrintable(error));
        auto *dialog = new AutoDetectDialog(fixture.ctx());
        QPointer<AutoDetectDialog> watch(dialog);
        dialog->show();
        dialog->portList()->setCurrentIndex(0);
        Q_EMIT dialog->portList()->activated(0);
        QTimer::singleShot(100, dialog, [dialog] {
            QCOMPARE(dialog->statusList()->count(), 1);
            QCOMPARE(dialog->statusList()->item(0)->text(),
                QStringLiteral("Trying Node Address 1 - ASCII Mode - 4800,N,7,2"));
            QCOMPARE(dialog->stateLabel()->text(), dialog->statusList()->item(0)->text());
            QVERIFY(!dialog->detectButton()->isEnabled());
            dialog->closeButton()->click();
        });
        dialog->detectButton()->click();
        QTRY_VERIFY(watch.isNull());
        QVERIFY(!fixture.link().serialOpen());
    }
};

TARVEL_TEST_MAIN(TestLinkDialogs)
#include "tst_ui_monitor.moc"
