#include "ModbusTransport.h"

#include "AsciiTransport.h"
#include "RtuTransport.h"
#include "TcpTransport.h"

namespace Tarvel {

std::unique_ptr<ModbusTransport> ModbusTransport::create(Framing framing)
{
    switch (framing) {
    case Framing::Rtu:
        return std::make_unique<RtuTransport>();
    case Framing::Ascii:
        return std::make_unique<AsciiTransport>();
    case Framing::Tcp:
        return std::make_unique<TcpTransport>();
    }
    return nullptr;
}

std::chrono::microseconds ModbusTransport::frameSilence(const SerialFormat &) const
{
    return std::chrono::microseconds(0);
}

} // namespace Tarvel
