#pragma once

#include "RecordSet.h"

#include <QString>

#include <memory>

namespace Tarvel {

class AppContext;

// The drive catalogue Data/QX.qxd (SQLite). It is opened for each
// operation and released at its end; no connection stays open while the
// user works. Query texts are the program's own, run as written.
class Catalogue
{
public:
    explicit Catalogue(QString path);
    ~Catalogue();
    Catalogue(const Catalogue &) = delete;
    Catalogue &operator=(const Catalogue &) = delete;

    // ConnectDB: opens the connection; raises 3024 for a missing file.
    void connect();
    bool isOpen() const { return !m_connection.isEmpty(); }
    void release();

    // Runs a query into a static snapshot; raises 3075 when it fails.
    RecordSet query(const QString &sql);
    // Runs a statement that changes the catalogue (the one setting it holds).
    void execute(const QString &sql);
    // The text of the last query run, kept for the caller.
    const QString &lastQuery() const { return m_lastQuery; }

    const QString &path() const { return m_path; }

private:
    QString m_path;
    QString m_connection;
    QString m_lastQuery;
};

// ConnectDB: a fresh connection to the program's catalogue; sets blnStepDone.
std::unique_ptr<Catalogue> connectDB(AppContext &ctx);

} // namespace Tarvel
