// quillmark-cli research KEY [--url URL] [list options]: a research run without a window. The same
// download, trim, text box and parse as "Generate Effective Headlines", the suggestions printed as
// parse prints them, or in another list format.
// A failed download is named on standard error in one line, with the address tried (exit status 1);
// the suggestions of whatever arrived before it are still printed.
#include "cli/commands.h"
#include "cli/listoutput.h"

#include "headlines/suggestionlist.h"
#include "platform/buildvalues.h"
#include "research/researchrun.h"
#include "research/richeditbuffer.h"
#include "research/topics.h"

#include <exception>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

namespace qm::cli {
namespace {

// No window: nothing to show, nothing to pump, no key to hold.
class HeadlessFrontEnd final : public ResearchFrontEnd {
public:
    void setStatusText(std::string_view) override {}
    void pumpMessages() override {}
    void showBusyCursor() override {}
    void restoreCursor() override {}
    bool escapeHeld() override { return false; }
};

int usage(std::ostream& err)
{
    err << "usage: quillmark-cli research KEY [--url URL] [--format text|md|csv|json] [--dedupe] [--lengths]\n";
    return 2;
}

} // namespace

int runResearch(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    ListOptions options{.withTicks = false};
    std::vector<std::string_view> rest;
    if (!takeListOptions("research", args, options, rest, err))
        return 2;
    std::optional<std::string_view> key;
    std::string url = kSourcePageUrl;
    for (std::size_t i = 0; i < rest.size(); ++i) {
        if (rest[i] == "--url") {
            if (++i == rest.size())
                return usage(err);
            url = rest[i];
        } else if (!key) {
            key = rest[i];
        } else {
            return usage(err);
        }
    }
    if (!key)
        return usage(err);

    HeadlessFrontEnd frontEnd;
    VectorSuggestions suggestions;
    RichEditBuffer textBox;
    ResearchSession session;
    ResearchRun run(frontEnd, suggestions, textBox, url, session);
    TopicCancelled = false; // as the topic dialog's Research leaves it
    std::exception_ptr failure;
    try {
        run.ResearchTopic(*key);
        failure = run.DownloadFailure();
    } catch (...) {
        failure = std::current_exception(); // the socket stack could not start, or out of memory
    }
    writeList(out, suggestions.items(), options);
    out.flush();
    if (run.ListFull())
        err << "research: the list stops at " << kMaxSuggestions << " suggestions\n";
    if (!failure)
        return 0;
    writeFailure(err, failure, url);
    return 1;
}

} // namespace qm::cli
