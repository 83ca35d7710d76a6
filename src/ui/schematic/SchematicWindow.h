#pragma once

#include "schematic/SchematicCaptions.h"
#include "schematic/SymbolChoices.h"

#include <QPointer>

#include <QWidget>
#include <array>

#include <functional>

class QPushButton;

namespace Tarvel {

class AppContext;
class PrintPreviewWindow;
class SchematicView;
struct SchematicHit;

// What a schematic window asks of the main window.
struct SchematicWindowHooks
{
    // Brings the detailed editor to the front on a group tab (and inner
    // tab, -1 for the one it shows).
    std::function<void(int group, int innerTab)> openEditor;
    // The main window's Save command.
    std::function<void()> save;
    // Shows a page of the two-page schematic (without closing this one).
    std::function<void(SchematicPage page)> showPage;
};

// frmSchematic (series 1 and 2) and the two pages frmSchematicQX3 (control
// terminals) and frmSchematicQX3_2 (power side) of series 3: the wiring
// diagram with its buttons. Clicks change the shared schematic model or
// open the detailed editor; closing asks to save when something changed.
class SchematicWindow : public QWidget
{
    Q_OBJECT
public:
    SchematicWindow(AppContext &ctx, SchematicModel &model, SchematicPage page, SchematicWindowHooks hooks,
        QWidget *parent = nullptr);

    SchematicPage page() const { return m_page; }
    SchematicView *view() const { return m_view; }
    QPushButton *button(const QString &name) const;

    // A click on the drawing (also what the view reports).
    void click(const SchematicHit &hit);

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;

private:
    QPushButton *addButton(const char *name, const QString &caption);
    void elementClicked(const SchematicHit &hit);
    void captionClicked(int index, const CaptionLink *link);
    void openPicker(PickerKind kind, int input);
    void printPreview();
    void sync();
    QString location(const QString &handler) const;

    AppContext &m_ctx;
    SchematicModel &m_model;
    SchematicPage m_page;
    SchematicWindowHooks m_hooks;
    SchematicView *m_view;
    QList<QPushButton *> m_buttons;
    // The previews of this window's pages (both pages of series 3).
    std::array<QPointer<PrintPreviewWindow>, 2> m_previews;
};

} // namespace Tarvel
