#pragma once

#include "files/FileDifferences.h"
#include "ports/FileDialogs.h"

#include <QString>

namespace Tarvel {

class AppContext;
class SchematicModel;

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
        // The Download command, offered after a backup was opened.
        virtual void download() { }
        // Another configuration (or none) is in the editor now: the edit
        // history of the previous one is gone.
        virtual void configurationReplaced() { }
        // The schematic window of the current series, shown and in front.
        virtual void showSchematic() { }
        // Closes the schematic windows (each asks to save when changed).
        virtual void closeSchematic() { }
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
    // mnuSchematic_Click: the schematic of the open file (its settings file
    // read when there is one).
    void viewSchematic();
    // mnuSchematicConfig_Click: a new configuration in schematic mode.
    void newSchematic();
    // mnuOpenSchematic_Click: a settings file and its configuration.
    bool openSchematic();
    // The schematic state that Save writes for a schematic configuration.
    void setSchematic(SchematicModel *model) { m_schematic = model; }
    // mnuCompare_Click, mnuPrintConfig_Click
    void compare();
    void printConfig();

    // A file of the recent list, opened as Open opens a chosen one; a file
    // that is gone is taken off the list with a message.
    bool openRecent(const QString &path);
    // Restore Last Backup: offers the newest backup of the connected
    // drive, opens it (under no file name, so a save cannot overwrite the
    // backup) and offers to download it.
    void restoreLastBackup();
    // Compare With File...: the file chosen, and its differences from the
    // configuration (first: this configuration, second: the file). False
    // when cancelled or not comparable (told in a message).
    bool compareWithFile(QString *otherPath, QVector<ParamDifference> *differences);

    // The unsaved-changes test: asks, and saves on Yes. Either answer goes on.
    void offerToSave();

    // The main window's Tag ("Detailed" / "Schematic").
    const QString &tag() const { return m_tag; }
    void setTag(const QString &tag) { m_tag = tag; }

    static const QString ConfigFilter; // "config files (*.qxc)|*.qxc"

private:
    bool saveSteps();
    bool saveAsSteps();
    bool schematicMode() const;
    bool saveSchematicBeside(const QString &configPath);
    bool openSchematicSteps();
    FileDialogRequest configRequest(FileDialogRequest::Mode mode, const QString &title) const;
    bool openSteps();
    bool openPath(const QString &path);
    void restoreSteps();
    void noteRecent(const QString &path);
    void closeSteps();
    void updateCaption();

    AppContext &m_ctx;
    Windows &m_windows;
    QString m_tag;
    SchematicModel *m_schematic = nullptr;
};

} // namespace Tarvel
