#include "ConfigFile.h"

#include "base/AtomicTextFile.h"
#include "rules/LoadedValueCheck.h"
#include "model/AppContext.h"
#include "base/Logging.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "base/NumberText.h"
#include "catalogue/ParamLoader.h"
#include "model/ParamText.h"

#include <QFile>
#include <QFileInfo>

namespace Tarvel {

namespace {

const QString SaveLocation = QStringLiteral("basFunctions, SaveFile()");
const QString OpenLocation = QStringLiteral("basFunctions, OpenFile()");
const QString ValidateLocation = QStringLiteral("basFunctions, ValidateFile()");

constexpr int SeriesIndex = 941; // P9.41, the series number
constexpr int ModelIndex = 942; // P9.42, the model code
// The last index written below series 3: the series-1 and -2 drives end
// with their identity.
constexpr int LastIndexBelowSeries3 = 942;

QString now()
{
    return TextFile::generalDate();
}

// A code from the file inside a query text: a quote in a hand-edited file
// must make the look-up find nothing, not break the query.
QString quoted(const QString &code)
{
    QString text = code;
    return u'\'' + text.replace(u'\'', QLatin1String("''")) + u'\'';
}

// Lines 2 on that carry a value: the first three characters form a number
// and something follows them.
bool isParameterLine(const QString &line)
{
    return line.size() > 3 && NumberText::isNumeric(line.left(3));
}

int indexWidth(const QString &series)
{
    return NumberText::val(series) >= 3 ? 4 : 3;
}

int parseIndex(const QString &text)
{
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    if (!ok)
        throw TrappedError(Err::TypeMismatch, QStringLiteral("Type mismatch: parameter index '%1'").arg(text));
    if (index < 0 || index >= ParamTables::Size)
        throw TrappedError(
            Err::SubscriptOutOfRange, QStringLiteral("Subscript out of range: parameter index %1").arg(index));
    return index;
}

} // namespace

const QString ConfigFile::SavingCaption = QStringLiteral("Tarvel - Saving Configuration File");

ConfigFile::ConfigFile(AppContext &ctx)
    : m_ctx(ctx)
{ }

void ConfigFile::setBusy(bool busy)
{
    m_ctx.hooks().setBusyPointer(busy);
}

// ---------------------------------------------------------------- saving

bool ConfigFile::saveFile(const QString &path)
{
    m_ctx.hooks().setMainCaption(SavingCaption);
    setBusy(true);
    const bool saved = m_ctx.trap(SaveLocation, [&] {
        AtomicTextFile::write(path, fileLines(path));
        m_ctx.state.blnConfigChanged = false;
        qCDebug(lcFiles) << "saved" << path;
        showSaveProgress();
    });
    // Also after a failed save: the caption must not go on saying "Saving".
    m_ctx.hooks().updateCaption();
    setBusy(false);
    return saved;
}

QStringList ConfigFile::fileLines(const QString &path) const
{
    QStringList lines {
        driveLine(),
        u'#' + QFileInfo(path).absoluteFilePath(),
        u'#' + now(),
        QStringLiteral("#WARNING! Changing any contents of this file may result in the confirguration no longer "
                       "being valid and could cause adverse effects if used."),
        QStringLiteral("#Only make changes when instructed to do so from Tech Support personnel."),
    };
    return lines + parameterLines();
}

// "#" + series (two characters) + model code + revision code: "#0205120".
QString ConfigFile::driveLine() const
{
    QString series = m_ctx.editor.txtP(SeriesIndex).text();
    if (series.size() < 2)
        series.prepend(u'0');
    return u'#' + series + m_ctx.editor.txtP(ModelIndex).text() + m_ctx.state.strRev;
}

QStringList ConfigFile::parameterLines() const
{
    const EditorForm &form = m_ctx.editor;
    const int series = int(NumberText::val(form.txtP(SeriesIndex).text()));
    const int last = series >= 3 ? form.upperBound(FieldKind::Text) : LastIndexBelowSeries3;
    QStringList lines;
    for (int i = form.lowerBound(FieldKind::Text); i <= last; ++i) {
        if (form.hasTxtP(i))
            lines << ParamText::fileIndex(i, series) + form.txtP(i).text();
    }
    return lines;
}

// The stepped progress display tells the user the save happened; with
// classic pacing it takes the four seconds users of the old tool knew.
void ConfigFile::showSaveProgress()
{
    StatusList &list = m_ctx.statusList;
    list.show();
    list.setStatus(QStringLiteral("Saving Configuration"));
    list.addLine(QStringLiteral("File Save operation started ") + now() + u'.');
    list.setPosition(0);
    list.setBarVisible(true);
    for (int position : {200, 300, 500, 800}) {
        m_ctx.pause(1.0);
        list.setPosition(position);
    }
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
    list.addLine(QStringLiteral("File Save operation completed ") + now() + u'.');
}

// --------------------------------------------------------------- opening

bool ConfigFile::openFile(const QString &path)
{
    m_replaced = false;
    bool opened = false;
    if (!m_ctx.trap(OpenLocation, [&] { opened = openSteps(path); })) {
        // Values applied before the failure stay; the list stops saying
        // that a file is being opened.
        endOpenDisplay();
        return false;
    }
    return opened;
}

bool ConfigFile::openSteps(const QString &path)
{
    StatusList &list = m_ctx.statusList;
    list.setActivity(QStringLiteral("Opening Configuration File"));
    list.addLine(QStringLiteral("Open File operation started ") + now() + u'.');
    list.setBarVisible(true);
    setBusy(true);

    if (!QFileInfo(path).isFile()) {
        refuseMissing(path);
        return false;
    }
    const QStringList lines = readLines(path);
    const DriveCode code = driveCode(lines.value(0));
    if (!driveSupported(code)) {
        refuseUnsupported();
        return false;
    }

    list.setStatus(QStringLiteral("Loading Configuration From File"));
    if (!ParamLoader(m_ctx).getParamData(
            m_ctx.editor, QStringLiteral("qryTabParams"), quoted(code.series), quoted(code.model), quoted(code.rev))) {
        endOpenDisplay(); // the loader has reported its failure
        return false;
    }
    applyLines(lines);
    finishOpen();
    qCDebug(lcFiles) << "opened" << path;
    return true;
}

QStringList ConfigFile::readLines(const QString &path) const
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TrappedError(Err::PathFileAccess,
            Err::description(Err::PathFileAccess) + QStringLiteral(": ") + file.errorString() + QStringLiteral(" (")
                + path + u')');
    return TextFile::decodeLines(file.readAll());
}

