#pragma once

#include <QLockFile>
#include <QString>

#include <memory>

namespace Tarvel {

// Refuses a second running copy of the program for the same program
// directory (a separate TARVEL_HOME is a separate installation).
class InstanceGuard
{
public:
    explicit InstanceGuard(const QString &programDir);
    bool tryAcquire();

    static QString refusalText()
    {
        return QStringLiteral(
            "Tarvel is already running.\rYou may only have one instance of Tarvel running at a time.");
    }

private:
    std::unique_ptr<QLockFile> m_lock;
};

} // namespace Tarvel
