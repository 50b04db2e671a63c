// quillmark-cli fetch URL: one GET of URL, the body to standard output exactly as it came, each
// portion as soon as it arrives: nothing is held, whatever the body's size. A failure is named on
// standard error in one line, with the address tried (exit status 1); the body bytes that arrived
// before it are out already.
#include "cli/commands.h"

#include "net/tidhttp.h"
#include "net/tstream.h"

#include <limits>
#include <ostream>
#include <stdexcept>

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

} // namespace

int runFetch(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read({"fetch URL"}, args, out, err))
        return *status;
    const std::string_view url = line.operands[0];
    OutputSink sink(out);
    try {
        TIdHTTP http;
        // Nothing is held, so no body is too large; larger receive portions mean fewer calls.
        http.SetMaxBodyBytes(std::numeric_limits<std::int64_t>::max());
        http.SetRecvBufferSize(1 << 18);
        http.GetDocument(url, sink);
    } catch (const std::exception&) {
        writeFailure(err, std::current_exception(), url);
        return 1;
    }
    return 0;
}

} // namespace qm::cli
