#include "AboutInfo.h"

#include "catalogue/Catalogue.h"

#include <QSysInfo>

namespace Tarvel {

QString AboutInfo::versionCaption()
{
    return QStringLiteral("Version ") + QStringLiteral(TARVEL_VERSION);
}

QString AboutInfo::legalNotice()
{
    return QStringLiteral("Tarvel configures and commissions QX AC drives.\n"
                          "Copyright (C) 2026 the Tarvel developers. All rights reserved.\n"
                          "Built with Qt ")
        + QStringLiteral(QT_VERSION_STR) + u'.';
}

QString AboutInfo::platformText()
{
    return QSysInfo::prettyProductName() + QStringLiteral(", ") + QSysInfo::currentCpuArchitecture();
}

AboutInfo::CatalogueInfo AboutInfo::readCatalogue(AppContext &ctx)
{
    CatalogueInfo info;
    std::unique_ptr<Catalogue> catalogue = connectDB(ctx);
    RecordSet rs = catalogue->query(QStringLiteral("Select * from tblDriveModels order by SeriesCode, ModelCode, Rev"));
    for (; !rs.eof(); rs.moveNext()) {
        info.drives << QStringLiteral("Model ") + rs.field(QStringLiteral("Model")).toString()
                + QStringLiteral(" rev. ") + rs.field(QStringLiteral("Rev")).toString() + QStringLiteral(" - ")
                + rs.field(QStringLiteral("RevDate")).toString();
    }
    RecordSet ver = catalogue->query(QStringLiteral("Select * from tblDBVER ORDER BY Version"));
    catalogue->release();
    ver.moveLast();
    const QSqlRecord &row = ver.current();
    info.dbVersion = QStringLiteral("dB Version: ") + row.value(0).toString() + QStringLiteral(", ")
        + row.value(1).toString() + u'.';
    return info;
}

} // namespace Tarvel
