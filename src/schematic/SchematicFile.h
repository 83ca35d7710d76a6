#pragma once

#include <QString>

#include <functional>

namespace Tarvel {

class AppContext;
class SchematicModel;

// The schematic settings file (.qxs) beside a configuration file:
//
//   #<date and time written>
//   #WARNING! ...                       two fixed warning lines
//   #Schematic Configuration Follows.
//   @<configuration file path>
//   <state string>                      no line end
//
// Only lines that start with a digit are read, as state strings; each
// digit goes to its element, so one file can be hand-edited a position at
// a time.
class SchematicFile
{
public:
    SchematicFile(AppContext &ctx, SchematicModel &model);

    // SaveSchematic: writes the state of the current series (loading the
    // windows' defaults first when they are not loaded), tells the user
    // when announce is set, clears SchematicChanged. False when it could
    // not be written (reported through the trap).
    bool saveSchematic(const QString &path, bool announce);

    // OpenSchematic: false when there is no such file. Otherwise applies
    // its state strings, sets the detailed editor's Tag to "3" and shows
    // the schematic through `show` (when given).
    bool openSchematic(const QString &path, const std::function<void()> &show = {});

    // The file named like a configuration file: its last four characters
    // replaced by ".qxs".
    static QString pathFor(const QString &configPath);

    static const QString Filter; // "schematic config files (*.qxs)|*.qxs"

private:
    AppContext &m_ctx;
    SchematicModel &m_model;
};

} // namespace Tarvel
