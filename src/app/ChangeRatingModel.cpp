#include "ChangeRatingModel.h"

#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "catalogue/Catalogue.h"
#include "files/RatingUpdate.h"

namespace Tarvel {

const QString ChangeRatingModel::Caption = QStringLiteral("Configuration Update");
const QString ChangeRatingModel::LabelText = QStringLiteral(
    "Select the drive series/rating you would like to update to from the list below and click \"OK\".");
const QString ChangeRatingModel::ToolTip = QStringLiteral("Select a drive model and rev. from the list.");
const QString ChangeRatingModel::NoModelsText = QStringLiteral("No models available to update to.");

ChangeRatingModel::ChangeRatingModel(AppContext &ctx)
    : m_ctx(ctx)
{ }

void ChangeRatingModel::load()
{
    m_candidates.clear();
    m_lines.clear();
    m_okEnabled = false;
    m_ctx.trap(QStringLiteral("frmUpdate, Form_Load"), [&] { readCandidates(); });
    if (m_lines.isEmpty()) {
        m_lines << NoModelsText;
        m_okEnabled = false;
    }
    m_current = 0;
}

// The series of the configuration as P9.41 shows it ("02").
QString ChangeRatingModel::seriesText() const
{
    const EditorForm &form = m_ctx.editor;
    return form.hasTxtP(941) ? form.txtP(941).text() : QString();
}

// A configuration moves up, never down a series: series codes compare as
// text, character by character, so "03" follows "02".
void ChangeRatingModel::readCandidates()
{
    const QString series = seriesText();
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    RecordSet rs = catalogue->query(QStringLiteral("Select * from tblDriveModels order by SeriesCode, ModelCode"));
    catalogue->release();
    while (!rs.eof()) {
        const QString code = rs.field(QStringLiteral("SeriesCode")).toString();
        if (QString::compare(code, series, Qt::CaseSensitive) >= 0) {
            Candidate c {code, rs.field(QStringLiteral("ModelCode")).toString(),
                rs.field(QStringLiteral("Rev")).toString(), QString()};
            c.text = rs.field(QStringLiteral("Model")).toString() + RatingUpdate::Separator + c.rev;
            m_candidates << c;
            m_lines << c.text;
            m_okEnabled = true;
        }
        rs.moveNext();
    }
}

void ChangeRatingModel::choose(int index)
{
    m_current = index;
    m_ctx.trap(QStringLiteral("frmUpdate, cmbDrives_Change()"), [&] {
        if (index < 0 || index >= m_candidates.size())
            return; // the "no models" line stands for no drive
        const Candidate &c = m_candidates.at(index);
        if (c.seriesCode == seriesText() && QString::compare(c.rev, m_ctx.state.strRev, Qt::CaseSensitive) < 0)
            m_ctx.prompter().msgBox(QStringLiteral("Please select a later series/rev drive model."), Msg::Exclamation,
                QStringLiteral("Cannot demote drive."));
    });
}

bool ChangeRatingModel::accept()
{
    if (!m_okEnabled)
        return false;
    bool updated = false;
    m_ctx.trap(QStringLiteral("frmUpdate, cmdOK_Click()"), [&] {
        ShellHooks &hooks = m_ctx.hooks();
        hooks.setBusyPointer(true);
        RatingUpdate update(m_ctx);
        update.setCloseDialog([this] { closeDialog(); });
        updated = update.update(currentText());
        hooks.setBusyPointer(false);
    });
    return updated;
}

void ChangeRatingModel::cancel()
{
    m_ctx.trap(QStringLiteral("frmUpdate, cmdCancel_Click()"), [&] { closeDialog(); });
}

void ChangeRatingModel::queryUnload()
{
    m_ctx.trap(QStringLiteral("frmUpdate, Form_QueryUnLoad"), [&] { m_candidates.clear(); });
}

void ChangeRatingModel::closeDialog()
{
    if (m_closeDialog)
        m_closeDialog();
}

void ChangeRatingModel::changeDriveRating(AppContext &ctx, const std::function<void()> &showDialog)
{
    ctx.trap(QStringLiteral("frmMain, mnuUpdate_Click"), [&] {
        if (ctx.state.hasConfigFile()) {
            showDialog();
            return;
        }
        ctx.prompter().msgBox(QStringLiteral("Please load a configuration to update."), Msg::Exclamation,
            QStringLiteral("No Configuration Loaded"));
    });
}

} // namespace Tarvel
