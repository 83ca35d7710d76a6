#include "SetTrendX.h"

#include "ChartXSpan.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"

namespace Tarvel {

namespace {

constexpr double SpanLimitMinutes = 251; // up to 250 minutes and a fraction

} // namespace

const QString SetTrendX::TrendTag = QStringLiteral("1");
const QString SetTrendX::PidTag = QStringLiteral("2");

SetTrendX::SetTrendX(AppContext &ctx, ChartFor chartFor)
    : m_ctx(ctx)
    , m_chartFor(std::move(chartFor))
{ }

QString SetTrendX::minutesText(const ChartXSpan &chart)
{
    return NumberText::single(chart.xSpanDays() * ChartXSpan::MinutesPerDay);
}

SetTrendX::Outcome SetTrendX::update(const QString &text)
{
    Outcome outcome = Outcome::NoChart;
    m_ctx.trap(QStringLiteral("frmSetTrendX, cmdUpdate_Click"), [&] {
        ChartXSpan *chart = (m_tag == TrendTag || m_tag == PidTag) ? m_chartFor(m_tag) : nullptr;
        if (!chart)
            return;
        if (!NumberText::isNumeric(text)) {
            m_ctx.prompter().msgBox(
                QStringLiteral("Pleas enter a valid number."), Msg::Exclamation, QStringLiteral("Invalid Entry"));
            m_restored = minutesText(*chart);
            outcome = Outcome::NotNumeric;
            return;
        }
        const double minutes = NumberText::val(text);
        if (minutes < 0 || minutes >= SpanLimitMinutes) {
            m_ctx.prompter().msgBox(
                QStringLiteral("Enter a value 0 - 250."), Msg::OKOnly, QStringLiteral("Value Out Of Range"));
            outcome = Outcome::OutOfRange;
            return;
        }
        chart->setXSpanDays(minutes / ChartXSpan::MinutesPerDay);
        outcome = Outcome::Applied;
    });
    return outcome;
}

} // namespace Tarvel
