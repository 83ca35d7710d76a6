#pragma once

#include "ports/FileDialogs.h"

#include <QString>

namespace Tarvel {

class AppContext;

// The file, view and current-configuration commands of the main window:
// what each checks, asks and hands over to. The windows they show are
// reached through Windows, so every command also runs without a screen.
class MainCommands
{
public:
    // What the commands need of the main window's child windows.
    class Windows
    {
    public:
        virtual ~Windows() = default;
        // The new-configuration dialog with its Tag ("Detailed", "Wizard"),
        // modal; it starts the configuration itself.
        virtual void newConfigDialog(const QString &mode) = 0;
        virtual void showDetailedEditor() = 0;
        // Unloading the detailed editor: it was created once, so it is
        // hidden; the configuration in it is emptied by the command.
        virtual void hideDetailedEditor() = 0;
        // Leaves the field being edited through its checks first, so a
        // value typed just before a command is checked before it is used.
        // False when the entry was refused.
        virtual bool commitFocusedField() = 0;
    };

    MainCommands(AppContext &ctx, Windows &windows);

    // mnuNewDetailed_Click, mnuNewWizard_Click
    void newDetailed();
    void newWizard();
    // mnuOpenDetailed_Click; true when a file was opened.
    bool openConfiguration();
    // Opens a configuration named on the command line or handed over by a
    // later start, as Open does after the file dialog.
    bool openNamedFile(const QString &path);
    // mnuSave_Click, mnuSaveAs_Click; true when the file was written.
    bool save();
    bool saveAs();
    // mnuClose_Click
    void closeConfiguration();
    // mnuDetail_Click: the editor when a configuration is loaded, else Open.
    void viewDetailed();
    // mnuCompare_Click, mnuPrintConfig_Click
    void compare();
    void printConfig();

    // The unsaved-changes test: asks, and saves on Yes. Either answer goes on.
    void offerToSave();

    // The main window's Tag ("Detailed" / "Schematic").
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    static const QString ConfigFilter; // "config files (*.qxc)|*.qxc"

private:
    bool saveSteps();
    bool saveAsSteps();
    FileDialogRequest configRequest(FileDialogRequest::Mode mode, const QString &title) const;
    bool openSteps();
    bool openPathSteps(const QString &path);
    void closeSteps();
    void updateCaption();

    AppContext &m_ctx;
    Windows &m_windows;
    QString m_tag;
};

} // namespace Tarvel
