#include "TrappedError.h"

#include "ErrorCodes.h"

namespace Tarvel {

TrappedError::TrappedError(int number, QString description)
    : m_number(number)
    , m_description(std::move(description))
    , m_what(m_description.toLocal8Bit())
{ }

TrappedError::TrappedError(int number)
    : TrappedError(number, Err::description(number))
{ }

} // namespace Tarvel
