#include "DriveLookup.h"

#include "Catalogue.h"
#include "model/AppContext.h"
#include "base/Logging.h"
#include "ports/ShellHooks.h"

namespace Tarvel {

namespace {

void setPollTimer(AppContext &ctx, bool enabled)
{
    ctx.hooks().setPollTimerEnabled(enabled);
}

} // namespace

DriveLookup::DriveLookup(AppContext &ctx)
    : m_ctx(ctx)
{ }

bool DriveLookup::getDrive()
{
    bool found = false;
    m_ctx.trap(QStringLiteral("basFunctions, GetDrive()"), [&] {
        // A poll in the middle of the look-up would rewrite the identity
        // being looked up.
        setPollTimer(m_ctx, false);
        AppState &s = m_ctx.state;
        m_lastQuery = QStringLiteral("Select * From qryTabParams") + QStringLiteral(" WHERE Series = '0")
            + seriesDigit() + QStringLiteral("'") + QStringLiteral(" AND Model = '") + twoCharacterModel()
            + QStringLiteral("'") + QStringLiteral(" AND REV = '") + s.strDriveRev + QStringLiteral("'");

        std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
        found = catalogue->query(m_lastQuery).recordCount() > 0;
        setPollTimer(m_ctx, true);
        if (found) {
            s.strDriveSeriesCode
                = s.strDriveSeries.size() == 1 ? QStringLiteral("0") + s.strDriveSeries : s.strDriveSeries;
            s.strDriveModelCode = s.strDriveModel.size() == 1 ? QStringLiteral("0") + s.strDriveModel : s.strDriveModel;
            s.strDriveRevCode = s.strDriveRev;
        }
        catalogue->release();
        qCDebug(lcCatalogue) << "drive" << s.strDriveSeries << s.strDriveModel << s.strDriveRev << "found:" << found;
    });
    return found;
}

QString DriveLookup::getP(qint16 address)
{
    QString number;
    m_ctx.trap(QStringLiteral("basFunctions, GetP()"), [&] {
        m_lastQuery = QStringLiteral("Select Parameter from tblDriveParameters WHERE Series = '0") + seriesDigit()
            + QStringLiteral("' AND Model = '") + twoCharacterModel() + QStringLiteral("' AND Rev = '")
            + m_ctx.state.strDriveRev + QStringLiteral("' AND Address = ") + QString::number(address);

        std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
        RecordSet rs = catalogue->query(m_lastQuery);
        rs.moveLast();
        // With no row this raises "no current record" into the trap.
        number = parameterNumber(rs.field(QStringLiteral("Parameter")).toString());
        catalogue->release();
    });
    return number;
}

QString DriveLookup::parameterNumber(const QString &parameter)
{
    // An index below 100 may be stored without leading zeros ("5" for
    // P0.05); padding it to three digits gives the group 0 it stands for
    // instead of a broken text.
    const QString digits = parameter.rightJustified(3, QLatin1Char('0'));
    return QStringLiteral("P") + digits.left(digits.size() - 2) + QStringLiteral(".") + digits.right(2);
}

QString DriveLookup::seriesDigit() const
{
    // The polling writes the series as a number ("3"), the query puts the
    // leading zero in front of it; a caller that already holds the code
    // ("03") must find the same drive, not look for '003'.
    const QString &series = m_ctx.state.strDriveSeries;
    if (series.size() == 2 && series.startsWith(QLatin1Char('0')))
        return series.mid(1);
    return series;
}

QString DriveLookup::twoCharacterModel() const
{
    const QString &model = m_ctx.state.strDriveModel;
    return model.size() < 2 ? QStringLiteral("0") + model : model;
}

} // namespace Tarvel