// Characters 2 and 3 are the series, 4 and 5 the model, the rest the
// revision.
ConfigFile::DriveCode ConfigFile::driveCode(const QString &firstLine)
{
    // Trailing blanks left by an editor are no part of a revision code.
    const QString line = firstLine.trimmed();
    return {line.mid(1, 2), line.mid(3, 2), line.mid(5)};
}

bool ConfigFile::driveSupported(const DriveCode &code)
{
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    const RecordSet rs = catalogue->query(QStringLiteral("Select * From tblDriveModels")
        + QStringLiteral(" WHERE SeriesCode = ") + quoted(code.series) + QStringLiteral(" AND ModelCode = ")
        + quoted(code.model) + QStringLiteral(" AND REV = ") + quoted(code.rev));
    catalogue->release();
    return rs.recordCount() > 0;
}

void ConfigFile::refuseMissing(const QString &path)
{
    endOpenDisplay();
    m_ctx.prompter().msgBox(
        QStringLiteral("Error loading file.") + u'\r' + QStringLiteral("Could not find ") + path + u'.',
        Msg::Exclamation, QStringLiteral("File missing"));
}

void ConfigFile::refuseUnsupported()
{
    StatusList &list = m_ctx.statusList;
    list.addLine(now() + QStringLiteral("File contains information for unsupported drive."));
    list.addLine(QStringLiteral("File open operation stopped ") + now() + u'.');
    endOpenDisplay();
    m_ctx.prompter().msgBox(QStringLiteral("The file you are opening is configured for a drive model that is not "
                                           "curently supported."),
        Msg::Information, QStringLiteral("Non-Supported Drive Model"));
}

void ConfigFile::applyLines(const QStringList &lines)
{
    const int width = indexWidth(m_ctx.state.strSeries);
    for (qsizetype n = 1; n < lines.size(); ++n) {
        if (isParameterLine(lines.at(n)))
            applyLine(lines.at(n), width);
    }
}

void ConfigFile::applyLine(const QString &line, int indexWidth)
{
    const int index = parseIndex(line.left(indexWidth));
    const QString value = line.mid(indexWidth);
    TextBoxField &box = m_ctx.editor.txtP(index); // no field at the index ends the open
    box.setText(value);
    m_ctx.statusList.setPosition(index);

    // Choice lists and checks apply to the parameters of this drive only:
    // the records keep limits and flags of an earlier drive at indices this
    // one lacks, and those must not judge a value.
    const ParamTables &t = m_ctx.params;
    const bool inDrive = t.blnTextShown[index] || t.blnListShown[index];
    if (inDrive && t.blnExtra[index])
        applyChoice(index, value);
    LoadedValueCheck::setCustomCurveBoxes(m_ctx.editor);
    if (inDrive)
        validateFile(index, value);
    m_ctx.params.varLastChance[index] = box.text();
}

// A choice-list value is the position of the entry; the box holds the
// entry's two-character code. P0.00 and P0.02 list the values themselves.
void ConfigFile::applyChoice(int index, const QString &value)
{
    ComboField &list = m_ctx.editor.cmbP(index);
    if (index == 0 || index == 2) {
        list.setText(value);
        return;
    }
    const double number = NumberText::val(value);
    // The multi-function inputs use 99 for their last entry.
    if (index >= 302 && index <= 310 && number == 99.0) {
        list.setListIndex(list.listCount() - 1);
        return;
    }
    const int k = int(number);
    if (k < 0 || k >= list.listCount()) {
        // No such entry: the range check that follows reports the value.
        list.setListIndex(-1);
        return;
    }
    list.setListIndex(k);
    m_ctx.editor.txtP(index).setText(list.list().at(k).left(2));
}

void ConfigFile::finishOpen()
{
    StatusList &list = m_ctx.statusList;
    list.addLine(QStringLiteral("Open File operation completed ") + now() + u'.');
    endOpenDisplay();
    m_ctx.editor.setTag(QStringLiteral("1"));
    // The values now match the file, unless the check replaced some.
    m_ctx.state.blnConfigChanged = m_replaced;
}

void ConfigFile::endOpenDisplay()
{
    StatusList &list = m_ctx.statusList;
    list.setCaption(StatusList::DefaultCaption);
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
    setBusy(false);
}

// ------------------------------------------------------------ validation

void ConfigFile::validateFile(int index, const QString &value)
{
    m_ctx.trap(ValidateLocation, [&] {
        const LoadedValueCheck::Verdict verdict = LoadedValueCheck(m_ctx, {}).check(index, value);
        // A value replaced by its default: the configuration in memory no
        // longer matches the file.
        if (verdict == LoadedValueCheck::Verdict::TooLow || verdict == LoadedValueCheck::Verdict::TooHigh)
            m_replaced = true;
    });
}

} // namespace Tarvel
