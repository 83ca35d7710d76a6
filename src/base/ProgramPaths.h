#pragma once

#include <QString>

namespace Tarvel {

// Paths beside the program: the catalogue, the logs, the configurations.
class ProgramPaths
{
public:
    explicit ProgramPaths(QString programDir);

    // The program directory: TARVEL_HOME when set; else the executable's
    // folder when it holds a writable Data/; else the per-user data folder,
    // seeded with the installed catalogue on first start.
    static QString resolve(const QString &executableDir);

    const QString &programDir() const { return m_dir; }
    QString catalogue() const; // Data/QX.qxd
    QString errorLog() const; // Data/Error.Log
    QString diagsLog() const; // Data/Diags.Log
    QString configsDir() const; // Configs
    QString serversDir() const; // Data/Servers: the Ethernet route's server definitions
    QString helpFile() const; // the built-in manual's first page

private:
    QString m_dir;
};

} // namespace Tarvel
