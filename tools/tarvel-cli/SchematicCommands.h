#pragma once

#include <QString>

namespace Tarvel {

class CliSession;
class SchematicModel;

// tarvel-cli schematic: the schematic settings file (.qxs) decoded element
// by element, changed as the symbol pickers change it, drawn as SVG, or
// printed to PDF with its title block.
class SchematicCommands
{
public:
    static int schematic(CliSession &s);
    static int print(CliSession &s);

private:
    static int decode(CliSession &s, const QString &path);
    static int setStates(CliSession &s, const QString &path, const QStringList &assignments);
    static int drawing(CliSession &s, const QString &path);
    static bool openWithConfig(CliSession &s, const QString &schematicPath, SchematicModel &model);
    // "1 imgFuse: disconnect" per element; "unchanged" for a digit the
    // element does not know or a position beyond the end.
    static void printStates(CliSession &s, const QString &state, bool twoPage);
};

} // namespace Tarvel
