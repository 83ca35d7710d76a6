#pragma once

#include <QMdiSubWindow>
#include <QWidget>

namespace Tarvel {

// A window's own Close button: inside the main window's area it closes the
// frame around it (which asks the window first), else the window itself.
inline void closeChildWindow(QWidget *window)
{
    if (auto *frame = qobject_cast<QMdiSubWindow *>(window->parentWidget()))
        frame->close();
    else
        window->close();
}

} // namespace Tarvel
