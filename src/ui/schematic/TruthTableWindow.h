#pragma once

#include <QWidget>

class QTableWidget;

namespace Tarvel {

class AppContext;

// frmTruthTable (three multi-speed bits) and frmTruthTable2 (four bits):
// which speed each combination of the multi-speed inputs selects. A fixed
// reference the detailed editor opens; modeless, without state.
class TruthTableWindow : public QWidget
{
    Q_OBJECT
public:
    TruthTableWindow(AppContext &ctx, int bits, QWidget *parent = nullptr);

    QTableWidget *table() const { return m_table; }

    // Row k of the matrix: the bits from the highest down ("Off"/"On") and
    // the speed it selects.
    static QStringList row(int bits, int k);

private:
    AppContext &m_ctx;
    QTableWidget *m_table;
};

} // namespace Tarvel
