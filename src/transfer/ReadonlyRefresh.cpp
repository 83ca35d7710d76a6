#include "ReadonlyRefresh.h"

#include "comm/CommFailureEnd.h"
#include "comm/CommLink.h"
#include "comm/ParameterReads.h"
#include "comm/TransferRows.h"
#include "model/AppContext.h"
#include "base/Logging.h"
#include "base/NumberText.h"
#include "model/ParamText.h"
#include "rules/Resolution.h"

namespace Tarvel {

namespace {

QString updatedLine(int index)
{
    return QStringLiteral("The read only parameter ") + ParamText::parameterNumber(index)
        + QStringLiteral(" has been updated in your configuration to match the drive.");
}

} // namespace

ReadonlyRefresh::ReadonlyRefresh(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool ReadonlyRefresh::getReadonly()
{
    bool completed = true;
    m_ctx.trap(QStringLiteral("basFunctions, GetReadonly()"), [&] {
        const QVector<TransferRow> rows = TransferRows::load(m_ctx, QStringLiteral(" AND READONLY = true"));
        ParameterReads reads(m_ctx);
        reads.plan(TransferRows::addresses(rows));
        for (const TransferRow &row : rows) {
            m_ctx.statusList.setPosition(row.parameter);
            const qint16 value = reads.read(row.address, row.resolution, row.parameterText);
            if (reads.resultCode() != 0) {
                CommFailureEnd(m_ctx, CommFailureEnd::serialRead(QStringLiteral(" in basFunctions_GetReadOnly().")))
                    .finish(reads.resultCode());
                completed = false;
                return;
            }
            refresh(row.parameter, row.engineering(value));
            m_ctx.pause(0.4);
        }
    });
    // A trapped fault was reported by the handler; the download goes on as
    // it did before the refresh, with whatever was refreshed so far.
    return completed;
}

void ReadonlyRefresh::refresh(int index, float r)
{
    EditorForm &form = m_ctx.editor;
    if (!m_ctx.params.blnExtra[index]) {
        if (r != Resolution::singleValue(form.txtP(index).text()))
            report(index);
        form.txtP(index).setText(NumberText::single(r));
        return;
    }
    // A choice list holds the position of its entry.
    ComboField &list = form.cmbP(index);
    const int k = int(r);
    if (r != float(list.listIndex()))
        report(index);
    if (k < 0 || k >= list.listCount())
        throw TrappedError(Err::InvalidPropertyValue,
            QStringLiteral("Invalid property value: entry %1 of %2").arg(k).arg(ParamText::parameterNumber(index)));
    list.setListIndex(k);
    form.txtP(index).setText(list.list().at(k).left(2));
}

void ReadonlyRefresh::report(int index)
{
    qCInfo(lcComm).noquote() << "read-only" << ParamText::parameterNumber(index) << "taken from the drive";
    m_ctx.statusList.show();
    m_ctx.statusList.addLine(updatedLine(index));
}

} // namespace Tarvel
