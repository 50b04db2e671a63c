// quillmark-cli check KEY [--url URL]: how the parser walks a page's section for a topic key, for
// the page's publisher. One line per "<li>" of the section, with the caption it gives or why it gives
// none, then a summary. The page comes from standard input as for parse, or is downloaded, trimmed
// and cut at its first NUL as for research. Exit status 1 when the key has no anchor or its section
// no "</ul>", or when the download failed (then named as fetch names it, and nothing else).
#include "cli/commands.h"

#include "headlines/suggestionlist.h"
#include "net/tmemorystream.h"
#include "research/contentfilter.h"
#include "research/researchrun.h"
#include "research/richeditbuffer.h"
#include "research/sourcepageparser.h"

#include <algorithm>
#include <exception>
#include <ostream>
#include <sstream>
#include <string>

namespace qm::cli {
namespace {

constexpr Option kOptions[] = {{"--url", true}};
constexpr Syntax kSyntax{"check KEY [--url URL] [< page]", 1, 1, kOptions};

std::string_view whyLost(EntryFate fate)
{
    switch (fate) {
    case EntryFate::EmptyCaption: return "empty caption";
    case EntryFate::MarkupInLinkText: return "markup inside the link text, nothing after it";
    case EntryFate::NoLinkEnd: return "no \"</a>\" in the entry";
    case EntryFate::LinkEndBeforeNextEntry: return "\"</a>\" directly followed by the next \"<li>\"";
    case EntryFate::LastEntry: return "last entry of the section (never listed)";
    case EntryFate::PassedOver: return "passed over: an earlier entry without \"</a>\" sent the walk past it";
    default: return "";
    }
}

// Walks the parsed text as the parser does and prints its report. `lines` is the text as the user
// has it, the parsed text starting `base` bytes into it, so that line numbers are the user's.
int check(std::string_view parsed, std::string_view lines, std::size_t base, std::string_view key, std::ostream& out,
          std::ostream& err)
{
    std::size_t counted = 0;
    std::size_t line = 1;
    std::size_t entries = 0;
    std::size_t listed = 0;
    std::size_t blocked = 0;
    ParseHooks hooks;
    hooks.report = [&](const EntryReport& entry) {
        const std::size_t at = std::min(base + entry.offset, lines.size());
        line += static_cast<std::size_t>(std::count(lines.begin() + counted, lines.begin() + at, '\n'));
        counted = at;
        ++entries;
        out << "line " << line << ": ";
        if (entry.fate == EntryFate::Listed) {
            ++listed;
            out << (entry.markupInLinkText ? "listed, cut by markup inside the link text: " : "listed: ");
        } else if (entry.fate == EntryFate::Blocked) {
            ++blocked;
            out << "blocked by \"" << BlockingFragment(entry.caption) << "\": ";
        } else {
            out << "lost: " << whyLost(entry.fate) << '\n';
            return;
        }
        writeCaption(out, entry.caption);
    };
    VectorSuggestions suggestions;
    ParseSourcePage(parsed, key, suggestions, hooks);
    out << "entries " << entries << ", listed " << listed << ", blocked " << blocked << ", lost "
        << entries - listed - blocked << '\n';

    const PageSection section = FindSection(parsed, key);
    if (section.anchor == std::string_view::npos)
        err << "check: no anchor <a name=" << key << " or <a name=\"" << key
            << " in the page; the section runs from the start of the page\n";
    if (section.end == std::string_view::npos)
        err << "check: no \"</ul>\" ends the section; it is empty\n";
    return section.anchor == std::string_view::npos || section.end == std::string_view::npos ? 1 : 0;
}

} // namespace

int runCheck(Args args, std::istream& in, std::ostream& out, std::ostream& err)
{
    CommandLine line;
    if (const auto status = line.read(kSyntax, args, out, err))
        return *status;
    const std::string_view key = line.operands[0];
    const std::string_view url = line.value("--url");

    std::string page;
    if (!line.has("--url")) {
        if (!readPage(in, err, "check", page))
            return 1;
        return check(page, page, 0, key, out, err);
    }

    // What a research run makes of the download: trimmed, then through the text box.
    TMemoryStream buffer;
    std::exception_ptr failure;
    try {
        failure = FetchSourcePage(url, buffer);
    } catch (...) {
        failure = std::current_exception();
    }
    const std::string_view body = buffer.Bytes();
    const std::string_view trimmed = TrimPageText(body);
    RichEditBuffer textBox;
    textBox.setText(trimmed);
    // After a failed download the failure is the one complaint; what arrived is still walked.
    std::ostringstream notes;
    const int status = check(textBox.text(), body, static_cast<std::size_t>(trimmed.data() - body.data()), key, out,
                             failure ? notes : err);
    if (!failure)
        return status;
    writeFailure(err, failure, url);
    return 1;
}

} // namespace qm::cli
