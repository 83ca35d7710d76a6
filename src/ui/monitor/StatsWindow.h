#pragma once

#include "monitor/ConfigInfo.h"

#include <QTimer>
#include <QWidget>

class QLabel;

namespace Tarvel {

class AppContext;

// frmStats: the configuration in memory beside the connected drive. It is
// filled when it opens and once more three seconds later, when the polling
// has read the identity of a drive connected meanwhile.
class StatsWindow : public QWidget
{
    Q_OBJECT
public:
    explicit StatsWindow(AppContext &ctx, QWidget *parent = nullptr);

    // cmdUpdate_Click.
    void updateLabels(const QString &location = QStringLiteral("frmStats, cmdUpdate_Click"));
    // The value labels: row 0 series, 1 model, 2 revision; column 0 the
    // code, 1 the name (the catalogue check for the drive).
    QLabel *configurationLabel(int row, int column) const;
    QLabel *driveLabel(int row, int column) const;
    QTimer &statsTimer() { return m_tmrStats; }

private:
    QWidget *addGroup(const QString &title, QList<QLabel *> &values);
    static void fill(const QList<QLabel *> &values, const ConfigInfo::Group &group);

    ConfigInfo m_info;
    QList<QLabel *> m_configuration;
    QList<QLabel *> m_drive;
    QTimer m_tmrStats;
};

} // namespace Tarvel
