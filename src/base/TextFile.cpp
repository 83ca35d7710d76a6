#include "TextFile.h"

#include <QLocale>
#include <QRegularExpression>

namespace Tarvel {

QByteArray TextFile::encodeLines(const QStringList &lines)
{
    QByteArray out;
    for (const QString &line : lines) {
        out += line.toLatin1();
        out += "\r\n";
    }
    return out;
}

QStringList TextFile::decodeLines(const QByteArray &bytes)
{
    QString text = QString::fromLatin1(bytes);
    text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    text.replace(u'\r', u'\n');
    QStringList lines = text.split(u'\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    return lines;
}

QString TextFile::generalDate(const QDateTime &when)
{
    const QLocale locale = QLocale::system();
    // The long time format may carry a time-zone name; the general date
    // form shows the wall-clock time only.
    QString timeFormat = locale.timeFormat(QLocale::LongFormat);
    timeFormat.remove(QRegularExpression(QStringLiteral("\\s*t+\\s*")));
    return locale.toString(when.date(), QLocale::ShortFormat) + u' '
        + locale.toString(when.time(), timeFormat.trimmed());
}

} // namespace Tarvel
