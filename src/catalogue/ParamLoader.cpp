#include "ParamLoader.h"

#include "Catalogue.h"
#include "base/Logging.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "model/DriveKey.h"
#include "model/EditorForm.h"
#include "model/ParamText.h"

#include <cmath>

namespace Tarvel {

ParamLoader::ParamLoader(AppContext &ctx)
    : m_ctx(ctx)
{ }

QString ParamLoader::notUsedCaption(int index)
{
    return ParamText::captionPrefix(index) + QStringLiteral(" - Not used for selected drive/rev.");
}

bool ParamLoader::loadDrive(const DriveKey &drive)
{
    return getParamData(m_ctx.editor, QStringLiteral("qryTabParams"), DriveKey::quoted(drive.series),
        DriveKey::quoted(drive.model), DriveKey::quoted(drive.rev));
}

bool ParamLoader::getParamData(
    EditorForm &form, const QString &source, const QString &series, const QString &model, const QString &rev)
{
    return m_ctx.trap(QStringLiteral("basFunctions, getParamData()"), [&] {
        m_ctx.statusList.show();
        m_ctx.params.blnTextShown.fill(false);
        m_ctx.params.blnListShown.fill(false);
        m_ctx.pause(0.3);

        m_ctx.state.blnStepDone = false;
        clearObjects(form);

        const QString sql = QStringLiteral("Select * From ") + source + QStringLiteral(" WHERE Series = ") + series
            + QStringLiteral(" AND Model = ") + model + QStringLiteral(" AND REV = ") + rev;
        m_ctx.pause(0.3);

        m_ctx.state.blnStepDone = false;
        std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
        loadRows(form, *catalogue, sql, series, model, rev);
        catalogue->release();
        qCDebug(lcCatalogue) << "loaded" << series << model << rev;
    });
}

void ParamLoader::loadRows(EditorForm &form, Catalogue &catalogue, const QString &sql, const QString &series,
    const QString &model, const QString &rev)
{
    ParamTables &t = m_ctx.params;
    RecordSet rs = catalogue.query(sql);

    m_ctx.state.strSeries = rs.field(QStringLiteral("Series")).toString();
    m_ctx.state.strModel = rs.field(QStringLiteral("model")).toString();
    m_ctx.state.strRev = rs.field(QStringLiteral("Rev")).toString();

    m_ctx.state.blnStepDone = false;
    labels(form);

    // Hover and caption texts carry over from row to row where the
    // catalogue leaves them null, so a row needs only what changes.
    QString hover;
    QString caption;
    while (!rs.eof()) {
        const QString parameter = rs.field(QStringLiteral("Parameter")).toString();
        const int i = parameter.toInt();
        if (i < 0 || i >= ParamTables::Size)
            throw TrappedError(Err::SubscriptOutOfRange);
        m_ctx.statusList.setPosition(i);
        m_ctx.pause(0.01);

        t.varMin[i] = rs.field(QStringLiteral("min"));
        t.varMax[i] = rs.field(QStringLiteral("max"));
        t.varDefault[i] = rs.field(QStringLiteral("default"));
        t.sngResolution[i] = rs.field(QStringLiteral("resolution")).toFloat();
        t.blnDependent[i] = rs.field(QStringLiteral("Dependent")).toBool();
        t.blnReadOnly[i] = rs.field(QStringLiteral("ReadOnly")).toBool();
        t.blnExtra[i] = rs.field(QStringLiteral("Extra")).toBool();

        const QString valueText = t.varDefault[i].isNull() ? QStringLiteral(" ") : NumberText::variant(t.varDefault[i]);
        const QVariant tip = rs.field(QStringLiteral("ToolTipText"));
        if (!tip.isNull())
            hover = tip.toString();
        const QVariant description = rs.field(QStringLiteral("Description"));
        if (!description.isNull()) {
            caption = description.toString();
            if (form.hasLblP(i))
                form.lblP(i).setForeColor(Colour::Black);
        }

        // A catalogue index without a field is passed over statement by
        // statement (error 340), so the rest of the row still loads.
        const bool hasText = form.hasTxtP(i);
        if (hasText) {
            form.txtP(i).setText(valueText);
            form.txtP(i).setToolTipText(hover);
        }
        if (form.hasLblP(i))
            form.lblP(i).setCaption(QStringLiteral("   ") + caption);
        if (hasText)
            form.txtP(i).setVisible(true);

        const int rowPosition = rs.position() + 1;
        if (t.blnExtra[i]) {
            ComboField &list = form.cmbP(i); // raises 340 when the catalogue lists a field the editor lacks
            list.setVisible(true);
            list.setTabIndex(rowPosition);
            list.setTabStop(true);
            t.blnListShown[i] = true;
            getExtraData(catalogue, series, model, rev, parameter, list);
            const int k = int(NumberText::val(hasText ? form.txtP(i).text() : QString()));
            if (!ParamTables::listHoldsValue(i)) {
                if (k < 0 || k >= list.listCount())
                    throw TrappedError(Err::InvalidArrayIndex);
                list.setListIndex(k);
                if (hasText)
                    form.txtP(i).setText(list.list().at(k).left(2));
            } else {
                list.setText(QString::number(k));
            }
        } else if (hasText) {
            form.txtP(i).setTabStop(true);
            t.blnTextShown[i] = true;
            form.txtP(i).setTabIndex(rowPosition);
        }

        if (t.blnReadOnly[i]) {
            if (hasText)
                form.txtP(i).setEnabled(false);
            if (form.hasCmbP(i))
                form.cmbP(i).setEnabled(false);
        }

        if (i == 200) {
            const bool custom = NumberText::val(form.txtP(200).text()) == 3.0;
            for (int k = 204; k <= 207; ++k)
                form.txtP(k).setEnabled(custom);
        }

        rs.moveNext();
        if (hasText)
            t.varLastChance[i] = form.txtP(i).text();
    }
}

void ParamLoader::clearObjects(EditorForm &form)
{
    m_ctx.trap(QStringLiteral("basFunctions, ClearObjects()"), [&] {
        const int last = form.upperBound(FieldKind::List);
        for (int i = form.lowerBound(FieldKind::List); i <= last; ++i) {
            if (form.hasCmbP(i))
                form.cmbP(i).clear();
            if (form.hasTxtP(i))
                form.txtP(i).setText(QString());
            if (form.hasLblP(i)) {
                form.lblP(i).setForeColor(Colour::Black);
                form.lblP(i).setCaption(QString());
            }
            if (form.hasCmbP(i))
                form.cmbP(i).setVisible(false);
            if (form.hasTxtP(i))
                form.txtP(i).setVisible(false);
            if (form.hasLblP(i))
                form.lblP(i).setVisible(false);
        }
        enableAll(form);
        m_ctx.state.blnStepDone = true;
    });
}

// The loader only ever disables (read-only parameters, the custom curve
// boxes) and the rules disable by the values of one drive.
void ParamLoader::enableAll(EditorForm &form)
{
    for (FieldKind kind : {FieldKind::Text, FieldKind::List}) {
        const int last = form.upperBound(kind);
        for (int i = form.lowerBound(kind); i <= last; ++i) {
            if (kind == FieldKind::Text && form.hasTxtP(i))
                form.txtP(i).setEnabled(true);
            if (kind == FieldKind::List && form.hasCmbP(i))
                form.cmbP(i).setEnabled(true);
        }
    }
}

void ParamLoader::labels(EditorForm &form)
{
    m_ctx.trap(QStringLiteral("basFunctions, Labels()"), [&] {
        const int last = form.upperBound(FieldKind::Label);
        for (int i = form.lowerBound(FieldKind::Label); i <= last; ++i) {
            if (!form.hasLblP(i))
                continue;
            LabelField &label = form.lblP(i);
            label.setCaption(notUsedCaption(i));
            label.setForeColor(Colour::GrayText);
            label.setVisible(true);
        }
        m_ctx.state.blnStepDone = true;
    });
}

void ParamLoader::getExtraData(Catalogue &catalogue, const QString &series, const QString &model, const QString &rev,
    const QString &parameter, ComboField &list)
{
    const QString sql = QStringLiteral("Select * From qryExtraData") + QStringLiteral(" WHERE Series = ") + series
        + QStringLiteral(" AND Model = ") + model + QStringLiteral(" AND Parameter = '") + parameter
        + QStringLiteral("'") + QStringLiteral(" AND REV = ") + rev;
    m_ctx.trap(QStringLiteral("basFunctions, getExtraData()"), [&] {
        RecordSet rs = catalogue.query(sql);
        while (!rs.eof()) {
            list.addItem(rs.field(QStringLiteral("Setting")).toString());
            rs.moveNext();
        }
    });
}

} // namespace Tarvel
