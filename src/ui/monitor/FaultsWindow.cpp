#include "FaultsWindow.h"

#include "ChildWindow.h"
#include "model/AppContext.h"
#include "ui/common/AppIcons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

constexpr int FirstValueLabel = 11; // lblFaults(11) shows P6.31

} // namespace

FaultsWindow::FaultsWindow(AppContext &ctx, std::function<void()> showConnection, QWidget *parent)
    : QWidget(parent)
    , m_ctx(ctx)
    , m_history(ctx)
    , m_showConnection(std::move(showConnection))
{
    setObjectName(QStringLiteral("frmFaults"));
    setWindowTitle(QStringLiteral("  Fault Viewer"));
    setWindowIcon(AppIcons::application());
    build();
    // Form_Load reads at once; a question it asks comes after the window
    // is there to be seen behind it.
    QMetaObject::invokeMethod(this, &FaultsWindow::readFaults, Qt::QueuedConnection);
}

void FaultsWindow::build()
{
    auto *frame = new QGroupBox(this);
    frame->setObjectName(QStringLiteral("recFaults"));
    auto *grid = new QGridLayout(frame);
    const QStringList &captions = FaultHistory::captions();
    for (int i = 0; i < FaultHistory::RecordCount; ++i) {
        auto *caption = new QLabel(captions.at(i), frame);
        caption->setObjectName(QStringLiteral("lblFaults%1").arg(i));
        auto *value = new QLabel(frame);
        value->setObjectName(QStringLiteral("lblFaults%1").arg(FirstValueLabel + i));
        value->setMinimumWidth(280);
        QFont bold = value->font();
        bold.setBold(true);
        value->setFont(bold);
        grid->addWidget(caption, i, 0);
        grid->addWidget(value, i, 1);
        m_values << value;
    }
    m_read = new QPushButton(QStringLiteral("Read Fault Info From Drive"), this);
    m_read->setObjectName(QStringLiteral("cmdRead"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    close->setToolTip(QStringLiteral("Close This Window"));
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_read);
    buttons->addStretch(1);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(frame);
    layout->addLayout(buttons);
    connect(m_read, &QPushButton::clicked, this, &FaultsWindow::readFaults);
    connect(close, &QPushButton::clicked, this, [this] { closeChildWindow(this); });
}

void FaultsWindow::readFaults()
{
    m_ctx.trap(QStringLiteral("frmFaults, cmdRead_Click"), [&] {
        m_history.read(m_showConnection);
        for (int i = 0; i < FaultHistory::RecordCount; ++i)
            m_values.at(i)->setText(m_history.texts().at(i));
    });
}

} // namespace Tarvel
