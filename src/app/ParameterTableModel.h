#pragma once

#include <QAbstractTableModel>
#include <QSet>
#include <QSortFilterProxyModel>
#include <QVector>

namespace Tarvel {

class AppContext;
class EditHistory;
class EntryChecks;

// View > All Parameters: every parameter of the configuration's drive as
// one row over the editor's fields. Values are entered through the same
// entry checks and rules as in the editor (the same messages, the same
// refusals), each accepted entry one step of the edit history.
class ParameterTableModel : public QAbstractTableModel
{
    Q_OBJECT
public:
    enum Column { Number, Name, Value, Default, Minimum, Maximum, ReadOnly, Differs, ColumnCount };
    // Column Number: the parameter index; numeric columns: the number, for
    // sorting. Value of a choice list: its entries (EntriesRole).
    static constexpr int SortRole = Qt::UserRole;
    static constexpr int EntriesRole = Qt::UserRole + 1;

    ParameterTableModel(AppContext &ctx, EntryChecks &checks, EditHistory *history, QObject *parent = nullptr);

    // Takes the rows of the drive now loaded.
    void reload();
    int indexAt(int row) const { return m_rows.value(row, -1); }
    int rowOf(int index) const { return int(m_rows.indexOf(index)); }
    // Whether the value differs from the catalogue default.
    bool differsFromDefault(int index) const;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    // A value box takes the text as typed; a choice list the position of
    // its entry (a number, or the entry's text).
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;

private:
    void enter(int index, const QVariant &value);
    QVariant display(int index, int column) const;
    QVariant sortKey(int index, int column) const;
    void fieldChanged(int index);

    AppContext &m_ctx;
    EntryChecks &m_checks;
    EditHistory *m_history;
    QVector<int> m_rows;
};

// The table's filter: the parameters a search finds (by number or words,
// as the editor's search field), and those that differ from their default.
class ParameterFilter : public QSortFilterProxyModel
{
    Q_OBJECT
public:
    ParameterFilter(AppContext &ctx, QObject *parent = nullptr);
    void setSearch(const QString &text);
    void setChangedOnly(bool on);

protected:
    bool filterAcceptsRow(int row, const QModelIndex &parent) const override;

private:
    AppContext &m_ctx;
    QString m_search;
    QSet<int> m_found;
    bool m_changedOnly = false;
};

} // namespace Tarvel
