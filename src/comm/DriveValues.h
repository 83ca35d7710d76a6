#pragma once

#include <QtGlobal>

#include <functional>

namespace Tarvel {

struct AppState;

// Where the answers of the drive's polling and PID reads go: the shared
// drive values, keyed by the first register of the read (Mod1_Done).
class DriveValues
{
public:
    // Register numbers: Pg.nn is g*256 + nn + 1, ST00.nn is 8449 + nn.
    static constexpr int FaultCode = 8449; // ST00.00
    static constexpr int StatusBlock = 8450; // ST00.01 .. ST00.16
    static constexpr int StatusBlockCount = 16;
    static constexpr int Identity = 2346; // P9.41 series, P9.42 model
    static constexpr int IdentityCount = 2;
    static constexpr int PidBlock = 1793; // P7.00 .. P7.10
    static constexpr int PidBlockCount = 11;
    static constexpr int PidSetpoint = 1803; // P7.10
    static constexpr int PidGainBlock = 1813; // P7.20 .. P7.22
    static constexpr int PidGainCount = 3;
    static constexpr int RevisionSlot = 15; // ST00.16 in the status block
    static constexpr int PidFeedbackSlot = 11; // ST00.13 among StatusValues

    using ValueAt = std::function<qint16(int index)>;

    // Stores the `count` values of a read that started at `startRegister`;
    // reads of other registers change nothing, and a shorter read than the
    // block stores only what it brought (the rest of the component's value
    // array is left from earlier transactions). Returns whether it stored.
    static bool store(AppState &state, int startRegister, int count, const ValueAt &value);

    // One value of the Ethernet route, which delivers items one by one:
    // stored where the serial polling's block would have put it (status
    // items ST00.02 to ST00.16 and the module's ST00.18 into StatusValues,
    // ST00.16 also as the revision, P9.42 as the model, the PID parameters
    // and gains one by one). Returns whether it stored.
    static bool storeItem(AppState &state, int registerNumber, qint16 value);
};

} // namespace Tarvel
