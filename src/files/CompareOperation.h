#pragma once

#include <QString>
#include <QVariant>

namespace Tarvel {

class AppContext;

// "Compare Current Config -> Defaults": lists in the status list every
// parameter of the current configuration whose value differs in number
// from its catalogue default. Changes nothing; the caller shows the list.
class CompareOperation
{
public:
    explicit CompareOperation(AppContext &ctx);

    // Compare: walks every index 0..1099, moving the progress bar and
    // pausing briefly at each so the list repaints.
    void compare();

    // "P1.03 - Value different from default. Value = 61 Default = 60"
    static QString resultLine(int index, const QString &value, const QVariant &defaultValue);

private:
    void compareIndex(int index);

    AppContext &m_ctx;
};

} // namespace Tarvel
