// quillmark-cli research KEY [--url URL] [list options]: a research run without a window. The same
// download, trim, text box and parse as "Generate Effective Headlines", the suggestions printed as
// parse prints them, or in another list format.
// A failed download is named on standard error in one line, with the address tried (exit status 1);
// the suggestions of whatever arrived before it are still printed.
#include "cli/commands.h"

#include "headlines/suggestionlist.h"
#include "platform/buildvalues.h"
#include "research/researchrun.h"
#include "research/richeditbuffer.h"
#include "research/topics.h"

#include <exception>
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

constexpr Option kOptions[] = {{"--url", true}, {"--format", true, kListFormats}, {"--dedupe"}, {"--lengths"}};
constexpr Syntax kSyntax{"research KEY [--url URL] [--format text|md|csv|json] [--dedupe] [--lengths]", 1, 1, kOptions};

} // namespace

int runResearch(Args args, std::istream&, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read(kSyntax, args, out, err))
        return *status;
    const std::string url(line.value("--url", kSourcePageUrl));

    HeadlessFrontEnd frontEnd;
    VectorSuggestions suggestions;
    RichEditBuffer textBox;
    ResearchSession session;
    ResearchRun run(frontEnd, suggestions, textBox, url, session);
    TopicCancelled = false; // as the topic dialog's Research leaves it
    std::exception_ptr failure;
    try {
        run.ResearchTopic(line.operands[0]);
        failure = run.DownloadFailure();
    } catch (...) {
        failure = std::current_exception(); // the socket stack could not start, or out of memory
    }
    writeList(out, suggestions.items(), line, false);
    out.flush();
    if (run.ListFull())
        err << "research: the list stops at " << kMaxSuggestions << " suggestions\n";
    if (!failure)
        return 0;
    writeFailure(err, failure, url);
    return 1;
}

} // namespace qm::cli
