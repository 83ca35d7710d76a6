#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

namespace Tarvel {

class AppContext;

// One line of the new-configuration drive list: a row of tblDriveModels.
struct DriveListEntry
{
    QString seriesCode; // "02"
    QString modelCode; // "05"
    QString rev; // "120"
    QString text; // Model + " rev. " + Rev, as the list shows it
};

// Creates a new configuration from the catalogue defaults of one drive and
// saves it at once: the work behind frmNewConfigDialog, shared by the
// dialog and the command-line tool. Showing the editor or the wizard is
// the caller's business, through the mode callback.
class NewConfig
{
public:
    enum class Mode { Detailed, Wizard, Schematic };

    explicit NewConfig(AppContext &ctx);

    // The dialog's Tag: "Detailed", "Wizard" or "Schematic".
    static std::optional<Mode> modeFromTag(const QString &tag);

    // Every drive of the catalogue in list order (series, model, revision).
    // Empty when the catalogue could not be read (reported through the
    // trap under "frmNewConfigDialog, Form_Load").
    QList<DriveListEntry> driveList();
    // The entry of the list for a drive identity, if the catalogue has it.
    static std::optional<DriveListEntry> findDrive(
        const QList<DriveListEntry> &drives, const QString &series, const QString &model, const QString &rev);

    // The question before a new configuration takes the place of an
    // existing file. Yes (true) also removes the schematic settings file of
    // the same name, which would otherwise describe the old drive; No
    // (false) changes nothing. True at once when no file is there.
    bool confirmReplace(const QString &path);
    // The schematic settings file that goes with a configuration file.
    static QString schematicPath(const QString &configPath);

    // Called where the chosen mode shows its window, after the editor's Tag
    // is set and before the file is saved.
    void setShowMode(std::function<void(Mode)> showMode) { m_showMode = std::move(showMode); }

    // StartNewConfig: loads the drive's parameters with their defaults,
    // sets the editor's Tag by mode, makes `path` the current file and
    // saves the configuration there. The caller has unloaded the schematic
    // windows and set the main window caption; in schematic mode it also
    // writes the schematic settings file after this. False when the load
    // or the save failed (reported through the trap).
    bool startNewConfig(Mode mode, const DriveListEntry &drive, const QString &path);

    static const QString Location; // "frmNewConfigDialog, StartNewConfig"

private:
    bool startSteps(Mode mode, const DriveListEntry &drive, const QString &path);
    bool loadDrive(const DriveListEntry &drive);
    void applyMode(Mode mode);
    void beginDisplay();
    void endDisplay();

    AppContext &m_ctx;
    std::function<void(Mode)> m_showMode;
};

} // namespace Tarvel
