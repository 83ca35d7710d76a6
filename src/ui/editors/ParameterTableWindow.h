#pragma once

#include <QWidget>

class QCheckBox;
class QLineEdit;
class QTableView;

namespace Tarvel {

class AppContext;
class EditHistory;
class EntryChecks;
class ParameterFilter;
class ParameterTableModel;

// View > All Parameters: every parameter of the configuration in one
// sortable table over the editor's fields, filtered by the editor's search
// and by "Changed only", values editable in place through the same entry
// checks, exportable to CSV.
class ParameterTableWindow : public QWidget
{
    Q_OBJECT
public:
    ParameterTableWindow(AppContext &ctx, EntryChecks &checks, EditHistory *history, QWidget *parent = nullptr);

    ParameterTableModel &model() { return *m_model; }
    ParameterFilter &filter() { return *m_filter; }
    QTableView *view() const { return m_view; }
    QLineEdit *searchField() const { return m_search; }
    QCheckBox *changedOnly() const { return m_changed; }
    // Takes the parameters of the configuration now loaded.
    void reload();
    // Asks for a file and writes the rows as shown.
    void exportCsv();

private:
    AppContext &m_ctx;
    ParameterTableModel *m_model;
    ParameterFilter *m_filter;
    QTableView *m_view;
    QLineEdit *m_search;
    QCheckBox *m_changed;
};

} // namespace Tarvel
