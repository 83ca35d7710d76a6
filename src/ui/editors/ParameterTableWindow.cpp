#include "ParameterTableWindow.h"

#include "app/CsvExport.h"
#include "app/ParameterTableModel.h"
#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QCheckBox>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QPushButton>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

// A choice list is edited with its entries, a value box as text; either is
// handed to the model, which enters it through the checks.
class ValueDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override
    {
        const QStringList entries = index.data(ParameterTableModel::EntriesRole).toStringList();
        if (entries.isEmpty())
            return QStyledItemDelegate::createEditor(parent, option, index);
        auto *list = new QComboBox(parent);
        list->addItems(entries);
        return list;
    }
    void setEditorData(QWidget *editor, const QModelIndex &index) const override
    {
        if (auto *list = qobject_cast<QComboBox *>(editor))
            list->setCurrentIndex(index.data(Qt::EditRole).toInt());
        else
            QStyledItemDelegate::setEditorData(editor, index);
    }
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override
    {
        if (auto *list = qobject_cast<QComboBox *>(editor))
            model->setData(index, list->currentIndex());
        else
            QStyledItemDelegate::setModelData(editor, model, index);
    }
};

} // namespace

ParameterTableWindow::ParameterTableWindow(AppContext &ctx, EntryChecks &checks, EditHistory *history, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_model(new ParameterTableModel(ctx, checks, history, this))
    , m_filter(new ParameterFilter(ctx, this))
    , m_view(new QTableView(this))
    , m_search(new QLineEdit(this))
    , m_changed(new QCheckBox(QStringLiteral("Changed only"), this))
{
    setObjectName(QStringLiteral("frmAllParameters"));
    setWindowTitle(QStringLiteral("  All Parameters"));
    setWindowIcon(AppIcons::application());
    m_filter->setSourceModel(m_model);
    m_view->setObjectName(QStringLiteral("tblParameters"));
    m_view->setModel(m_filter);
    m_view->setSortingEnabled(true);
    m_view->sortByColumn(ParameterTableModel::Number, Qt::AscendingOrder);
    m_view->setItemDelegateForColumn(ParameterTableModel::Value, new ValueDelegate(m_view));
    m_view->setEditTriggers(
        QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed | QAbstractItemView::AnyKeyPressed);
    m_view->horizontalHeader()->setSectionResizeMode(ParameterTableModel::Name, QHeaderView::Stretch);
    m_view->verticalHeader()->hide();
    m_search->setObjectName(QStringLiteral("txtFilter"));
    m_search->setPlaceholderText(QStringLiteral("Parameter number or name"));
    m_search->setClearButtonEnabled(true);
    m_changed->setObjectName(QStringLiteral("chkChangedOnly"));
    auto *exportButton = new QPushButton(QStringLiteral("Export CSV..."), this);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    connect(m_search, &QLineEdit::textChanged, m_filter, &ParameterFilter::setSearch);
    connect(m_changed, &QCheckBox::toggled, m_filter, &ParameterFilter::setChangedOnly);
    connect(exportButton, &QPushButton::clicked, this, &ParameterTableWindow::exportCsv);

    auto *top = new QHBoxLayout;
    top->addWidget(m_search, 1);
    top->addWidget(m_changed);
    top->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    resize(900, 560);
}

void ParameterTableWindow::reload()
{
    m_model->reload();
    m_filter->setSearch(m_search->text());
    m_view->resizeColumnsToContents();
}

void ParameterTableWindow::exportCsv()
{
    CsvExport::exportAs(
        m_ctx, *m_filter, QStringLiteral("Export Parameters"), QStringLiteral("frmAllParameters, cmdExport_Click"));
}

} // namespace Tarvel
