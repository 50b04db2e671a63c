#pragma once

// The exception family of the network layer. Every failure of a fetch is one of these, each with a
// fixed message text; EIdSocketError carries the Windows Sockets error code and
// EIdProtocolReplyError the HTTP status code besides the message. ClassName() gives the class's own
// name, so that a front end can say which failure it was.

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm {

class EIdException : public std::runtime_error {
public:
    explicit EIdException(const std::string& message) : std::runtime_error(message) {}
    virtual const char* ClassName() const noexcept { return "EIdException"; }
};

// Gives a class of the family its name.
#define QM_EID_CLASS(Name)                                                                          \
public:                                                                                             \
    const char* ClassName() const noexcept override { return #Name; }

// --- Direct descendants of EIdException ------------------------------------------------------

class EIdAlreadyConnected final : public EIdException {
    QM_EID_CLASS(EIdAlreadyConnected)
    EIdAlreadyConnected();
};

class EIdSilentException : public EIdException {
    QM_EID_CLASS(EIdSilentException)
    using EIdException::EIdException;
};

class EIdProtocolReplyError final : public EIdException {
    QM_EID_CLASS(EIdProtocolReplyError)
    EIdProtocolReplyError(int replyCode, const std::string& message)
        : EIdException(message), m_replyCode(replyCode) {}
    int ReplyErrorCode() const { return m_replyCode; }

private:
    int m_replyCode;
};

class EIdInvalidSocket final : public EIdException {
    QM_EID_CLASS(EIdInvalidSocket)
    EIdInvalidSocket();
};

class EIdSocketError final : public EIdException {
    QM_EID_CLASS(EIdSocketError)
    // "Socket Error # <code>" CR LF and the code's text from the error table.
    explicit EIdSocketError(int code);
    int LastError() const { return m_code; }

private:
    int m_code;
};

class EIdStackCanNotLoadWinsock final : public EIdException {
    QM_EID_CLASS(EIdStackCanNotLoadWinsock)
    // "<library> could not be loaded."
    explicit EIdStackCanNotLoadWinsock(std::string_view library);
};

class EIdStackError : public EIdException {
    QM_EID_CLASS(EIdStackError)
    using EIdException::EIdException;
};

class EIdSocketHandleError : public EIdException {
    QM_EID_CLASS(EIdSocketHandleError)
    using EIdException::EIdException;
};

class EIdTCPConnectionError : public EIdException {
    QM_EID_CLASS(EIdTCPConnectionError)
    using EIdException::EIdException;
};

// --- Below EIdSilentException, EIdStackError, EIdSocketHandleError ----------------------------

class EIdConnClosedGracefully final : public EIdSilentException {
    QM_EID_CLASS(EIdConnClosedGracefully)
    EIdConnClosedGracefully();
};

class EIdStackInitializationFailed final : public EIdStackError {
    QM_EID_CLASS(EIdStackInitializationFailed)
    EIdStackInitializationFailed();
};

class EIdStackSetSizeExceeded final : public EIdStackError {
    QM_EID_CLASS(EIdStackSetSizeExceeded)
    EIdStackSetSizeExceeded();
};

class EIdCouldNotBindSocket final : public EIdSocketHandleError {
    QM_EID_CLASS(EIdCouldNotBindSocket)
    EIdCouldNotBindSocket();
};

// --- Below EIdTCPConnectionError -------------------------------------------------------------

class EIdNotEnoughDataInBuffer final : public EIdTCPConnectionError {
    QM_EID_CLASS(EIdNotEnoughDataInBuffer)
    EIdNotEnoughDataInBuffer();
};

class EIdInterceptPropInvalid final : public EIdTCPConnectionError {
    QM_EID_CLASS(EIdInterceptPropInvalid)
    EIdInterceptPropInvalid();
};

// A wait that reached one of the connection's time limits. The wait does not end as if the peer
// had closed: a stalled read must never pass for a complete one.
class EIdTimeout : public EIdTCPConnectionError {
    QM_EID_CLASS(EIdTimeout)
    using EIdTCPConnectionError::EIdTCPConnectionError;
};

// The connect attempt took longer than the client's ConnectTimeout.
class EIdConnectTimeout final : public EIdTimeout {
    QM_EID_CLASS(EIdConnectTimeout)
    EIdConnectTimeout();
};

// No byte arrived within ReadTimeout.
class EIdReadTimeout final : public EIdTimeout {
    QM_EID_CLASS(EIdReadTimeout)
    EIdReadTimeout();
};

// The peer took no byte of ours within ReadTimeout.
class EIdWriteTimeout final : public EIdTimeout {
    QM_EID_CLASS(EIdWriteTimeout)
    EIdWriteTimeout();
};

// The whole exchange took longer than its limit, however steadily bytes were trickling in.
class EIdExchangeTimeout final : public EIdTimeout {
    QM_EID_CLASS(EIdExchangeTimeout)
    EIdExchangeTimeout();
};

// Input larger than the program is prepared to hold; what arrived up to the limit is kept.
class EIdLimitExceeded : public EIdTCPConnectionError {
    QM_EID_CLASS(EIdLimitExceeded)
    using EIdTCPConnectionError::EIdTCPConnectionError;
};

class EIdLineTooLong final : public EIdLimitExceeded {
    QM_EID_CLASS(EIdLineTooLong)
    explicit EIdLineTooLong(std::int64_t limit);
};

class EIdHeaderTooLarge final : public EIdLimitExceeded {
    QM_EID_CLASS(EIdHeaderTooLarge)
    explicit EIdHeaderTooLarge(std::int64_t limit);
};

class EIdBodyTooLarge final : public EIdLimitExceeded {
    QM_EID_CLASS(EIdBodyTooLarge)
    explicit EIdBodyTooLarge(std::int64_t limit);
};

// A response whose framing cannot be read (a negative length, a chunk size that is no number).
class EIdMalformedResponse final : public EIdException {
    QM_EID_CLASS(EIdMalformedResponse)
    // "Malformed response: <reason>."
    explicit EIdMalformedResponse(std::string_view reason);
};

#undef QM_EID_CLASS

} // namespace qm
