#include "RatingUpdate.h"

#include "rules/LoadedValueCheck.h"

#include "base/Logging.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"
#include "model/AppContext.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "rules/ValueCheck.h"

namespace Tarvel {

const QString RatingUpdate::Separator = QStringLiteral(" @ rev. ");
const QString RatingUpdate::Location = QStringLiteral("basFunctions, Update()");

namespace {

void setActivity(StatusList &list, const QString &activity)
{
    list.setActivity(activity);
    list.setStatus(activity);
}

} // namespace

RatingUpdate::RatingUpdate(AppContext &ctx)
    : m_ctx(ctx)
    , m_store(ParamTables::Size)
{ }

bool RatingUpdate::update(const QString &chosenEntry)
{
    bool completed = false;
    m_ctx.trap(Location, [&] { completed = steps(chosenEntry); });
    // A stopped update must not leave the list claiming to be at work.
    if (!completed)
        endDisplay();
    return completed;
}

bool RatingUpdate::steps(const QString &chosenEntry)
{
    beginDisplay();
    storeValues();

    setActivity(m_ctx.statusList, QStringLiteral("Loading New Data"));
    const DriveKey drive = findDrive(chosenEntry);
    m_ctx.state.strSeries = drive.series;
    m_ctx.state.strModel = drive.model;
    m_ctx.state.strRev = drive.rev;
    if (m_closeDialog)
        m_closeDialog();
    if (!loadNewDrive())
        return false;

    verifyValues();
    finish();
    qCInfo(lcFiles) << "configuration moved to" << drive.series << drive.model << drive.rev;
    return true;
}

void RatingUpdate::beginDisplay()
{
    StatusList &list = m_ctx.statusList;
    list.show();
    list.setBarVisible(true);
    setActivity(list, QStringLiteral("Updating Configuration"));
    list.addLine(QStringLiteral("Configuration update started ") + TextFile::generalDate() + u'.');
    m_ctx.pause(1);
}

// Keeps what the user could edit. A read-only or locked value belongs to
// the old drive and is not carried over; nor is the empty box of a
// parameter the old drive did not have.
void RatingUpdate::storeValues()
{
    StatusList &list = m_ctx.statusList;
    setActivity(list, QStringLiteral("Storing Existing Data"));
    for (int i = 0; i < ParamTables::Size; ++i) {
        list.setPosition(i);
        m_ctx.pause(0.01);
        if (isEditable(i))
            m_store[i] = m_ctx.editor.txtP(i).text();
    }
}

// An index without a value box is passed over (error 340).
bool RatingUpdate::isEditable(int index) const
{
    const EditorForm &form = m_ctx.editor;
    if (!form.hasTxtP(index))
        return false;
    return form.txtP(index).enabled() || (form.hasCmbP(index) && form.cmbP(index).enabled());
}

// Reads the whole row before anything changes, so that an entry the
// catalogue does not know (no row: error 3021) leaves the configuration as
// it was.
DriveKey RatingUpdate::findDrive(const QString &chosenEntry)
{
    const QStringList parts = chosenEntry.split(Separator);
    if (parts.size() < 2)
        throw TrappedError(Err::SubscriptOutOfRange);
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    const RecordSet rs = catalogue->query(QStringLiteral("Select * from tblDriveModels Where Model = '") + parts.at(0)
        + QStringLiteral("' AND Rev = '") + parts.at(1) + QStringLiteral("'"));
    DriveKey key {rs.field(QStringLiteral("SeriesCode")).toString(), rs.field(QStringLiteral("ModelCode")).toString(),
        rs.field(QStringLiteral("rev")).toString()};
    catalogue->release();
    return key;
}

bool RatingUpdate::loadNewDrive()
{
    const AppState &s = m_ctx.state;
    return ParamLoader(m_ctx).loadDrive({s.strSeries, s.strModel, s.strRev});
}

void RatingUpdate::verifyValues()
{
    StatusList &list = m_ctx.statusList;
    setActivity(list, QStringLiteral("Verifying Configuration Data"));
    for (int i = 0; i < ParamTables::Size; ++i) {
        list.setPosition(i);
        m_ctx.pause(0.01);
        if (!carriesOver(i))
            continue;
        if (accepts(i, m_store[i]))
            putBack(i, m_store[i]);
        else
            LoadedValueCheck(m_ctx, {}).restoreDefault(i);
        // A later refused entry falls back to the value shown now.
        m_ctx.params.varLastChance[i] = m_ctx.editor.txtP(i).text();
    }
    setCustomCurveBoxes();
}

// Only a kept value of a parameter the new drive has: the records still
// hold the old drive's limits at indices the new one lacks, and those
// fields keep their grey "not used" caption.
bool RatingUpdate::carriesOver(int index) const
{
    const ParamTables &t = m_ctx.params;
    return !m_store[index].isEmpty() && (t.blnTextShown[index] || t.blnListShown[index]);
}

// Within the new limits, compared in single precision as the drive holds
// them; a text that is no number, or a position the new list lacks, is not
// a value the new drive can take.
bool RatingUpdate::accepts(int index, const QString &value) const
{
    const ParamTables &t = m_ctx.params;
    if (!NumberText::isNumeric(value))
        return false;
    const double v = NumberText::val(value);
    if (ValueCheck::below(v, t.varMin[index]) || ValueCheck::above(v, t.varMax[index]))
        return false;
    if (!t.blnListShown[index] || ParamTables::listHoldsValue(index))
        return true;
    const int k = int(v);
    return k == v && k >= 0 && k < m_ctx.editor.cmbP(index).listCount();
}

void RatingUpdate::putBack(int index, const QString &value)
{
    EditorForm &form = m_ctx.editor;
    const ParamTables &t = m_ctx.params;
    TextBoxField &box = form.txtP(index);
    box.setText(value);
    if (ValueCheck::differs(NumberText::val(value), t.varDefault[index]))
        form.lblP(index).setForeColor(Colour::Red);
    if (!t.blnListShown[index])
        return;
    ComboField &list = form.cmbP(index);
    if (ParamTables::listHoldsValue(index)) {
        list.setText(value);
        return;
    }
    const int k = int(NumberText::val(value));
    list.setListIndex(k);
    // The box holds the entry's code, as after a load, so a value kept as
    // "2" is saved as "02" like every other choice.
    box.setText(list.list().at(k).left(2));
}

// The loader set the custom-curve boxes P2.04 to P2.07 by the default of
// P2.00; a kept P2.00 of 3 (custom curve) must free them again, or its kept
// mid points could not be edited.
void RatingUpdate::setCustomCurveBoxes()
{
    const ParamTables &t = m_ctx.params;
    if (!(t.blnTextShown[200] || t.blnListShown[200]))
        return;
    LoadedValueCheck::setCustomCurveBoxes(m_ctx.editor);
}

void RatingUpdate::finish()
{
    m_ctx.statusList.addLine(QStringLiteral("Configuration update complete ") + TextFile::generalDate() + u'.');
    endDisplay();
    // The work is done: the message is read with the normal pointer.
    m_ctx.hooks().setBusyPointer(false);
    m_ctx.prompter().msgBox(QStringLiteral("Your current configuration has been updated.") + u'\r'
            + QStringLiteral("Remember to save your new configuration to ensure the changes are not lost."),
        Msg::Information, QStringLiteral("Update Complete"));
}

void RatingUpdate::endDisplay()
{
    StatusList &list = m_ctx.statusList;
    list.setBarVisible(false);
    list.setCaption(StatusList::DefaultCaption);
    list.setStatus(QStringLiteral(" "));
}

} // namespace Tarvel
