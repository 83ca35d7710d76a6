#include "ChartCsv.h"

#include "SampleTable.h"
#include "base/AtomicTextFile.h"
#include "base/NumberText.h"

namespace Tarvel {

namespace {

QString cell(const QString &text)
{
    if (!text.contains(u',') && !text.contains(u'"'))
        return text;
    return u'"' + QString(text).replace(QStringLiteral("\""), QStringLiteral("\"\"")) + u'"';
}

} // namespace

QString ChartCsv::header(const QStringList &channelNames)
{
    QString line = QStringLiteral("Time (s)");
    for (const QString &name : channelNames)
        line += u',' + cell(name);
    return line;
}

QString ChartCsv::row(double firstMs, double timeMs, const std::vector<double> &values)
{
    QString line = QString::number((timeMs - firstMs) / 1000.0, 'f', 3);
    for (const double v : values) {
        line += u',';
        if (!SampleTable::isMissing(v))
            line += NumberText::single(v);
    }
    return line;
}

QStringList ChartCsv::lines(const SampleTable &table)
{
    QStringList out {header(table.channelNames())};
    if (table.isEmpty())
        return out;
    const double first = table.time(0);
    std::vector<double> values(size_t(table.channelCount()));
    for (int r = 0; r < table.size(); ++r) {
        for (int c = 0; c < table.channelCount(); ++c)
            values[size_t(c)] = table.value(r, c);
        out << row(first, table.time(r), values);
    }
    return out;
}

void ChartCsv::write(const SampleTable &table, const QString &path)
{
    AtomicTextFile::write(path, lines(table));
}

} // namespace Tarvel
