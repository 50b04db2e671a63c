// quillmark-cli fetch URL: one GET of URL, the body to standard output exactly as it came. A failure
// is named on standard error in one line (exit status 1), and whatever body bytes arrived before it
// are still written out.
#include "cli/commands.h"

#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tidstack.h"
#include "net/tiduri.h"
#include "net/tmemorystream.h"

#include <exception>
#include <ostream>
#include <string>

namespace qm::cli {
namespace {

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
        err << e.ClassName() << ": " << oneLine(e.what());
        words = plainWords(e, where);
    } catch (const EConvertError& e) {
        err << e.ClassName() << ": " << e.what();
        words = "the server's answer is not valid HTTP";
    } catch (const std::exception& e) {
        // Nothing of the network family: out of memory, most likely.
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
    TMemoryStream sink;
    int status = 0;
    try {
        TIdHTTP http;
        http.GetDocument(args[0], sink);
    } catch (const std::exception&) {
        writeFailure(err, std::current_exception(), args[0]);
        status = 1;
    }
    const std::string_view body = sink.Bytes();
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
    return status;
}

} // namespace qm::cli
