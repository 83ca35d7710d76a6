#pragma once

#include <QFont>
#include <QMarginsF>
#include <QPageLayout>
#include <QString>

namespace Tarvel {

// How a picture is laid out on printer pages: the print setup's choices,
// kept by the preview window for as long as it is open. The numbers of the
// method and the unit are those the setup dialog's options carry.
struct PrintLayout
{
    enum Method {
        OriginalSize = 1, // the picture at its own size, over as many pages as it needs
        Zoom = 2, // the picture at a ratio of its own size
        FitPages = 3, // stretched over pages across and down ("Full Page": one by one)
        FitProportional = 4, // as large as fits the pages across and down, in proportion
    };
    enum Unit { Inches = 5, Centimeters = 7 };

    // A picture's units per inch at its original size.
    static constexpr double UnitsPerInch = 128;
    static constexpr int MinZoom = 10;
    static constexpr int MaxZoom = 400;
    // One step of the margins' up-downs, in the unit.
    static constexpr double MarginStep = 0.1;

    Method method = FitProportional;
    int zoom = 100; // percent
    int pagesAcross = 1;
    int pagesDown = 1;
    bool fullPage = false; // FitPages onto one page whatever the counts say
    Unit unit = Inches;
    QMarginsF margins {0.5, 0.5, 0.5, 0.5}; // left, top, right, bottom, in the unit
    QString header;
    QString footer;
    QFont headerFont {QStringLiteral("Sans Serif"), 10};
    QFont footerFont {QStringLiteral("Sans Serif"), 8};
    bool breakJob = false; // one print job per page

    // Changes the unit, converting the margins so that the paper keeps them.
    void setUnit(Unit newUnit);
    // The zoom within what the layout allows; returns the zoom taken.
    int setZoom(int percent);
    // The margins in a unit a page layout knows (centimetres as millimetres).
    QPageLayout::Unit pageUnit() const;
    QMarginsF pageMargins() const;
};

} // namespace Tarvel
