// quillmark-cli parse KEY: the suggestions of a source page read from standard input.
#include "cli/commands.h"

#include "headlines/suggestionlist.h"
#include "research/sourcepageparser.h"

#include <ostream>

namespace qm::cli {

int runParse(Args args, std::istream& in, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read({"parse KEY < page"}, args, out, err))
        return *status;
    std::string page;
    if (!readPage(in, err, "parse", page))
        return 1;
    VectorSuggestions suggestions;
    ParseSourcePage(page, line.operands[0], suggestions);
    for (const Suggestion& item : suggestions.items())
        writeCaption(out, item.caption);
    return 0;
}

} // namespace qm::cli
