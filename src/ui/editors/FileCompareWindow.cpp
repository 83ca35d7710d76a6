#include "FileCompareWindow.h"

#include "app/CsvExport.h"
#include "model/AppContext.h"
#include "model/ParamText.h"
#include "ui/common/AppIcons.h"

#include <QDir>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

// Rows sort by parameter index, not by the text "P10.05".
constexpr int SortRole = Qt::UserRole + 1;

QStandardItem *cell(const QString &text, bool marked)
{
    auto *item = new QStandardItem(text);
    item->setEditable(false);
    item->setData(text, SortRole);
    if (marked) {
        item->setBackground(QColor(255, 224, 160));
        QFont font = item->font();
        font.setBold(true);
        item->setFont(font);
    }
    return item;
}

} // namespace

FileCompareWindow::FileCompareWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_model(new QStandardItemModel(this))
    , m_view(new QTableView(this))
    , m_title(new QLabel(this))
{
    setObjectName(QStringLiteral("frmCompareFile"));
    setWindowTitle(QStringLiteral("  Compare With File"));
    setWindowIcon(AppIcons::application());
    m_model->setSortRole(SortRole);
    m_view->setObjectName(QStringLiteral("tblDifferences"));
    m_view->setModel(m_model);
    m_view->setSortingEnabled(true);
    m_view->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_view->verticalHeader()->hide();
    m_view->horizontalHeader()->setStretchLastSection(true);
    auto *exportButton = new QPushButton(QStringLiteral("Export CSV..."), this);
    exportButton->setObjectName(QStringLiteral("cmdExport"));
    connect(exportButton, &QPushButton::clicked, this, &FileCompareWindow::exportCsv);
    auto *top = new QHBoxLayout;
    top->addWidget(m_title, 1);
    top->addWidget(exportButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addWidget(m_view, 1);
    resize(820, 480);
}

void FileCompareWindow::showDifferences(const QString &otherPath, const QVector<ParamDifference> &differences)
{
    m_model->clear();
    m_model->setHorizontalHeaderLabels({QStringLiteral("Parameter"), QStringLiteral("Name"),
        QStringLiteral("This file"), QStringLiteral("Other file")});
    m_title->setText(QStringLiteral("%1 parameter(s) differ from %2")
                         .arg(differences.size())
                         .arg(QDir::toNativeSeparators(otherPath)));
    for (const ParamDifference &d : differences) {
        using Kind = ParamDifference::Kind;
        const bool here = d.kind != Kind::OnlySecond;
        const bool there = d.kind != Kind::OnlyFirst;
        QStandardItem *number = cell(ParamText::parameterNumber(d.index), false);
        number->setData(d.index, SortRole);
        m_model->appendRow(
            {number, cell(d.name, false), cell(here ? d.first.trimmed() : QStringLiteral("(not in this drive)"), here),
                cell(there ? d.second.trimmed() : QStringLiteral("(not in that drive)"), there)});
    }
    m_view->resizeColumnsToContents();
    show();
}

void FileCompareWindow::exportCsv()
{
    CsvExport::exportAs(
        m_ctx, *m_model, QStringLiteral("Export Differences"), QStringLiteral("frmCompareFile, cmdExport_Click"));
}

} // namespace Tarvel
