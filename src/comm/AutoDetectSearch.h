#pragma once

#include "PortMap.h"

#include <QObject>
#include <QStringList>

namespace Tarvel {

class AppContext;
class CommLink;
class ModbusMaster;

// The auto-detect dialog frmAutoDetect without its window: tries every
// node address with every framing and serial format on one port until a
// drive answers, and leaves the link open on the first that works. The
// waits process events, which is how cancel() reaches a running search.
class AutoDetectSearch : public QObject
{
    Q_OBJECT

public:
    static const QString Caption; // "  Auto-Detect Drive"
    static const QString NoPortText; // "Select Port"
    static constexpr int FirstNode = 1;
    static constexpr int LastNode = 254;
    static constexpr int FormatsPerFraming = 12;
    static constexpr int TimeOut = 3000;

    // The quick search: every node a drive can have (no broadcast), each
    // format with a time-out from its frame time.
    static constexpr int QuickLastNode = 247;
    static constexpr int FormatCount = 2 * FormatsPerFraming;

    struct Attempt
    {
        int asciiMode = 0;
        QString portSettings;
    };

    struct Found
    {
        int node = 0;
        int asciiMode = 0;
        QString portSettings;
    };

    explicit AutoDetectSearch(AppContext &ctx, QObject *parent = nullptr);

    // "Com 1" .. "Com 6", each with the device it leads to, then the
    // serial devices of this machine.
    QStringList ports() const;
    // -1 while the list shows "Select Port" or a device is chosen.
    int portIndex() const { return m_port; }
    // An entry of ports(): a Com name, or past them a device.
    void choosePort(int index);
    // A device path (the command line's --port) instead of a list entry.
    void setTarget(const QString &target) { m_target = target; }
    const QString &target() const { return m_target; }

    // The format tried at a position: ASCII (asciiMode 1) or RTU.
    static QString format(int asciiMode, int position);
    // " - ASCII Mode - " or " - RTU Mode - "
    static QString modeText(int asciiMode);

    // The quick search instead of the full one: the formats in quickOrder(),
    // each over nodes 1..247 on a port kept open, with quickTimeOut().
    void setQuick(bool quick) { m_quick = quick; }
    bool isQuick() const { return m_quick; }
    // The nodes the quick search tries (1..247 unless narrowed).
    void setNodeRange(int first, int last);
    int firstNode() const { return m_firstNode; }
    int lastNode() const { return m_lastNode; }
    // The settings drives most often keep first (RTU 19200 and 9600 even
    // parity, then the ASCII defaults), then the other formats of the table.
    static QList<Attempt> quickOrder();
    // A few frame times of the link test at that format plus the drive's
    // turnaround, in milliseconds.
    static int quickTimeOut(int asciiMode, const QString &portSettings);

    // cmdTryComPort_Click. True when a drive answered; found() tells where.
    bool detect();
    // cmdCancel: the running search stops before its next try.
    void cancel();
    // cmdClose: cancel, and the caller unloads the window.
    void close() { cancel(); }

    bool isSearching() const { return m_searching; }
    const Found &found() const { return m_found; }
    int tries() const { return m_tries; }
    // lstStatus, newest line first, and lblState.
    const QStringList &statusLines() const { return m_lines; }
    const QString &state() const { return m_state; }

Q_SIGNALS:
    void changed();
    // Detect without a port chosen: the window puts the focus on the list.
    void portFocusRequested();

private:
    void search();
    // False when cancelled.
    bool searchQuick();
    ModbusMaster &prepareLinkTest();
    enum class Try { Answered, NoAnswer, Cancelled };
    Try tryOne(int node, int asciiMode, const QString &settings);
    void report(const QString &line);
    void succeed(int node, int asciiMode, const QString &settings);
    void restoreWindow();

    AppContext &m_ctx;
    CommLink &m_link;
    QList<PortMap::Device> m_devices;
    int m_port = -1;
    QString m_target;
    bool m_cancel = false;
    bool m_searching = false;
    int m_tries = 0;
    bool m_quick = false;
    int m_firstNode = FirstNode;
    int m_lastNode = QuickLastNode;
    Found m_found;
    QStringList m_lines;
    QString m_state;
};

} // namespace Tarvel
