#pragma once

#include <QObject>
#include <QString>

class QLocalServer;

namespace Tarvel {

// How a second start of the program reaches the copy already running for
// the same program folder: it hands over the file named on its command
// line (or only asks to be shown) through a local socket named after the
// folder's canonical path, and ends.
class InstanceChannel : public QObject
{
    Q_OBJECT

public:
    explicit InstanceChannel(const QString &programDir, QObject *parent = nullptr);
    ~InstanceChannel() override;

    // The running copy: listens for later starts.
    bool listen();
    // A later start: hands `path` (empty: only bring the window forward)
    // to the running copy. False when none listens.
    bool send(const QString &path) const;

Q_SIGNALS:
    // A later start asked for the window; `path` is the file it names, if any.
    void activationRequested(const QString &path);

private:
    void readConnection();

    QString m_name;
    QLocalServer *m_server = nullptr;
};

} // namespace Tarvel
