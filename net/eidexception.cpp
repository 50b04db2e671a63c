#include "net/eidexception.h"

#include "net/tidstack.h"

namespace qm {

EIdSocketError::EIdSocketError(int code)
    : EIdException("Socket Error # " + std::to_string(code) + "\r\n" + std::string(TIdStack::SocketErrorText(code)))
    , m_code(code)
{
}

} // namespace qm
