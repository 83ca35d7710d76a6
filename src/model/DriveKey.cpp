#include "DriveKey.h"

namespace Tarvel {

QString DriveKey::quoted(const QString &code)
{
    QString text = code;
    return u'\'' + text.replace(u'\'', QLatin1String("''")) + u'\'';
}

bool DriveKey::isPlausible() const
{
    for (const QString *code : {&series, &model, &rev}) {
        if (code->isEmpty())
            return false;
        for (const QChar c : *code) {
            if (!c.isPrint())
                return false;
        }
    }
    return true;
}

QString DriveKey::fileLine() const
{
    return u'#' + series.rightJustified(2, u'0') + model + rev;
}

// Characters 2 and 3 are the series, 4 and 5 the model, the rest the
// revision; trailing blanks left by an editor are no part of a revision.
DriveKey DriveKey::fromFileLine(const QString &line)
{
    const QString text = line.trimmed();
    return {text.mid(1, 2), text.mid(3, 2), text.mid(5)};
}

} // namespace Tarvel
