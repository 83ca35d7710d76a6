#include "StatsWindow.h"

#include "ChildWindow.h"
#include "ui/common/AppIcons.h"

#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace Tarvel {

namespace {

constexpr int Columns = 2;

} // namespace

StatsWindow::StatsWindow(AppContext &ctx, QWidget *parent)
    : QWidget(parent)
    , m_info(ctx)
{
    setObjectName(QStringLiteral("frmStats"));
    setWindowTitle(QStringLiteral("  Current Configuration Information"));
    setWindowIcon(AppIcons::application());
    auto *groups = new QHBoxLayout;
    groups->addWidget(addGroup(QStringLiteral("Current Configuration In Tarvel Memory"), m_configuration));
    groups->addWidget(addGroup(QStringLiteral("Connected Drive"), m_drive));
    auto *updateButton = new QPushButton(QStringLiteral("Update"), this);
    updateButton->setObjectName(QStringLiteral("cmdUpdate"));
    auto *close = new QPushButton(QStringLiteral("Close"), this);
    close->setObjectName(QStringLiteral("cmdClose"));
    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(updateButton);
    buttons->addWidget(close);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addLayout(buttons);
    connect(updateButton, &QPushButton::clicked, this, [this] { updateLabels(); });
    connect(close, &QPushButton::clicked, this, [this] { closeChildWindow(this); });

    m_tmrStats.setObjectName(QStringLiteral("tmrStats"));
    m_tmrStats.setSingleShot(true);
    m_tmrStats.setInterval(ConfigInfo::StatsInterval);
    connect(&m_tmrStats, &QTimer::timeout, this, [this] { updateLabels(QStringLiteral("frmStats, tmrStats_Timer")); });
    m_tmrStats.start();
    updateLabels(QStringLiteral("frmStats, Form_Load"));
}

QWidget *StatsWindow::addGroup(const QString &title, QList<QLabel *> &values)
{
    auto *group = new QGroupBox(title, this);
    auto *grid = new QGridLayout(group);
    const QString captions[] = {
        QStringLiteral("Current Drive Series:"), QStringLiteral("Current Drive Model:"), QStringLiteral("Revision:")};
    for (int row = 0; row < 3; ++row) {
        grid->addWidget(new QLabel(captions[row], group), row, 0);
        for (int column = 0; column < Columns; ++column) {
            auto *value = new QLabel(QStringLiteral(" "), group);
            value->setObjectName(QStringLiteral("lblStats"));
            value->setMinimumWidth(column == 0 ? 90 : 130);
            grid->addWidget(value, row, column + 1);
            values << value;
        }
    }
    return group;
}

QLabel *StatsWindow::configurationLabel(int row, int column) const
{
    return m_configuration.value(row * Columns + column);
}

QLabel *StatsWindow::driveLabel(int row, int column) const
{
    return m_drive.value(row * Columns + column);
}

void StatsWindow::fill(const QList<QLabel *> &values, const ConfigInfo::Group &group)
{
    const QString codes[] = {group.series, group.model, group.rev};
    for (int row = 0; row < 3; ++row) {
        values.at(row * Columns)->setText(codes[row]);
        values.at(row * Columns + 1)->setText(group.names[size_t(row)]);
    }
}

void StatsWindow::updateLabels(const QString &location)
{
    const ConfigInfo::Labels labels = m_info.update(location);
    fill(m_configuration, labels.configuration);
    fill(m_drive, labels.drive);
}

} // namespace Tarvel
