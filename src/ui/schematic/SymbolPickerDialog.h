#pragma once

#include "schematic/SymbolChoices.h"

#include <QDialog>
#include <QList>

class QToolButton;

namespace Tarvel {

class AppContext;
class SchematicModel;

// The toolbox dialogs frmSchematicOptions (input switch), frmSchematicOptions2
// (disconnect) and frmSchematicOptions3 (reactor): the choices side by side;
// a click puts the symbol onto the schematic at once, "Done" closes.
class SymbolPickerDialog : public QDialog
{
    Q_OBJECT
public:
    // input: n of imgDI(n) for the input picker (its Tag).
    SymbolPickerDialog(AppContext &ctx, SchematicModel &model, PickerKind kind, int input, QWidget *parent = nullptr);

    // imgDI(index), imgFuse(index), imgReactor(index)
    QToolButton *choice(int digit) const;

private:
    void choose(int digit);
    void syncChecked();
    QString location(const char *handler) const;

    AppContext &m_ctx;
    SchematicModel &m_model;
    PickerKind m_kind;
    int m_input;
    QList<QToolButton *> m_choices;
};

} // namespace Tarvel
