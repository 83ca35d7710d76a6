#include "ConfigFile.h"

#include "base/AtomicTextFile.h"
#include "base/Logging.h"
#include "base/NumberText.h"
#include "base/TextFile.h"
#include "catalogue/Catalogue.h"
#include "catalogue/ParamLoader.h"
#include "model/AppContext.h"
#include "model/DriveKey.h"
#include "model/ParamText.h"
#include "ports/Prompter.h"
#include "ports/ShellHooks.h"
#include "rules/LoadedValueCheck.h"

#include <QFile>
#include <QFileInfo>

namespace Tarvel {

namespace {

const QString SaveLocation = QStringLiteral("basFunctions, SaveFile()");
const QString OpenLocation = QStringLiteral("basFunctions, OpenFile()");
const QString ValidateLocation = QStringLiteral("basFunctions, ValidateFile()");

constexpr int SeriesIndex = ParamTables::SeriesIndex;
// The last index written below series 3: the series-1 and -2 drives end
// with their identity.
constexpr int LastIndexBelowSeries3 = ParamTables::ModelIndex;
// The largest drive's file is about 15 KB; anything far larger is no
// configuration and would only flood the status list.
constexpr qint64 MaxFileSize = 256 * 1024;

// Body lines that carry a value: the first three characters form a number
// and something follows the index.
bool isParameterLine(const QString &line, int indexWidth)
{
    return line.size() > indexWidth && NumberText::isNumeric(line.left(3));
}

// Line 2 names the path written to: kept on one line, and in Latin-1, by
// writing control characters and characters beyond Latin-1 as %XX of
// their UTF-8 bytes.
QString pathLine(const QString &path)
{
    QString line = QStringLiteral("#");
    for (const QChar c : path) {
        if (c.isPrint() && c.unicode() <= 0xFF) {
            line += c;
            continue;
        }
        for (const char byte : QString(c).toUtf8())
            line += u'%' + QString::number(quint8(byte), 16).toUpper().rightJustified(2, u'0');
    }
    return line;
}

// The first body line: after line 1 and the header lines below it. Line 2
// of an older file may have been split by a line break in its path; its
// pieces run up to the date line.
qsizetype firstBodyLine(const QStringList &lines)
{
    qsizetype n = 1;
    if (n < lines.size() && lines.at(n).startsWith(u'#')) {
        ++n;
        while (n < lines.size() && !lines.at(n).startsWith(u'#'))
            ++n;
    }
    return n;
}

int indexWidth(const QString &series)
{
    return NumberText::val(series) >= 3 ? 4 : 3;
}

// An index that is no whole number ("1e2") makes the line no parameter
// line: -1.
int parseIndex(const QString &text)
{
    bool ok = false;
    const int index = text.trimmed().toInt(&ok);
    if (!ok)
        return -1;
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
    // The drive loaded names the file, never the texts of P9.41 and P9.42:
    // a save keeps the identity the file was opened with.
    const AppState &s = m_ctx.state;
    return headerLines({s.strSeries, s.strModel, s.strRev}, path) + parameterLines();
}

// "#" + series (two characters) + model code + revision code: "#0205120",
// then the path, the date and the two warning lines.
QStringList ConfigFile::headerLines(const DriveKey &drive, const QString &path)
{
    return {
        drive.fileLine(),
        pathLine(QFileInfo(path).absoluteFilePath()),
        u'#' + TextFile::generalDate(),
        QStringLiteral("#WARNING! Changing any contents of this file may result in the confirguration no longer "
                       "being valid and could cause adverse effects if used."),
        QStringLiteral("#Only make changes when instructed to do so from Tech Support personnel."),
    };
}

QStringList ConfigFile::valueLines(const DriveKey &drive, const QString &path, const QMap<int, QString> &values)
{
    const int series = int(NumberText::val(drive.series));
    const int last = series >= 3 ? EditorForm::IndexCount - 1 : LastIndexBelowSeries3;
    QStringList lines = headerLines(drive, path);
    for (int i : EditorForm::fieldIndices()) {
        if (i <= last)
            lines << ParamText::fileIndex(i, series) + values.value(i);
    }
    return lines;
}

std::optional<ConfigValues> ConfigFile::readValues(const QString &path, QString *why)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > MaxFileSize) {
        *why = info.isFile() ? QStringLiteral("%1 is far larger than any drive's configuration file").arg(path)
                             : QStringLiteral("Could not find %1").arg(path);
        return std::nullopt;
    }
    const QStringList lines = readLines(path);
    ConfigValues out {DriveKey::fromFileLine(lines.value(0)), {}};
    const int width = indexWidth(out.drive.series);
    for (qsizetype n = firstBodyLine(lines); n < lines.size(); ++n) {
        const QString &line = lines.at(n);
        if (!isParameterLine(line, width))
            continue;
        if (const int index = parseIndex(line.left(width)); index >= 0)
            out.values.insert(index, line.mid(width));
    }
    return out;
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
    list.addLine(QStringLiteral("File Save operation started ") + TextFile::generalDate() + u'.');
    list.setPosition(0);
    list.setBarVisible(true);
    for (int position : {200, 300, 500, 800}) {
        m_ctx.pause(1.0);
        list.setPosition(position);
    }
    list.setBarVisible(false);
    list.setStatus(QStringLiteral(" "));
    list.addLine(QStringLiteral("File Save operation completed ") + TextFile::generalDate() + u'.');
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
    list.addLine(QStringLiteral("Open File operation started ") + TextFile::generalDate() + u'.');
    list.setBarVisible(true);
    setBusy(true);

