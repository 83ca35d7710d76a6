#include "SchematicRenderer.h"

#include "SchematicPictures.h"
#include "model/AppContext.h"
#include "schematic/SchematicCaptions.h"

#include <QPainter>
#include <QSvgRenderer>

namespace Tarvel {

namespace {

const double Phase[] = {190, 220, 250}; // the three mains conductors
const char *const Hint = "#555";

QString num(double v)
{
    return QString::number(v, 'f', 1);
}

// The average advance of a sans-serif character, in font sizes: generous
// for fitting text into a space, close to the real one for underlining.
constexpr double CharWidth = 0.56;
constexpr double BoldAdvance = 0.52;

} // namespace

SchematicRenderer::SchematicRenderer(
    const AppContext &ctx, const SchematicModel &model, SchematicPage page, Purpose purpose)
    : m_ctx(ctx)
    , m_model(model)
    , m_page(page)
    , m_purpose(purpose)
    , m_captions(SchematicCaptions::fromEditor(ctx.editor, page))
{
    switch (page) {
    case SchematicPage::Single:
        buildSingle();
        break;
    case SchematicPage::Control:
        buildControl();
        break;
    case SchematicPage::Power:
        buildPower();
        break;
    }
    const QSizeF size = pageSize();
    m_svg = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.2\" "
            "baseProfile=\"tiny\" viewBox=\"0 0 "
        + num(size.width()).toUtf8() + ' ' + num(size.height()).toUtf8() + "\" width=\"" + num(size.width()).toUtf8()
        + "\" height=\"" + num(size.height()).toUtf8() + "\">\n<rect x=\"0\" y=\"0\" width=\""
        + num(size.width()).toUtf8() + "\" height=\"" + num(size.height()).toUtf8() + "\" fill=\"#fff\"/>\n" + m_body
        + "</svg>\n";
}

QRectF SchematicRenderer::placement(const QRectF &target)
{
    QSizeF size = pageSize();
    size.scale(target.size(), Qt::KeepAspectRatio);
    return QRectF(target.x() + (target.width() - size.width()) / 2, target.y() + (target.height() - size.height()) / 2,
        size.width(), size.height());
}

void SchematicRenderer::paint(QPainter &painter, const QRectF &target) const
{
    QSvgRenderer renderer(m_svg);
    renderer.render(&painter, placement(target));
}

const SchematicHit *SchematicRenderer::hitAt(const QPointF &point) const
{
    for (auto it = m_hits.crbegin(); it != m_hits.crend(); ++it)
        if (it->rect.contains(point))
            return &*it;
    return nullptr;
}

// ------------------------------------------------------------- primitives

void SchematicRenderer::line(double x1, double y1, double x2, double y2, double width)
{
    m_body += QStringLiteral("<line x1=\"%1\" y1=\"%2\" x2=\"%3\" y2=\"%4\" stroke=\"#000\" stroke-width=\"%5\" "
                             "stroke-linecap=\"round\"/>\n")
                  .arg(num(x1), num(y1), num(x2), num(y2), num(width))
                  .toUtf8();
}

void SchematicRenderer::path(const QString &d, double width)
{
    m_body += QStringLiteral("<path d=\"%1\" stroke=\"#000\" stroke-width=\"%2\" fill=\"none\" "
                             "stroke-linejoin=\"round\" stroke-linecap=\"round\"/>\n")
                  .arg(d, num(width))
                  .toUtf8();
}

void SchematicRenderer::box(const QRectF &r, const QString &style)
{
    m_body += QStringLiteral("<rect x=\"%1\" y=\"%2\" width=\"%3\" height=\"%4\" %5/>\n")
                  .arg(num(r.x()), num(r.y()), num(r.width()), num(r.height()), style)
                  .toUtf8();
}

void SchematicRenderer::dot(double x, double y)
{
    m_body += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"3\" fill=\"#000\"/>\n").arg(num(x), num(y)).toUtf8();
}

