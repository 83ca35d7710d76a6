#include "CatalogueBuilder.h"

#include "CsvReader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace {

// Expressions in the sources may name only these drive columns; anything
// else (a stray table name, a semicolon) is refused before it reaches SQL.
bool isSafeExpression(const QString &expr)
{
    static const QRegularExpression allowed(QStringLiteral(R"(^[\w\s.+\-*/()<>=!',]*$)"));
    return allowed.match(expr).hasMatch() && !expr.contains(u';');
}

QString parameterText(int index)
{
    return QString::number(index);
}

} // namespace

CatalogueBuilder::CatalogueBuilder(QString sourceDir, QString outputPath)
    : m_sourceDir(std::move(sourceDir))
    , m_outputPath(std::move(outputPath))
    , m_connection(QUuid::createUuid().toString())
{ }

bool CatalogueBuilder::fail(const QString &message)
{
    m_error = message;
    return false;
}

bool CatalogueBuilder::exec(const QString &sql, const QVariantList &binds)
{
    QSqlQuery q(m_db);
    if (!q.prepare(sql))
        return fail(QStringLiteral("%1\n  in: %2").arg(q.lastError().text(), sql));
    for (const QVariant &v : binds)
        q.addBindValue(v);
    if (!q.exec())
        return fail(QStringLiteral("%1\n  in: %2").arg(q.lastError().text(), sql));
    return true;
}

int CatalogueBuilder::count(const QString &sql)
{
    QSqlQuery q(m_db);
    return q.exec(sql) && q.next() ? q.value(0).toInt() : -1;
}

bool CatalogueBuilder::readCsv(const QString &name, CsvReader &csv)
{
    if (!csv.read(QDir(m_sourceDir).filePath(name)))
        return fail(csv.errorString());
    return true;
}

bool CatalogueBuilder::runSqlFile(const QString &name)
{
    QFile file(QDir(m_sourceDir).filePath(name));
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("%1: %2").arg(file.fileName(), file.errorString()));
    QString statement;
    const QStringList lines = QString::fromUtf8(file.readAll()).split(u'\n');
    for (const QString &line : lines) {
        const QString trimmed = line.trimmed();
        if (trimmed.startsWith(QLatin1String("--")))
            continue;
        statement += line + u'\n';
        if (trimmed.endsWith(u';')) {
            if (!exec(statement.trimmed()))
                return fail(QStringLiteral("%1: %2").arg(name, m_error));
            statement.clear();
        }
    }
    return statement.trimmed().isEmpty() || exec(statement);
}

bool CatalogueBuilder::loadModels()
{
    CsvReader series, revisions, models;
    if (!readCsv(QStringLiteral("series.csv"), series) || !readCsv(QStringLiteral("revisions.csv"), revisions)
        || !readCsv(QStringLiteral("models.csv"), models))
        return false;

    QHash<QString, QString> seriesText;
    for (const auto &row : series.rows())
        seriesText.insert(series.field(row, QStringLiteral("SeriesCode")), series.field(row, QStringLiteral("Series")));
    QHash<QString, QString> revDate;
    for (const auto &row : revisions.rows())
        revDate.insert(
            revisions.field(row, QStringLiteral("SeriesCode")) + u'/' + revisions.field(row, QStringLiteral("Rev")),
            revisions.field(row, QStringLiteral("RevDate")));

    for (const auto &row : models.rows()) {
        const QString seriesCode = models.field(row, QStringLiteral("SeriesCode"));
        const QString modelCode = models.field(row, QStringLiteral("ModelCode"));
        if (seriesCode.size() != 2 || modelCode.size() != 2 || !seriesText.contains(seriesCode))
            return fail(QStringLiteral("models.csv:%1: bad series or model code").arg(row.line));
        const QStringList revs = models.field(row, QStringLiteral("Revs")).split(u' ', Qt::SkipEmptyParts);
        for (const QString &rev : revs) {
            const QString key = seriesCode + u'/' + rev;
            if (!revDate.contains(key))
                return fail(
                    QStringLiteral("models.csv:%1: revision %2 missing in revisions.csv").arg(row.line).arg(rev));
            if (!exec(QStringLiteral("INSERT INTO tblDriveModels (SeriesCode, ModelCode, Rev, Model, RevDate, Series, "
                                     "RatedKW, RatedAmps, VoltClass, Phases) VALUES (?,?,?,?,?,?,?,?,?,?)"),
                    {seriesCode, modelCode, rev, models.field(row, QStringLiteral("Model")), revDate.value(key),
                        seriesText.value(seriesCode), models.field(row, QStringLiteral("RatedKW")).toDouble(),
                        models.field(row, QStringLiteral("RatedAmps")).toDouble(),
                        models.field(row, QStringLiteral("VoltClass")).toInt(),
                        models.field(row, QStringLiteral("Phases")).toInt()}))
                return fail(QStringLiteral("models.csv:%1: %2").arg(row.line).arg(m_error));
        }
    }
    // The drive columns that conditions and expressions may use.
    return exec(QStringLiteral("CREATE TEMP VIEW srcDrive AS SELECT SeriesCode, ModelCode, Rev, Model, "
                               "CAST(SeriesCode AS INTEGER) AS SeriesNum, CAST(ModelCode AS INTEGER) AS ModelNum, "
                               "RatedKW, RatedAmps, VoltClass, Phases FROM tblDriveModels"));
}

