#include "DriveValues.h"

#include "DriveStatusText.h"
#include "model/AppState.h"

#include <algorithm>

namespace Tarvel {

namespace {

void storeStatusBlock(AppState &state, int count, const DriveValues::ValueAt &value)
{
    state.DriveStatusWord = value(0);
    if (count > DriveValues::RevisionSlot)
        state.strDriveRev = QString::number(value(DriveValues::RevisionSlot));
    const DriveStatusText::Decoded decoded = DriveStatusText::decode(state.DriveStatusWord);
    state.DriveRunState = decoded.runState;
    state.DriveJogState = decoded.jogState;
    state.DriveDirection = decoded.direction;
    for (int i = 1; i < std::min(count, DriveValues::StatusBlockCount); ++i)
        state.StatusValues[i - 1] = value(i);
    // The PID screen charts the feedback from the status poll, so it stays
    // current without reads of its own.
    if (count > DriveValues::PidFeedbackSlot + 1)
        state.PidValues[DriveValues::PidFeedbackSlot] = state.StatusValues[DriveValues::PidFeedbackSlot];
}

} // namespace

bool DriveValues::storeItem(AppState &state, int registerNumber, qint16 value)
{
    constexpr int ModelRegister = Identity + 1;
    constexpr int FirstStatusValue = StatusBlock + 1; // ST00.02, StatusValues element 0
    constexpr int ModuleLinkStatus = FaultCode + 18; // ST00.18
    constexpr int ModuleLinkSlot = 16;
    const ValueAt one = [value](int) { return value; };
    if (registerNumber == ModelRegister) {
        state.strDriveModel = QString::number(value);
        return true;
    }
    if (registerNumber == ModuleLinkStatus) {
        state.StatusValues[ModuleLinkSlot] = value;
        return true;
    }
    // The PID screen's items come one by one too (P7.00 .. P7.10, P7.20 .. P7.22).
    if (registerNumber > PidBlock && registerNumber < PidBlock + PidBlockCount) {
        state.PidValues[registerNumber - PidBlock] = value;
        return true;
    }
    if (registerNumber > PidGainBlock && registerNumber < PidGainBlock + PidGainCount) {
        state.PidGains[registerNumber - PidGainBlock] = value;
        return true;
    }
    const int element = registerNumber - FirstStatusValue;
    if (element < 0 || element >= StatusBlockCount - 1)
        return store(state, registerNumber, 1, one);
    state.StatusValues[element] = value;
    if (element == RevisionSlot - 1)
        state.strDriveRev = QString::number(value);
    if (element == PidFeedbackSlot)
        state.PidValues[PidFeedbackSlot] = value;
    return true;
}

bool DriveValues::store(AppState &state, int startRegister, int count, const ValueAt &value)
{
    switch (startRegister) {
    case Identity:
        state.strDriveSeries = QString::number(value(0));
        if (count > 1)
            state.strDriveModel = QString::number(value(1));
        return true;
    case FaultCode:
        state.DriveFaultCode = value(0);
        return true;
    case StatusBlock:
        storeStatusBlock(state, count, value);
        return true;
    case PidBlock:
        for (int i = 0; i < std::min(count, PidBlockCount); ++i)
            state.PidValues[i] = value(i);
        return true;
    case PidSetpoint:
        state.PidValues[10] = value(0);
        return true;
    case PidGainBlock:
        for (int i = 0; i < std::min(count, PidGainCount); ++i)
            state.PidGains[i] = value(i);
        return true;
    default:
        return false;
    }
}

} // namespace Tarvel