void SchematicRenderer::terminal(double x, double y)
{
    m_body += QStringLiteral("<circle cx=\"%1\" cy=\"%2\" r=\"3.5\" fill=\"#fff\" stroke=\"#000\" "
                             "stroke-width=\"1.4\"/>\n")
                  .arg(num(x), num(y))
                  .toUtf8();
}

void SchematicRenderer::text(double x, double y, const QString &s, double size, const char *anchor, double maxWidth,
    bool bold, const char *colour)
{
    if (s.isEmpty())
        return;
    QString shown = s;
    const double weight = bold ? 1.1 : 1.0;
    if (maxWidth > 0) {
        const double floor = std::min(size, 8.5);
        size = std::max(floor, std::min(size, maxWidth / (shown.size() * CharWidth * weight)));
        const int fits = int(maxWidth / (size * CharWidth * weight));
        if (shown.size() > fits)
            shown = shown.left(std::max(1, fits - 1)) + QChar(0x2026);
    }
    m_body += QStringLiteral("<text x=\"%1\" y=\"%2\" font-family=\"sans-serif\" font-size=\"%3\" text-anchor=\"%4\" "
                             "fill=\"%5\"%6>%7</text>\n")
                  .arg(num(x), num(y), num(size), QLatin1String(anchor), QLatin1String(colour),
                      bold ? QStringLiteral(" font-weight=\"bold\"") : QString(), shown.toHtmlEscaped())
                  .toUtf8();
}

void SchematicRenderer::caption(
    const QString &name, double x, double y, double size, double maxWidth, const char *anchor)
{
    text(x, y, m_captions.value(name), size, anchor, maxWidth);
}

void SchematicRenderer::place(const QString &drawing, const QRectF &r)
{
    if (drawing.isEmpty())
        return;
    const QByteArray svg = SchematicPictures::loadCustomPicture(drawing);
    const QRectF view = SchematicPictures::viewBox(svg);
    if (view.isEmpty())
        return;
    m_body += QStringLiteral("<g transform=\"translate(%1 %2) scale(%3 %4) translate(%5 %6)\">")
                  .arg(num(r.x()), num(r.y()), QString::number(r.width() / view.width()),
                      QString::number(r.height() / view.height()), num(-view.x()), num(-view.y()))
                  .toUtf8()
        + SchematicPictures::body(svg) + "</g>\n";
}

// An element's drawing for its digit, and the place that answers a click.
void SchematicRenderer::element(ElementKind kind, int input, const QRectF &r, const QString &toolTip)
{
    place(SchematicElements::drawing(kind, m_model.digit(kind, input)), r);
    SchematicHit hit {SchematicHit::Element, r};
    hit.slot = {kind, m_page, input};
    hit.toolTip = toolTip;
    m_hits << hit;
}

void SchematicRenderer::link(int index, const QRectF &r)
{
    const CaptionLink *l = SchematicCaptions::link(m_page, index, m_model.reducedModel());
    SchematicHit hit {SchematicHit::Caption, r};
    hit.caption = index;
    hit.toolTip = l ? QString::fromLatin1(l->toolTip) : QString();
    if (l || index == 38)
        m_hits << hit;
}

// A clickable group caption, underlined as links are.
void SchematicRenderer::linkCaption(int index, double x, double y, const char *anchor)
{
    const CaptionLink *l = SchematicCaptions::link(m_page, index, false);
    const QString s = QString::fromLatin1(l->caption);
    const bool live = SchematicCaptions::link(m_page, index, m_model.reducedModel()) != nullptr;
    text(x, y, s, 13, anchor, 0, true, live ? "#0b3d91" : "#888");
    const double w = s.size() * 13 * BoldAdvance;
    const double left = qstrcmp(anchor, "middle") == 0 ? x - w / 2 : qstrcmp(anchor, "end") == 0 ? x - w : x;
    if (live)
        line(left, y + 3, left + w, y + 3, 0.8);
    link(index, QRectF(left - 3, y - 14, w + 6, 20));
}

