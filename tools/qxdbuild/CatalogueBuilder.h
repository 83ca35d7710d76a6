#pragma once

#include <QSqlDatabase>
#include <QString>
#include <QStringList>

class CsvReader;

// Builds the SQLite catalogue from the readable sources in data/: the schema
// and fixed rows as SQL, the drive family and its parameters as CSV. Each
// parameter row is expanded for every drive its condition selects, so the
// sources stay short while the catalogue holds one row per drive and index,
// as the program's queries expect.
class CatalogueBuilder
{
public:
    CatalogueBuilder(QString sourceDir, QString outputPath);
    bool build();
    QString errorString() const { return m_error; }
    QStringList summary() const { return m_summary; }

private:
    bool runSqlFile(const QString &name);
    bool loadModels();
    bool loadParameters();
    bool loadLists();
    bool addIdentityLists();
    bool exec(const QString &sql, const QVariantList &binds = {});
    bool readCsv(const QString &name, CsvReader &csv);
    bool fail(const QString &message);
    int count(const QString &sql);

    QString m_sourceDir;
    QString m_outputPath;
    QString m_connection;
    QSqlDatabase m_db;
    QString m_error;
    QStringList m_summary;
};
