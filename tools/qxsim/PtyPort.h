#pragma once

#include "comm/SerialFormat.h"

#include <QObject>
#include <QSocketNotifier>

#include <memory>

namespace Tarvel::Sim {

// The drive's end of a pseudo-terminal. The master program opens the
// slave side through a symbolic link, as it would open a serial port; the
// simulator reads and writes the master side.
class PtyPort : public QObject
{
    Q_OBJECT
public:
    explicit PtyPort(QObject *parent = nullptr);
    ~PtyPort() override;

    // Creates the pseudo-terminal and the link to its slave side. A link
    // left behind by an earlier run is replaced; any other file there is
    // kept and the open fails. On failure `error` says why.
    bool open(const QString &link, QString *error);
    void close();

    QString linkPath() const { return m_link; }
    QString slavePath() const { return m_slavePath; }

    QByteArray readAll();
    bool write(const QByteArray &bytes);
    // The format the program on the other side set on its terminal (as far
    // as a pseudo-terminal keeps it, see PtyFormat).
    SerialFormat appliedFormat() const;

Q_SIGNALS:
    void readyRead();

private:
    int m_master = -1;
    // Held open by the simulator itself, so that the master side does not
    // fail with EIO whenever the program closes its end, and so that the
    // terminal's settings persist between its opens.
    int m_slave = -1;
    QString m_link;
    QString m_slavePath;
    std::unique_ptr<QSocketNotifier> m_notifier;
};

} // namespace Tarvel::Sim
