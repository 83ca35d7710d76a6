#include "ScreenHost.h"

#include <QMdiSubWindow>

namespace Tarvel {

void closeHost(QWidget *screen)
{
    if (auto *sub = qobject_cast<QMdiSubWindow *>(screen->parentWidget()))
        sub->close();
    else
        screen->close();
}

} // namespace Tarvel
