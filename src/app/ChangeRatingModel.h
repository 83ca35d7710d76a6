#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

namespace Tarvel {

class AppContext;

// What frmUpdate ("Configuration Update") decides, without the dialog: the
// candidate drives of the same or a later series, the warning against a
// move to an older revision, and OK starting the change of rating. The
// dialog renders it; tests drive it directly.
class ChangeRatingModel
{
public:
    // One catalogue row offered in the list.
    struct Candidate
    {
        QString seriesCode; // "02"
        QString modelCode; // "05"
        QString rev; // "120"
        QString text; // Model + " @ rev. " + Rev
    };

    explicit ChangeRatingModel(AppContext &ctx);

    // Form_Load: every drive whose series code sorts at or after the
    // configuration's series (the text of P9.41), in catalogue order; the
    // first line shown. No candidate gives the single line NoModelsText
    // and a disabled OK.
    void load();

    const QList<Candidate> &candidates() const { return m_candidates; }
    // The lines of cmbDrives.
    const QStringList &lines() const { return m_lines; }
    int currentIndex() const { return m_current; }
    QString currentText() const { return m_lines.value(m_current); }
    bool okEnabled() const { return m_okEnabled; }

    // cmbDrives_Change: the user chose another line. A drive of the same
    // series with an older revision than the configuration's is warned
    // against; the choice stays.
    void choose(int index);
    // cmdOK_Click: the change of rating with the busy pointer shown. True
    // when the update ran to its end.
    bool accept();
    // cmdCancel_Click
    void cancel();
    // Form_QueryUnload: lets go of the catalogue rows read at load.
    void queryUnload();

    // How the dialog closes: on Cancel, and by the update once the chosen
    // drive is found.
    void setCloseDialog(std::function<void()> closeDialog) { m_closeDialog = std::move(closeDialog); }

    // mnuUpdate_Click of the main window: the dialog (shown by showDialog)
    // when a configuration file is open, otherwise only a message.
    static void changeDriveRating(AppContext &ctx, const std::function<void()> &showDialog);

    static const QString Caption; // "Configuration Update"
    static const QString LabelText; // lblUpdate
    static const QString ToolTip; // cmbDrives
    static const QString NoModelsText; // "No models available to update to."

private:
    QString seriesText() const;
    void readCandidates();
    void closeDialog();

    AppContext &m_ctx;
    QList<Candidate> m_candidates;
    QStringList m_lines;
    int m_current = -1;
    bool m_okEnabled = false;
    std::function<void()> m_closeDialog;
};

} // namespace Tarvel