bool CatalogueBuilder::loadParameters()
{
    CsvReader csv;
    if (!readCsv(QStringLiteral("parameters.csv"), csv))
        return false;
    for (const auto &row : csv.rows()) {
        auto f = [&](const char *name) { return csv.field(row, QString::fromLatin1(name)); };
        bool ok = false;
        const int index = f("Parameter").toInt(&ok);
        if (!ok || index < 0 || index >= 1100)
            return fail(QStringLiteral("parameters.csv:%1: bad parameter index").arg(row.line));
        const int group = index / 100;
        const int number = index % 100;
        const QString cond = f("Condition").isEmpty() ? QStringLiteral("1") : f("Condition");
        const QString def = f("Default").isEmpty() ? QStringLiteral("NULL") : f("Default");
        const QStringList exprs {cond, f("Min"), f("Max"), def};
        for (const QString &e : exprs)
            if (e.isEmpty() || !isSafeExpression(e))
                return fail(QStringLiteral("parameters.csv:%1: unusable expression '%2'").arg(row.line).arg(e));
        const QString sql
            = QStringLiteral("INSERT INTO tblDriveParameters (Series, Model, REV, Parameter, P, min, max, \"default\", "
                             "resolution, Dependent, ReadOnly, Extra, ToolTipText, Description, Address, Idx) "
                             "SELECT SeriesCode, ModelCode, Rev, ?, ?, (%1), (%2), (%3), ?, ?, ?, ?, ?, ?, ?, ? "
                             "FROM srcDrive WHERE (%4)")
                  .arg(f("Min"), f("Max"), def, cond);
        if (!exec(sql,
                {parameterText(index), group, f("Resolution").toDouble(), f("Dependent").toInt(), f("ReadOnly").toInt(),
                    f("Extra").toInt(), f("ToolTipText"), f("Description"), group * 256 + number + 1, index}))
            return fail(QStringLiteral("parameters.csv:%1: %2").arg(row.line).arg(m_error));
    }
    // Every bound and default lands on a whole number of resolution steps.
    static const char *const columns[] = {"min", "max", "\"default\""};
    for (const char *column : columns) {
        const QString c = QString::fromLatin1(column);
        if (!exec(QStringLiteral("UPDATE tblDriveParameters SET %1 = round(round(%1 / resolution) * resolution, "
                                 "CASE WHEN resolution >= 0.99 THEN 0 WHEN resolution >= 0.099 THEN 1 ELSE 2 END) "
                                 "WHERE %1 IS NOT NULL")
                      .arg(c)))
            return false;
    }
    return true;
}

bool CatalogueBuilder::loadLists()
{
    CsvReader csv;
    if (!readCsv(QStringLiteral("lists.csv"), csv))
        return false;
    if (!exec(QStringLiteral("CREATE TEMP TABLE tmpList (Series TEXT, Model TEXT, REV TEXT, Parameter TEXT, "
                             "Ord INTEGER, Setting TEXT)")))
        return false;
    int ord = 0;
    for (const auto &row : csv.rows()) {
        const int index = csv.field(row, QStringLiteral("Parameter")).toInt();
        const QString cond = csv.field(row, QStringLiteral("Condition"));
        if (!cond.isEmpty() && !isSafeExpression(cond))
            return fail(QStringLiteral("lists.csv:%1: unusable condition").arg(row.line));
        const QString sql
            = QStringLiteral("INSERT INTO tmpList SELECT d.SeriesCode, d.ModelCode, d.Rev, ?, ?, ? FROM srcDrive d "
                             "JOIN tblDriveParameters p ON p.Series = d.SeriesCode AND p.Model = d.ModelCode "
                             "AND p.REV = d.Rev AND p.Idx = ? AND p.Extra = 1 WHERE (%1)")
                  .arg(cond.isEmpty() ? QStringLiteral("1") : cond);
        if (!exec(sql, {parameterText(index), ++ord, csv.field(row, QStringLiteral("Setting")), index}))
            return fail(QStringLiteral("lists.csv:%1: %2").arg(row.line).arg(m_error));
    }
    return exec(
        QStringLiteral("INSERT INTO tblExtraData (Series, Model, REV, Parameter, Position, Setting) "
                       "SELECT Series, Model, REV, Parameter, "
                       "ROW_NUMBER() OVER (PARTITION BY Series, Model, REV, Parameter ORDER BY Ord) - 1, Setting "
                       "FROM tmpList"));
}

