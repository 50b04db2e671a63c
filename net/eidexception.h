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
    explicit EIdException(const std::string& message) : std::runtime_error(message), m_message(message) {}
    virtual const char* ClassName() const noexcept { return "EIdException"; }
    // The whole message; what() ends at a NUL byte that a server's status line may hold.
    const std::string& Message() const noexcept { return m_message; }

private:
    std::string m_message;
};

// Gives a class of the family its name.
#define QM_EID_CLASS(Name)                                                                                             \
public:                                                                                                                \
    const char* ClassName() const noexcept override { return #Name; }

// Class names cannot be parenthesised.
// NOLINTBEGIN(bugprone-macro-parentheses)
// A class whose message is given by whoever raises it (the family's inner nodes).
#define QM_EID_BRANCH(Name, Base)                                                                                      \
    class Name : public Base {                                                                                         \
        QM_EID_CLASS(Name)                                                                                             \
        using Base::Base;                                                                                              \
    };

// A class with one fixed message.
#define QM_EID_FIXED(Name, Base, Message)                                                                              \
    class Name final : public Base {                                                                                   \
        QM_EID_CLASS(Name)                                                                                             \
        Name() : Base(Message) {}                                                                                      \
    };

// A class whose message is made from one argument, arg.
#define QM_EID_FORMED(Name, Base, Param, Text)                                                                         \
    class Name final : public Base {                                                                                   \
        QM_EID_CLASS(Name)                                                                                             \
        explicit Name(Param arg) : Base(Text) {}                                                                       \
    };
// NOLINTEND(bugprone-macro-parentheses)

QM_EID_BRANCH(EIdSilentException, EIdException)
QM_EID_BRANCH(EIdStackError, EIdException)
QM_EID_BRANCH(EIdSocketHandleError, EIdException)
QM_EID_BRANCH(EIdTCPConnectionError, EIdException)
// A wait that reached one of the connection's time limits. The wait does not end as if the peer
// had closed: a stalled read must never pass for a complete one.
QM_EID_BRANCH(EIdTimeout, EIdTCPConnectionError)
// Input larger than the program is prepared to hold; what arrived up to the limit is kept.
QM_EID_BRANCH(EIdLimitExceeded, EIdTCPConnectionError)

QM_EID_FIXED(EIdAlreadyConnected, EIdException, "Already connected.")
QM_EID_FIXED(EIdInvalidSocket, EIdException, "Cannot allocate socket.")
QM_EID_FIXED(EIdConnClosedGracefully, EIdSilentException, "Connection Closed Gracefully.")
QM_EID_FIXED(EIdStackInitializationFailed, EIdStackError, "Winsock Initialization Error.")
QM_EID_FIXED(EIdCouldNotBindSocket, EIdSocketHandleError, "Could not bind socket. Address and port are already in use.")
QM_EID_FIXED(EIdInterceptPropInvalid, EIdTCPConnectionError, "Intercept value is not valid")
// The connect attempt took longer than the client's ConnectTimeout.
QM_EID_FIXED(EIdConnectTimeout, EIdTimeout, "Connect timed out.")
// No byte arrived within ReadTimeout.
QM_EID_FIXED(EIdReadTimeout, EIdTimeout, "Read timed out.")
// The peer took no byte of ours within ReadTimeout.
QM_EID_FIXED(EIdWriteTimeout, EIdTimeout, "Write timed out.")
// The whole exchange took longer than its limit, however steadily bytes were trickling in.
QM_EID_FIXED(EIdExchangeTimeout, EIdTimeout, "Exchange took too long.")

class EIdProtocolReplyError final : public EIdException {
    QM_EID_CLASS(EIdProtocolReplyError)
    EIdProtocolReplyError(int replyCode, const std::string& message) : EIdException(message), m_replyCode(replyCode) {}
    int ReplyErrorCode() const { return m_replyCode; }

private:
    int m_replyCode;
};

class EIdSocketError final : public EIdException {
    QM_EID_CLASS(EIdSocketError)
    // "Socket Error # <code>" CR LF and the code's text from the error table.
    explicit EIdSocketError(int code);
    int LastError() const { return m_code; }

private:
    int m_code;
};

QM_EID_FORMED(EIdStackCanNotLoadWinsock, EIdException, std::string_view, std::string(arg) + " could not be loaded.")
QM_EID_FORMED(EIdLineTooLong, EIdLimitExceeded, std::int64_t, "Line longer than " + std::to_string(arg) + " bytes.")
QM_EID_FORMED(EIdHeaderTooLarge, EIdLimitExceeded, std::int64_t,
              "Response header larger than " + std::to_string(arg) + " bytes.")
QM_EID_FORMED(EIdBodyTooLarge, EIdLimitExceeded, std::int64_t,
              "Response body larger than " + std::to_string(arg) + " bytes.")
// A response whose framing cannot be read (a negative length, a chunk size that is no number).
QM_EID_FORMED(EIdMalformedResponse, EIdException, std::string_view, "Malformed response: " + std::string(arg) + ".")
// A URL that must not be requested (a control byte in it, a protocol other than http), refused
// before any connection is made.
QM_EID_FORMED(EIdInvalidURL, EIdException, std::string_view, "Invalid URL: " + std::string(arg) + ".")

#undef QM_EID_FORMED
#undef QM_EID_FIXED
#undef QM_EID_BRANCH
#undef QM_EID_CLASS

} // namespace qm
