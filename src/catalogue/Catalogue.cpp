#include "Catalogue.h"

#include "model/AppContext.h"

#include "base/ErrorCodes.h"
#include "base/Logging.h"
#include "base/TrappedError.h"

#include <QFileInfo>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QUuid>

namespace Tarvel {

Catalogue::Catalogue(QString path)
    : m_path(std::move(path))
{ }

Catalogue::~Catalogue()
{
    release();
}

void Catalogue::connect()
{
    release();
    // SQLite would quietly create an empty database for a missing file.
    if (!QFileInfo(m_path).isFile())
        throw TrappedError(Err::CatalogueNotFound, QStringLiteral("Could not find file '%1'.").arg(m_path));
    const QString name = QStringLiteral("qxd-") + QUuid::createUuid().toString(QUuid::WithoutBraces);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), name);
        db.setDatabaseName(m_path);
        if (!db.open()) {
            const QString text = db.lastError().text();
            db = QSqlDatabase();
            QSqlDatabase::removeDatabase(name);
            throw TrappedError(Err::CatalogueNotFound, text);
        }
    }
    m_connection = name;
    qCDebug(lcCatalogue) << "opened" << m_path;
}

void Catalogue::release()
{
    if (m_connection.isEmpty())
        return;
    {
        QSqlDatabase db = QSqlDatabase::database(m_connection, false);
        db.close();
    }
    QSqlDatabase::removeDatabase(m_connection);
    m_connection.clear();
}

RecordSet Catalogue::query(const QString &sql)
{
    m_lastQuery = sql;
    if (!isOpen())
        throw TrappedError(Err::ObjectClosed);
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    q.setForwardOnly(true);
    if (!q.exec(sql)) {
        qCWarning(lcCatalogue) << "query failed:" << sql << q.lastError().text();
        throw TrappedError(Err::CatalogueQuery, q.lastError().databaseText());
    }
    QVector<QSqlRecord> rows;
    while (q.next())
        rows.append(q.record());
    qCDebug(lcCatalogue) << rows.size() << "rows:" << sql;
    return RecordSet(std::move(rows));
}

void Catalogue::execute(const QString &sql)
{
    m_lastQuery = sql;
    if (!isOpen())
        throw TrappedError(Err::ObjectClosed);
    QSqlQuery q(QSqlDatabase::database(m_connection, false));
    if (!q.exec(sql))
        throw TrappedError(Err::CatalogueReadOnly, q.lastError().databaseText());
}

std::unique_ptr<Catalogue> connectDB(AppContext &ctx)
{
    auto catalogue = std::make_unique<Catalogue>(ctx.paths().catalogue());
    catalogue->connect();
    ctx.state.blnStepDone = true;
    return catalogue;
}

} // namespace Tarvel
