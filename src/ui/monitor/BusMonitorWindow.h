#pragma once

#include "comm/BusMonitor.h"

#include <QWidget>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableView;

namespace Tarvel {

class AppContext;

// Drive > Bus Monitor: every Modbus transaction of the drive link as it
// happens, failed ones in red. Listens only while shown; closing it (it
// deletes itself) stops the recording.
class BusMonitorWindow : public QWidget
{
    Q_OBJECT

public:
    explicit BusMonitorWindow(AppContext &ctx, QWidget *parent = nullptr);

    BusMonitor &monitor() { return m_monitor; }
    QTableView *table() const { return m_table; }
    QCheckBox *pauseBox() const { return m_pause; }
    QLineEdit *filterBox() const { return m_filter; }
    QPushButton *clearButton() const { return m_clear; }
    QPushButton *saveButton() const { return m_save; }

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void build();
    void applyFilter();
    void updateCount();

    BusMonitor m_monitor;
    QTableView *m_table = nullptr;
    QCheckBox *m_pause = nullptr;
    QLineEdit *m_filter = nullptr;
    QPushButton *m_clear = nullptr;
    QPushButton *m_save = nullptr;
    QLabel *m_count = nullptr;
};

} // namespace Tarvel
