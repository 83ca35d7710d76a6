#pragma once

#include "BusTransaction.h"
#include "ModbusPdu.h"
#include "ModbusTransport.h"
#include "PortMap.h"
#include "SerialFormat.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QString>
#include <QTimer>

#include <array>
#include <memory>

class QIODevice;
class QSerialPort;
class QTcpSocket;

namespace Tarvel {

// The Modbus master `Mod1`: one drive link over a serial port (RTU or
// ASCII framing) or Modbus/TCP, driven the classic way: set the
// properties, call trigger(), and either wait while busy() or take the
// values in the done() signal. Everything runs on the one UI thread;
// the answer is collected from the port's signals.
//
// Register numbers count from 1: StartRegister N is protocol address N-1.
// FunctionCode: 2 reads RegisterCount holding registers (Modbus 03) into
// RegisterValue(StartOffset ..); 5 writes RegisterValue(StartOffset) into
// one register (Modbus 06); 7, the download write, writes RegisterCount
// registers from RegisterValue(StartOffset ..) with Modbus 16 (write
// multiple registers), so a batch of neighbouring registers can go in one
// frame; with RegisterCount 1 it stores one register just as 5 does.
//
// ResultCode (int, goes into log lines):
//
// | Code   | Meaning                                                        |
// |--------|----------------------------------------------------------------|
// |   -1   | not started: port not open, another transaction pending, node  |
// |        | address not 1..247 (no broadcast: every transaction waits for  |
// |        | an answer), register number or count out of range, unknown     |
// |        | FunctionCode                                                   |
// |    0   | success                                                        |
// | 1..255 | the slave refused with this Modbus exception code: 1 illegal   |
// |        | function, 2 illegal data address, 3 illegal data value,        |
// |        | 4 slave device failure, 5 acknowledge, 6 slave device busy,    |
// |        | 8 memory parity error, 10/11 gateway path/target failed        |
// |  300   | time-out: no answer within TimeOut ms                          |
// |  301   | checksum: CRC (RTU) or LRC (ASCII) of the answer is wrong      |
// |  302   | wrong node: the answer came from another node address          |
// |  303   | short frame: part of an answer came, the rest never did        |
// |  304   | garbled frame: not a valid frame (bad characters, impossible   |
// |        | length, byte count not fitting the request, line noise)        |
// |  305   | wrong function: the answer is for another function             |
// |  306   | echo mismatch: a write acknowledged with another address,      |
// |        | value or count than was written                                |
// |  307   | link lost: port closed or gone (device removed, connection     |
// |        | dropped) while the transaction was pending, or gone before it  |
// |  308   | write failure: the request could not be written to the port    |
//
// ResultCode keeps the result of the last transaction until the next one
// completes (a refused trigger sets -1 at once), so a caller that reads it
// right after trigger() sees the previous outcome. On a failure the
// register values are left as they were.
class ModbusMaster : public QObject
{
    Q_OBJECT

public:
    enum Result : int {
        NotStarted = -1,
        Success = 0,
        TimeOut = 300,
        ChecksumError = 301,
        WrongNode = 302,
        ShortFrame = 303,
        GarbledFrame = 304,
        WrongFunction = 305,
        EchoMismatch = 306,
        LinkLost = 307,
        WriteFailure = 308,
    };
    enum Function : int {
        ReadRegisters = 2,
        WriteRegister = 5,
        DownloadRegisters = 7,
    };
    static constexpr int ValueSlots = 256; // RegisterValue(0 .. 255)
    static constexpr int DefaultTimeOut = 3000;

    explicit ModbusMaster(QObject *parent = nullptr);
    ~ModbusMaster() override;

    // Link settings; they take effect when the port is opened (PortSettings
    // also on an open serial port, AsciiMode with the next transaction).
    QString nodeAddress() const { return m_nodeAddress; }
    void setNodeAddress(const QString &address) { m_nodeAddress = address; }
    int commPort() const { return m_commPort; }
    void setCommPort(int index); // 0 is "Com 1"; raises 380 outside 0..5
    int asciiMode() const { return m_asciiMode; }
    void setAsciiMode(int mode) { m_asciiMode = mode; }
    QString portSettings() const { return m_portSettings; }
    void setPortSettings(const QString &settings); // raises 380 when not "baud,parity,data,stop"

