#pragma once

#include "comm/AutoDetectSearch.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace Tarvel {

class AppContext;

// frmAutoDetect: renders the auto-detect search. The search runs inside
// the Detect handler and processes events while it waits, so Cancel and
// Close act on it; a window closed mid-search goes once the search ends.
class AutoDetectDialog : public QDialog
{
    Q_OBJECT

public:
    explicit AutoDetectDialog(AppContext &ctx, QWidget *parent = nullptr);

    AutoDetectSearch &search() { return m_search; }
    QComboBox *portList() const { return m_port; }
    QCheckBox *quickBox() const { return m_quick; }
    QListWidget *statusList() const { return m_status; }
    QLabel *stateLabel() const { return m_state; }
    QPushButton *detectButton() const { return m_detect; }
    QPushButton *cancelButton() const { return m_cancel; }
    QPushButton *closeButton() const { return m_close; }

    // cmdTryComPort_Click
    void detect();

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void render();

    AutoDetectSearch m_search;
    QComboBox *m_port = nullptr;
    QCheckBox *m_quick = nullptr;
    QListWidget *m_status = nullptr;
    QLabel *m_state = nullptr;
    QPushButton *m_detect = nullptr;
    QPushButton *m_cancel = nullptr;
    QPushButton *m_close = nullptr;
    bool m_closeAfterSearch = false;
};

} // namespace Tarvel
