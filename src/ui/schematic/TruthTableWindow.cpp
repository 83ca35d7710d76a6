#include "TruthTableWindow.h"

#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

namespace Tarvel {

TruthTableWindow::TruthTableWindow(AppContext &ctx, int bits, QWidget *parent)
    : QWidget(parent, Qt::Window)
    , m_ctx(ctx)
    , m_table(new QTableWidget((1 << bits), bits + 1, this))
{
    const QString name = bits == 3 ? QStringLiteral("frmTruthTable") : QStringLiteral("frmTruthTable2");
    setObjectName(name);
    setAttribute(Qt::WA_DeleteOnClose);
    m_ctx.trap(name + QStringLiteral(", Form_Load"), [&] {
        setWindowTitle(QStringLiteral("  Multi-Speed Bit Truth Matrix"));
        setWindowIcon(AppIcons::application());
        auto *layout = new QVBoxLayout(this);
        auto *intro
            = new QLabel(bits == 3 ? QStringLiteral("Setting P3.02, 3.03, 3.04, or 3.05 to use Multi-Speed bits "
                                                    "requires that you also set the functions for the "
                                                    "appropriate P5.0X parameters. Use the Truth Matrix below "
                                                    "as a guide.")
                                   : QStringLiteral("Setting P3.02, 3.03, 3.04, 3.05, or 3.06  to use "
                                                    "Multi-Speed bits requires that you also set the functions "
                                                    "for the appropriate P5.0X parameters. Use the Truth Matrix "
                                                    "below as a guide."),
                this);
        intro->setWordWrap(true);
        layout->addWidget(intro);
        auto *heads = new QLabel(QStringLiteral("Multi-Speed Bits"), this);
        heads->setStyleSheet(QStringLiteral("font-weight: bold"));
        layout->addWidget(heads);
        QStringList columns;
        for (int b = bits; b >= 1; --b)
            columns << QStringLiteral("Bit %1").arg(b);
        m_table->setHorizontalHeaderLabels(columns << QStringLiteral("Speed Selection"));
        m_table->verticalHeader()->hide();
        m_table->setEditTriggers(QAbstractItemView::NoEditTriggers);
        m_table->setSelectionMode(QAbstractItemView::NoSelection);
        m_table->setFocusPolicy(Qt::NoFocus);
        for (int k = 0; k < (1 << bits); ++k) {
            const QStringList cells = row(bits, k);
            for (int c = 0; c < cells.size(); ++c) {
                auto *item = new QTableWidgetItem(cells[c]);
                item->setTextAlignment(c < bits ? Qt::AlignCenter : Qt::AlignLeft | Qt::AlignVCenter);
                m_table->setItem(k, c, item);
            }
        }
        m_table->resizeColumnsToContents();
        m_table->horizontalHeader()->setStretchLastSection(true);
        layout->addWidget(m_table, 1);
        auto *close = new QPushButton(QStringLiteral("Close"), this);
        close->setObjectName(QStringLiteral("cmdClose"));
        connect(close, &QPushButton::clicked, this,
            [this, name] { m_ctx.trap(name + QStringLiteral(", cmdClose_Click"), [&] { this->close(); }); });
        layout->addWidget(close, 0, Qt::AlignRight);
        const int rowsHeight = m_table->verticalHeader()->defaultSectionSize() * ((1 << bits) + 1);
        resize(520, rowsHeight + 170);
    });
}

QStringList TruthTableWindow::row(int bits, int k)
{
    QStringList cells;
    for (int b = bits - 1; b >= 0; --b)
        cells << ((k >> b) & 1 ? QStringLiteral("On") : QStringLiteral("Off"));
    const QString lead = bits == 3 ? QString() : QStringLiteral(" ");
    cells << lead
            + (k == 0 ? QStringLiteral("P 4.00: Source of Frequency")
                      : QStringLiteral("P 5.%1 Multi-Speed %2").arg(k, 2, 10, QLatin1Char('0')).arg(k));
    return cells;
}

} // namespace Tarvel
