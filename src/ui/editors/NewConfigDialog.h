#pragma once

#include "app/NewConfigDialogModel.h"

#include <QDialog>

class QComboBox;
class QFileSystemModel;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace Tarvel {

class AppContext;

// frmNewConfigDialog: pick the drive, name the configuration and choose
// its folder. A folder tree takes the place of separate drive and folder
// lists. What the buttons decide is NewConfigDialogModel's; the dialog
// shows it and passes the user's entries on.
class NewConfigDialog : public QDialog
{
    Q_OBJECT
public:
    // tag: "Detailed" or "Wizard".
    NewConfigDialog(AppContext &ctx, const QString &tag, QWidget *parent = nullptr);
    ~NewConfigDialog() override;

    NewConfigDialogModel &model() { return m_model; }
    QComboBox *driveList() const { return m_drives; }
    QLineEdit *nameBox() const { return m_name; }
    QTreeView *folderView() const { return m_folders; }
    QPushButton *browseButton() const { return m_browse; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

    // The folder shown as chosen in the tree.
    void setFolder(const QString &folder);

public Q_SLOTS:
    // cmdOK_Click: the dialog closes once the configuration is started.
    void accept() override;
    // cmdCancel_Click, and Escape or the close box.
    void reject() override;

private:
    void buildWidgets();
    void buildLayout();
    void folderChosen();
    void showFolder(const QString &folder);
    void browseClicked();
    void showFocusRequest();

    AppContext &m_ctx;
    NewConfigDialogModel m_model;
    QComboBox *m_drives = nullptr;
    QLineEdit *m_name = nullptr;
    QTreeView *m_folders = nullptr;
    QFileSystemModel *m_fsModel = nullptr;
    QLabel *m_folderText = nullptr;
    bool m_showingFolder = false;
    QPushButton *m_browse = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
};

} // namespace Tarvel
