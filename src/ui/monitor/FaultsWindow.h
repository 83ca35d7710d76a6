#pragma once

#include "monitor/FaultHistory.h"

#include <QWidget>

#include <functional>

class QLabel;
class QPushButton;

namespace Tarvel {

class AppContext;

// frmFaults: the six fault records of the drive as text, read when the
// window opens and again on "Read Fault Info From Drive".
class FaultsWindow : public QWidget
{
    Q_OBJECT
public:
    // `showConnection` opens the connection dialog after the no-link question.
    FaultsWindow(AppContext &ctx, std::function<void()> showConnection, QWidget *parent = nullptr);

    FaultHistory &history() { return m_history; }
    // lblFaults(11 + record), record 0 for P6.31.
    QLabel *valueLabel(int record) const { return m_values.value(record); }
    QPushButton *readButton() const { return m_read; }

    // cmdRead_Click.
    void readFaults();

private:
    void build();

    AppContext &m_ctx;
    FaultHistory m_history;
    std::function<void()> m_showConnection;
    QList<QLabel *> m_values;
    QPushButton *m_read = nullptr;
};

} // namespace Tarvel
