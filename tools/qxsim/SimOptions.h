#pragma once

#include "Misbehaviour.h"

#include "comm/SerialFormat.h"

#include <QHostAddress>
#include <QList>
#include <QString>
#include <QStringList>

#include <optional>

namespace Tarvel::Sim {

// A drive as the catalogue keys it: series "02", model "05", revision "120".
struct DriveKey
{
    QString series;
    QString model;
    QString rev;

    int seriesNumber() const { return series.toInt(); }
    int modelNumber() const { return model.toInt(); }
    int revNumber() const { return rev.toInt(); }
    // "SS,MM,RRR"; a one-digit series or model gets its leading zero.
    static std::optional<DriveKey> parse(const QString &text);
    QString toString() const { return series + u',' + model + u',' + rev; }
};

// Everything the command line sets.
class SimOptions
{
public:
    enum class Framing { Rtu, Ascii };
    enum class Parse { Ok, Help, Error };

    DriveKey drive;
    std::optional<DriveKey> identity; // reported at 2346/2347/8465 instead of `drive`
    int node = 1;
    QList<int> units; // TCP: one drive per unit id behind one address; {node} unless --units
    Framing framing = Framing::Rtu;
    SerialFormat settings;
    QString ptyLink;
    QHostAddress tcpHost;
    quint16 tcpPort = 0; // 0: any free port
    bool serveTcp = false;
    QString catalogue;
    bool wireTiming = false;
    int turnaroundMs = 0;
    int dropEvery = 0;
    int corruptEvery = 0;
    int stopAfter = 0;
    int slowEvery = 0;
    int slowMs = 3500;
    Misbehaviour misbehaviour;
    int answerPieces = 1; // each answer written in this many pieces, 5 ms apart
    QList<int> exceptionAt; // register numbers
    QList<int> ignoreWriteAt; // register numbers whose writes are acknowledged but not stored
    QList<int> faultHistory; // P6.31 first
    int activeFault = 0;
    struct FaultAt
    {
        double runSeconds;
        int code;
    };
    QList<FaultAt> faultsAt; // trips once the drive has run this long
    bool rangeCheck = true;
    bool refuseBlocks = false; // exception 01 for any request of more than one register
    bool verbose = false;

    bool usesTcp() const { return serveTcp; }
    DriveKey reportedIdentity() const { return identity.value_or(drive); }

    // The drive's own record of its link (P9.00 speed code, P9.01 protocol
    // code) for these settings; null when the drive has no code for them.
    std::optional<int> speedCode() const;
    std::optional<int> protocolCode() const;

    // Fills the options from the arguments (program name first). On Error,
    // `message` says what is wrong; on Help it holds the help text.
    Parse parse(const QStringList &arguments, QString *message);
};

} // namespace Tarvel::Sim
