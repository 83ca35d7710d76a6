#pragma once

#include <QIcon>
#include <QPixmap>

namespace Tarvel {

// The program's pictures, drawn in code so that no image files need to be
// shipped or found at run time.
class AppIcons
{
public:
    static QIcon application();
    static QPixmap connected();
    static QPixmap notConnected();
    static QPixmap splash(const QString &version);
};

} // namespace Tarvel
