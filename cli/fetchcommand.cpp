// quillmark-cli fetch URL: one GET of URL, the body to standard output exactly as it came, each
// portion as soon as it arrives: nothing is held, whatever the body's size. A failure is named on
// standard error in one line, with the address tried (exit status 1); the body bytes that arrived
// before it are out already.
#include "cli/commands.h"

#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tidstack.h"
#include "net/tiduri.h"
#include "net/tstream.h"

#include <exception>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <string>
#include <string_view>

namespace qm::cli {
namespace {

// A sink that passes every byte on to an output at once and keeps none. It only goes forward: its
// size and position are the bytes written so far, and it cannot be read back.
class OutputSink final : public TStream {
public:
    explicit OutputSink(std::ostream& out) : m_out(out) {}

    std::int64_t Size() const override { return m_written; }
    std::int64_t Position() const override { return m_written; }
    void SetPosition(std::int64_t position) override { StayAt(position); }
    void SetSize(std::int64_t size) override { StayAt(size); }
    std::size_t Read(char*, std::size_t) override { return 0; }
    void Write(const char* data, std::size_t size) override
    {
        m_out.write(data, static_cast<std::streamsize>(size));
        m_out.flush();
        if (!m_out)
            throw std::runtime_error("cannot write to standard output");
        m_written += static_cast<std::int64_t>(size);
    }

private:
    void StayAt(std::int64_t offset) const
    {
        if (offset != m_written)
            throw std::logic_error("an output cannot go back or be cut");
    }

    std::ostream& m_out;
    std::int64_t m_written = 0;
};
// The message whole, a NUL byte in it written as \0.
std::string escapedNul(std::string_view message)
{
    std::string out;
    out.reserve(message.size());
    for (const char c : message) {
        if (c == '\0')
            out.append("\\0");
        else
            out.push_back(c);
    }
    return out;
}

// A socket error's message is "Socket Error # <code>" CR LF and the code's text, which is empty for
// the resolver's codes: on one line, a blank stands for the line break.
std::string oneLine(std::string message)
{
    for (std::size_t at = message.find("\r\n"); at != std::string::npos; at = message.find("\r\n", at))
        message.replace(at, 2, " ");
    while (!message.empty() && message.back() == ' ')
        message.pop_back();
    return message;
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
        case 10061: return "no server is listening at " + server;
        case 10060: return "no answer from " + server;
        case 10051:
        case 10065: return "no route to " + where.Host;
        case 10054: return "the server at " + server + " broke off the connection";
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

void writeFailure(std::ostream& err, const std::exception_ptr& failure, std::string_view url)
{
    const TIdURI where = TIdURI::SplitUrl(url);
    std::string words;
    try {
        std::rethrow_exception(failure);
    } catch (const EIdException& e) {
        err << e.ClassName() << ": " << oneLine(escapedNul(e.Message()));
        words = plainWords(e, where);
    } catch (const EConvertError& e) {
        err << e.ClassName() << ": " << escapedNul(e.Message());
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

int runFetch(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1) {
        err << "usage: quillmark-cli fetch URL\n";
        return 2;
    }
    OutputSink sink(out);
    try {
        TIdHTTP http;
        // Nothing is held, so no body is too large; larger receive portions mean fewer calls.
        http.SetMaxBodyBytes(std::numeric_limits<std::int64_t>::max());
        http.SetRecvBufferSize(1 << 18);
        http.GetDocument(args[0], sink);
    } catch (const std::exception&) {
        writeFailure(err, std::current_exception(), args[0]);
        return 1;
    }
    return 0;
}

} // namespace qm::cli
