#pragma once

#include "schematic/SchematicModel.h"

#include <QByteArray>
#include <QHash>
#include <QList>
#include <QRectF>
#include <QString>

class QPainter;

namespace Tarvel {

class AppContext;

// A place of the drawing that answers the mouse: a selectable element, a
// caption lblSchematic(index), or the load.
struct SchematicHit
{
    enum Kind { Element, Caption, Load };
    SchematicHit(Kind k, const QRectF &r)
        : kind(k)
        , rect(r)
    { }
    Kind kind;
    QRectF rect;
    ElementSlot slot {ElementKind::Fuse, SchematicPage::Single};
    int caption = -1;
    QString toolTip;
};

// Draws one page of the wiring diagram as the windows show it: the element
// drawings for their states, the wiring that goes with them, the captions
// taken from the detailed editor, hot-spot frames and guided-mode arrows.
// The page is one SVG document in page units, so the windows, the command
// line and printing draw the same picture at any size.
class SchematicRenderer
{
public:
    // On paper the hot-spot frames and guided-mode arrows, which only help
    // with the mouse, are left out.
    enum class Purpose { Screen, Paper };
    SchematicRenderer(
        const AppContext &ctx, const SchematicModel &model, SchematicPage page, Purpose purpose = Purpose::Screen);

    // The page in page units (landscape).
    static QSizeF pageSize() { return {1100, 800}; }

    const QByteArray &svgDocument() const { return m_svg; }
    // The page scaled into target, keeping its proportions.
    void paint(QPainter &painter, const QRectF &target) const;
    // Where the page lands in target (for mapping the mouse).
    static QRectF placement(const QRectF &target);
    // The places that answer the mouse, in page units.
    const QList<SchematicHit> &hits() const { return m_hits; }
    // The hit at a point in page units, the last drawn first.
    const SchematicHit *hitAt(const QPointF &point) const;

private:
    void buildSingle();
    void buildControl();
    void buildPower();
    void mains(double y0);
    void motorAndLoad(double x, double motorX);
    void nameplate(const QRectF &box);
    void curve(const QRectF &box);
    void brakeFrame();
    void inputs(double busX, double symbolX, double driveX, double y0, double step, int count);
    void features(double x, double y, int ramps, int protection, int pid);
    void comms(double x, double y);
    void hotSpots(const QList<QRectF> &frames);
    void arrows(const QList<QPointF> &tips);

    // Drawing primitives, in page units.
    void line(double x1, double y1, double x2, double y2, double width = 1.6);
    void path(const QString &d, double width = 1.6);
    void box(const QRectF &r, const QString &style);
    void dot(double x, double y);
    void terminal(double x, double y);
    // Text that fits maxWidth: smaller down to a floor, then shortened.
    void text(double x, double y, const QString &s, double size, const char *anchor = "start", double maxWidth = 0,
        bool bold = false, const char *colour = "#000");
    void caption(const QString &name, double x, double y, double size, double maxWidth, const char *anchor = "start");
    void place(const QString &drawing, const QRectF &r);
    void element(ElementKind kind, int input, const QRectF &r, const QString &toolTip);
    void link(int index, const QRectF &r);
    void linkCaption(int index, double x, double y, const char *anchor = "start");

    const AppContext &m_ctx;
    const SchematicModel &m_model;
    SchematicPage m_page;
    Purpose m_purpose;
    QHash<QString, QString> m_captions;
    QByteArray m_body;
    QByteArray m_svg;
    QList<SchematicHit> m_hits;
};

} // namespace Tarvel
