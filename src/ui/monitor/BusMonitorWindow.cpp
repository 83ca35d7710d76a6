#include "BusMonitorWindow.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QColor>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QIdentityProxyModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

// Failed transactions in red.
class FailedInRed : public QIdentityProxyModel
{
public:
    using QIdentityProxyModel::QIdentityProxyModel;

    QVariant data(const QModelIndex &index, int role) const override
    {
        if (role == Qt::ForegroundRole && QIdentityProxyModel::data(index, BusMonitor::FailedRole).toBool())
            return QColor(Qt::red);
        return QIdentityProxyModel::data(index, role);
    }
};

} // namespace

BusMonitorWindow::BusMonitorWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_monitor(ctx)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(BusMonitor::Caption);
    build();
}

void BusMonitorWindow::build()
{
    auto *layout = new QVBoxLayout(this);
    auto *bar = new QHBoxLayout;
    layout->addLayout(bar);
    m_pause = new QCheckBox(QStringLiteral("Pause"), this);
    bar->addWidget(m_pause);
    bar->addWidget(new QLabel(QStringLiteral("Filter:"), this));
    m_filter = new QLineEdit(this);
    m_filter->setPlaceholderText(QStringLiteral("P9.41, ST00.03 or a register number"));
    m_filter->setClearButtonEnabled(true);
    bar->addWidget(m_filter, 1);
    m_clear = new QPushButton(QStringLiteral("Clear"), this);
    bar->addWidget(m_clear);
    m_save = new QPushButton(QStringLiteral("Save As..."), this);
    bar->addWidget(m_save);

    auto *proxy = new FailedInRed(this);
    proxy->setSourceModel(&m_monitor);
    m_table = new QTableView(this);
    m_table->setModel(proxy);
    m_table->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_table->setWordWrap(false);
    m_table->verticalHeader()->hide();
    m_table->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    m_table->horizontalHeader()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_table->horizontalHeader()->setSectionResizeMode(BusMonitor::Values, QHeaderView::Stretch);
    layout->addWidget(m_table, 1);
    m_count = new QLabel(this);
    layout->addWidget(m_count);
    resize(fontMetrics().horizontalAdvance(QLatin1Char('x')) * 130, fontMetrics().height() * 30);

    connect(m_pause, &QCheckBox::toggled, &m_monitor, &BusMonitor::setPaused);
    connect(m_filter, &QLineEdit::editingFinished, this, &BusMonitorWindow::applyFilter);
    connect(m_clear, &QPushButton::clicked, &m_monitor, &BusMonitor::clear);
    connect(m_save, &QPushButton::clicked, &m_monitor, &BusMonitor::saveAs);
    // The newest transaction stays in view unless the user scrolled away.
    connect(&m_monitor, &QAbstractItemModel::rowsInserted, this, [this] {
        if (!m_table->verticalScrollBar()->isSliderDown())
            m_table->scrollToBottom();
        updateCount();
    });
    connect(&m_monitor, &QAbstractItemModel::modelReset, this, &BusMonitorWindow::updateCount);
    updateCount();
}

void BusMonitorWindow::applyFilter()
{
    // A name that is no parameter, status value or register stays in the box
    // in red until corrected; the table keeps the last filter.
    const bool known = m_monitor.setFilter(m_filter->text());
    m_filter->setStyleSheet(known ? QString() : QStringLiteral("color: red"));
}

void BusMonitorWindow::updateCount()
{
    m_count->setText(
        QStringLiteral("%1 of %2 transactions shown").arg(m_monitor.rowCount()).arg(m_monitor.transactions().size()));
}

void BusMonitorWindow::showEvent(QShowEvent *event)
{
    m_monitor.attach();
    QWidget::showEvent(event);
}

void BusMonitorWindow::closeEvent(QCloseEvent *event)
{
    m_monitor.detach();
    QWidget::closeEvent(event);
}

} // namespace Tarvel
