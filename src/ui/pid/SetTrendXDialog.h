#pragma once

#include "monitor/SetTrendX.h"

#include <QDialog>

class QLineEdit;

namespace Tarvel {

class AppContext;

// frmSetTrendX: the time span of the trend chart (tag "1") or the PID
// chart (tag "2") in minutes. Modeless; it stays open after Update.
class SetTrendXDialog : public QDialog
{
    Q_OBJECT
public:
    SetTrendXDialog(AppContext &ctx, SetTrendX::ChartFor chartFor, QWidget *parent = nullptr);

    // What the chart's right button does: the tag and the chart's span.
    void prepare(const QString &tag);
    QLineEdit *minutesBox() const { return m_minutes; }
    const SetTrendX &model() const { return m_model; }

public Q_SLOTS:
    void update(); // cmdUpdate_Click

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    AppContext &m_ctx;
    SetTrendX m_model;
    SetTrendX::ChartFor m_chartFor;
    QLineEdit *m_minutes;
};

} // namespace Tarvel
