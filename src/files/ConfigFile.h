#pragma once

#include "model/DriveKey.h"

#include <QMap>
#include <QString>
#include <QStringList>

#include <optional>

namespace Tarvel {

class AppContext;

// A parameter set as a file holds it: the drive of line 1 and the value
// text of every parameter line, by index.
struct ConfigValues
{
    DriveKey drive;
    QMap<int, QString> values;
};

// The configuration file (.qxc): one drive's parameter set as text.
//
//   #<series><model><rev>            the drive the values belong to
//   #<full path written to>
//   #<date and time written>
//   #WARNING! ...                     two fixed warning lines
//   <index><value>                    one line per value box, ascending
//
// The index is 3 digits wide below series 3 and 4 digits from series 3 on;
// the value is the box's text exactly as it stands. Line 1 alone names the
// drive: body lines for P9.41 and P9.42 that disagree are ignored. Files
// are Latin-1 with CR LF line ends; LF-only files open too.
class ConfigFile
{
public:
    explicit ConfigFile(AppContext &ctx);

    // SaveFile: writes the detailed editor's values to path, replacing any
    // file there as a whole. False when it could not be written (reported
    // through the trap); the previous file and blnConfigChanged then stay.
    bool saveFile(const QString &path);

    // OpenFile: loads the drive named in the file from the catalogue and
    // applies the file's values, checking each against the catalogue. False
    // when the file is missing, names a drive the catalogue lacks (both
    // told in a message box, the configuration untouched) or fails midway
    // (reported through the trap). The caller sets strConfigPath and
    // strConfigName afterwards.
    bool openFile(const QString &path);

    // ValidateFile: range check of one value read from a file. A value
    // outside the catalogue limits is replaced by the default; one that
    // differs from the default turns the parameter's label red. Both are
    // reported in the status list.
    void validateFile(int index, const QString &value);

    // The lines of a file of `drive` holding `values` (a set that is not in
    // the editor, such as a drive's backup), as if saved to `path`.
    static QStringList valueLines(const DriveKey &drive, const QString &path, const QMap<int, QString> &values);
    // The drive and values of a file without loading it into the editor.
    // None when the file is missing or far too large (*why says which);
    // a line whose index lies outside 0..1099 raises error 9.
    static std::optional<ConfigValues> readValues(const QString &path, QString *why);

    // The main window caption while saving.
    static const QString SavingCaption;

private:
    QStringList fileLines(const QString &path) const;
    static QStringList headerLines(const DriveKey &drive, const QString &path);
    QStringList parameterLines() const;
    void showSaveProgress();

    bool openSteps(const QString &path);
    static QStringList readLines(const QString &path);
    bool driveSupported(const DriveKey &code);
    void refuseMissing(const QString &path);
    void refuseTooLarge(const QString &path);
    void refuseUnsupported();
    void applyLines(const QStringList &lines);
    void applyLine(const QString &line, int indexWidth);
    bool identityAgrees(int index, const QString &value);
    void applyChoice(int index, const QString &value);
    void finishOpen();
    void endOpenDisplay();

    void setBusy(bool busy);

    AppContext &m_ctx;
    // A value of the file was replaced by its default: the configuration in
    // memory no longer matches the file, so it counts as changed.
    bool m_replaced = false;
};

} // namespace Tarvel
