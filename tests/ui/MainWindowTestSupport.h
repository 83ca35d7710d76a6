#pragma once

#include "TestSupport.h"
#include "files/FileTestSupport.h"

#include "ui/editors/NewConfigDialog.h"
#include "ui/main/MainWindow.h"
#include "ui/main/Shell.h"

#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QtTest>

namespace Tarvel::Test {

// The main window as start-up builds it, with scripted message boxes and
// file dialogs and the report kept from the desktop.
struct MainFixture
{
    TempProgram program;
    ScriptedFileDialogs dialogs;
    Shell shell {program.ctx()};
    QStringList opened;

    MainFixture()
    {
        ctx().setPrompter(&program.prompter());
        ctx().setFileDialogs(&dialogs);
        w().setDocumentOpener([this](const QString &path) {
            opened << path;
            return true;
        });
        w().show();
        w().activateWindow();
    }
    AppContext &ctx() { return program.ctx(); }
    MainWindow &w() { return shell.mainWindow(); }
    QString configPath(const QString &name) const { return program.path("Configs/" + name); }
};

// Fills the modal new-configuration dialog once it shows and confirms it
// with Enter: the drive {series, model, rev} and the name.
inline void answerNewConfig(const QStringList &drive, const QString &name)
{
    QTimer::singleShot(0, [drive, name] {
        auto *dialog = qobject_cast<NewConfigDialog *>(QApplication::activeModalWidget());
        QVERIFY(dialog);
        const QList<DriveListEntry> &drives = dialog->model().drives();
        for (int i = 0; i < drives.size(); ++i)
            if (drives[i].seriesCode == drive[0] && drives[i].modelCode == drive[1] && drives[i].rev == drive[2])
                dialog->driveList()->setCurrentIndex(i);
        dialog->nameBox()->setText(name);
        QTest::keyClick(dialog->nameBox(), Qt::Key_Return);
        // A refused entry keeps the dialog: leave it, so the test goes on.
        if (dialog->isVisible())
            dialog->reject();
    });
}

} // namespace Tarvel::Test