// ------------------------------------------------------------- sections

// Mains, disconnect and reactor in front of the drive's input terminals.
void SchematicRenderer::mains(double driveX)
{
    const QStringList names {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3")};
    text(20, 160, QStringLiteral("Mains"), 12, "start", 0, true);
    const bool noDisconnect = m_model.digit(ElementKind::Fuse) == 3;
    for (int i = 0; i < 3; ++i) {
        text(20, Phase[i] - 4, names[i], 11);
        line(40, Phase[i], 90, Phase[i]);
        if (noDisconnect) // wired straight through
            line(90, Phase[i], 190, Phase[i]);
        line(190, Phase[i], 230, Phase[i]);
        line(330, Phase[i], driveX, Phase[i]);
        terminal(driveX, Phase[i]);
    }
    element(ElementKind::Fuse, 0, QRectF(90, 170, 100, 100), QStringLiteral("Click To Select Symbol"));
    element(ElementKind::Reactor, 0, QRectF(230, 170, 100, 100), QStringLiteral("Click To Select Symbol"));
    text(140, 290, QStringLiteral("Disconnect"), 10, "middle", 0, false, Hint);
    text(280, 290, QStringLiteral("Line reactor"), 10, "middle", 0, false, Hint);
}

void SchematicRenderer::motorAndLoad(double x, double motorX)
{
    const QStringList names {QStringLiteral("T1"), QStringLiteral("T2"), QStringLiteral("T3")};
    for (int i = 0; i < 3; ++i) {
        terminal(x, Phase[i]);
        text(x - 8, Phase[i] + 4, names[i], 11, "end");
        line(x + 4, Phase[i], motorX, Phase[i]);
    }
    place(QStringLiteral("motor"), QRectF(motorX, 170, 100, 100));
    link(35, QRectF(motorX, 170, 100, 100));
    place(QStringLiteral("load"), QRectF(motorX + 100, 170, 100, 100));
    SchematicHit load {SchematicHit::Load, QRectF(motorX + 100, 170, 100, 100)};
    load.toolTip = QStringLiteral("Click To Set V/Hz Settings");
    m_hits << load;
}

void SchematicRenderer::nameplate(const QRectF &r)
{
    box(r, QStringLiteral("fill=\"#f7f7f2\" stroke=\"#000\" stroke-width=\"1.2\""));
    text(r.x() + 10, r.y() + 20, QStringLiteral("Motor Nameplate Data"), 12, "start", r.width() - 20, true);
    for (int i = 0; i < 5; ++i) {
        const double y = r.y() + 42 + i * 19;
        caption(QStringLiteral("lblMotorData(%1)").arg(i + 5), r.x() + 14, y, 11, 80);
        caption(QStringLiteral("lblMotorData(%1)").arg(i), r.x() + 100, y, 11, r.width() - 110);
    }
}

void SchematicRenderer::curve(const QRectF &r)
{
    box(r, QStringLiteral("fill=\"#f7f7f2\" stroke=\"#000\" stroke-width=\"1.2\""));
    text(r.x() + 10, r.y() + 20, QStringLiteral("Volts / Hertz"), 12, "start", 0, true);
    // The V/Hz choice may be long: on two lines where one does not hold it.
    const QString choice = m_captions.value(QStringLiteral("lblLoad(0)"));
    const int fits = int((r.width() - 20) / (10 * CharWidth));
    const qsizetype cut = choice.size() > fits ? choice.lastIndexOf(u' ', fits) : -1;
    text(r.x() + 10, r.y() + 38, cut > 0 ? choice.left(cut) : choice, 10, "start", r.width() - 20);
    if (cut > 0)
        text(r.x() + 22, r.y() + 51, choice.mid(cut + 1), 10, "start", r.width() - 32);
    if (!m_captions.contains(QStringLiteral("lblLoad(1)")))
        return;
    for (int i = 0; i < 6; ++i) {
        const double x = r.x() + 14 + (i / 3) * (r.width() / 2);
        const double y = r.y() + 72 + (i % 3) * 19;
        caption(QStringLiteral("lblP2(%1)").arg(i), x, y, 11, 50);
        caption(QStringLiteral("lblLoad(%1)").arg(i + 1), x + 52, y, 11, r.width() / 2 - 70);
    }
}

// Series 1/2: the brake resistor on B1 and B2, framed when selected.
void SchematicRenderer::brakeFrame()
{
    text(550, 28, QStringLiteral("Brake Resistor"), 12, "middle", 0, true);
    for (double x : {500.0, 600.0}) {
        line(x, 60, x, 110);
        terminal(x, 110);
    }
    text(506, 128, QStringLiteral("B1"), 11);
    text(594, 128, QStringLiteral("B2"), 11, "end");
    const bool selected = m_model.digit(ElementKind::BrakeFrame) == 1;
    if (selected)
        box(QRectF(492, 36, 116, 48), QStringLiteral("fill=\"none\" stroke=\"#000\" stroke-width=\"1.2\""));
    element(ElementKind::BrakeFrame, 0, QRectF(500, 40, 100, 40),
        m_model.reducedModel() ? QString() : QStringLiteral("Click To Toggle Brake Resistor Symbol"));
    if (m_model.isShown(QStringLiteral("lblSchematic(38)"))) {
        text(620, 66, QStringLiteral("None"), 12);
        link(38, QRectF(615, 50, 40, 22));
    }
}

// The digital inputs: a common bus, a switch symbol per input, the drive's
// terminals with the input functions beside them.
void SchematicRenderer::inputs(double busX, double symbolX, double driveX, double y0, double step, int count)
{
    const double last = y0 + step * (count - 1);
    line(busX, y0, busX, last + 40);
    for (int n = 1; n <= count; ++n) {
        const double y = y0 + step * (n - 1);
        terminal(driveX, y);
        text(driveX + 8, y + 4, QStringLiteral("DI%1:").arg(n), 11);
        caption(QStringLiteral("lblDI(%1)").arg(n), driveX + 48, y + 4, 11, 150);
        if (n == 3 && m_model.stopWiring())
            continue; // DI3 is the stop input: no switch of its own
        const int digit = m_model.digit(ElementKind::Input, n);
        if (digit != 4) {
            line(busX, y, symbolX, y);
            line(symbolX + 80, y, driveX - 4, y);
            dot(busX, y);
        }
        element(ElementKind::Input, n, QRectF(symbolX, y - 15, 80, 30), QStringLiteral("Click To Select Symbol"));
    }
}

void SchematicRenderer::features(double x, double y, int ramps, int protection, int pid)
{
    place(QStringLiteral("ramps"), QRectF(x, y, 60, 40));
    linkCaption(ramps, x + 30, y + 58, "middle");
    place(QStringLiteral("protection"), QRectF(x + 112, y, 40, 40));
    linkCaption(protection, x + 132, y + 58, "middle");
    const QRectF pidBox(x + 190, y - 4, 80, 66);
    const bool live = SchematicCaptions::link(m_page, pid, m_model.reducedModel()) != nullptr;
    box(pidBox, QStringLiteral("fill=\"none\" stroke=\"%1\" stroke-width=\"1.2\"").arg(live ? "#000" : "#999"));
    text(pidBox.center().x(), y + 24, QStringLiteral("PID"), 16, "middle", 0, true, live ? "#0b3d91" : "#888");
    text(pidBox.center().x(), y + 44, QStringLiteral("P 7.xx"), 11, "middle", 0, false, Hint);
    link(pid, pidBox);
}

void SchematicRenderer::comms(double x, double y)
{
    place(QStringLiteral("comms"), QRectF(x, y, 40, 30));
    text(x + 50, y + 12, QStringLiteral("RS-485"), 11, "start", 0, true);
    caption(QStringLiteral("lblComs(0)"), x + 110, y + 12, 11, 160);
    caption(QStringLiteral("lblComs(1)"), x + 110, y + 28, 11, 160);
}

void SchematicRenderer::hotSpots(const QList<QRectF> &frames)
{
    if (m_purpose == Purpose::Paper)
        return;
    for (int i : m_model.visibleHotSpots(m_page))
        box(frames.value(i),
            QStringLiteral("rx=\"10\" fill=\"none\" stroke=\"#e8380d\" stroke-width=\"2\" "
                           "stroke-dasharray=\"7 4\""));
}

void SchematicRenderer::arrows(const QList<QPointF> &tips)
{
    const std::optional<ArrowRef> arrow = m_model.arrow();
    if (m_purpose == Purpose::Paper || !arrow || arrow->page != m_page || arrow->index >= tips.size())
        return;
    const QPointF tip = tips[arrow->index];
    place(QStringLiteral("pointer"), QRectF(tip.x() - 60, tip.y() - 15, 60, 30));
}

// ------------------------------------------------------------- pages

void SchematicRenderer::buildSingle()
{
    const QRectF drive(400, 110, 300, 620);
    box(drive, QStringLiteral("fill=\"#fbfbfb\" stroke=\"#000\" stroke-width=\"2.2\""));
    caption(QStringLiteral("lblModel"), 550, 160, 16, 200, "middle");
    mains(drive.left());
    const QStringList in {QStringLiteral("L1"), QStringLiteral("L2"), QStringLiteral("L3")};
    for (int i = 0; i < 3; ++i)
        text(drive.left() + 8, Phase[i] + 4, in[i], 11);
    brakeFrame();
    motorAndLoad(drive.right(), 780);
    nameplate(QRectF(730, 295, 170, 135));
    curve(QRectF(910, 295, 180, 135));
    features(420, 280, 32, 31, 36);

    // Digital inputs DI1..DI6 and their common CM.
    linkCaption(17, 320, 372, "middle");
    inputs(270, 300, drive.left(), 390, 35, 6);
    terminal(drive.left(), 605);
    text(drive.left() + 8, 609, QStringLiteral("CM"), 11);
    line(270, 605, drive.left() - 4, 605);

    // Analog input: a potentiometer on +10V, AI and ACM.
    linkCaption(16, 330, 638, "middle");
    const double terms[] = {650, 680, 710};
    const QStringList names {QStringLiteral("+10V"), QStringLiteral("AI"), QStringLiteral("ACM")};
    for (int i = 0; i < 3; ++i) {
        terminal(drive.left(), terms[i]);
        text(drive.left() + 8, terms[i] + 4, names[i], 11);
    }
    path(QStringLiteral("M396 650H330V656L322 660L338 668L322 676L338 684L322 692L338 700L330 704V710H396"));
    path(QStringLiteral("M396 680H350M350 680L340 676M350 680L340 684"), 1.4);
    caption(QStringLiteral("lblAI"), drive.left() + 48, 684, 11, 150);

    // Relay outputs R1 and R2: normally open and closed contacts on a common.
    linkCaption(3, 735, 458);
    const QStringList relay {QStringLiteral("R%1O"), QStringLiteral("R%1C"), QStringLiteral("R%1")};
    for (int r = 0; r < 2; ++r) {
        const double y0 = 475 + r * 80;
        for (int k = 0; k < 3; ++k) {
            const double y = y0 + k * 22;
            terminal(drive.right(), y);
            text(drive.right() - 8, y + 4, relay[k].arg(r + 1), 11, "end");
            line(drive.right() + 4, y, 730, y);
            terminal(733, y);
        }
        caption(r == 0 ? QStringLiteral("lblDO1") : QStringLiteral("lblDO2"), 745, y0 + 26, 11, 340);
    }

    // Analog output: a meter on ACO and ACM.
    linkCaption(4, 735, 652);
    for (const auto &[y, name] : {std::pair {670.0, "ACO"}, std::pair {705.0, "ACM"}}) {
        terminal(drive.right(), y);
        text(drive.right() - 8, y + 4, QString::fromLatin1(name), 11, "end");
    }
    path(QStringLiteral("M704 670H770V672M704 705H770V704"));
    m_body += "<circle cx=\"770\" cy=\"688\" r=\"16\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"1.6\"/>\n";
    text(770, 693, QStringLiteral("V"), 13, "middle", 0, true);
    caption(QStringLiteral("lblAO"), 796, 693, 11, 290);

    comms(420, 748);
    // Terminals this model does not have.
    if (m_model.isShown(QStringLiteral("recCoverQX1"))) {
        const QString cover = QStringLiteral("fill=\"#e4e4e4\" fill-opacity=\"0.92\" stroke=\"#999\"");
        for (const QRectF &r : {QRectF(486, 14, 180, 84), QRectF(606, 272, 88, 72), QRectF(702, 636, 390, 86)})
            box(r, cover);
        text(576, 60, QStringLiteral("Not on this model"), 11, "middle", 0, false, Hint);
        text(896, 684, QStringLiteral("Not on this model"), 11, "middle", 0, false, Hint);
    }

    hotSpots(
        {QRectF(774, 164, 112, 112), QRectF(876, 164, 112, 112), QRectF(410, 272, 80, 80), QRectF(258, 352, 148, 232),
            QRectF(728, 634, 360, 86), QRectF(604, 270, 92, 76), QRectF(728, 440, 360, 180), QRectF(250, 620, 158, 100),
            QRectF(486, 14, 180, 84), QRectF(520, 272, 72, 80), QRectF(84, 164, 112, 112), QRectF(224, 164, 112, 112)});
    arrows(
        {{780, 160}, {885, 160}, {414, 300}, {268, 366}, {732, 452}, {278, 634}, {732, 648}, {604, 300}, {526, 296}});
}

void SchematicRenderer::buildControl()
{
    const QRectF drive(420, 60, 300, 700);
    box(drive, QStringLiteral("fill=\"#fbfbfb\" stroke=\"#000\" stroke-width=\"2.2\""));
    caption(QStringLiteral("lblModel"), 570, 92, 16, 200, "middle");
    text(570, 110, QStringLiteral("Control terminals"), 11, "middle", 0, false, Hint);
    features(440, 130, 32, 31, 36);

    // SW1: the inputs' common, source (24 V) or sink (DCM).
    const QRectF sw1(440, 210, 150, 50);
    box(sw1, QStringLiteral("fill=\"#fff\" stroke=\"#000\" stroke-width=\"1.2\""));
    text(448, 226, QStringLiteral("SW1"), 11, "start", 0, true);
    text(480, 250, QStringLiteral("Source"), 11, "middle");
    text(555, 250, QStringLiteral("Sink"), 11, "middle");
    const QString marker = QStringLiteral("fill=\"none\" stroke=\"#0b3d91\" stroke-width=\"2.2\"");
    if (m_model.isShown(QStringLiteral("recSource")))
        box(QRectF(452, 236, 56, 20), marker);
    if (m_model.isShown(QStringLiteral("recSink")))
        box(QRectF(532, 236, 46, 20), marker);
    SchematicHit sw {SchematicHit::Element, sw1};
    sw.slot = {ElementKind::Sw1, m_page};
    sw.toolTip = QStringLiteral("Click to switch between source and sink.");
    m_hits << sw;

    linkCaption(17, 360, 268, "middle");
    inputs(290, 320, drive.left(), 290, 34, 11);
    for (const auto &[y, name] : {std::pair {670.0, "24V (20mA)"}, std::pair {710.0, "DCM"}}) {
        terminal(drive.left(), y);
        text(drive.left() + 8, y + 4, QString::fromLatin1(name), 11);
    }
    // The bus of the inputs ends at the 24 V terminal's height.
    if (m_model.isShown(QStringLiteral("line24V1"))) {
        line(290, 670, drive.left() - 4, 670);
        dot(290, 670);
    }
    if (m_model.isShown(QStringLiteral("lineDCM1"))) {
        line(290, 670, 290, 710);
        line(290, 710, drive.left() - 4, 710);
        dot(290, 710);
    }

    // Digital outputs DO1..DO3 on their common DOC, the pulse output FO and
    // the relay.
    linkCaption(3, 760, 268);
    const QStringList outs {QStringLiteral("DO1"), QStringLiteral("DO2"), QStringLiteral("DO3"), QStringLiteral("DOC"),
        QStringLiteral("FO"), QStringLiteral("DCM"), QStringLiteral("RA"), QStringLiteral("RB"), QStringLiteral("RC")};
    for (int k = 0; k < outs.size(); ++k) {
        const double y = 290 + k * 28;
        terminal(drive.right(), y);
        text(drive.right() - 8, y + 4, outs[k], 11, "end");
        line(drive.right() + 4, y, 752, y);
        terminal(755, y);
    }
    for (int k = 0; k < 3; ++k)
        caption(QStringLiteral("lblDO(%1)").arg(k), 768, 294 + k * 28, 11, 320);
    caption(QStringLiteral("lblDO(3)"), 768, 294 + 7 * 28, 11, 320);

    // Analog inputs and output.
    linkCaption(16, 760, 562);
    const QStringList analog {QStringLiteral("AI1"), QStringLiteral("AI2"), QStringLiteral("AI3")};
    for (int k = 0; k < 3; ++k) {
        const double y = 580 + k * 26;
        terminal(drive.right(), y);
        text(drive.right() - 8, y + 4, analog[k], 11, "end");
        line(drive.right() + 4, y, 752, y);
        terminal(755, y);
    }
    caption(QStringLiteral("lblAI(1)"), 768, 584, 11, 320);
    linkCaption(4, 760, 670);
    terminal(drive.right(), 690);
    text(drive.right() - 8, 694, QStringLiteral("AO"), 11, "end");
    terminal(drive.right(), 720);
    text(drive.right() - 8, 724, QStringLiteral("ACM"), 11, "end");
    path(QStringLiteral("M724 690H790V692M724 720H790V724"));
    m_body += "<circle cx=\"790\" cy=\"708\" r=\"16\" fill=\"#fff\" stroke=\"#000\" stroke-width=\"1.6\"/>\n";
    text(790, 713, QStringLiteral("V"), 13, "middle", 0, true);
    caption(QStringLiteral("lblAO"), 816, 713, 11, 270);

    comms(440, 765);
    hotSpots({QRectF(430, 122, 80, 80), QRectF(540, 122, 72, 80), QRectF(624, 120, 92, 76), QRectF(278, 252, 146, 400),
        QRectF(746, 250, 346, 280), QRectF(746, 544, 346, 100), QRectF(746, 650, 346, 86), QRectF(434, 204, 162, 62),
        QRectF(430, 758, 300, 40)});
    arrows({{0, 0}, {0, 0}, {436, 150}, {300, 262}, {756, 262}, {756, 556}, {756, 664}, {628, 150}, {548, 150}});
}

void SchematicRenderer::buildPower()
{
    const QRectF drive(400, 110, 280, 360);
    box(drive, QStringLiteral("fill=\"#fbfbfb\" stroke=\"#000\" stroke-width=\"2.2\""));
    caption(QStringLiteral("lblModel"), 540, 150, 16, 200, "middle");
    text(540, 168, QStringLiteral("Power terminals"), 11, "middle", 0, false, Hint);
    mains(drive.left());
    const QStringList in {QStringLiteral("R/L1"), QStringLiteral("S/L2"), QStringLiteral("T/L3")};
    for (int i = 0; i < 3; ++i)
        text(drive.left() + 8, Phase[i] + 4, in[i], 11);
    motorAndLoad(drive.right(), 760);
    nameplate(QRectF(740, 300, 170, 135));
    curve(QRectF(920, 300, 170, 135));

    // Braking unit or resistor below the drive.
    for (double x : {470.0, 510.0}) {
        terminal(x, drive.bottom());
        line(x, drive.bottom() + 4, x, 520);
    }
    text(466, 458, QStringLiteral("+"), 12, "end", 0, true);
    text(514, 458, QStringLiteral("-"), 12, "start", 0, true);
    if (m_model.isShown(QStringLiteral("lblResistor(0)"))) {
        text(465, 500, QStringLiteral("+(P)"), 11, "end");
        text(515, 500, QStringLiteral("-(N)"), 11);
    }
    if (m_model.isShown(QStringLiteral("lblResistor(1)"))) {
        text(465, 500, QStringLiteral("B1"), 11, "end");
        text(515, 500, QStringLiteral("B2"), 11);
    }
    element(ElementKind::BrakeUnit, 0, QRectF(430, 520, 240, 120), QStringLiteral("Click To Change Braking"));

    // Encoder feedback option board and its jumpers.
    text(40, 350, QStringLiteral("Encoder Feedback"), 13, "start", 0, true);
    linkCaption(1, 40, 372);
    linkCaption(2, 130, 372);
    const QRectF slot(404, 380, 70, 56);
    if (m_model.isShown(QStringLiteral("recCover"))) {
        box(slot, QStringLiteral("fill=\"#e4e4e4\" stroke=\"#999\""));
        text(slot.center().x(), slot.center().y() + 4, QStringLiteral("Option slot"), 10, "middle", 70, false, Hint);
    } else {
        box(slot, QStringLiteral("fill=\"#fff\" stroke=\"#000\" stroke-width=\"1.2\""));
        text(slot.center().x(), slot.center().y() + 4, QStringLiteral("PG card"), 10, "middle", 70);
    }
    if (m_model.isShown(QStringLiteral("shapeLine(5)"))) {
        path(QStringLiteral("M120 400V388H404"));
        path(QStringLiteral("M140 400V396H404"));
    }
    element(ElementKind::Feedback, 0, QRectF(40, 390, 260, 160), QStringLiteral("Click To Change Feedback Board"));
    const auto jumper
        = [&](ElementKind kind, const QRectF &r, const QString &title, const QString &a, const QString &b, bool first) {
              box(r, QStringLiteral("fill=\"#fff\" stroke=\"#000\" stroke-width=\"1.2\""));
              text(r.x() + 8, r.y() + 16, title, 11, "start", 0, true);
              text(r.x() + 30, r.y() + 40, a, 11, "middle");
              text(r.x() + 90, r.y() + 40, b, 11, "middle");
              box(first ? QRectF(r.x() + 8, r.y() + 26, 44, 20) : QRectF(r.x() + 66, r.y() + 26, 48, 20),
                  QStringLiteral("fill=\"none\" stroke=\"#0b3d91\" stroke-width=\"2.2\""));
              SchematicHit hit {SchematicHit::Element, r};
              hit.slot = {kind, m_page};
              hit.toolTip = QStringLiteral("Click To Change Jumper");
              m_hits << hit;
          };
    jumper(ElementKind::OutputType, QRectF(40, 570, 124, 54), QStringLiteral("Output"), QStringLiteral("OC"),
        QStringLiteral("TP"), m_model.isShown(QStringLiteral("recOC")));
    jumper(ElementKind::Supply, QRectF(176, 570, 124, 54), QStringLiteral("Supply"), QStringLiteral("5V"),
        QStringLiteral("12V"), m_model.isShown(QStringLiteral("rec5V")));

    hotSpots({QRectF(754, 164, 112, 112), QRectF(856, 164, 112, 112), QRectF(84, 164, 112, 112),
        QRectF(224, 164, 112, 112), QRectF(424, 514, 252, 132), QRectF(32, 340, 276, 292)});
    arrows({{760, 160}, {865, 160}, {36, 366}});
}

} // namespace Tarvel
