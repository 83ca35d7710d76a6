#pragma once

#include <QVector>

namespace Tarvel {

class AppContext;
class ModbusMaster;

// One parameter of a download: where it goes and the register value.
struct ParameterWrite
{
    int index = 0; // parameter index, group * 100 + number
    int address = 0; // register number
    qint16 value = 0;
};

// The register writes of a download, one parameter group at a time, on the
// serial link. Single mode writes each row in its own download transaction
// (FunctionCode 7, RegisterCount 1). With the link's block transfer on, runs
// of consecutive register numbers go in one transaction each; a group whose
// block the drive refuses is finished one row at a time, and so is the rest
// of the download, so the drive ends up holding exactly what single writes
// would have left in it. One object serves one download.
class ParameterWrites
{
public:
    // Modbus 16 carries at most 123 registers in one request.
    static constexpr int MaxBlockRegisters = 123;

    explicit ParameterWrites(AppContext &ctx);

    // Writes the rows in order. Returns 0 when every write was taken, else
    // Mod1's ResultCode of the write that failed (nothing after it is sent).
    int writeGroup(const QVector<ParameterWrite> &rows);

    // The register value of a box value: value x multiplier, the multiplier
    // being 1 / resolution, each rounded to a whole number with a half going
    // to the even neighbour. False when a result does not fit a signed
    // 16-bit register (or the resolution is not a number that divides).
    static bool registerValue(double value, float resolution, qint16 *out);

    // Transactions started so far; for figures.
    int transactions() const { return m_transactions; }

private:
    int writeSingly(const ParameterWrite *rows, qsizetype count);
    int writeBlocks(const QVector<ParameterWrite> &rows);
    int transact(const ParameterWrite *first, int count);
    static int runLength(const ParameterWrite *rows, qsizetype available);

    ModbusMaster &m_mod1;
    bool m_blocks;
    int m_transactions = 0;
};

} // namespace Tarvel
