// quillmark-cli fetch URL: one GET of URL, the body to standard output exactly as it came. A failure
// is named on standard error as "<ExceptionClass>: <message>" (exit status 1), and whatever body
// bytes arrived before it are still written out.
#include "cli/commands.h"

#include "net/econverterror.h"
#include "net/eidexception.h"
#include "net/tidhttp.h"
#include "net/tmemorystream.h"

#include <exception>
#include <ostream>
#include <string>
#include <string_view>

namespace qm::cli {
namespace {

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

} // namespace

void writeFailure(std::ostream& err, const std::exception_ptr& failure)
{
    try {
        std::rethrow_exception(failure);
    } catch (const EIdException& e) {
        err << e.ClassName() << ": " << escapedNul(e.Message()) << '\n';
    } catch (const EConvertError& e) {
        err << e.ClassName() << ": " << escapedNul(e.Message()) << '\n';
    } catch (const std::exception& e) {
        // Nothing of the network family: out of memory, most likely.
        err << "Error: " << e.what() << '\n';
    } catch (...) {
        err << "Error: unknown failure\n";
    }
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
        writeFailure(err, std::current_exception());
        status = 1;
    }
    const std::string_view body = sink.Bytes();
    out.write(body.data(), static_cast<std::streamsize>(body.size()));
    out.flush();
    return status;
}

} // namespace qm::cli
