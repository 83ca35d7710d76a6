#pragma once

#include "ConfigFile.h"

#include <QMap>
#include <QString>
#include <QVector>

#include <optional>

namespace Tarvel {

class AppContext;

// One parameter on which two parameter sets disagree.
struct ParamDifference
{
    enum class Kind {
        Differs, // both drives have it, with other values
        OnlyFirst, // only the first set's drive has it
        OnlySecond,
    };
    int index = 0;
    QString name; // "Accel Time 1 (s)"
    QString first; // the value texts as the sets hold them
    QString second;
    Kind kind = Kind::Differs;
};

// The differences between two parameter sets, each of a file or of the
// configuration in the editor. Sets of one drive are compared parameter by
// parameter; sets of two drives on the parameters both drives have, and
// those only one has are listed as such. Which parameters a drive has, and
// their names, come from the catalogue.
class FileDifferences
{
public:
    explicit FileDifferences(AppContext &ctx);

    // In ascending index. None when a set names a drive the catalogue
    // lacks.
    std::optional<QVector<ParamDifference>> compare(const ConfigValues &first, const ConfigValues &second);

    // The configuration in the editor as a parameter set.
    static ConfigValues editorValues(const AppContext &ctx);
    // Equal texts, or numbers of equal value ("60" and "60.0").
    static bool sameValue(const QString &a, const QString &b);
    // "P1.03 - A = 12.5 B = 15 (Accel Time 1)", "P10.05 - only in B = 3 (...)"
    static QString line(const ParamDifference &d, const QString &first, const QString &second);

private:
    std::optional<QMap<int, QString>> driveParameters(const DriveKey &drive);

    AppContext &m_ctx;
};

} // namespace Tarvel