    const QFileInfo info(path);
    if (!info.isFile()) {
        refuseMissing(path);
        return false;
    }
    if (info.size() > MaxFileSize) {
        refuseTooLarge(path);
        return false;
    }
    const QStringList lines = readLines(path);
    const DriveKey drive = DriveKey::fromFileLine(lines.value(0));
    if (!driveSupported(drive)) {
        refuseUnsupported();
        return false;
    }

    list.setStatus(QStringLiteral("Loading Configuration From File"));
    if (!ParamLoader(m_ctx).loadDrive(drive)) {
        endOpenDisplay(); // the loader has reported its failure
        return false;
    }
    applyLines(lines);
    finishOpen();
    qCDebug(lcFiles) << "opened" << path;
    return true;
}

QStringList ConfigFile::readLines(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        throw TrappedError(Err::PathFileAccess,
            Err::description(Err::PathFileAccess) + QStringLiteral(": ") + file.errorString() + QStringLiteral(" (")
                + path + u')');
    return TextFile::decodeLines(file.readAll());
}

bool ConfigFile::driveSupported(const DriveKey &code)
{
    if (!code.isPlausible())
        return false;
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    const RecordSet rs = catalogue->query(QStringLiteral("Select * From tblDriveModels")
        + QStringLiteral(" WHERE SeriesCode = ") + DriveKey::quoted(code.series) + QStringLiteral(" AND ModelCode = ")
        + DriveKey::quoted(code.model) + QStringLiteral(" AND REV = ") + DriveKey::quoted(code.rev));
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

void ConfigFile::refuseTooLarge(const QString &path)
{
    endOpenDisplay();
    m_ctx.prompter().msgBox(QStringLiteral("Error loading file.") + u'\r' + path
            + QStringLiteral(" is far larger than any drive's configuration file and was not opened."),
        Msg::Exclamation, QStringLiteral("File too large"));
}

void ConfigFile::refuseUnsupported()
{
    StatusList &list = m_ctx.statusList;
    list.addLine(TextFile::generalDate() + QStringLiteral("File contains information for unsupported drive."));
    list.addLine(QStringLiteral("File open operation stopped ") + TextFile::generalDate() + u'.');
    endOpenDisplay();
    m_ctx.prompter().msgBox(QStringLiteral("The file you are opening is configured for a drive model that is not "
                                           "curently supported."),
        Msg::Information, QStringLiteral("Non-Supported Drive Model"));
}

void ConfigFile::applyLines(const QStringList &lines)
{
    const int width = indexWidth(m_ctx.state.strSeries);
    for (qsizetype n = firstBodyLine(lines); n < lines.size(); ++n) {
        if (isParameterLine(lines.at(n), width))
            applyLine(lines.at(n), width);
    }
}

void ConfigFile::applyLine(const QString &line, int indexWidth)
{
    const int index = parseIndex(line.left(indexWidth));
    if (index < 0)
        return;
    const QString value = line.mid(indexWidth);
    if (!identityAgrees(index, value))
        return;
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

// P9.41 and P9.42 repeat the drive of line 1, which alone names it; a body
// line that names another drive is reported and the loaded value kept.
bool ConfigFile::identityAgrees(int index, const QString &value)
{
    if (index != ParamTables::SeriesIndex && index != ParamTables::ModelIndex)
        return true;
    const QString loaded = m_ctx.editor.txtP(index).text();
    if (value == loaded)
        return true;
    m_ctx.statusList.addLine(TextFile::generalDate() + QStringLiteral(" - ") + ParamText::parameterNumber(index)
        + QStringLiteral(" = ") + value + QStringLiteral(" does not match the drive of line 1; ") + loaded
        + QStringLiteral(" kept."));
    return false;
}

// A choice-list value is the position of the entry; the box holds the
// entry's two-character code. P0.00 and P0.02 list the values themselves.
void ConfigFile::applyChoice(int index, const QString &value)
{
    ComboField &list = m_ctx.editor.cmbP(index);
    if (ParamTables::listHoldsValue(index)) {
        list.setText(value);
        return;
    }
    const double number = NumberText::val(value);
    // The multi-function inputs use 99 for their last entry.
    if (index >= 302 && index <= 310 && number == 99.0) {
        list.setListIndex(list.listCount() - 1);
        return;
    }
    // Compared before converting: 1e300 or inf has no int.
    if (!(number >= 0 && number < list.listCount())) {
        // No such entry: the range check that follows reports the value.
        list.setListIndex(-1);
        return;
    }
    const int k = int(number);
    list.setListIndex(k);
    m_ctx.editor.txtP(index).setText(list.list().at(k).left(2));
}

void ConfigFile::finishOpen()
{
    StatusList &list = m_ctx.statusList;
    list.addLine(QStringLiteral("Open File operation completed ") + TextFile::generalDate() + u'.');
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
