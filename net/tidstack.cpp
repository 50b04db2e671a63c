#include "net/tidstack.h"

#include "net/cuttoken.h"
#include "net/econverterror.h"
#include "net/eidexception.h"
#include "platform/bytes.h"

#include <algorithm>
#include <array>

namespace qm {
namespace {

// One part of a dotted quad: a decimal integer from 0 to 255.
std::optional<int> QuadPart(std::string_view part)
{
    const auto value = TryStrToInt(part);
    if (!value || *value < 0 || *value > 255)
        return std::nullopt;
    return *value;
}

// The four parts of a dotted text: three cuts at the first ".", the rest is the fourth part.
std::array<std::string, 4> SplitQuad(std::string_view text)
{
    std::string rest(text);
    std::array<std::string, 4> parts;
    for (int i = 0; i < 3; ++i)
        parts[i] = CutToken(rest, ".", true);
    parts[3] = rest;
    return parts;
}

} // namespace

std::string TIdStack::ResolveAddress(std::string_view host)
{
    if (equalsNoCase(host, "LOCALHOST"))
        return "127.0.0.1";
    if (IsDottedQuad(host))
        return std::string(host);
    return FormatDottedQuad(LookupHostName(host));
}

bool TIdStack::IsDottedQuad(std::string_view text)
{
    const auto parts = SplitQuad(text);
    return std::all_of(parts.begin(), parts.end(), [](const std::string& part) { return QuadPart(part).has_value(); });
}

std::uint32_t TIdStack::ParseDottedQuad(std::string_view text)
{
    std::array<unsigned char, 4> bytes{};
    const auto parts = SplitQuad(text);
    for (std::size_t i = 0; i < 4; ++i)
        bytes[i] = static_cast<unsigned char>(StrToInt(parts[i]));
    std::uint32_t address = 0;
    static_assert(sizeof address == sizeof bytes);
    std::copy(bytes.begin(), bytes.end(), reinterpret_cast<unsigned char*>(&address));
    return address;
}

std::string TIdStack::FormatDottedQuad(std::uint32_t address)
{
    const auto* bytes = reinterpret_cast<const unsigned char*>(&address);
    return std::to_string(bytes[0]) + '.' + std::to_string(bytes[1]) + '.' + std::to_string(bytes[2]) + '.'
           + std::to_string(bytes[3]);
}

bool TIdStack::CheckSocketResult(long result, std::initializer_list<int> expected) const
{
    if (result != kSocketError)
        return false;
    const int code = LastError();
    if (std::find(expected.begin(), expected.end(), code) != expected.end())
        return true;
    RaiseSocketFailure(code);
}

void TIdStack::RaiseSocketFailure(int code) { throw EIdSocketError(code); }

std::string_view TIdStack::SocketErrorText(int code)
{
    switch (code) {
    case 10004: return "Interrupted system call.";
    case 10009: return "Bad file number.";
    case 10013: return "Access denied.";
    case 10014: return "Bad address.";
    case 10022: return "Invalid argument.";
    case 10024: return "Too many open files.";
    case 10035: return "Operation would block. ";
    case 10036: return "Operation now in progress.";
    case 10037: return "Operation already in progress.";
    case 10038: return "Socket operation on non-socket.";
    case 10039: return "Destination address required.";
    case 10040: return "Message too long.";
    case 10041: return "Protocol wrong type for socket.";
    case 10042: return "Bad protocol option.";
    case 10043: return "Protocol not supported.";
    case 10044: return "Socket type not supported.";
    case 10045: return "Operation not supported on socket.";
    case 10046: return "Protocol family not supported.";
    case 10047: return "Address family not supported by protocol family.";
    case 10048: return "Address already in use.";
    case 10049: return "Cannot assign requested address.";
    case 10050: return "Network is down.";
    case 10051: return "Network is unreachable.";
    case 10052: return "Net dropped connection or reset.";
    case 10053: return "Software caused connection abort.";
    case 10054: return "Connection reset by peer.";
    case 10055: return "No buffer space available.";
    case 10056: return "Socket is already connected.";
    case 10057: return "Socket is not connected.";
    case 10058: return "Cannot send or receive after socket is closed.";
    case 10059: return "Too many references, cannot splice.";
    case 10060: return "Connection timed out.";
    case 10061: return "Connection refused.";
    case 10062: return "Too many levels of symbolic links.";
    case 10063: return "File name too long.";
    case 10064: return "Host is down.";
    case 10065: return "No route to host.";
    case 10066: return "Directory not empty";
    default: return "";
    }
}

} // namespace qm