// P9.41 lists the series and P9.42 the models of the drive's series; both
// come from the family tables so that they can never disagree with them.
bool CatalogueBuilder::addIdentityLists()
{
    QSqlQuery drives(m_db);
    if (!drives.exec(QStringLiteral("SELECT DISTINCT Series, Model, REV FROM tblDriveParameters WHERE Idx = 942")))
        return fail(drives.lastError().text());
    QVector<QStringList> keys;
    while (drives.next())
        keys.append({drives.value(0).toString(), drives.value(1).toString(), drives.value(2).toString()});

    QStringList seriesEntries {QStringLiteral("00 Not Defined")};
    QSqlQuery series(m_db);
    series.exec(QStringLiteral("SELECT DISTINCT SeriesCode, Series FROM tblDriveModels ORDER BY SeriesCode"));
    while (series.next()) {
        const int code = series.value(0).toInt();
        while (seriesEntries.size() < code)
            seriesEntries << QStringLiteral("%1 Reserved").arg(seriesEntries.size(), 2, 10, QLatin1Char('0'));
        seriesEntries << QStringLiteral("%1 %2").arg(series.value(0).toString(), series.value(1).toString());
    }

    for (const QStringList &key : keys) {
        QStringList modelEntries;
        QSqlQuery models(m_db);
        models.prepare(QStringLiteral("SELECT ModelCode, Model FROM tblDriveModels WHERE SeriesCode = ? AND Rev = ? "
                                      "ORDER BY ModelCode"));
        models.addBindValue(key.at(0));
        models.addBindValue(key.at(2));
        models.exec();
        while (models.next()) {
            const int code = models.value(0).toInt();
            while (modelEntries.size() < code)
                modelEntries << QStringLiteral("%1 Reserved").arg(modelEntries.size(), 2, 10, QLatin1Char('0'));
            modelEntries << QStringLiteral("%1 %2").arg(models.value(0).toString(), models.value(1).toString());
        }
        const QVector<QPair<int, QStringList>> lists {{941, seriesEntries}, {942, modelEntries}};
        for (const auto &[index, entries] : lists) {
            for (int pos = 0; pos < entries.size(); ++pos)
                if (!exec(QStringLiteral("INSERT INTO tblExtraData VALUES (?,?,?,?,?,?)"),
                        {key.at(0), key.at(1), key.at(2), parameterText(index), pos, entries.at(pos)}))
                    return false;
            if (!exec(QStringLiteral("UPDATE tblDriveParameters SET max = ? WHERE Series = ? AND Model = ? AND REV = ? "
                                     "AND Idx = ?"),
                    {entries.size() - 1, key.at(0), key.at(1), key.at(2), index}))
                return false;
        }
    }
    return true;
}

bool CatalogueBuilder::build()
{
    const QString tmpPath = m_outputPath + QStringLiteral(".tmp");
    QFile::remove(tmpPath);
    QDir().mkpath(QFileInfo(m_outputPath).absolutePath());
    bool ok = false;
    {
        m_db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_connection);
        m_db.setDatabaseName(tmpPath);
        if (!m_db.open())
            return fail(m_db.lastError().text());
        ok = exec(QStringLiteral("PRAGMA journal_mode = OFF")) && m_db.transaction()
            && runSqlFile(QStringLiteral("schema.sql")) && runSqlFile(QStringLiteral("static.sql")) && loadModels()
            && loadParameters() && loadLists() && addIdentityLists() && m_db.commit();
        if (ok) {
            m_summary
                << QStringLiteral("drives: %1").arg(count(QStringLiteral("SELECT count(*) FROM tblDriveModels")))
                << QStringLiteral("parameter rows: %1")
                       .arg(count(QStringLiteral("SELECT count(*) FROM tblDriveParameters")))
                << QStringLiteral("list entries: %1").arg(count(QStringLiteral("SELECT count(*) FROM tblExtraData")));
            ok = exec(QStringLiteral("VACUUM"));
        }
        m_db.close();
        m_db = QSqlDatabase();
    }
    QSqlDatabase::removeDatabase(m_connection);
    if (!ok) {
        QFile::remove(tmpPath);
        return false;
    }
    // Replace the catalogue in one step so a failed build never leaves half a file.
    QFile::remove(m_outputPath);
    if (!QFile::rename(tmpPath, m_outputPath))
        return fail(QStringLiteral("cannot move %1 to %2").arg(tmpPath, m_outputPath));
    return true;
}
