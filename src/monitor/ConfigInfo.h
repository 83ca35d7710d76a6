#pragma once

#include <QString>

#include <array>

namespace Tarvel {

class AppContext;

// frmStats without its widgets: the identity of the configuration in
// memory beside that of the connected drive, and whether the catalogue
// knows that drive.
class ConfigInfo
{
public:
    static constexpr int StatsInterval = 3000; // tmrStats: the one late update

    struct Group
    {
        QString series;
        QString model;
        QString rev;
        // Configuration: the drive-type list texts. Connected drive: the
        // catalogue check, "Drive" "Not" "Supported" for an unknown drive.
        std::array<QString, 3> names {QStringLiteral(" "), QStringLiteral(" "), QStringLiteral(" ")};
    };
    struct Labels
    {
        Group configuration;
        Group drive;
    };

    explicit ConfigInfo(AppContext &ctx);

    // cmdUpdate_Click: every label from the shared state and, while a link
    // is open, the catalogue. `location` names the caller for the trap.
    Labels update(const QString &location = QStringLiteral("frmStats, cmdUpdate_Click"));

    // "120" as "1.20": the first character, a point and the rest.
    static QString revisionText(const QString &rev);
    // A one-character series or model code with its leading "0".
    static QString twoCharacters(const QString &code);

private:
    Group configuration() const;
    Group connectedDrive() const;
    void checkCatalogue(Group &drive) const;

    AppContext &m_ctx;
};

} // namespace Tarvel
