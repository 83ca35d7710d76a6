#pragma once

#include "BusTransaction.h"

#include <QAbstractTableModel>
#include <QList>
#include <QMetaObject>
#include <QString>
#include <QStringList>

#include <optional>

namespace Tarvel {

class AppContext;

// The live bus monitor without its window: every Modbus transaction of the
// drive link as it completes, with the registers named and scaled as the
// parameters and status values they are, the result and the round-trip
// time. A table model for the window; the same lines for `tarvel-cli
// --trace`; pause, clear, a filter by parameter, and saving as text or CSV.
// It listens to Mod1 (and the Ethernet route's devices) only while
// attached, so a closed monitor costs nothing on the serial link.
class BusMonitor : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column { Time, Node, Function, Register, Count, Values, Result, RoundTrip, ColumnCount };
    // data() of any cell: whether the transaction failed (the window marks it).
    static constexpr int FailedRole = Qt::UserRole;
    // The oldest transactions go beyond this many.
    static constexpr int Capacity = 20000;
    static const QString Caption; // "  Bus Monitor"

    explicit BusMonitor(AppContext &ctx, QObject *parent = nullptr);
    ~BusMonitor() override;

    void attach();
    void detach();
    bool isAttached() const { return bool(m_connection); }

    // Paused: transactions go by unrecorded.
    void setPaused(bool paused) { m_paused = paused; }
    bool isPaused() const { return m_paused; }
    void clear();
    // Shows only the transactions that read or write the named parameter or
    // status value ("P9.41", "ST00.03") or register number; empty shows
    // all. False (filter unchanged) for a name that is none of these.
    bool setFilter(const QString &name);
    const QString &filter() const { return m_filterText; }

    // Recorded transactions, oldest first, and those the filter shows.
    const QList<BusTransaction> &transactions() const { return m_all; }
    const BusTransaction &shown(int row) const { return m_all.at(m_shown.at(row)); }

    // "10:21:03.114  node 1  read 03  reg 2346 n 2  P9.41=2 P9.42=5  ok  9.8 ms";
    // a failed one reads "FAILED <what>" in place of "ok".
    QString line(const BusTransaction &t) const;
    QString decodedValues(const BusTransaction &t) const;
    // Register 2346 is "P9.41", 8451 "ST00.02"; others "R<number>".
    static QString registerName(int registerNumber);
    static std::optional<int> registerOf(const QString &name);
    static QString functionText(int function);
    static QString resultText(const BusTransaction &t);

    // What the filter shows, as text lines or CSV rows with a header.
    QStringList textLines() const;
    QStringList csvLines() const;
    // Save As: asks for the file; ".csv" saves CSV, any other name text.
    // Written atomically, Latin-1 with CR LF. False when cancelled.
    bool saveAs();

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

Q_SIGNALS:
    // A transaction was recorded (not while paused).
    void recorded(const Tarvel::BusTransaction &transaction);

private:
    void record(const BusTransaction &t);
    bool passes(const BusTransaction &t) const;
    void refilter();
    QString cell(const BusTransaction &t, int column) const;
    QString valueText(int registerNumber, qint16 value) const;

    AppContext &m_ctx;
    QMetaObject::Connection m_connection;
    QMetaObject::Connection m_routeConnection;
    QList<BusTransaction> m_all;
    QList<int> m_shown; // positions in m_all
    std::optional<int> m_filterRegister;
    QString m_filterText;
    bool m_paused = false;
};

} // namespace Tarvel
