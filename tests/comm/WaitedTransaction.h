#pragma once

#include "comm/ModbusMaster.h"

namespace Tarvel::Test {

// One transaction run as the program's waited reads and writes run it: set
// up, triggered and waited for; its result code.
inline int runTransaction(ModbusMaster &master, int function, int startRegister, int count = 1, int offset = 0)
{
    master.setStartOffset(offset);
    master.setFunctionCode(function);
    master.setStartRegister(startRegister);
    master.setRegisterCount(count);
    master.trigger();
    master.waitWhileBusy();
    return master.resultCode();
}

} // namespace Tarvel::Test
