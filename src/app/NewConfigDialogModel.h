#pragma once

#include "files/NewConfig.h"

#include <QList>
#include <QString>

#include <functional>

namespace Tarvel {

class AppContext;

// What frmNewConfigDialog decides, without the dialog: the drive list, the
// name and folder, Browse, OK with its checks and the overwrite question,
// and Cancel putting the previous drive identity back. The dialog renders
// it; tests and scripts drive it directly.
class NewConfigDialogModel
{
public:
    // Where the dialog puts the focus after a refused OK.
    enum class Focus { None, Name, Drives };

    // tag is the dialog's Tag: "Detailed" or "Wizard".
    NewConfigDialogModel(AppContext &ctx, QString tag);

    // Form_Load: keeps the drive identity for Cancel, reads the drive list,
    // shows its first line and starts in the configuration folder.
    void load();

    const QString &tag() const { return m_tag; }
    const QList<DriveListEntry> &drives() const { return m_drives; }
    QStringList driveTexts() const;
    // The list position shown in cmbDrives; -1 when it shows no text.
    int driveIndex() const { return m_driveIndex; }
    void setDriveIndex(int index);
    // cmbDrives_LostFocus: the shown drive becomes the configuration's
    // identity (strSeries, strModel, strRev).
    void driveListLeft();

    const QString &name() const { return m_name; }
    void setName(const QString &name) { m_name = name; }
    const QString &folder() const { return m_folder; }
    void setFolder(const QString &folder) { m_folder = folder; }
    // folder + "/" + name + ".qxc"
    QString filePath() const;

    // cmdBrowse_Click: an existing configuration lends its name.
    void browse();
    // cmdOK_Click: true when the configuration was started and the dialog
    // closes; false keeps the dialog open (focusRequest says where).
    bool accept();
    // cmdCancel_Click: the identity kept at load comes back.
    void cancel();

    Focus focusRequest() const { return m_focus; }
    // Shows the editor or the wizard once the configuration is loaded.
    void setShowMode(std::function<void(NewConfig::Mode)> showMode) { m_showMode = std::move(showMode); }

private:
    bool acceptSteps();
    bool refuse(const QString &text, Focus focus);

    AppContext &m_ctx;
    QString m_tag;
    QList<DriveListEntry> m_drives;
    int m_driveIndex = -1;
    QString m_name;
    QString m_folder;
    QString m_keptSeries, m_keptModel, m_keptRev;
    Focus m_focus = Focus::None;
    std::function<void(NewConfig::Mode)> m_showMode;
};

} // namespace Tarvel
