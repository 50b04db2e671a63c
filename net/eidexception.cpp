#include "net/eidexception.h"

#include "net/tidstack.h"

namespace qm {

EIdSocketError::EIdSocketError(int code)
    : EIdException("Socket Error # " + std::to_string(code) + "\r\n" + std::string(TIdStack::SocketErrorText(code)))
    , m_code(code)
{
}

EIdStackCanNotLoadWinsock::EIdStackCanNotLoadWinsock(std::string_view library)
    : EIdException(std::string(library) + " could not be loaded.")
{
}

EIdLineTooLong::EIdLineTooLong(std::int64_t limit)
    : EIdLimitExceeded("Line longer than " + std::to_string(limit) + " bytes.")
{
}

EIdHeaderTooLarge::EIdHeaderTooLarge(std::int64_t limit)
    : EIdLimitExceeded("Response header larger than " + std::to_string(limit) + " bytes.")
{
}

EIdBodyTooLarge::EIdBodyTooLarge(std::int64_t limit)
    : EIdLimitExceeded("Response body larger than " + std::to_string(limit) + " bytes.")
{
}

EIdMalformedResponse::EIdMalformedResponse(std::string_view reason)
    : EIdException("Malformed response: " + std::string(reason) + ".")
{
}

EIdInvalidURL::EIdInvalidURL(std::string_view reason) : EIdException("Invalid URL: " + std::string(reason) + ".") {}

} // namespace qm
