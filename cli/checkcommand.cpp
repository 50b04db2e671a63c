// quillmark-cli check KEY [--url URL]: how the parser walks a page's section for a topic key, for
// the page's publisher. One line per "<li>" of the section, with the caption it gives or why it gives
// none, then a summary. The page comes from standard input as for parse, or is downloaded, trimmed
// and cut at its first NUL as for research. Exit status 1 when the key has no anchor or its section
// no "</ul>", or when the download failed (then named as fetch names it, and nothing else).
#include "cli/commands.h"

#include "headlines/suggestionlist.h"
#include "net/tmemorystream.h"
#include "platform/bytes.h"
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

constexpr std::size_t npos = std::string_view::npos;
constexpr std::string_view kEntryStart = "<li>";

// Whether the last ">" of the link text closes something other than the entry's "<li>" or an "<a>"
// tag: a tag inside the link text (or a bare ">"), of which the caption keeps only what follows.
bool markupInLinkText(std::string_view linkText)
{
    const std::size_t tagEnd = linkText.rfind('>');
    if (tagEnd == npos || tagEnd + 1 == kEntryStart.size())
        return false;
    const std::size_t tagStart = linkText.rfind('<', tagEnd);
    if (tagStart == npos)
        return true;
    // "<a>", or "<a" and a blank or line break before its attributes.
    const std::string_view tag = linkText.substr(tagStart);
    return !(tag.size() > 2 && asciiLower(tag[1]) == 'a'
             && (tag[2] == '>' || static_cast<unsigned char>(tag[2]) <= ' '));
}

// The first blocked fragment, in the filter's order, that the caption holds.
std::string_view blockingFragment(std::string_view caption)
{
    const std::string lower = asciiLowerCopy(caption);
    const auto found
        = std::ranges::find_if(kBlockedFragments, [&](std::string_view f) { return lower.find(f) != npos; });
    return found == kBlockedFragments.end() ? std::string_view() : *found;
}

// Why an entry whose link text gives no caption is lost; `next` is where the next "<li>" of the
// section stands in the page (npos for none).
std::string_view whyLost(std::string_view page, std::size_t next, std::string_view linkText)
{
    if (next == npos)
        return "last entry of the section (never listed)";
    if (!linkText.empty())
        return markupInLinkText(linkText) ? "markup inside the link text, nothing after it" : "empty caption";
    if (next >= 4 && asciiLowerCopy(page.substr(next - 4, 4)) == "</a>")
        return "\"</a>\" directly followed by the next \"<li>\"";
    return "no \"</a>\" in the entry";
}

// Walks the parsed text as the parser does and prints its report: each entry the walk takes, and
// after it those it passes over (an entry without "</a>" sends it on to a later entry's). `lines` is
// the text as the user has it, the parsed text starting `base` bytes into it, so that line numbers are
// the user's.
int check(std::string_view parsed, std::string_view lines, std::size_t base, std::string_view key, std::ostream& out,
          std::ostream& err)
{
    const PageSection section = FindSection(parsed, key);
    // The walk's text: the page up to the "<" of the section's "</ul>".
    const std::string_view text = parsed.substr(0, section.end == npos ? 0 : section.end + 1);
    const auto nextEntry = [&](std::size_t entry) { return findNoCase(text, kEntryStart, entry + 2); };
    std::size_t counted = 0;
    std::size_t line = 1;
    std::size_t entries = 0;
    std::size_t listed = 0;
    std::size_t blocked = 0;
    const auto tell = [&](std::size_t offset) -> std::ostream& {
        const std::size_t at = std::min(base + offset, lines.size());
        line += static_cast<std::size_t>(std::count(lines.begin() + counted, lines.begin() + at, '\n'));
        counted = at;
        ++entries;
        return out << "line " << line << ": ";
    };
    std::size_t passedOver = npos; // the first "<li>" after the last entry taken
    const auto tellPassedOver = [&](std::size_t until) {
        for (; passedOver < until; passedOver = nextEntry(passedOver))
            tell(passedOver) << "lost: passed over: an earlier entry without \"</a>\" sent the walk past it\n";
    };
    ParseHooks hooks;
    hooks.visit = [&](std::size_t offset, std::string_view linkText) {
        tellPassedOver(offset);
        passedOver = nextEntry(offset);
        const std::size_t tagEnd = linkText.rfind('>');
        const std::string_view caption = tagEnd == npos ? std::string_view() : linkText.substr(tagEnd + 1);
        if (caption.empty()) {
            tell(offset) << "lost: " << whyLost(text, passedOver, linkText) << '\n';
            return;
        }
        if (!IsBlockedHeadline(caption)) {
            ++listed;
            tell(offset) << (markupInLinkText(linkText) ? "listed, cut by markup inside the link text: " : "listed: ");
        } else {
            ++blocked;
            tell(offset) << "blocked by \"" << blockingFragment(caption) << "\": ";
        }
        writeCaption(out, caption);
    };
    VectorSuggestions suggestions;
    ParseSourcePage(parsed, key, suggestions, hooks);
    tellPassedOver(npos);
    out << "entries " << entries << ", listed " << listed << ", blocked " << blocked << ", lost "
        << entries - listed - blocked << '\n';

    if (section.anchor == npos)
        err << "check: no anchor <a name=" << key << " or <a name=\"" << key
            << " in the page; the section runs from the start of the page\n";
    if (section.end == npos)
        err << "check: no \"</ul>\" ends the section; it is empty\n";
    return section.anchor == npos || section.end == npos ? 1 : 0;
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
