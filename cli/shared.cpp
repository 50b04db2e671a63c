// What the commands share: reading a source page, writing a caption on one line, naming a failure.
#include "cli/commands.h"

#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidstack.h"
#include "net/tiduri.h"
#include "platform/bytes.h"

#include <istream>
#include <ostream>

namespace qm::cli {
namespace {

// The message on one line: a NUL byte written as \0, and a line break as a blank (a socket error's
// message is "Socket Error # <code>", CR LF and the code's text, which is empty for the resolver's codes).
std::string oneLine(std::string_view message)
{
    std::string out;
    for (std::size_t i = 0; i < message.size(); ++i) {
        const bool lineBreak = message.substr(i, 2) == "\r\n";
        out += message[i] == '\0' ? "\\0" : lineBreak ? " " : message.substr(i, 1);
        i += lineBreak ? 1 : 0;
    }
    while (out.ends_with(' '))
        out.pop_back();
    return out;
}

// What went wrong, in the words of someone who has never heard of a socket, for the failures a
// download meets most; empty where the message says it well enough.
std::string plainWords(const EIdException& e, const TIdURI& where)
{
    const std::string server = where.Host + (where.Port.empty() ? "" : " port " + where.Port);
    if (const auto* socket = dynamic_cast<const EIdSocketError*>(&e)) {
        switch (socket->LastError()) {
        case WSAHOST_NOT_FOUND:
        case WSATRY_AGAIN:
        case WSANO_RECOVERY:
        case WSANO_DATA: return "host not found: " + where.Host;
        case WSAECONNREFUSED: return "no server is listening at " + server;
        case WSAETIMEDOUT: return "no answer from " + server;
        case WSAENETUNREACH:
        case WSAEHOSTUNREACH: return "no route to " + where.Host;
        case WSAECONNRESET: return "the server at " + server + " broke off the connection";
        default: return "network failure";
        }
    }
    if (dynamic_cast<const EIdProtocolReplyError*>(&e) != nullptr)
        return "the server at " + server + " answered with an error instead of the page";
    if (dynamic_cast<const EIdConnClosedGracefully*>(&e) != nullptr)
        return "the server at " + server + " closed the connection before the page was complete";
    if (dynamic_cast<const EIdConnectTimeout*>(&e) != nullptr)
        return "no answer from " + server;
    if (dynamic_cast<const EIdTimeout*>(&e) != nullptr)
        return "the server at " + server + " stopped sending";
    if (dynamic_cast<const EIdLimitExceeded*>(&e) != nullptr)
        return "the answer is larger than a source page can be";
    if (dynamic_cast<const EIdInterceptPropInvalid*>(&e) != nullptr)
        return "only http addresses can be fetched";
    return {};
}

} // namespace

bool readPage(std::istream& in, std::ostream& err, std::string_view command, std::string& page)
{
    if (readBounded(in, kMaxPageBytes, page))
        return true;
    err << command << ": the page is larger than " << (kMaxPageBytes >> 20) << " MiB\n";
    return false;
}

void writeCaption(std::ostream& out, std::string_view caption, std::string_view end)
{
    std::string line;
    line.reserve(caption.size() + end.size());
    for (const char c : caption) {
        switch (c) {
        case '\\': line += "\\\\"; break;
        case '\r': line += "\\r"; break;
        case '\n': line += "\\n"; break;
        default: line += c;
        }
    }
    line += end;
    out.write(line.data(), static_cast<std::streamsize>(line.size()));
}

void writeFailure(std::ostream& err, const std::exception_ptr& failure, std::string_view url)
{
    const TIdURI where = TIdURI::SplitUrl(url);
    std::string words;
    try {
        std::rethrow_exception(failure);
    } catch (const EIdException& e) {
        err << e.ClassName() << ": " << oneLine(e.Message());
        words = plainWords(e, where);
    } catch (const EConvertError& e) {
        err << e.ClassName() << ": " << oneLine(e.Message());
        words = "the server's answer is not valid HTTP";
    } catch (const std::exception& e) {
        // Nothing of the network family: the output failed, or out of memory.
        err << "Error: " << e.what();
    } catch (...) {
        err << "Error: unknown failure";
    }
    if (!words.empty())
        err << " (" << words << ')';
    err << " while fetching ";
    writeCaption(err, url); // a line break in a refused URL must not end the line early
}

} // namespace qm::cli
