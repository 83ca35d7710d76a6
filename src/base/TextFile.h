#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace Tarvel {

// Text files of the program: Latin-1, lines ended by CR LF; read with
// either line end.
class TextFile
{
public:
    static QByteArray encodeLines(const QStringList &lines);
    static QStringList decodeLines(const QByteArray &bytes);

    // The system's general date format: short date, a blank, long time.
    static QString generalDate(const QDateTime &when = QDateTime::currentDateTime());
};

} // namespace Tarvel
