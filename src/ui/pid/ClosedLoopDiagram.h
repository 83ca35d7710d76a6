#pragma once

#include <QWidget>

class QSvgRenderer;

namespace Tarvel {

class AppContext;

// frmClosedLoopDiagram: the block diagram of the drive's speed loop with
// encoder feedback (group 10), drawn from a vector picture. Passive.
class ClosedLoopDiagram : public QWidget
{
    Q_OBJECT
public:
    static const QString Resource; // ":/pid/ClosedLoopDiagram.svg"

    explicit ClosedLoopDiagram(AppContext &ctx, QWidget *parent = nullptr);
    bool pictureLoaded() const;

private:
    QSvgRenderer *m_renderer;
};

} // namespace Tarvel
