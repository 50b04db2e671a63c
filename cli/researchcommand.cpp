// quillmark-cli research KEY [--url URL]: a research run without a window. The same download, trim,
// text box and parse as "Generate Effective Headlines", the suggestions printed as parse prints them.
// A failed download is named on standard error in one line, with the address tried (exit status 1);
// the suggestions of whatever arrived before it are still printed.
#include "cli/commands.h"

#include "headlines/suggestionlist.h"
#include "research/researchrun.h"
#include "research/richeditbuffer.h"
#include "research/topics.h"

#include <exception>
#include <optional>
#include <ostream>
#include <string>

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
    err << "usage: quillmark-cli research KEY [--url URL]\n";
    return 2;
}

} // namespace

int runResearch(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    std::optional<std::string_view> key;
    std::string url = SourcePageUrl();
    for (std::size_t i = 0; i < args.size(); ++i) {
        if (args[i] == "--url") {
            if (++i == args.size())
                return usage(err);
            url = args[i];
        } else if (!key) {
            key = args[i];
        } else {
            return usage(err);
        }
    }
    if (!key)
        return usage(err);

    HeadlessFrontEnd frontEnd;
    VectorSuggestions suggestions;
    RichEditBuffer textBox;
    ResearchRun run(frontEnd, suggestions, textBox, url);
    TopicCancelled = false; // as the topic dialog's Research leaves it
    std::exception_ptr failure;
    try {
        run.ResearchTopic(*key);
        failure = run.DownloadFailure();
    } catch (...) {
        failure = std::current_exception(); // the socket stack could not start, or out of memory
    }
    for (const Suggestion& item : suggestions.items())
        writeCaption(out, item.caption);
    out.flush();
    if (run.ListFull())
        err << "research: the list stops at " << kMaxSuggestions << " suggestions\n";
    if (!failure)
        return 0;
    writeFailure(err, failure, url);
    return 1;
}

} // namespace qm::cli
