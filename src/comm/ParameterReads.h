#pragma once

#include <QHash>
#include <QString>
#include <QVector>
#include <QtGlobal>

namespace Tarvel {

class AppContext;

// Every per-row parameter read of an upload, of the read-only refresh and of
// the verification after a download goes through here, so the link's block
// setting applies to all three alike.
//
// Single mode is one UploadWhile per row. Block mode reads the planned
// addresses in runs of consecutive registers, one transaction per run.
class ParameterReads
{
public:
    static constexpr int MaxBlockRegisters = 125;

    explicit ParameterReads(AppContext &ctx);

    // The addresses the loop will ask for, in the order it will ask. With
    // the link's block transfer on, reading an address not yet held fetches
    // it together with the planned addresses that follow it without a gap
    // (consecutive register numbers, at most MaxBlockRegisters) in one
    // transaction; a drive that refuses such a block (exception answer) is
    // asked for the rest of that run one register at a time, and for no
    // block at all after exception 1. Link failures are not retried.
    void plan(const QVector<int> &addresses);

    // UploadWhile(address, 1, resolution, parameterText), or the value a
    // block read fetched.
    qint16 read(int address, float resolution = 0, const QString &parameterText = QString());

    // Mod1's ResultCode of the transaction that gave the last read() value
    // (0 when served from a block).
    int resultCode() const { return m_resultCode; }

    // Transactions this object started (single and block); for figures.
    int transactions() const { return m_transactions; }

private:
    bool blockMode() const;
    qint16 readSingle(int address, float resolution, const QString &parameterText);
    // The planned run that starts at `address`: its register count.
    int runLength(int address);
    // Reads `count` registers from `address` into m_held; Mod1's ResultCode.
    int readBlock(int address, int count);
    void setPollTimer(bool enabled);

    AppContext &m_ctx;
    QVector<int> m_plan;
    qsizetype m_cursor = 0; // where in the plan the next read is expected
    QHash<int, qint16> m_held; // block values not yet asked for
    bool m_blocksRefused = false;
    // The registers of the last refused run, read singly: [from, to).
    int m_singleFrom = 0;
    int m_singleTo = 0;
    int m_resultCode = -1;
    int m_transactions = 0;
};

} // namespace Tarvel
