#include "TrendModel.h"

#include "DriveParameterLimits.h"
#include "base/NumberText.h"
#include "comm/CommLink.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

namespace Tarvel {

namespace {

constexpr int P801 = 801;
constexpr int TrendLink = 4; // OPCData4
constexpr int TrendRateMs = 100;

QList<ScreenItems::Item> trendItems()
{
    QList<ScreenItems::Item> items;
    for (const char *tag : {"ST0.02@WORD", "ST0.03@WORD", "ST0.04@WORD", "ST0.05@WORD", "ST0.06@WORD", "ST0.07@WORD",
             "ST0.11@WORD", "ST0.12@WORD", "ST0.13@WORD"})
        items.append({tag, TrendRateMs});
    return items;
}

QStringList penNames()
{
    QStringList names;
    for (const TrendPens::Pen &pen : TrendPens::pens())
        names << QString::fromLatin1(pen.name);
    return names;
}

} // namespace

TrendModel::TrendModel(AppContext &ctx, QObject *parent)
    : QObject(parent)
    , m_ctx(ctx)
    , m_table(penNames(), Capacity)
    , m_items(ctx, TrendLink, trendItems())
{ }

void TrendModel::open()
{
    m_ctx.trap(QStringLiteral("frmTrend, Form_Load"), [&] {
        m_items.start();
        setAllVisible(false);
        if (m_ctx.hasLink() && m_ctx.link().linkOpen()) {
            if (const auto limits = DriveParameterLimits::read(m_ctx, P801))
                m_p801Default = NumberText::val(NumberText::variant(limits->defaultValue));
        }
    });
}

void TrendModel::close()
{
    m_items.stop();
}

double TrendModel::p801() const
{
    const EditorForm &editor = m_ctx.editor;
    if (editor.tagNumber() != 0 && editor.hasTxtP(P801))
        return NumberText::val(editor.txtP(P801).text());
    return m_p801Default;
}

void TrendModel::tick(double nowMs)
{
    m_ctx.trap(QStringLiteral("frmTrend, tmrTrend_Timer"),
        [&] { m_table.append(nowMs, TrendPens::sample(m_ctx.state, p801())); });
}

void TrendModel::setPenVisible(int pen, bool visible)
{
    if (pen < 0 || pen >= TrendPens::Count)
        return;
    m_visible[size_t(pen)] = visible;
    Q_EMIT penVisibilityChanged(pen, visible);
    if (pen == TrendPens::DcBusPen) {
        m_valueSpan = DcBusValueSpan;
        Q_EMIT axesChanged();
    }
}

// The axis span stays as it is, also for pen 6.
void TrendModel::setAllVisible(bool visible)
{
    for (int pen = 0; pen < TrendPens::Count; ++pen) {
        m_visible[size_t(pen)] = visible;
        Q_EMIT penVisibilityChanged(pen, visible);
    }
}

void TrendModel::setXSpanDays(double days)
{
    m_xSpanDays = days;
    Q_EMIT axesChanged();
}

bool TrendModel::confirmDiscard(AppContext &ctx)
{
    return ctx.prompter().msgBox(QStringLiteral("Any information collected by this trend will be lost.\r"
                                                "Ensure any needed data has been saved before closing."),
               Msg::OKCancel | Msg::Exclamation, QStringLiteral(" Unsaved Data May Exist"))
        == Msg::OK;
}

} // namespace Tarvel
