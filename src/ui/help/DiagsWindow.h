#pragma once

#include <QWidget>

class QCheckBox;
class QListWidget;

namespace Tarvel {

class AppContext;

// frmDiags, the trace viewer for developers: the rules' trace lines while
// tracing is on. Close only hides it; the lines stay until Delete.
class DiagsWindow : public QWidget
{
    Q_OBJECT
public:
    explicit DiagsWindow(AppContext &ctx, QWidget *parent = nullptr);

    QListWidget *list() const { return m_list; }
    QCheckBox *traceBox() const { return m_trace; }

    // Form_Load's place: beside the lower left corner of `main`.
    void placeBy(const QWidget *main);

private:
    AppContext &m_ctx;
    QListWidget *m_list;
    QCheckBox *m_trace;
};

} // namespace Tarvel
