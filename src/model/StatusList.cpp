#include "StatusList.h"

#include "base/TextFile.h"

namespace Tarvel {

const QString StatusList::DefaultCaption = QStringLiteral("  Status List");

StatusList::StatusList(QObject *parent)
    : QObject(parent)
    , m_caption(DefaultCaption)
{ }

void StatusList::addLine(const QString &line)
{
    m_lines.append(line);
    Q_EMIT lineAdded(line);
}

void StatusList::clear()
{
    m_lines.clear();
    Q_EMIT linesReset();
}

void StatusList::setLines(const QStringList &lines)
{
    m_lines = lines;
    Q_EMIT linesReset();
}

void StatusList::setCaption(const QString &caption)
{
    if (m_caption == caption)
        return;
    m_caption = caption;
    Q_EMIT captionChanged(caption);
}

void StatusList::setActivity(const QString &activity)
{
    setCaption(QStringLiteral("  Status List - ") + activity);
}

void StatusList::setStatus(const QString &status)
{
    if (m_status == status)
        return;
    m_status = status;
    Q_EMIT statusChanged(status);
}

void StatusList::setPosition(int position)
{
    position = qBound(0, position, MaxPosition);
    if (m_position == position)
        return;
    m_position = position;
    Q_EMIT positionChanged(position);
}

void StatusList::setBarVisible(bool visible)
{
    if (m_barVisible == visible)
        return;
    m_barVisible = visible;
    Q_EMIT barVisibleChanged(visible);
}

void StatusList::show()
{
    m_shown = true;
    Q_EMIT shownChanged(true);
}

void StatusList::hide()
{
    if (!m_shown)
        return;
    m_shown = false;
    Q_EMIT shownChanged(false);
}

QStringList StatusList::fileLines() const
{
    return QStringList {QStringLiteral("List File Saved ") + TextFile::generalDate()} + m_lines;
}

} // namespace Tarvel
