#pragma once

#include "SchematicModel.h"

#include <QHash>
#include <QList>
#include <QString>

namespace Tarvel {

class EditorForm;

// A caption (or the load) that opens the detailed editor on a group tab,
// and where the guided mode goes from it.
struct CaptionLink
{
    SchematicPage page;
    int index; // lblSchematic(index); -1 for imgLoad
    const char *caption;
    const char *toolTip;
    int group;
    int innerTab; // -1: the group's tab as it stands
    SchematicTarget target;
};

// What the schematic windows copy from the detailed editor on every
// repaint, and which captions lead into it.
class SchematicCaptions
{
public:
    // The caption texts of a page by control name ("lblDI(3)", "lblModel",
    // "lblLoad(2)", "lblMotorData(0)" ...). A field the drive does not have
    // gives an empty text; an empty custom V/Hz value gives "N/A".
    static QHash<QString, QString> fromEditor(const EditorForm &editor, SchematicPage page);
    // Custom V/Hz (P2.00 = 3): the six curve values and their names shown.
    static bool customCurve(const EditorForm &editor);

    static const QList<CaptionLink> &links();
    // The link of a caption on a page, if it leads anywhere. On the reduced
    // model the analog output and PID captions of frmSchematic are inert.
    static const CaptionLink *link(SchematicPage page, int index, bool reducedModel);
    // The link of the load picture of a page.
    static const CaptionLink *loadLink(SchematicPage page);
};

} // namespace Tarvel
