#pragma once

#include <QString>

namespace Tarvel {

class AppContext;

// The two catalogue look-ups about the connected drive, whose identity the
// polling keeps in strDriveSeries, strDriveModel and strDriveRev.
class DriveLookup
{
public:
    explicit DriveLookup(AppContext &ctx);

    // GetDrive: whether the connected drive is in the catalogue. On success
    // strDriveSeriesCode/ModelCode/RevCode take the identity with series
    // and model brought to two characters; otherwise they stay as they were.
    bool getDrive();

    // GetP: the parameter number ("P9.41", "P10.05") of the connected drive's
    // parameter at a register address; empty when the catalogue has none.
    QString getP(qint16 address);

    // The text of the last query built, kept for the caller.
    const QString &lastQuery() const { return m_lastQuery; }

    // "P" + all but the last two characters + "." + the last two.
    static QString parameterNumber(const QString &parameter);

private:
    QString seriesDigit() const;
    QString twoCharacterModel() const;

    AppContext &m_ctx;
    QString m_lastQuery;
};

} // namespace Tarvel
