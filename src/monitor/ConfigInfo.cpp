#include "ConfigInfo.h"

#include "DriveAccess.h"
#include "catalogue/Catalogue.h"
#include "model/AppContext.h"

namespace Tarvel {

namespace {

const QString Blank = QStringLiteral(" ");
const QString NotConnected = QStringLiteral("Not Connected");
constexpr int SeriesIndex = 941; // P9.41, the drive-type lists

// The list texts begin with the two-digit code and a blank; the name follows.
QString listName(const EditorForm &form, int index)
{
    return form.hasCmbP(index) ? form.cmbP(index).text().mid(3) : Blank;
}

} // namespace

ConfigInfo::ConfigInfo(AppContext &ctx)
    : m_ctx(ctx)
{ }

QString ConfigInfo::revisionText(const QString &rev)
{
    if (rev.trimmed().isEmpty())
        return Blank; // no configuration: nothing to write as a revision
    return rev.left(1) + u'.' + rev.mid(1);
}

QString ConfigInfo::twoCharacters(const QString &code)
{
    return code.size() < 2 ? QStringLiteral("0") + code : code;
}

ConfigInfo::Labels ConfigInfo::update(const QString &location)
{
    Labels labels;
    m_ctx.trap(location, [&] {
        labels.configuration = configuration();
        labels.drive = connectedDrive();
        if (DriveAccess(m_ctx).linkOpen())
            checkCatalogue(labels.drive);
    });
    return labels;
}

ConfigInfo::Group ConfigInfo::configuration() const
{
    const AppState &s = m_ctx.state;
    Group g;
    g.series = s.strSeries;
    g.model = s.strModel;
    g.rev = revisionText(s.strRev);
    if (m_ctx.editor.tagNumber() != 0) {
        g.names[0] = listName(m_ctx.editor, SeriesIndex);
        g.names[1] = listName(m_ctx.editor, ParamTables::ModelIndex);
    }
    return g;
}

ConfigInfo::Group ConfigInfo::connectedDrive() const
{
    const AppState &s = m_ctx.state;
    Group g;
    g.series = twoCharacters(s.strDriveSeries);
    g.model = twoCharacters(s.strDriveModel);
    g.rev = s.strDriveRev == NotConnected ? NotConnected : revisionText(s.strDriveRev);
    return g;
}

void ConfigInfo::checkCatalogue(Group &drive) const
{
    const AppState &s = m_ctx.state;
    const QString query = QStringLiteral("Select * from tblDriveModels WHERE SeriesCode = '") + drive.series
        + QStringLiteral("' AND ModelCode = '") + drive.model + QStringLiteral("'") + QStringLiteral(" AND REV = '")
        + s.strDriveRev + QStringLiteral("'");
    std::unique_ptr<Catalogue> catalogue = connectDB(m_ctx);
    RecordSet rs = catalogue->query(query);
    if (rs.recordCount() > 0)
        drive.names
            = {rs.field(QStringLiteral("Series")).toString(), rs.field(QStringLiteral("Model")).toString(), Blank};
    else
        drive.names = {QStringLiteral("Drive"), QStringLiteral("Not"), QStringLiteral("Supported")};
    catalogue->release();
}

} // namespace Tarvel
