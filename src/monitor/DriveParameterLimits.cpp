#include "DriveParameterLimits.h"

#include "catalogue/Catalogue.h"
#include "catalogue/DriveLookup.h"
#include "model/AppContext.h"

namespace Tarvel {

namespace {

std::optional<DriveParameterLimits::Limits> query(Catalogue &catalogue, const AppState &s, int index)
{
    RecordSet rs = catalogue.query(QStringLiteral("Select * From tblDriveParameters")
        + QStringLiteral(" WHERE Series = '") + s.strDriveSeriesCode + QStringLiteral("' AND Model = '")
        + s.strDriveModelCode + QStringLiteral("' AND REV = '") + s.strDriveRevCode
        + QStringLiteral("' AND PARAMETER = '") + QString::number(index) + QStringLiteral("'"));
    if (rs.recordCount() == 0)
        return std::nullopt;
    rs.moveFirst();
    return DriveParameterLimits::Limits {
        rs.field(QStringLiteral("min")), rs.field(QStringLiteral("max")), rs.field(QStringLiteral("default"))};
}

} // namespace

std::optional<DriveParameterLimits::Limits> DriveParameterLimits::read(AppContext &ctx, int index)
{
    if (!DriveLookup(ctx).getDrive())
        return std::nullopt;
    std::unique_ptr<Catalogue> catalogue = connectDB(ctx);
    std::optional<Limits> limits = query(*catalogue, ctx.state, index);
    catalogue->release();
    return limits;
}

bool DriveParameterLimits::store(AppContext &ctx, std::initializer_list<int> indices)
{
    if (!DriveLookup(ctx).getDrive())
        return false;
    std::unique_ptr<Catalogue> catalogue = connectDB(ctx);
    for (const int n : indices) {
        if (const std::optional<Limits> limits = query(*catalogue, ctx.state, n)) {
            ctx.params.varMin[size_t(n)] = limits->min;
            ctx.params.varMax[size_t(n)] = limits->max;
            ctx.params.varDefault[size_t(n)] = limits->defaultValue;
        }
    }
    catalogue->release();
    return true;
}

} // namespace Tarvel
