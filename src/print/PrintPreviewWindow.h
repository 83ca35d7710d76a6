#pragma once

#include "PrintLayout.h"
#include "SchematicSheet.h"

#include <QWidget>

class QPushButton;

namespace Tarvel {

// frmPrintPreview (series 1 and 2), frmPrintPrevQX3 and frmPrintPrevQX3_2
// (the two pages of series 3): the schematic page as it stood when the
// window opened, with its title block, on a page-shaped sheet (picMain).
// "Print" hands the sheet to the print setup; the layout chosen there
// stays with the window.
class PrintPreviewWindow : public QWidget
{
    Q_OBJECT
public:
    PrintPreviewWindow(AppContext &ctx, const SchematicModel &model, SchematicPage page, QWidget *parent = nullptr);
    ~PrintPreviewWindow() override;

    static QString formName(SchematicPage page);
    const SchematicSheet &sheet() const { return *m_sheet; }
    PrintLayout &layout() { return m_layout; }
    QPushButton *printButton() const { return m_print; }
    // The title block from the texts kept for the run.
    void updateTitleBlock();
    // The schematic's elements as they stand now, with a fresh title block.
    void copyDrawing(const SchematicModel &model);

private:
    void printSetup();
    QString location(const char *handler) const;

    AppContext &m_ctx;
    SchematicPage m_page;
    std::unique_ptr<SchematicSheet> m_sheet;
    PrintLayout m_layout;
    QWidget *m_picture = nullptr;
    QPushButton *m_print = nullptr;
};

} // namespace Tarvel
