#pragma once

#include <QString>
#include <QStringList>

namespace Tarvel {

class AppContext;

// "Print Current Config": the current configuration as a plain text report
// (Configs/ConfigReport.txt, Latin-1, CR LF), replaced on every run and
// handed to the desktop's viewer for text files, from which the user
// prints it. Values line up at column 60.
class ConfigReport
{
public:
    static constexpr int ValueColumn = 60; // counted from 1

    explicit ConfigReport(AppContext &ctx);

    // ConfigReport: writes the report, then asks the desktop to open it.
    // Without a desktop (no GUI) the report is only written.
    void configReport();

    // Where the report is written, for a tool that prints or copies it.
    QString reportPath() const;

    // A caption and its value in the report's two columns: the value at
    // column 60, or on the next line at column 60 when the caption reaches
    // that far.
    static QStringList columnLines(const QString &caption, const QString &value);

private:
    QStringList reportLines() const;
    QStringList headerLines() const;
    QStringList parameterLines() const;
    QString shownValue(int index) const;

    AppContext &m_ctx;
};

} // namespace Tarvel
