// quillmark-cli parse KEY: the suggestions of a source page read from standard input.
#include "cli/commands.h"

#include "headlines/suggestionlist.h"
#include "platform/bytes.h"
#include "research/sourcepageparser.h"

#include <istream>
#include <ostream>
#include <string>

namespace qm::cli {
namespace {

// Far above any real source page; a bigger input is refused rather than held in memory.
constexpr std::size_t kMaxPageBytes = std::size_t{256} << 20;

} // namespace

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

bool readPage(std::istream& in, std::ostream& err, std::string_view command, std::string& page)
{
    if (readBounded(in, kMaxPageBytes, page))
        return true;
    err << command << ": the page is larger than " << (kMaxPageBytes >> 20) << " MiB\n";
    return false;
}

int runParse(Args args, std::istream& in, std::ostream& out, std::ostream& err)
{
    if (args.size() != 1) {
        err << "usage: quillmark-cli parse KEY < page\n";
        return 2;
    }
    std::string page;
    if (!readPage(in, err, "parse", page))
        return 1;
    VectorSuggestions suggestions;
    ParseSourcePage(page, args[0], suggestions);
    for (const Suggestion& item : suggestions.items())
        writeCaption(out, item.caption);
    return 0;
}

} // namespace qm::cli