    // Where the port leads: a device path or "tcp://host:port". Empty (the
    // default) means the PortMap's target for CommPort.
    QString connectionTarget() const { return m_target; }
    void setConnectionTarget(const QString &target) { m_target = target; }
    void setPortMap(const PortMap &map) { m_portMap = map; }
    const PortMap &portMap() const { return m_portMap; }

    // Opening a port that is missing or held by another program raises
    // TrappedError 380; one this user may not open raises 70 with the device
    // path as description (PortAccess tells both); closing ends a pending transaction with LinkLost.
    // A port that goes away by itself (device removed, peer gone) ends a
    // pending transaction with LinkLost and stays open to its users until
    // they close it: every transaction on it fails with LinkLost, so the
    // loss is noticed by whoever triggers next, as a silent drive is.
    bool portOpen() const;
    void setPortOpen(bool open);

    // The transaction.
    int startOffset() const { return m_startOffset; }
    void setStartOffset(int offset) { m_startOffset = offset; }
    int registerCount() const { return m_registerCount; }
    void setRegisterCount(int count) { m_registerCount = count; }
    int startRegister() const { return m_startRegister; }
    void setStartRegister(int number) { m_startRegister = number; }
    int functionCode() const { return m_functionCode; }
    void setFunctionCode(int code) { m_functionCode = code; }
    int timeOut() const { return m_timeOut; }
    void setTimeOut(int milliseconds) { m_timeOut = milliseconds; }
    // RegisterValue(i), i in 0 .. ValueSlots-1; raises 381 outside.
    qint16 registerValue(int index) const;
    void setRegisterValue(int index, qint16 value);

    // Starts the transaction the properties describe; done() follows from
    // the event loop (never from inside this call) unless it was refused.
    void trigger();
    bool busy() const { return m_busy; }
    int resultCode() const { return m_result; }
    // Processes events until no transaction is pending.
    void waitWhileBusy();

    // The slave refused with a Modbus exception (1..255), as against a
    // failure of the link itself.
    static bool isException(int code) { return code >= 1 && code <= 255; }
    // A log text for a ResultCode ("time-out", "exception 2 (illegal data address)").
    static QString resultText(int code);

Q_SIGNALS:
    // A transaction completed, successfully or not: see resultCode().
    void done();
    // The same transaction for the bus monitor; built only while something
    // listens, so a closed monitor costs nothing.
    void transactionTraced(const Tarvel::BusTransaction &transaction);

private:
    void openSerial(const QString &path);
    void openTcp(const QString &target);
    void closePort();
    bool refuse(const QString &why);
    bool prepareRequest();
    void send();
    void onReadyRead();
    void scanAnswer();
    void dropSurplus();
    bool takeFrame(QByteArrayView frame);
    void onSilence();
    void onTimeOut();
    void onLinkError(const QString &what);
    void finish(int result);
    void finishLater(int result);
    void trace();
    std::chrono::microseconds silenceBeforeSend() const;

    // Settings.
    QString m_nodeAddress = QStringLiteral("1");
    int m_commPort = 0;
    int m_asciiMode = 0;
    QString m_portSettings = QStringLiteral("19200,E,8,1");
    SerialFormat m_format;
    QString m_target;
    PortMap m_portMap;
    int m_startOffset = 0;
    int m_registerCount = 1;
    int m_startRegister = 1;
    int m_functionCode = ReadRegisters;
    int m_timeOut = DefaultTimeOut;
    std::array<qint16, ValueSlots> m_values {};

    // The link.
    QSerialPort *m_serial = nullptr;
    QTcpSocket *m_tcp = nullptr;
    QIODevice *m_device = nullptr;
    bool m_pseudoTerminal = false;
    bool m_lost = false; // the device went away; the port is open until closed

    // The pending transaction.
    std::unique_ptr<ModbusTransport> m_transport;
    ModbusRequest m_request;
    quint8 m_unit = 1;
    quint16 m_transactionId = 0;
    QByteArray m_received;
    bool m_sawNoise = false;
    bool m_busy = false;
    int m_result = Success;
    QTimer m_timeOutTimer;
    QTimer m_silenceTimer; // end of a frame whose length the bytes do not tell
    QTimer m_sendTimer; // inter-frame silence before the next request
    QElapsedTimer m_lineQuietSince; // last byte seen on the line
    QElapsedTimer m_sentAt; // the pending request went out
    QTime m_sentTime;
};

} // namespace Tarvel
