#include "DownloadVerification.h"

#include "rules/Resolution.h"

#include "model/AppContext.h"
#include "base/Logging.h"
#include "ports/ShellHooks.h"
#include "base/NumberText.h"
#include "model/ParamText.h"
#include "comm/CommFailureEnd.h"
#include "comm/ParameterReads.h"
#include "comm/TransferRows.h"
#include "rules/ValueCheck.h"

namespace Tarvel {

namespace {

void setPolling(AppContext &ctx, bool on)
{
    ShellHooks &hooks = ctx.hooks();
    hooks.setPollTimerEnabled(on);
    hooks.setBusyPointer(!on);
}

} // namespace

DownloadVerification::DownloadVerification(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool DownloadVerification::logicCheck()
{
    bool agreed = true;
    const bool ran = m_ctx.trap(QStringLiteral("basFunctions, LogicCheck()"), [&] {
        setPolling(m_ctx, false);
        const QVector<TransferRow> rows = TransferRows::load(m_ctx);
        ParameterReads reads(m_ctx);
        reads.plan(TransferRows::addresses(rows));
        for (const TransferRow &row : rows) {
            m_ctx.statusList.setPosition(row.parameter);
            const double configured = configuredRegister(m_ctx, row.parameter);
            // Over either route the value the read gave: after a single read
            // it is Mod1's RegisterValue(0), from a block the same register.
            const qint16 value = reads.read(row.address, row.resolution, QString());
            // Our master reports a failed read as 300..308 and a refusal as
            // the exception code 1..255; -1 only for a read that never
            // started. Any of them means the drive's value is not known.
            if (reads.resultCode() != 0) {
                CommFailureEnd::Ending ending
                    = CommFailureEnd::serialRead(QStringLiteral(" in basFunctions_LogicCheck()."));
                ending.enableMain = false; // the download disabled it and restores it
                CommFailureEnd(m_ctx, ending).finish(reads.resultCode());
                agreed = false;
                return;
            }
            if (configured != double(value)) {
                m_ctx.statusList.show();
                m_ctx.statusList.addLine(QStringLiteral("Validation indicates ")
                    + ParamText::parameterNumber(row.parameter)
                    + QStringLiteral(" differs between configuration and drive."));
                agreed = false;
            }
        }
        setPolling(m_ctx, true);
    });
    return ran && agreed;
}

// The configuration value in register units: the box's number times the
// whole-number multiplier 1 / resolution, taken through its decimal text as
// the drive tool always has, so 60.5 at 0.1 is 605 and not 604.9999...
double DownloadVerification::configuredRegister(const AppContext &ctx, int index)
{
    const float resolution = ctx.params.sngResolution[index];
    if (resolution == 0.0f)
        throw TrappedError(Err::DivisionByZero);
    const double multiplier = Resolution::multiplier(resolution);
    const double product = NumberText::val(ctx.editor.txtP(index).text()) * multiplier;
    return NumberText::val(ValueCheck::numberText(product).trimmed());
}

} // namespace Tarvel
