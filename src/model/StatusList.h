#pragma once

#include <QObject>
#include <QStringList>

namespace Tarvel {

// The status list frmList: the running log of long operations, with its
// caption, status label and progress bar. The window renders this model.
class StatusList : public QObject
{
    Q_OBJECT
public:
    static constexpr int MaxPosition = 999;
    static const QString DefaultCaption; // "  Status List"

    explicit StatusList(QObject *parent = nullptr);

    const QStringList &lines() const { return m_lines; }
    void addLine(const QString &line);
    void clear();
    void setLines(const QStringList &lines);

    const QString &caption() const { return m_caption; }
    void setCaption(const QString &caption);
    // "  Status List - " + activity
    void setActivity(const QString &activity);
    const QString &status() const { return m_status; }
    void setStatus(const QString &status);

    int position() const { return m_position; }
    // Positions past the bar's end are shown as a full bar.
    void setPosition(int position);
    bool barVisible() const { return m_barVisible; }
    void setBarVisible(bool visible);

    bool isShown() const { return m_shown; }
    void show();
    void hide();

    // The .qxl file: "List File Saved " + date and time, then every line.
    QStringList fileLines() const;

Q_SIGNALS:
    void lineAdded(const QString &line);
    void linesReset();
    void captionChanged(const QString &caption);
    void statusChanged(const QString &status);
    void positionChanged(int position);
    void barVisibleChanged(bool visible);
    void shownChanged(bool shown);

private:
    QStringList m_lines;
    QString m_caption;
    QString m_status;
    int m_position = 0;
    bool m_barVisible = false;
    bool m_shown = false;
};

} // namespace Tarvel
