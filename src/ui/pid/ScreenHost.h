#pragma once

class QWidget;

namespace Tarvel {

// Closes a screen the way its window frame would: through the MDI child
// window that holds it, when there is one, so that the child goes too.
void closeHost(QWidget *screen);

} // namespace Tarvel
