#pragma once

#include "app/ChangeRatingModel.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QPushButton;

namespace Tarvel {

class AppContext;

// frmUpdate: the user picks the drive to move the configuration to. What
// the list holds and what OK does is ChangeRatingModel's; the dialog shows
// it and passes the user's choice on.
class ChangeRatingDialog : public QDialog
{
    Q_OBJECT
public:
    explicit ChangeRatingDialog(AppContext &ctx, QWidget *parent = nullptr);
    ~ChangeRatingDialog() override;

    ChangeRatingModel &model() { return m_model; }
    QLabel *label() const { return m_label; }
    QComboBox *driveList() const { return m_drives; }
    QPushButton *okButton() const { return m_ok; }
    QPushButton *cancelButton() const { return m_cancel; }

public Q_SLOTS:
    // cmdOK_Click: the dialog closes as soon as the update has found the
    // chosen drive, and stays open when it could not.
    void accept() override;
    // cmdCancel_Click, and Escape or the close box.
    void reject() override;
    // Form_QueryUnload on every way out.
    void done(int result) override;

private:
    void buildWidgets();
    void buildLayout();

    ChangeRatingModel m_model;
    QLabel *m_label = nullptr;
    QComboBox *m_drives = nullptr;
    QPushButton *m_ok = nullptr;
    QPushButton *m_cancel = nullptr;
    bool m_updating = false;
};

} // namespace Tarvel
