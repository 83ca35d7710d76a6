#pragma once

#include "files/FileDifferences.h"

#include <QWidget>

class QLabel;
class QStandardItemModel;
class QTableView;

namespace Tarvel {

class AppContext;

// File > Compare With File...: the differences between the configuration
// and another file in a sortable table (parameter, name, this file, the
// other file) with the differing cells marked, exportable to CSV.
class FileCompareWindow : public QWidget
{
    Q_OBJECT
public:
    FileCompareWindow(AppContext &ctx, QWidget *parent = nullptr);

    void showDifferences(const QString &otherPath, const QVector<ParamDifference> &differences);
    QStandardItemModel &model() { return *m_model; }
    QTableView *view() const { return m_view; }
    void exportCsv();

private:
    AppContext &m_ctx;
    QStandardItemModel *m_model;
    QTableView *m_view;
    QLabel *m_title;
};

} // namespace Tarvel
