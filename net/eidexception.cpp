#include "net/eidexception.h"

#include "net/tidstack.h"

namespace qm {

EIdAlreadyConnected::EIdAlreadyConnected() : EIdException("Already connected.") {}

EIdInvalidSocket::EIdInvalidSocket() : EIdException("Cannot allocate socket.") {}

EIdSocketError::EIdSocketError(int code)
    : EIdException("Socket Error # " + std::to_string(code) + "\r\n" + std::string(TIdStack::SocketErrorText(code)))
    , m_code(code)
{
}

EIdStackCanNotLoadWinsock::EIdStackCanNotLoadWinsock(std::string_view library)
    : EIdException(std::string(library) + " could not be loaded.")
{
}

EIdConnClosedGracefully::EIdConnClosedGracefully() : EIdSilentException("Connection Closed Gracefully.") {}

EIdStackInitializationFailed::EIdStackInitializationFailed() : EIdStackError("Winsock Initialization Error.") {}

EIdStackSetSizeExceeded::EIdStackSetSizeExceeded() : EIdStackError("Set Size Exceeded.") {}

EIdCouldNotBindSocket::EIdCouldNotBindSocket()
    : EIdSocketHandleError("Could not bind socket. Address and port are already in use.")
{
}

EIdNotEnoughDataInBuffer::EIdNotEnoughDataInBuffer() : EIdTCPConnectionError("Not enough data in buffer.") {}

EIdInterceptPropInvalid::EIdInterceptPropInvalid() : EIdTCPConnectionError("Intercept value is not valid") {}

EIdConnectTimeout::EIdConnectTimeout() : EIdTimeout("Connect timed out.") {}

EIdReadTimeout::EIdReadTimeout() : EIdTimeout("Read timed out.") {}

EIdWriteTimeout::EIdWriteTimeout() : EIdTimeout("Write timed out.") {}

EIdExchangeTimeout::EIdExchangeTimeout() : EIdTimeout("Exchange took too long.") {}

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

} // namespace qm
