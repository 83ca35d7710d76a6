#include "ParameterTableModel.h"

#include "EditHistory.h"
#include "base/NumberText.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "model/ParameterSearch.h"
#include "rules/EntryChecks.h"
#include "rules/ValueCheck.h"

namespace Tarvel {

namespace {

QString limitText(const QVariant &v)
{
    return v.isNull() ? QString() : NumberText::variant(v);
}

} // namespace

ParameterTableModel::ParameterTableModel(AppContext &ctx, EntryChecks &checks, EditHistory *history, QObject *parent)
    : QAbstractTableModel(parent)
    , m_ctx(ctx)
    , m_checks(checks)
    , m_history(history)
{
    connect(&ctx.editor, &EditorForm::changed, this, [this](FieldKind, int index) { fieldChanged(index); });
    reload();
}

void ParameterTableModel::reload()
{
    beginResetModel();
    m_rows.clear();
    const ParameterSearch search(m_ctx.editor, m_ctx.params);
    for (int i : EditorForm::fieldIndices()) {
        if (search.inDrive(i))
            m_rows << i;
    }
    endResetModel();
}

void ParameterTableModel::fieldChanged(int index)
{
    const int row = rowOf(index);
    if (row >= 0)
        Q_EMIT dataChanged(this->index(row, 0), this->index(row, ColumnCount - 1));
}

int ParameterTableModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : int(m_rows.size());
}

int ParameterTableModel::columnCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : ColumnCount;
}

QVariant ParameterTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    static const char *const titles[ColumnCount]
        = {"Parameter", "Name", "Value", "Default", "Minimum", "Maximum", "Read-only", "Differs from default"};
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ColumnCount)
        return {};
    return QString::fromLatin1(titles[section]);
}

bool ParameterTableModel::differsFromDefault(int index) const
{
    const QVariant &def = m_ctx.params.varDefault[size_t(index)];
    return !ValueCheck::holdsNothing(def) && ValueCheck::differs(NumberText::val(m_ctx.editor.txtP(index).text()), def);
}

QVariant ParameterTableModel::display(int i, int column) const
{
    const ParamTables &t = m_ctx.params;
    const EditorForm &form = m_ctx.editor;
    switch (column) {
    case Number:
        return ParamText::parameterNumber(i);
    case Name:
        return ParamText::name(form.lblP(i).caption());
    case Value:
        // A choice list shows its entry; a value box its text.
        if (t.blnListShown[size_t(i)] && form.hasCmbP(i) && !form.cmbP(i).text().isEmpty())
            return form.cmbP(i).text();
        return form.txtP(i).text().trimmed();
    case Default:
        return limitText(t.varDefault[size_t(i)]);
    case Minimum:
        return limitText(t.varMin[size_t(i)]);
    case Maximum:
        return limitText(t.varMax[size_t(i)]);
    case ReadOnly:
        return t.blnReadOnly[size_t(i)] ? QStringLiteral("Yes") : QString();
    case Differs:
        return differsFromDefault(i) ? QStringLiteral("Yes") : QString();
    default:
        return {};
    }
}

QVariant ParameterTableModel::sortKey(int i, int column) const
{
    switch (column) {
    case Number:
        return i;
    case Value:
    case Default:
    case Minimum:
    case Maximum: {
        const QString text = column == Value ? m_ctx.editor.txtP(i).text() : display(i, column).toString();
        return NumberText::isNumeric(text) ? QVariant(NumberText::val(text)) : QVariant(text);
    }
    default:
        return display(i, column);
    }
}

QVariant ParameterTableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= m_rows.size())
        return {};
    const int i = m_rows.at(index.row());
    switch (role) {
    case Qt::DisplayRole:
        return display(i, index.column());
    case Qt::EditRole:
        if (m_ctx.params.blnListShown[size_t(i)] && m_ctx.editor.hasCmbP(i))
            return m_ctx.editor.cmbP(i).listIndex();
        return m_ctx.editor.txtP(i).text();
    case SortRole:
        return sortKey(i, index.column());
    case EntriesRole:
        if (index.column() == Value && m_ctx.params.blnListShown[size_t(i)] && m_ctx.editor.hasCmbP(i))
            return m_ctx.editor.cmbP(i).list();
        return {};
    case Qt::ToolTipRole:
        return m_ctx.editor.txtP(i).toolTipText();
    default:
        return {};
    }
}

Qt::ItemFlags ParameterTableModel::flags(const QModelIndex &index) const
{
    Qt::ItemFlags f = QAbstractTableModel::flags(index);
    if (!index.isValid() || index.column() != Value)
        return f;
    const int i = m_rows.at(index.row());
    const ParamTables &t = m_ctx.params;
    const EditorForm &form = m_ctx.editor;
    // Editable where the editor's own field is.
    const bool usable = t.blnListShown[size_t(i)] && form.hasCmbP(i) ? form.cmbP(i).enabled() : form.txtP(i).enabled();
    if (usable && !t.blnReadOnly[size_t(i)])
        f |= Qt::ItemIsEditable;
    return f;
}

bool ParameterTableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || index.column() != Value || !(flags(index) & Qt::ItemIsEditable))
        return false;
    const int i = m_rows.at(index.row());
    if (m_history)
        m_history->record(i, [&] { enter(i, value); });
    else
        enter(i, value);
    return true;
}

void ParameterTableModel::enter(int i, const QVariant &value)
{
    if (!(m_ctx.params.blnListShown[size_t(i)] && m_ctx.editor.hasCmbP(i))) {
        m_checks.typeValue(i, value.toString());
        return;
    }
    bool isNumber = false;
    int position = value.toString().trimmed().toInt(&isNumber);
    if (!isNumber)
        position = int(m_ctx.editor.cmbP(i).list().indexOf(value.toString()));
    m_checks.chooseEntry(i, position);
}

// --- filter -----------------------------------------------------------------

ParameterFilter::ParameterFilter(AppContext &ctx, QObject *parent)
    : QSortFilterProxyModel(parent)
    , m_ctx(ctx)
{
    setSortRole(ParameterTableModel::SortRole);
}

void ParameterFilter::setSearch(const QString &text)
{
    m_search = text.trimmed();
    m_found.clear();
    for (int i : ParameterSearch(m_ctx.editor, m_ctx.params).find(m_search))
        m_found.insert(i);
    invalidateFilter();
}

void ParameterFilter::setChangedOnly(bool on)
{
    m_changedOnly = on;
    invalidateFilter();
}

bool ParameterFilter::filterAcceptsRow(int row, const QModelIndex &parent) const
{
    auto *table = qobject_cast<ParameterTableModel *>(sourceModel());
    if (!table || parent.isValid())
        return true;
    const int i = table->indexAt(row);
    if (!m_search.isEmpty() && !m_found.contains(i))
        return false;
    return !m_changedOnly || table->differsFromDefault(i);
}

} // namespace Tarvel
