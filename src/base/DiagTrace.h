#pragma once

#include <QObject>
#include <QStringList>

namespace Tarvel {

// The diagnostics trace: lines collected while tracing is on, for the trace
// viewer. The rules trace their decisions through WriteTrace.
class DiagTrace : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

    void write(const QString &text);
    const QStringList &lines() const { return m_lines; }
    void clear() { m_lines.clear(); }

Q_SIGNALS:
    void lineAdded(const QString &line);

private:
    QStringList m_lines;
};

} // namespace Tarvel
