#include "SetTrendXDialog.h"

#include "model/AppContext.h"
#include "monitor/ChartXSpan.h"
#include "ui/common/AppIcons.h"

#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace Tarvel {

SetTrendXDialog::SetTrendXDialog(AppContext &ctx, SetTrendX::ChartFor chartFor, QWidget *parent)
    : QDialog(parent)
    , m_ctx(ctx)
    , m_model(ctx, chartFor)
    , m_chartFor(chartFor)
    , m_minutes(new QLineEdit(this))
{
    setObjectName(QStringLiteral("frmSetTrendX"));
    setWindowTitle(QStringLiteral("  Trend X Axis Time"));
    setWindowIcon(AppIcons::application());
    m_minutes->setObjectName(QStringLiteral("txtXMinutes"));
    auto *label = new QLabel(QStringLiteral("Enter Desired X Axis Time Span In Minutes:"), this);
    label->setObjectName(QStringLiteral("lblX_Minutes"));
    auto *updateButton = new QPushButton(QStringLiteral("Update"), this);
    updateButton->setObjectName(QStringLiteral("cmdUpdate"));
    updateButton->setAutoDefault(false);
    auto *closeButton = new QPushButton(QStringLiteral("Close"), this);
    closeButton->setObjectName(QStringLiteral("cmdClose"));
    closeButton->setAutoDefault(false);
    auto *grid = new QGridLayout(this);
    grid->addWidget(label, 0, 0, 1, 2);
    grid->addWidget(m_minutes, 1, 0, 1, 2);
    grid->addWidget(updateButton, 2, 0);
    grid->addWidget(closeButton, 2, 1);
    connect(updateButton, &QPushButton::clicked, this, &SetTrendXDialog::update);
    connect(closeButton, &QPushButton::clicked, this, &QDialog::close);
}

void SetTrendXDialog::prepare(const QString &tag)
{
    m_model.setTag(tag);
    if (const ChartXSpan *chart = m_chartFor(tag))
        m_minutes->setText(SetTrendX::minutesText(*chart));
}

void SetTrendXDialog::update()
{
    switch (m_model.update(m_minutes->text())) {
    case SetTrendX::Outcome::NotNumeric:
        m_minutes->setText(m_model.restoredText());
        m_minutes->setFocus();
        break;
    case SetTrendX::Outcome::OutOfRange:
        m_minutes->setFocus();
        break;
    default:
        break;
    }
}

// Enter runs Update; Escape closes as any dialog's.
void SetTrendXDialog::keyPressEvent(QKeyEvent *event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        m_ctx.trap(QStringLiteral("frmSetTrendX, Form_KeyDown"), [&] { update(); });
        return;
    }
    QDialog::keyPressEvent(event);
}

} // namespace Tarvel
