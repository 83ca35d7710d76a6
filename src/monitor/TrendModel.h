#pragma once

#include "ChartXSpan.h"
#include "SampleTable.h"
#include "ScreenItems.h"
#include "TrendPens.h"

#include <QObject>

#include <array>

namespace Tarvel {

class AppContext;

// frmTrend without widgets: the ten pens' samples, which pens are shown,
// the axes' spans, and the questions of the screen. The window draws what
// this holds; a sample is taken on every tick whether a pen is shown or
// not, so a pen switched on later shows its history.
class TrendModel : public QObject, public ChartXSpan
{
    Q_OBJECT
public:
    static constexpr int Capacity = 15000; // 25 minutes at 100 ms
    static constexpr int TickMs = 100;
    static constexpr double ValueSpan = 500;
    static constexpr double DcBusValueSpan = 800;
    static constexpr double MotorSpeedSpan = 2000;

    explicit TrendModel(AppContext &ctx, QObject *parent = nullptr);

    SampleTable &table() { return m_table; }
    const SampleTable &table() const { return m_table; }

    // Form_Load: on the Ethernet route the trend's data link (OPCData4)
    // started; all pens off; the factor of pen 2 for a drive without a
    // configuration in the editor is looked up once here.
    void open();
    // The screen unloads: its data link stops.
    void close();
    // tmrTrend_Timer: one sample of every pen at `nowMs`.
    void tick(double nowMs);
    // The factor of pen 2: P8.01 as the detailed editor shows it, else the
    // connected drive's catalogue default, else 1.
    double p801() const;

    bool penVisible(int pen) const { return m_visible[size_t(pen)]; }
    // chkPen_Click(0..9): shows or hides a pen; pen 6 sets the "Value" span.
    void setPenVisible(int pen, bool visible);
    // chkPen_Click(10), "Toggle All Pens".
    void setAllVisible(bool visible);

    double valueSpan() const { return m_valueSpan; }
    double xSpanDays() const override { return m_xSpanDays; }
    void setXSpanDays(double days) override;

    // The closing question; true on OK.
    static bool confirmDiscard(AppContext &ctx);

Q_SIGNALS:
    void penVisibilityChanged(int pen, bool visible);
    void axesChanged();

private:
    AppContext &m_ctx;
    SampleTable m_table;
    ScreenItems m_items; // OPCData4
    std::array<bool, TrendPens::Count> m_visible {};
    double m_valueSpan = ValueSpan;
    double m_xSpanDays = DefaultSpanDays;
    double m_p801Default = 1;
};

} // namespace Tarvel
