#pragma once

#include "monitor/TrendModel.h"

#include <QTimer>
#include <QWidget>

#include <array>

class QCheckBox;

namespace Tarvel {

class AppContext;
class DecimatedChart;

// frmTrend: up to ten running values of the connected drive against time,
// sampled every 100 ms from the values the polling keeps; a check box per
// pen and "Toggle All Pens".
class TrendWindow : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ToggleAllBox = TrendPens::Count;

    explicit TrendWindow(AppContext &ctx, QWidget *parent = nullptr);

    TrendModel &model() { return m_model; }
    DecimatedChart *chart() const { return m_chart; }
    QCheckBox *penBox(int index) const { return m_boxes[size_t(index)]; }
    QTimer &sampleTimer() { return m_tmrTrend; }

Q_SIGNALS:
    void xAxisRequested(); // trend1_OnMouseUp with the right button

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void buildBoxes(QWidget *panel);
    void penClicked(int index); // chkPen_Click

    AppContext &m_ctx;
    TrendModel m_model;
    DecimatedChart *m_chart;
    std::array<QCheckBox *, TrendPens::Count + 1> m_boxes {};
    QTimer m_tmrTrend;
};

} // namespace Tarvel
